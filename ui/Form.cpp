// Forms: their properties, their top-level window and its window procedure.
#include "Form.h"

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

// Larger client areas than this would overflow window coordinates once scaled.
constexpr int kMaxClientSize = 0x3FFF;

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
        throw Exception("RegisterClassExW a échoué (" + std::to_string(GetLastError()) + ")");
    return name;
}

struct TIdentifierOf {
    const char* Name;
    int Value;
};

template <std::size_t N>
int LookUpIdentifier(const TIdentifierOf (&table)[N], const TValue& value, std::string_view property) {
    const std::string& id = ExpectIdentifier(value, property);
    for (const TIdentifierOf& entry : table)
        if (SameName(entry.Name, id)) return entry.Value;
    RaiseBadValue(property, id);
}

constexpr TIdentifierOf kBorderStyles[] = {
    {"none", static_cast<int>(TBorderStyle::None)},
    {"single", static_cast<int>(TBorderStyle::Single)},
    {"sizeable", static_cast<int>(TBorderStyle::Sizeable)},
    {"dialog", static_cast<int>(TBorderStyle::Dialog)},
};

constexpr TIdentifierOf kPositions[] = {
    {"designed", static_cast<int>(TPosition::Designed)},
    {"screenCenter", static_cast<int>(TPosition::ScreenCenter)},
};

constexpr TIdentifierOf kBiDiModes[] = {
    {"leftToRight", static_cast<int>(TBiDiMode::LeftToRight)},
    {"rightToLeft", static_cast<int>(TBiDiMode::RightToLeft)},
};

} // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->Attach(window);
    }
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return form->WindowProcedure(message, wParam, lParam);
    } catch (const std::exception& error) {
        HandleMessageException(error);
    } catch (...) {
        HandleMessageException(Exception("Exception inconnue"));
    }
    return 0;
}

TForm::TForm(TComponent* owner) : TControl(owner) {
    TControl::SetVisible(false);
    font_.OnChange = [this] { FontChanged(); };
    Screen.AddForm(this);
}

TForm::~TForm() {
    // Off the list first: the window's last messages (deactivation) must not move it to the front.
    Screen.RemoveForm(this);
    DestroyComponents();
    DestroyHandle();
}

void TForm::CreateHandle() {
    HWND window =
        CreateWindowExW(WindowExStyle(), FormWindowClass(ClassInfo().Name).c_str(), caption_.c_str(),
                        WindowStyle(), CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, GetModuleHandleW(nullptr), this);
    if (!window) throw Exception("CreateWindowExW a échoué (" + std::to_string(GetLastError()) + ")");
    UpdateWindowBounds();
    for (TControl* child : Controls())
        if (!child->HandleAllocated()) child->Handle();
}

DWORD TForm::WindowStyle() const {
    DWORD style = WS_CLIPSIBLINGS;
    switch (borderStyle_) {
    case TBorderStyle::None:
        style |= WS_POPUP;
        break;
    case TBorderStyle::Single:
        style |= WS_OVERLAPPED | WS_CAPTION;
        break;
    case TBorderStyle::Sizeable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case TBorderStyle::Dialog:
        style |= WS_POPUP | WS_CAPTION;
        break;
    }
    if (borderStyle_ != TBorderStyle::None && borderIcons_.SystemMenu) {
        style |= WS_SYSMENU;
        if (borderStyle_ != TBorderStyle::Dialog) {
            if (borderIcons_.Minimize) style |= WS_MINIMIZEBOX;
            if (borderIcons_.Maximize) style |= WS_MAXIMIZEBOX;
        }
    }
    return style;
}

DWORD TForm::WindowExStyle() const {
    return borderStyle_ == TBorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

void TForm::UpdateWindowBounds() {
    if (!window_) return;
    RECT r{0, 0, ScaleToScreen(clientWidth_), ScaleToScreen(clientHeight_)};
    AdjustWindowRectEx(&r, WindowStyle(), FALSE, WindowExStyle());
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int x = ScaleToScreen(Left());
    int y = ScaleToScreen(Top());
    if (position_ == TPosition::ScreenCenter) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    applyingBounds_ = true;
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    applyingBounds_ = false;
}

SIZE TForm::FrameDesignSize() const {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
    return {ScaleToDesign(frame.right - frame.left), ScaleToDesign(frame.bottom - frame.top)};
}

void TForm::SyncOuterSize() {
    const SIZE frame = FrameDesignSize();
    TControl::SetBounds(Left(), Top(), clientWidth_ + static_cast<int>(frame.cx),
                        clientHeight_ + static_cast<int>(frame.cy));
}

void TForm::SetBounds(int left, int top, int width, int height) {
    const SIZE frame = FrameDesignSize();
    clientWidth_ = std::clamp(width - static_cast<int>(frame.cx), 0, kMaxClientSize);
    clientHeight_ = std::clamp(height - static_cast<int>(frame.cy), 0, kMaxClientSize);
    TControl::SetBounds(left, top, width, height);
    SyncOuterSize();
    UpdateWindowBounds();
}

void TForm::SetClientWidth(int width) {
    clientWidth_ = std::clamp(width, 0, kMaxClientSize);
    SyncOuterSize();
    UpdateWindowBounds();
}

void TForm::SetClientHeight(int height) {
    clientHeight_ = std::clamp(height, 0, kMaxClientSize);
    SyncOuterSize();
    UpdateWindowBounds();
}

void TForm::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (window_) SetWindowTextW(window_, caption_.c_str());
}

void TForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    if (window_) {
        SetWindowLongPtrW(window_, GWL_STYLE,
                          static_cast<LONG_PTR>(WindowStyle() | (Visible() ? WS_VISIBLE : 0)));
        SetWindowLongPtrW(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(WindowExStyle()));
    }
    SyncOuterSize();
    UpdateWindowBounds();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    SetBorderStyle(borderStyle_);
}

void TForm::SetPosition(TPosition position) {
    position_ = position;
    UpdateWindowBounds();
}

void TForm::SetColor(TColor color) {
    color_ = color;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TForm::SetBiDiMode(TBiDiMode mode) {
    biDiMode_ = mode;
    for (TControl* child : Controls())
        child->ParentBiDiModeChanged();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TForm::FontChanged() {
    for (TControl* child : Controls())
        child->ParentFontChanged();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TForm::SetVisible(bool visible) {
    if (!created_) {
        showAfterCreate_ = visible;
        return;
    }
    if (visible)
        Show();
    else
        Hide();
}

void TForm::Show() {
    created_ = true;
    TControl::SetVisible(true);
    Handle();
    ShowWindow(window_, SW_SHOW);
}

void TForm::Hide() {
    TControl::SetVisible(false);
}

void TForm::Close() {
    if (OnClose)
        OnClose(*this);
    else
        Hide();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(*this);
    created_ = true;
    if (showAfterCreate_) {
        showAfterCreate_ = false;
        Show();
    }
}

RECT TForm::ClientRect() {
    RECT r{0, 0, ScaleToScreen(clientWidth_), ScaleToScreen(clientHeight_)};
    if (window_) GetClientRect(window_, &r);
    return r;
}

void TForm::PaintTo(HDC dc) {
    const RECT client = ClientRect();
    TGdiObject background(CreateSolidBrush(color_.Resolve()));
    FillRect(dc, &client, static_cast<HBRUSH>(background.Get()));
    if (!OnPaint) return;
    TSavedDc saved(dc);
    TSelectScope font(dc, font_.Handle());
    SetTextColor(dc, font_.Color().Resolve());
    SetBkMode(dc, TRANSPARENT);
    canvas_ = dc;
    struct TCanvasReset {
        HDC& canvas;
        ~TCanvasReset() { canvas = nullptr; }
    } reset{canvas_};
    OnPaint(*this);
}

void TForm::PrintChildren(HDC dc) {
    for (TControl* child : Controls()) {
        if (!child->Visible() || !child->HandleAllocated()) continue;
        RECT r;
        GetWindowRect(child->Handle(), &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        TSavedDc saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        POINT origin;
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x - r.left, origin.y - r.top, nullptr);
        // Straight to the child's paint routine: the system's STATIC takes the DC's device origin as
        // its own corner when it clips, which an offset origin breaks.
        child->PaintTo(dc);
    }
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
        TPaintScope paint(window_);
        PaintTo(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        if (lParam & PRF_CHILDREN) PrintChildren(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        TControl* child = TControl::FromHandle(item->hwndItem);
        if (!child) break;
        TSavedDc saved(item->hDC);
        child->PaintTo(item->hDC);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (!TControl::FromHandle(reinterpret_cast<HWND>(lParam))) break;
        // Our children paint their own background when they have one.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) Screen.FormFocused(this);
        break;
    case WM_SETFOCUS:
        Screen.FormFocused(this);
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SYSCOLORCHANGE:
        InvalidateRect(window_, nullptr, TRUE);
        break;
    case WM_NCDESTROY: {
        HWND window = window_;
        HandleDestroyed();
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
    if (!rest.empty()) {
        if (SameName(head, "Font")) return font_.SetProperty(rest, value);
        return false;
    }
    if (SameName(name, "Caption")) {
        SetCaption(Utf8ToWide(ExpectString(value, "Caption")));
    } else if (SameName(name, "BorderStyle")) {
        SetBorderStyle(static_cast<TBorderStyle>(LookUpIdentifier(kBorderStyles, value, "BorderStyle")));
    } else if (SameName(name, "BorderIcons")) {
        TBorderIcons icons{false, false, false};
        for (const std::string& item : ExpectSet(value, "BorderIcons")) {
            if (SameName(item, "systemMenu"))
                icons.SystemMenu = true;
            else if (SameName(item, "minimize"))
                icons.Minimize = true;
            else if (SameName(item, "maximize"))
                icons.Maximize = true;
            else
                RaiseBadValue("BorderIcons", item);
        }
        SetBorderIcons(icons);
    } else if (SameName(name, "Position")) {
        SetPosition(static_cast<TPosition>(LookUpIdentifier(kPositions, value, "Position")));
    } else if (SameName(name, "ClientWidth")) {
        SetClientWidth(ExpectInteger(value, "ClientWidth"));
    } else if (SameName(name, "ClientHeight")) {
        SetClientHeight(ExpectInteger(value, "ClientHeight"));
    } else if (SameName(name, "Color")) {
        SetColor(TColor::FromValue(value, "Color"));
    } else if (SameName(name, "BiDiMode")) {
        SetBiDiMode(static_cast<TBiDiMode>(LookUpIdentifier(kBiDiModes, value, "BiDiMode")));
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

TNotifyEvent* TForm::EventProperty(std::string_view name) {
    if (SameName(name, "OnCreate")) return &OnCreate;
    if (SameName(name, "OnPaint")) return &OnPaint;
    if (SameName(name, "OnClose")) return &OnClose;
    return TControl::EventProperty(name);
}

} // namespace attente
