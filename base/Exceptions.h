// The one exception family of the program: every failure carries a message (UTF-8) and a kind name.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace attente {

// Not std::runtime_error: its strings live in the library's own string code, of both ABIs, which
// would otherwise be linked into the exe for this one class.
class Exception : public std::exception {
  public:
    explicit Exception(std::string messageUtf8) : message_(std::move(messageUtf8)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    // The class name shown to the user in the start-up error box.
    virtual const char* KindName() const noexcept { return "Exception"; }

  private:
    std::string message_;
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
