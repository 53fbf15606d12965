// Forms: their properties, their top-level window and its window procedure.
#include "Form.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "Exceptions.h"
#include "MessageErrors.h"
#include "Screen.h"
#include "TextFormat.h"
#include "UiHandles.h"

#include <algorithm>

namespace attente {

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// Each form class gets a window class of its own name (TForm1), so that an installer can find the
// window by class. Registered once per name; the names are ASCII identifiers.
std::wstring FormWindowClass(const char* className) {
    std::wstring name(className, className + std::char_traits<char>::length(className));
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &existing)) return name;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // The border is drawn over the whole client area: a resize must repaint all of it.
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FormWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc))
        throw Exception(Concat({"RegisterClassExW a échoué (", std::to_string(GetLastError()), ")"}));
    return name;
}

// The one value a form accepts for a property that descriptions list for the record's sake.
void ExpectOnly(const TValue& value, std::string_view property, std::string_view accepted) {
    const std::string& id = ExpectIdentifier(value, property);
    if (!EqualsIgnoringAsciiCase(id, accepted)) RaiseBadValue(property, id);
}

// At most 15 characters: kept inside the string object.
constexpr char kUnknownFailure[] = "Erreur inconnue";

} // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->Attach(window);
    }
    auto* form = static_cast<TForm*>(TControl::FromHandle(window));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return form->WindowProcedure(message, wParam, lParam);
    } catch (const std::exception& error) {
        HandleMessageException(error);
    } catch (...) {
        // Nothing may leave for the system's frames, not even an allocation's failure: a text short
        // enough for the string's own storage, so that making the message allocates nothing.
        HandleMessageException(Exception(kUnknownFailure));
    }
    return 0;
}

TForm::TForm(TComponent* owner) : TControl(owner) {
    SetVisible(false);
    font_.OnChange = [this] { Invalidate(); };
    Screen.AddForm(this);
}

TForm::~TForm() {
    // Off the list first: the window's last messages (deactivation) must not move it to the front.
    Screen.RemoveForm(this);
    DestroyComponents();
    if (window_) DestroyWindow(window_);
}

void TForm::CreateHandle() {
    if (window_) return;
    // Made once, at the place and size the descriptions gave: a borderless popup has no frame, so its
    // window is its client area.
    const RECT r = WindowBounds();
    HWND window = CreateWindowExW(exStyle_, FormWindowClass(ClassInfo().Name).c_str(), caption_.c_str(),
                                  WS_POPUP | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0), r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
    if (!window) throw Exception(Concat({"CreateWindowExW a échoué (", std::to_string(GetLastError()), ")"}));
    for (TControl* child : Controls())
        child->CreateHandle();
}

void TForm::SetPlacement(const RECT& area, const RECT& within) {
    area_ = area;
    within_ = within;
}

