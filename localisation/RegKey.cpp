// Registry key ownership.
#include "RegKey.h"

namespace attente {

TRegKey& TRegKey::operator=(TRegKey&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

HKEY TRegKey::Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
}

void TRegKey::Reset(HKEY key) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
}

} // namespace attente
