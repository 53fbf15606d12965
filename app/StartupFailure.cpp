// Start-up failure reporting: the texts come from the language module, so the template goes through
// our own formatter and missing texts fall back to neutral ones.
#include "StartupFailure.h"

#include "Exceptions.h"
#include "ExeWidePath.h"
#include "FailureBox.h"
#include "FailureText.h"
#include "PathRules.h"
#include "ReadingOrder.h"
#include "ResourceSource.h"
#include "TextFormat.h"

#include <windows.h>

#include <new>

// The linker's symbol at the start of our own image, wherever the loader placed it.
extern "C" const IMAGE_DOS_HEADER __ImageBase;

namespace attente {

namespace {

constexpr wchar_t kPlainKind[] = L"Exception";
constexpr wchar_t kOutOfMemoryKind[] = L"EOutOfMemory";

// Rethrows the exception being handled rather than keeping it in an exception_ptr, whose reference
// counting would be linked for this one use.
TStartupFailure DescribeCurrent() {
    TStartupFailure described{kPlainKind, {}, {}, {}};
    try {
        throw;
    } catch (const Exception& e) {
        described.Kind = Utf8ToWide(e.KindName());
        described.Message = Utf8ToWide(e.what());
    } catch (const std::bad_alloc&) {
        described.Kind = kOutOfMemoryKind;
    } catch (const std::exception& e) {
        described.Message = Utf8ToWide(e.what());
    } catch (...) {
    }
    return described;
}

// The image is placed at a random base on every start (it is built for ASLR), so the box names the
// position as an offset in the image: the same fault gives the same number on every machine.
std::uintptr_t ImageOffset(std::uintptr_t address) {
    const auto base = reinterpret_cast<std::uintptr_t>(&__ImageBase);
    return address >= base ? address - base : address;
}

// A resource source in a broken state must not keep the box from showing.
std::wstring ResourceText(UINT id) noexcept {
    try {
        return LoadResStringW(id);
    } catch (...) {
        return {};
    }
}

} // namespace

void ShowStartupFailure(std::uintptr_t codeAddress) noexcept {
    try {
        const std::wstring exePath = ExeFullPathW();
        TStartupFailure described = DescribeCurrent();
        described.Module = ExtractFileName(exePath);
        described.Address = FormatCodeAddress(ImageOffset(codeAddress));
        std::wstring title = ResourceText(kErrorTitleString);
        if (title.empty()) title = ExtractFileTitle(exePath);
        const std::wstring text = StartupFailureText(ResourceText(kExceptionTextString), described);
        ShowFailureBox(nullptr, text, title, MB_OK | MB_TASKMODAL | MB_ICONERROR | MessageBoxReadingOrder());
    } catch (...) {
        // Not even the texts could be built; the exit code still tells the installer.
    }
}

} // namespace attente
