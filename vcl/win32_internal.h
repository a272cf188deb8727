// The parts of the Win32 backend that its window and its message loop share.
#pragma once

#include <map>
#include <set>
#include <string>

#include <windows.h>

#include "backend.h"
#include "win32_canvas.h"

class TWinControl;

namespace vcl {

class Win32Window;

class Win32Backend : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;

    std::unique_ptr<WindowPeer> CreateWindowPeer(TWinControl& control) override;
    std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) override;
    std::string LoadFormResource(const std::string& name) override;
    std::string ProgramTitle() override;
    void RunMessageLoop() override;
    void QuitMessageLoop() override;
    void ShowErrorBox(const std::string& title, const std::string& text, TForm* owner) override;

    // Our windows by handle; a handle that is not ours gives null.
    Win32Window* Find(HWND hwnd) const;
    void Register(HWND hwnd, Win32Window* window) { windows_[hwnd] = window; }
    void Unregister(HWND hwnd) { windows_.erase(hwnd); }

    // Registers a window class of our own painting once, under the given name.
    const char* CustomClass(const std::string& name);
    FontCache& Fonts() { return fonts_; }

    // Timers tick through one hidden window; each timer has a number of its own.
    UINT_PTR AddTimer(TTimer& timer);
    void RemoveTimer(UINT_PTR id);
    HWND TimerWindow() const { return timer_window_; }

private:
    bool HandleDialogKey(const MSG& message);
    static LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE instance_;
    FontCache fonts_;
    std::map<HWND, Win32Window*> windows_;
    std::set<std::string> classes_;
    std::map<UINT_PTR, TTimer*> timers_;
    UINT_PTR next_timer_id_ = 1;
    HWND timer_window_ = nullptr;
};

class Win32Window : public WindowPeer {
public:
    Win32Window(Win32Backend& backend, TWinControl& control);
    ~Win32Window() override;

    void Update(Aspect aspect) override;
    void Repaint(int left, int top, int width, int height) override;
    void SetFocus() override;

    HWND Handle() const { return hwnd_; }
    TWinControl& Control() const { return control_; }

    static LRESULT CALLBACK CustomWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam);

private:
    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    void Paint();
    LRESULT ColorChild(HDC dc, HWND child);
    void RestoreFocus();

    Win32Backend& backend_;
    TWinControl& control_;
    HWND hwnd_ = nullptr;
    HWND saved_focus_ = nullptr;  // a form's focused control while it is inactive
};

}  // namespace vcl
