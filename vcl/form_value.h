// One property value of the text form format, as the layout reader hands it to a component.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "exceptions.h"

struct FormValue {
    enum class Kind { Integer, String, Ident, Set, Binary };

    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    std::string text;                  // a string, or an identifier
    std::vector<std::string> items;    // the identifiers of a set
    std::vector<std::uint8_t> bytes;   // binary data

    // Each accessor throws Exception when the value is of another kind.
    int AsInteger() const;
    const std::string& AsString() const;
    const std::string& AsIdent() const;
    bool AsBoolean() const;
    const std::vector<std::string>& AsSet() const;
    const std::vector<std::uint8_t>& AsBinary() const;

    // An identifier that names one of an enumeration's values.
    template <class E>
    E AsEnum(std::initializer_list<std::pair<const char*, E>> names) const
    {
        return Named(AsIdent(), names);
    }

    // A set of such identifiers, as flags or'ed together.
    template <class E>
    unsigned AsFlags(std::initializer_list<std::pair<const char*, E>> names) const
    {
        unsigned flags = 0;
        for (const std::string& item : AsSet())
            flags |= static_cast<unsigned>(Named(item, names));
        return flags;
    }

private:
    template <class E>
    static E Named(const std::string& ident, std::initializer_list<std::pair<const char*, E>> names)
    {
        for (const auto& [name, value] : names)
            if (ident == name)
                return value;
        throw Exception("Invalid property value " + ident);
    }
};
