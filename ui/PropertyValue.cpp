// Typed property values and the checks that turn a wrong type into a read error.
#include "PropertyValue.h"

#include "Exceptions.h"
#include "TextFormat.h"

namespace attente {

TValue TValue::OfInteger(std::int32_t value) {
    TValue v;
    v.Type = TValueType::Integer;
    v.Integer = value;
    return v;
}

TValue TValue::OfString(std::string utf8) {
    TValue v;
    v.Type = TValueType::String;
    v.Text = std::move(utf8);
    return v;
}

TValue TValue::OfIdentifier(std::string name) {
    TValue v;
    v.Type = TValueType::Identifier;
    v.Text = std::move(name);
    return v;
}

TValue TValue::OfSet(std::vector<std::string> items) {
    TValue v;
    v.Type = TValueType::Set;
    v.Items = std::move(items);
    return v;
}

TValue TValue::OfBinary(std::vector<std::uint8_t> bytes) {
    TValue v;
    v.Type = TValueType::Binary;
    v.Bytes = std::move(bytes);
    return v;
}

TValue TValue::OfBoolean(bool value) {
    TValue v;
    v.Type = value ? TValueType::True : TValueType::False;
    return v;
}

const char* ValueTypeName(TValueType type) {
    switch (type) {
    case TValueType::Integer:
        return "entier";
    case TValueType::String:
        return "texte";
    case TValueType::Identifier:
        return "identificateur";
    case TValueType::Set:
        return "ensemble";
    case TValueType::Binary:
        return "données binaires";
    case TValueType::False:
    case TValueType::True:
        return "booléen";
    }
    return "inconnu";
}

namespace {

[[noreturn]] void RaiseWrongType(const TValue& value, std::string_view property, const char* wanted) {
    throw EReadError(Concat({"Valeur de propriété incorrecte : ", property, " attend un ", wanted,
                             ", pas un ", ValueTypeName(value.Type)}));
}

} // namespace

std::int32_t ExpectInteger(const TValue& value, std::string_view property) {
    if (value.Type != TValueType::Integer) RaiseWrongType(value, property, "entier");
    return value.Integer;
}

const std::string& ExpectString(const TValue& value, std::string_view property) {
    if (value.Type != TValueType::String) RaiseWrongType(value, property, "texte");
    return value.Text;
}

const std::string& ExpectIdentifier(const TValue& value, std::string_view property) {
    if (value.Type != TValueType::Identifier) RaiseWrongType(value, property, "identificateur");
    return value.Text;
}

const std::vector<std::string>& ExpectSet(const TValue& value, std::string_view property) {
    if (value.Type != TValueType::Set) RaiseWrongType(value, property, "ensemble");
    return value.Items;
}

const std::vector<std::uint8_t>& ExpectBinary(const TValue& value, std::string_view property) {
    if (value.Type != TValueType::Binary) RaiseWrongType(value, property, "bloc de données binaires");
    return value.Bytes;
}

bool ExpectBoolean(const TValue& value, std::string_view property) {
    if (!value.IsBoolean()) RaiseWrongType(value, property, "booléen");
    return value.Type == TValueType::True;
}

void RaiseBadValue(std::string_view property, std::string_view value) {
    throw EReadError(Concat({"Valeur de propriété incorrecte : ", value, " pour ", property}));
}

} // namespace attente
