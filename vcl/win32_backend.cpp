#include "win32_backend.h"

#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"
#include "win32_internal.h"

namespace vcl {

namespace {

// A timer's id is its own number, not its address: a tick still queued for a timer that is
// gone finds nothing.
class Win32Timer : public TimerPeer {
public:
    Win32Timer(Win32Backend& backend, TTimer& timer)
        : backend_(backend), id_(backend.AddTimer(timer))
    {
    }
    ~Win32Timer() override
    {
        Stop();
        backend_.RemoveTimer(id_);
    }

    void Start(unsigned interval_ms) override
    {
        if (!SetTimer(backend_.TimerWindow(), id_, interval_ms, nullptr))
            throw Exception("Not enough timers available");
    }
    void Stop() override { KillTimer(backend_.TimerWindow(), id_); }

private:
    Win32Backend& backend_;
    UINT_PTR id_;
};

TForm* FormOf(TControl& control)
{
    TControl* top = &control;
    while (top->Parent())
        top = top->Parent();
    return dynamic_cast<TForm*>(top);
}

const char kTimerWindowClass[] = "TTimerWindow";

}  // namespace

std::unique_ptr<Backend> CreateWin32Backend() { return std::make_unique<Win32Backend>(); }

Win32Backend::Win32Backend() : instance_(GetModuleHandleA(nullptr))
{
    WNDCLASSEXA timer_class{};
    timer_class.cbSize = sizeof timer_class;
    timer_class.lpfnWndProc = TimerWindowProc;
    timer_class.hInstance = instance_;
    timer_class.lpszClassName = kTimerWindowClass;
    RegisterClassExA(&timer_class);
    timer_window_ = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, instance_, nullptr);
    SetWindowLongPtrA(timer_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Backend::~Win32Backend()
{
    DestroyWindow(timer_window_);
    UnregisterClassA(kTimerWindowClass, instance_);
    for (const std::string& name : classes_)
        UnregisterClassA(name.c_str(), instance_);
}

std::unique_ptr<WindowPeer> Win32Backend::CreateWindowPeer(TWinControl& control)
{
    return std::make_unique<Win32Window>(*this, control);
}

std::unique_ptr<TimerPeer> Win32Backend::CreateTimerPeer(TTimer& timer)
{
    return std::make_unique<Win32Timer>(*this, timer);
}

std::string Win32Backend::LoadFormResource(const std::string& name)
{
    HRSRC found = FindResourceA(instance_, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance_, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw Exception("Resource " + name + " not found");
    return std::string(static_cast<const char*>(data), SizeofResource(instance_, found));
}

std::string Win32Backend::ProgramTitle()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, length < sizeof path ? length : 0);
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

void Win32Backend::RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (HandleDialogKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Win32Backend::QuitMessageLoop() { PostQuitMessage(0); }

void Win32Backend::ShowErrorBox(const std::string& title, const std::string& text, TForm* owner)
{
    HWND owner_window = owner ? static_cast<Win32Window*>(owner->Peer())->Handle() : nullptr;
    MessageBoxA(owner_window, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
}

Win32Window* Win32Backend::Find(HWND hwnd) const
{
    auto found = windows_.find(hwnd);
    return found != windows_.end() ? found->second : nullptr;
}

const char* Win32Backend::CustomClass(const std::string& name)
{
    auto found = classes_.find(name);
    if (found != classes_.end())
        return found->c_str();
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = Win32Window::CustomWindowProc;
    window_class.hInstance = instance_;
    window_class.hIcon = LoadIconA(instance_, "MAINICON");
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = name.c_str();
    if (!RegisterClassExA(&window_class))
        throw Exception("Error registering window class " + name);
    return classes_.insert(name).first->c_str();
}

UINT_PTR Win32Backend::AddTimer(TTimer& timer)
{
    timers_[next_timer_id_] = &timer;
    return next_timer_id_++;
}

void Win32Backend::RemoveTimer(UINT_PTR id) { timers_.erase(id); }

// Tab and Shift+Tab move the focus through the controls that take it, in tab order; Enter
// presses the focused button.
bool Win32Backend::HandleDialogKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_TAB && message.wParam != VK_RETURN))
        return false;
    Win32Window* window = Find(message.hwnd);
    if (!window)
        return false;
    TWinControl& control = window->Control();
    try {
        if (message.wParam == VK_RETURN) {
            if (control.Kind() != WindowKind::Button)
                return false;
            SendMessageA(message.hwnd, BM_CLICK, 0, 0);
            return true;
        }
        TForm* form = FormOf(control);
        if (!form)
            return false;
        const bool forward = !(GetKeyState(VK_SHIFT) & 0x8000);
        if (TWinControl* next = form->FindNextControl(&control, forward))
            next->SetFocus();
    } catch (...) {
        Application->HandleException();
    }
    return true;
}

LRESULT CALLBACK Win32Backend::TimerWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam)
{
    auto* backend = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message != WM_TIMER || !backend)
        return DefWindowProcA(hwnd, message, wparam, lparam);
    auto found = backend->timers_.find(wparam);
    if (found == backend->timers_.end())
        return 0;
    try {
        found->second->Tick();
    } catch (...) {
        Application->HandleException();
    }
    return 0;
}

}  // namespace vcl
