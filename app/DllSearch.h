// Narrows where the process looks for DLLs loaded by name, so that a DLL planted beside the exe (an
// installer's download folder) is never picked up, neither by our code nor by a system DLL's own loads.
#pragma once

namespace attente {

enum class TDllSearch {
    SystemOnly,       // only the system folder is searched for names
    CurrentDirectory, // older systems: the current folder is out of the search; the exe's folder stays
};

// Call first thing in the entry, before anything could load a DLL.
TDllSearch RestrictDllSearch();

} // namespace attente
