// Where a failure is told to the user: an error box, or, in unattended mode (/UNATTENDED), no box at
// all and the text in the /DIAG report, so that a silent install never waits for a click.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

// Whether the command line asks for unattended mode.
bool Unattended();

// Shows the box (MessageBoxW's arguments), or in unattended mode appends "Failure: <text>" to the
// report when one was asked for. Never raises.
void ShowFailureBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) noexcept;

} // namespace attente
