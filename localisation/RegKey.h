// The one owner of an open registry key: closes it on every path, movable, never copied.
#pragma once

#include <windows.h>

namespace attente {

class TRegKey {
  public:
    TRegKey() = default;
    explicit TRegKey(HKEY key) : key_(key) {}
    ~TRegKey() { Reset(); }
    TRegKey(TRegKey&& other) noexcept : key_(other.Release()) {}
    TRegKey& operator=(TRegKey&& other) noexcept;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY Release();
    void Reset(HKEY key = nullptr);

  private:
    HKEY key_ = nullptr;
};

} // namespace attente
