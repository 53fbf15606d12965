// NAME=VALUE lookups over the switches; the first "=" splits, the first matching item wins.
#include "SwitchList.h"

namespace attente {

namespace {

constexpr char kNameEnd = '=';

} // namespace

TSwitchList::TSwitchList(std::vector<std::string> arguments, TNamesEqual namesEqual)
    : raw_(std::move(arguments)), namesEqual_(namesEqual ? namesEqual : EqualsIgnoringAsciiCase) {
    upper_.reserve(raw_.size());
    for (const std::string& argument : raw_)
        upper_.push_back(UpperAscii(argument));
}

// Upper-casing a to z never moves the "=", so an index found in the upper-cased items is valid for
// the raw ones too.
std::size_t TSwitchList::Find(std::string_view name, std::size_t from) const {
    for (std::size_t i = from; i < upper_.size(); ++i) {
        const std::size_t split = upper_[i].find(kNameEnd);
        if (split == std::string::npos) continue;
        if (namesEqual_(std::string_view(upper_[i]).substr(0, split), name)) return i;
    }
    return kNotFound;
}

std::string TSwitchList::ValueOf(const std::string& item) {
    return item.substr(item.find(kNameEnd) + 1);
}

std::string TSwitchList::Value(std::string_view name) const {
    const std::size_t index = Find(name);
    return index == kNotFound ? std::string() : ValueOf(upper_[index]);
}

std::string TSwitchList::RawValue(std::string_view name) const {
    const std::size_t index = Find(name);
    return index == kNotFound ? std::string() : ValueOf(raw_[index]);
}

std::vector<std::string> TSwitchList::RawValues(std::string_view name) const {
    std::vector<std::string> values;
    for (std::size_t i = Find(name); i != kNotFound; i = Find(name, i + 1))
        values.push_back(ValueOf(raw_[i]));
    return values;
}

bool TSwitchList::HasFlag(std::string_view name) const {
    for (const std::string& item : upper_)
        if (item.find(kNameEnd) == std::string::npos && namesEqual_(item, name)) return true;
    return false;
}

void TSwitchList::Clear() {
    raw_.clear();
    upper_.clear();
}

} // namespace attente
