// Fills message templates that come from language modules, which are untrusted: only the placeholders
// the caller supplies are replaced, in order; anything else is copied literally.
#pragma once

#include <initializer_list>
#include <string>

namespace attente {

struct TFormatArg {
    wchar_t Kind; // L's' or L'p'
    std::wstring Text;
};

// Replaces each "%s" or "%p" with the next argument when that argument is of the same kind; "%%" is a
// single "%". A placeholder with no argument left, of another kind, or any other "%" sequence stays as
// written. Never reads an argument that was not given.
std::wstring FormatTemplate(const std::wstring& templ, std::initializer_list<TFormatArg> args);

// UTF-8 <-> UTF-16 for messages; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

} // namespace attente
