// What a status window tells the starts that relay to it, as properties of its window (readable from
// any process on the desktop): whether it takes requests, who started it, the name it was given.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

// Set once the window takes requests (its start notification); a window being read is not there yet.
constexpr wchar_t kReadyMark[] = L"Attente.Ready";
// Set when it was closed while its /RUN= job goes on: no window to talk to, and none coming.
constexpr wchar_t kClosedMark[] = L"Attente.Closed";
// The id of the process whose end it follows (its starter), 0 when it follows none.
constexpr wchar_t kStarterMark[] = L"Attente.Starter";
// The longest /ID= name, in UTF-16 units: a property's name is an atom of at most 255.
constexpr std::size_t kMaxIdUnits = 64;

// The property a window started with /ID=<id> carries; names ignore letter case, as atoms do.
inline std::wstring IdMark(const std::wstring& id) {
    return L"Attente.Id:" + id;
}

} // namespace attente
