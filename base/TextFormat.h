// Fills message templates that come from language modules, which are untrusted: only the placeholders
// the caller supplies are replaced, in order; anything else is copied literally.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace attente {

struct TFormatArg {
    wchar_t Kind; // L's' or L'p'
    std::wstring Text;
};

// Replaces each "%s" or "%p" with the next argument when that argument is of the same kind; "%%" is a
// single "%". A placeholder with no argument left, of another kind, or any other "%" sequence stays as
// written. Never reads an argument that was not given.
std::wstring FormatTemplate(const std::wstring& templ, std::initializer_list<TFormatArg> args);

// The pieces joined in one string: one call and one allocation where a chain of `+` builds a
// temporary string, and its clean-up, per piece.
std::string Concat(std::initializer_list<std::string_view> pieces);

// UTF-8 <-> UTF-16 for messages; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

} // namespace attente
