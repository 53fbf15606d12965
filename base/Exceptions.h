// The one exception family of the program: every failure carries a message (UTF-8) and a kind name.
#pragma once

#include <stdexcept>
#include <string>

namespace attente {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& messageUtf8) : std::runtime_error(messageUtf8) {}
    // The class name shown to the user in the start-up error box.
    virtual const char* KindName() const noexcept { return "Exception"; }
    std::string Message() const { return what(); }
};

// A window description that cannot be read, or that does not fit the window it is read into.
class EReadError : public Exception {
public:
    using Exception::Exception;
    const char* KindName() const noexcept override { return "EReadError"; }
};

// A resource that must exist (a window's description at creation) was not found.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
    const char* KindName() const noexcept override { return "EResNotFound"; }
};

// An index outside a list's bounds.
class EListError : public Exception {
public:
    using Exception::Exception;
    const char* KindName() const noexcept override { return "EListError"; }
};

} // namespace attente
