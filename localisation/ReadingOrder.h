// Which way the installed texts read, for the boxes that show them: a box of Arabic or Hebrew texts
// laid out left to right puts file names and numbers on the wrong side of their words.
#pragma once

#include <windows.h>

namespace attente {

// MB_RTLREADING | MB_RIGHT when the language the resource source names (string 65173, looked up in
// the language table) is written right to left; 0 otherwise, also before the table exists and for a
// language the table does not know. The system's own locale plays no part.
UINT MessageBoxReadingOrder() noexcept;

} // namespace attente
