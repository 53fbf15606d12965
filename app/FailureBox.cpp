// The one place that shows an error box, so that unattended mode covers every failure.
#include "FailureBox.h"

#include "CommandLine.h"
#include "Handles.h"
#include "SwitchNames.h"
#include "TextFormat.h"

namespace attente {

namespace {

// Appended, also to a report written before the failure; the file is created when start-up failed
// before the report was written.
void AppendToReport(const std::wstring& text) {
    const std::wstring path = Utf8ToWide(WideSwitches().RawValue(kDiagnosticsSwitch));
    if (path.empty()) return;
    const TFile file(
        CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string line = Concat({"Failure: ", WideToUtf8(text), "\r\n"});
    DWORD written = 0;
    WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace

bool Unattended() {
    return WideSwitches().HasFlag(kUnattendedSwitch);
}

void ShowFailureBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) noexcept {
    try {
        if (Unattended())
            AppendToReport(text);
        else
            MessageBoxW(owner, text.c_str(), title.c_str(), style);
    } catch (...) {
        // Nothing left to tell it with; the exit code still tells the installer.
    }
}

} // namespace attente
