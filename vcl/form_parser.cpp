#include "form_parser.h"

#include <cctype>

namespace {

enum class TokenKind { Ident, Integer, String, Binary, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // identifier, decoded string, or the symbol
    std::int64_t integer = 0;
    std::vector<std::uint8_t> bytes;
    int line = 1;
};

[[noreturn]] void Fail(int line, const std::string& what)
{
    throw Exception("line " + std::to_string(line) + ": " + what);
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }

bool IsIdentPart(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

class Lexer {
public:
    explicit Lexer(const std::string& text) : text_(text) {}

    Token Next()
    {
        SkipBlanks();
        Token token;
        token.line = line_;
        if (at_ >= text_.size())
            return token;
        const char c = text_[at_];
        if (IsIdentStart(c)) {
            token.kind = TokenKind::Ident;
            while (at_ < text_.size() && IsIdentPart(text_[at_]))
                token.text += text_[at_++];
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$') {
            ReadInteger(token);
        } else if (c == '\'' || c == '#') {
            token.kind = TokenKind::String;
            token.text = ReadString();
        } else if (c == '{') {
            ReadBinary(token);
        } else {
            token.kind = TokenKind::Symbol;
            token.text = text_.substr(at_++, 1);
        }
        return token;
    }

private:
    void SkipBlanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            if (text_[at_] == '\n')
                ++line_;
            ++at_;
        }
    }

    void ReadInteger(Token& token)
    {
        token.kind = TokenKind::Integer;
        const std::size_t start = at_;
        const bool negative = text_[at_] == '-';
        if (negative)
            ++at_;
        const bool hex = at_ < text_.size() && text_[at_] == '$';
        if (hex)
            ++at_;
        std::int64_t value = 0;
        std::size_t digits = 0;
        for (; at_ < text_.size() && (hex ? HexDigit(text_[at_]) >= 0
                                          : std::isdigit(static_cast<unsigned char>(text_[at_])));
             ++at_, ++digits) {
            value = value * (hex ? 16 : 10) + (hex ? HexDigit(text_[at_]) : text_[at_] - '0');
            if (value > 0xFFFFFFFFll)
                Fail(line_, "number out of range");
        }
        if (digits == 0 || (at_ < text_.size() && IsIdentPart(text_[at_])))
            Fail(line_, "invalid number " + text_.substr(start, at_ - start + 1));
        token.integer = negative ? -value : value;
    }

    // A run of 'quoted' parts and #code characters, with no blanks between them.
    std::string ReadString()
    {
        std::string value;
        while (at_ < text_.size() && (text_[at_] == '\'' || text_[at_] == '#')) {
            if (text_[at_] == '#') {
                ++at_;
                int code = 0;
                std::size_t digits = 0;
                for (; at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]));
                     ++at_, ++digits)
                    code = code * 10 + (text_[at_] - '0');
                if (digits == 0 || code > 255)
                    Fail(line_, "invalid character code in string");
                value += static_cast<char>(code);
                continue;
            }
            ++at_;
            for (;;) {
                if (at_ >= text_.size() || text_[at_] == '\n' || text_[at_] == '\r')
                    Fail(line_, "unterminated string");
                if (text_[at_] == '\'') {
                    if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                        value += '\'';
                        at_ += 2;
                        continue;
                    }
                    ++at_;
                    break;
                }
                value += text_[at_++];
            }
        }
        return value;
    }

    void ReadBinary(Token& token)
    {
        token.kind = TokenKind::Binary;
        ++at_;
        int high = -1;
        for (;;) {
            SkipBlanks();
            if (at_ >= text_.size())
                Fail(token.line, "binary data without its closing }");
            const char c = text_[at_++];
            if (c == '}')
                break;
            const int digit = HexDigit(c);
            if (digit < 0)
                Fail(line_, std::string("invalid character '") + c + "' in binary data");
            if (high < 0) {
                high = digit;
            } else {
                token.bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
                high = -1;
            }
        }
        if (high >= 0)
            Fail(line_, "binary data with an odd number of hex digits");
    }

    const std::string& text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

class Parser {
public:
    explicit Parser(const std::string& text) : lexer_(text) { Advance(); }

    FormObject Root()
    {
        FormObject root = Object();
        if (token_.kind != TokenKind::End)
            Fail(token_.line, "text after the end of the form");
        return root;
    }

private:
    void Advance() { token_ = lexer_.Next(); }

    bool IsWord(const char* word) const
    {
        return token_.kind == TokenKind::Ident && token_.text == word;
    }

    bool IsSymbol(const char* symbol) const
    {
        return token_.kind == TokenKind::Symbol && token_.text == symbol;
    }

    std::string ExpectIdent(const char* what)
    {
        if (token_.kind != TokenKind::Ident)
            Fail(token_.line, std::string(what) + " expected");
        std::string ident = token_.text;
        Advance();
        return ident;
    }

    void ExpectSymbol(const char* symbol)
    {
        if (!IsSymbol(symbol))
            Fail(token_.line, std::string("'") + symbol + "' expected");
        Advance();
    }

    FormObject Object()
    {
        FormObject object;
        object.line = token_.line;
        if (!IsWord("object"))
            Fail(token_.line, "'object' expected");
        Advance();
        object.name = ExpectIdent("component name");
        ExpectSymbol(":");
        object.class_name = ExpectIdent("class name");
        while (token_.kind == TokenKind::Ident && !IsWord("object") && !IsWord("end"))
            object.properties.push_back(Property());
        while (IsWord("object"))
            object.children.push_back(Object());
        if (!IsWord("end"))
            Fail(token_.line, "'end' expected");
        Advance();
        return object;
    }

    FormProperty Property()
    {
        FormProperty property;
        property.line = token_.line;
        property.name = token_.text;
        Advance();
        ExpectSymbol("=");
        property.value = Value();
        return property;
    }

    FormValue Value()
    {
        FormValue value;
        switch (token_.kind) {
        case TokenKind::Integer:
            value.kind = FormValue::Kind::Integer;
            value.integer = token_.integer;
            Advance();
            return value;
        case TokenKind::Ident:
            value.kind = FormValue::Kind::Ident;
            value.text = token_.text;
            Advance();
            return value;
        case TokenKind::String:
            value.kind = FormValue::Kind::String;
            value.text = token_.text;
            Advance();
            // Long strings are split over lines and joined with '+'.
            while (IsSymbol("+")) {
                Advance();
                if (token_.kind != TokenKind::String)
                    Fail(token_.line, "string expected after '+'");
                value.text += token_.text;
                Advance();
            }
            return value;
        case TokenKind::Binary:
            value.kind = FormValue::Kind::Binary;
            value.bytes = std::move(token_.bytes);
            Advance();
            return value;
        case TokenKind::Symbol:
            if (IsSymbol("["))
                return Set();
            break;
        case TokenKind::End:
            break;
        }
        Fail(token_.line, "property value expected");
    }

    FormValue Set()
    {
        FormValue value;
        value.kind = FormValue::Kind::Set;
        Advance();
        if (IsSymbol("]")) {
            Advance();
            return value;
        }
        for (;;) {
            value.items.push_back(ExpectIdent("set element"));
            if (IsSymbol("]"))
                break;
            ExpectSymbol(",");
        }
        Advance();
        return value;
    }

    Lexer lexer_;
    Token token_;
};

}  // namespace

FormObject ParseForm(const std::string& text) { return Parser(text).Root(); }
