#include "form_value.h"

#include <limits>

namespace {

const char* KindName(FormValue::Kind kind)
{
    switch (kind) {
    case FormValue::Kind::Integer: return "an integer";
    case FormValue::Kind::String: return "a string";
    case FormValue::Kind::Ident: return "an identifier";
    case FormValue::Kind::Set: return "a set";
    case FormValue::Kind::Binary: return "binary data";
    }
    return "a value";
}

void Expect(const FormValue& value, FormValue::Kind kind)
{
    if (value.kind != kind)
        throw Exception(std::string("Invalid property value: ") + KindName(kind) +
                        " expected, found " + KindName(value.kind));
}

}  // namespace

int FormValue::AsInteger() const
{
    Expect(*this, Kind::Integer);
    if (integer < std::numeric_limits<int>::min() || integer > std::numeric_limits<int>::max())
        throw Exception("Invalid property value: integer out of range");
    return static_cast<int>(integer);
}

const std::string& FormValue::AsString() const
{
    Expect(*this, Kind::String);
    return text;
}

const std::string& FormValue::AsIdent() const
{
    Expect(*this, Kind::Ident);
    return text;
}

bool FormValue::AsBoolean() const
{
    return AsEnum<bool>({{"True", true}, {"False", false}});
}

const std::vector<std::string>& FormValue::AsSet() const
{
    Expect(*this, Kind::Set);
    return items;
}

const std::vector<std::uint8_t>& FormValue::AsBinary() const
{
    Expect(*this, Kind::Binary);
    return bytes;
}
