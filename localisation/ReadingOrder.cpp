// The reading order of the installed texts, from the locale data of the language they name.
#include "ReadingOrder.h"

#include "InitLangue.h"
#include "ResourceSource.h"

namespace attente {

namespace {

// LOCALE_IREADINGLAYOUT: 0 left to right, 1 right to left, 2 and 3 vertical.
constexpr DWORD kRightToLeftLayout = 1;

} // namespace

UINT MessageBoxReadingOrder() noexcept {
    try {
        if (Langues == nullptr) return 0;
        const DWORD lcid = Langues->LcidOfAbbrev(LoadResStringA(kLanguageIdString));
        DWORD layout = 0;
        if (lcid == 0 || !GetLocaleInfoW(lcid, LOCALE_IREADINGLAYOUT | LOCALE_RETURN_NUMBER,
                                         reinterpret_cast<LPWSTR>(&layout), sizeof layout / sizeof(wchar_t)))
            return 0;
        return layout == kRightToLeftLayout ? MB_RTLREADING | MB_RIGHT : 0;
    } catch (...) {
        // A box in the wrong order still reports the failure; no box would not.
        return 0;
    }
}

} // namespace attente