RECT TForm::WindowBounds() const {
    RECT r = ScreenBounds();
    r.bottom += ScaleToScreen(extraHeight_);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    POINT at{r.left, r.top};
    if (centred_ && window_) {
        RECT now{};
        GetWindowRect(window_, &now);
        at = {now.left, now.top};
    } else if (centred_) {
        RECT area = area_;
        if (IsRectEmpty(&area)) area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        at = {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
        if (!IsRectEmpty(&within_)) {
            at.x = std::max(within_.left, std::min(at.x, within_.right - width));
            at.y = std::max(within_.top, std::min(at.y, within_.bottom - height));
        }
    }
    return {at.x, at.y, at.x + width, at.y + height};
}

void TForm::PlaceWindow() {
    if (!window_) return;
    const RECT r = WindowBounds();
    SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetExtraHeight(int designPixels) {
    if (designPixels == extraHeight_) return;
    extraHeight_ = designPixels;
    PlaceWindow();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    PlaceWindow();
}

void TForm::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (window_) SetWindowTextW(window_, caption_.c_str());
}

void TForm::Invalidate() {
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TForm::Show(int showCommand) {
    if (!window_) return;
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(*this);
}

RECT TForm::ClientRect() const {
    RECT r{0, 0, ScaleToScreen(Width()), ScaleToScreen(Height())};
    if (window_) GetClientRect(window_, &r);
    return r;
}

void TForm::PaintTo(HDC dc) {
    // The only background fill: child controls draw over what the form paints beneath them.
    const RECT client = ClientRect();
    const TGdiObject background(CreateSolidBrush(color_.Resolve()));
    FillRect(dc, &client, static_cast<HBRUSH>(background.Get()));
    if (!OnPaint) return;
    const TSavedDc saved(dc);
    const TSelectScope font(dc, font_.Handle());
    SetTextColor(dc, font_.Color().Resolve());
    SetBkMode(dc, TRANSPARENT);
    canvas_ = dc;
    struct TCanvasReset {
        HDC& canvas;
        ~TCanvasReset() { canvas = nullptr; }
    } reset{canvas_};
    OnPaint(*this);
}

bool TForm::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT TForm::WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        // The paint routine fills the background itself, so WM_PRINTCLIENT gets it as well.
        return 1;
    case WM_PAINT: {
        const TPaintScope paint(window_);
        PaintTo(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        TControl* child = TControl::FromHandle(item->hwndItem);
        if (!child) break;
        const TSavedDc saved(item->hDC);
        child->PaintTo(item->hDC);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (!TControl::FromHandle(reinterpret_cast<HWND>(lParam))) break;
        // Our children draw no background of their own.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_MOUSEACTIVATE:
        // Windows keeps such a window from activation by itself; Wine activates it on a click.
        if (exStyle_ & WS_EX_NOACTIVATE) return MA_NOACTIVATE;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) Screen.FormFocused(this);
        break;
    case WM_SETFOCUS:
        Screen.FormFocused(this);
        break;
    case WM_SYSCOLORCHANGE:
        Invalidate();
        break;
    case WM_NCDESTROY: {
        HWND window = window_;
        HandleDestroyed();
        if (OnDestroy) OnDestroy(*this);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool TForm::SetProperty(std::string_view name, const TValue& value) {
    std::string_view head, rest;
    SplitPropertyName(name, head, rest);
    if (!rest.empty()) return EqualsIgnoringAsciiCase(head, "Font") && font_.SetProperty(rest, value);
    if (EqualsIgnoringAsciiCase(name, "Caption")) {
        SetCaption(Utf8ToWide(ExpectString(value, "Caption")));
    } else if (EqualsIgnoringAsciiCase(name, "BorderStyle")) {
        ExpectOnly(value, "BorderStyle", "none");
    } else if (EqualsIgnoringAsciiCase(name, "BorderIcons")) {
        const std::vector<std::string>& icons = ExpectSet(value, "BorderIcons");
        if (!icons.empty()) RaiseBadValue("BorderIcons", icons.front());
    } else if (EqualsIgnoringAsciiCase(name, "Position")) {
        ExpectOnly(value, "Position", "screenCenter");
        centred_ = true;
    } else if (EqualsIgnoringAsciiCase(name, "ClientWidth")) {
        SetBounds(Left(), Top(), ExpectInteger(value, "ClientWidth"), Height());
    } else if (EqualsIgnoringAsciiCase(name, "ClientHeight")) {
        SetBounds(Left(), Top(), Width(), ExpectInteger(value, "ClientHeight"));
    } else if (EqualsIgnoringAsciiCase(name, "Color")) {
        color_ = TColor::FromValue(value, "Color");
        Invalidate();
    } else if (EqualsIgnoringAsciiCase(name, "BiDiMode")) {
        const std::string& mode = ExpectIdentifier(value, "BiDiMode");
        if (EqualsIgnoringAsciiCase(mode, "leftToRight"))
            biDiMode_ = TBiDiMode::LeftToRight;
        else if (EqualsIgnoringAsciiCase(mode, "rightToLeft"))
            biDiMode_ = TBiDiMode::RightToLeft;
        else
            RaiseBadValue("BiDiMode", mode);
        for (TControl* child : Controls())
            child->ParentBiDiModeChanged();
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

TNotifyEvent* TForm::EventProperty(std::string_view name) {
    if (EqualsIgnoringAsciiCase(name, "OnCreate")) return &OnCreate;
    if (EqualsIgnoringAsciiCase(name, "OnPaint")) return &OnPaint;
    return TControl::EventProperty(name);
}

} // namespace attente
