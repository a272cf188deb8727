#include "win32_internal.h"

#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"

namespace vcl {

namespace {

DWORD FormStyle(const TForm& form)
{
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (form.BorderStyle() == bsSizeable)
        style |= WS_THICKFRAME;
    if (form.BorderIcons() & biSystemMenu)
        style |= WS_SYSMENU;
    if (form.BorderIcons() & biMinimize)
        style |= WS_MINIMIZEBOX;
    if (form.BorderIcons() & biMaximize)
        style |= WS_MAXIMIZEBOX;
    return style;
}

struct NativeClass {
    const char* name;
    DWORD style;
};

NativeClass NativeClassOf(const TWinControl& control)
{
    switch (control.Kind()) {
    case WindowKind::Button: return {"BUTTON", BS_PUSHBUTTON};
    // Not an automatic check box: a click is reported to us, and the component decides.
    case WindowKind::CheckBox: return {"BUTTON", BS_3STATE};
    case WindowKind::StaticText: return {"STATIC", SS_LEFT};
    case WindowKind::Custom: break;
    }
    return {nullptr, WS_CLIPCHILDREN};
}

std::string CustomClassName(const TWinControl& control)
{
    if (auto* form = dynamic_cast<const TForm*>(&control))
        return form->ClassName();
    if (dynamic_cast<const TGroupBox*>(&control))
        return "TGroupBox";
    return "TPanel";
}

bool OverlapsAnEarlierWindow(const TWinControl& control)
{
    for (const TControl* sibling : control.Parent()->Controls()) {
        if (sibling == &control)
            break;
        if (dynamic_cast<const TWinControl*>(sibling) &&
            sibling->Left() < control.Left() + control.Width() &&
            control.Left() < sibling->Left() + sibling->Width() &&
            sibling->Top() < control.Top() + control.Height() &&
            control.Top() < sibling->Top() + sibling->Height())
            return true;
    }
    return false;
}

}  // namespace

Win32Window::Win32Window(Win32Backend& backend, TWinControl& control)
    : backend_(backend), control_(control)
{
    const bool top_level = control.Parent() == nullptr;
    DWORD style = control.Visible() ? WS_VISIBLE : 0;
    if (!control.Enabled())
        style |= WS_DISABLED;
    int x = control.Left();
    int y = control.Top();
    int width = control.Width();
    int height = control.Height();
    HWND parent = nullptr;
    const char* class_name;

    if (top_level) {
        const auto& form = dynamic_cast<const TForm&>(control);
        style |= FormStyle(form);
        RECT frame{0, 0, form.ClientWidth(), form.ClientHeight()};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        width = frame.right - frame.left;
        height = frame.bottom - frame.top;
        class_name = backend.CustomClass(form.ClassName());
    } else {
        parent = static_cast<Win32Window*>(control.Parent()->Peer())->Handle();
        const NativeClass native = NativeClassOf(control);
        style |= WS_CHILD | WS_CLIPSIBLINGS | native.style;
        if (control.TabStop())
            style |= WS_TABSTOP;
        class_name = native.name ? native.name : backend.CustomClass(CustomClassName(control));
    }

    // Screen readers read a window's text, so every window carries its caption.
    hwnd_ = CreateWindowExA(0, class_name, control.Caption().c_str(), style, x, y, width, height,
                            parent, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_)
        throw Exception("Error creating window " + control.Name());
    backend_.Register(hwnd_, this);
    if (top_level)
        return;
    // A control made later lies above those made before it where they overlap; Windows puts a
    // new child window below its siblings.
    if (OverlapsAnEarlierWindow(control))
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (control.Kind() != WindowKind::Custom)
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(backend_.Fonts().Get(control.Font())),
                     FALSE);
    if (control.Kind() == WindowKind::CheckBox)
        Update(Aspect::Check);
}

Win32Window::~Win32Window()
{
    if (!hwnd_)
        return;
    backend_.Unregister(hwnd_);
    // A child window may have gone already with its parent window.
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

void Win32Window::Update(Aspect aspect)
{
    switch (aspect) {
    case Aspect::Caption:
        SetWindowTextA(hwnd_, control_.Caption().c_str());
        break;
    case Aspect::Enabled:
        EnableWindow(hwnd_, control_.Enabled());
        break;
    case Aspect::Visible:
        ShowWindow(hwnd_, control_.Visible() ? SW_SHOW : SW_HIDE);
        if (control_.Visible())
            UpdateWindow(hwnd_);
        return;
    case Aspect::Check:
        SendMessageA(hwnd_, BM_SETCHECK, static_cast<const TCheckBox&>(control_).State(), 0);
        return;
    }
    if (control_.Kind() == WindowKind::Custom)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Window::Repaint(int left, int top, int width, int height)
{
    const RECT area{left, top, left + width, top + height};
    InvalidateRect(hwnd_, &area, TRUE);
}

void Win32Window::SetFocus() { ::SetFocus(hwnd_); }

LRESULT CALLBACK Win32Window::CustomWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam)
{
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcA(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->backend_.Unregister(hwnd);
        window->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    // No exception may pass into Windows: it is reported like one from an event handler.
    try {
        return window->Dispatch(message, wparam, lparam);
    } catch (...) {
        Application->HandleException();
        return 0;
    }
}

LRESULT Win32Window::Dispatch(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        Win32Canvas(reinterpret_cast<HDC>(wparam), backend_.Fonts())
            .FillRect({client.left, client.top, client.right, client.bottom}, control_.Color());
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED)
            if (Win32Window* child = backend_.Find(reinterpret_cast<HWND>(lparam)))
                child->control_.ClickedByUser();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ColorChild(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_CLOSE:
        if (auto* form = dynamic_cast<TForm*>(&control_)) {
            form->Close();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (control_.Parent() != nullptr)
            break;
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(hwnd_, focused))
                saved_focus_ = focused;
        } else {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        if (control_.Parent() == nullptr) {
            RestoreFocus();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}

void Win32Window::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    Win32Canvas canvas(dc, backend_.Fonts());
    control_.Paint(canvas);
    // Graphic controls live on this window's surface, under its child windows.
    for (TControl* child : control_.Controls()) {
        if (dynamic_cast<TWinControl*>(child) || !child->Visible())
            continue;
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        child->Paint(canvas);
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT Win32Window::ColorChild(HDC dc, HWND child_hwnd)
{
    Win32Window* child = backend_.Find(child_hwnd);
    const TControl& colored = child ? static_cast<const TControl&>(child->control_) : control_;
    SetTextColor(dc, ColorRef(colored.Font().Color));
    SetBkColor(dc, ColorRef(colored.Color()));
    SetDCBrushColor(dc, ColorRef(colored.Color()));
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

void Win32Window::RestoreFocus()
{
    if (saved_focus_ && IsWindow(saved_focus_) && IsWindowEnabled(saved_focus_) &&
        IsWindowVisible(saved_focus_)) {
        ::SetFocus(saved_focus_);
        return;
    }
    auto& form = dynamic_cast<TForm&>(control_);
    if (TWinControl* first = form.FindNextControl(nullptr, true))
        first->SetFocus();
}

}  // namespace vcl
