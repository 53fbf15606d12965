// A typed property value as window descriptions carry it. Setters ask for the type they need and
// raise a read error naming the property otherwise, so a module with a wrong value cannot go unseen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace attente {

// The numbers are the type codes of the description stream; they never change meaning.
enum class TValueType : std::uint8_t {
    Integer = 1,
    String = 2,
    Identifier = 3,
    Set = 4,
    Binary = 5,
    False = 6,
    True = 7,
};

struct TValue {
    TValueType Type = TValueType::Integer;
    std::int32_t Integer = 0;
    std::string Text;               // String (UTF-8) or Identifier
    std::vector<std::string> Items; // Set members, identifiers
    std::vector<std::uint8_t> Bytes;

    static TValue OfInteger(std::int32_t value);
    static TValue OfString(std::string utf8);
    static TValue OfIdentifier(std::string name);
    static TValue OfSet(std::vector<std::string> items);
    static TValue OfBinary(std::vector<std::uint8_t> bytes);
    static TValue OfBoolean(bool value);

    bool IsBoolean() const { return Type == TValueType::False || Type == TValueType::True; }
    bool operator==(const TValue&) const = default;
};

// "integer", "string", ... for messages.
const char* ValueTypeName(TValueType type);

// Each returns the value when it has the asked type and raises EReadError naming `property` otherwise.
std::int32_t ExpectInteger(const TValue& value, std::string_view property);
const std::string& ExpectString(const TValue& value, std::string_view property);
const std::string& ExpectIdentifier(const TValue& value, std::string_view property);
const std::vector<std::string>& ExpectSet(const TValue& value, std::string_view property);
const std::vector<std::uint8_t>& ExpectBinary(const TValue& value, std::string_view property);
bool ExpectBoolean(const TValue& value, std::string_view property);

// Raised by a setter that got the right type but a value it does not know (an unknown identifier).
[[noreturn]] void RaiseBadValue(std::string_view property, std::string_view value);

} // namespace attente
