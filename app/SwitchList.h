// The command-line switches (arguments 1 to n) as NAME=VALUE items, looked up by name; the raw
// arguments are kept beside the upper-cased ones for switches whose value must keep its letter case.
#pragma once

#include "AsciiCase.h"

#include <string>
#include <string_view>
#include <vector>

namespace attente {

// Compares two switch names without regard to letter case.
using TNamesEqual = bool (*)(std::string_view a, std::string_view b);

class TSwitchList {
  public:
    TSwitchList() = default;
    // `arguments` are the switches only (argument 0 already removed), in command-line order.
    explicit TSwitchList(std::vector<std::string> arguments, TNamesEqual namesEqual = nullptr);

    std::size_t Count() const { return raw_.size(); }
    // The argument as written, and upper-cased (a to z only).
    const std::string& Raw(std::size_t index) const { return raw_.at(index); }
    const std::string& Item(std::size_t index) const { return upper_.at(index); }

    // Text after the first "=" of the first item named `name`, upper-cased; empty when none is.
    std::string Value(std::string_view name) const;
    // The same item's value as written on the command line.
    std::string RawValue(std::string_view name) const;
    // The values of every item of that name, as written, in command-line order.
    std::vector<std::string> RawValues(std::string_view name) const;
    // Whether an item NAME=VALUE of that name is there, also with an empty value.
    bool Has(std::string_view name) const { return Find(name) != kNotFound; }
    // Whether an item is that name alone, without "=": a switch that takes no value.
    bool HasFlag(std::string_view name) const;

    void Clear();

  private:
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
    std::size_t Find(std::string_view name, std::size_t from = 0) const;
    static std::string ValueOf(const std::string& item);

    std::vector<std::string> raw_;
    std::vector<std::string> upper_;
    TNamesEqual namesEqual_ = EqualsIgnoringAsciiCase;
};

} // namespace attente
