// Names of language-module candidates built from the executable's path: platform-free so that the
// host tests can check every edge of the rule. Paths are UTF-8, so that a folder may be named in any
// script; the "." and the separators are single bytes in it, never part of another character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace attente {

// The platform's path limit plus the terminating zero, in UTF-16 units: every path must fit a buffer
// of this size.
constexpr std::size_t kPathBufferSize = 261;
// Locale abbreviations and registry overrides: up to 4 characters and a terminating zero.
constexpr std::size_t kAbbrevBufferSize = 5;

// Position of the last "." in the path, found from the end and across directory separators, so an
// extension-less file name under "dir.x" finds the directory's dot. None when the path has no "."
// or its only "." is the first character.
std::optional<std::size_t> FindExtensionDot(std::string_view path);

// The path with everything after that "." replaced by `extension` (UTF-8). None when there is no such
// ".", the extension is empty, or the result would not fit in kPathBufferSize: a candidate is skipped,
// never cut short (a cut name could open another language's module).
std::optional<std::string> ModuleCandidate(std::string_view path, std::string_view extension);

// Length of UTF-8 text in UTF-16 units: a four-byte character takes two.
std::size_t Utf16Length(std::string_view text);

// The abbreviation of the language without its region: its first two characters.
std::string TwoLetterForm(std::string_view abbrev);

} // namespace attente
