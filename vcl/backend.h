// What a window system must do for the components. The components hold all state and decide
// every event; a backend only shows that state and reports what the user did.
#pragma once

#include <memory>
#include <string>

class TForm;
class TTimer;
class TWinControl;

namespace vcl {

// The part of a control's state that changed, for the window to show again.
enum class Aspect { Caption, Enabled, Visible, Check };

// The native window of one windowed control. It reads what it shows from its control.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    virtual void Update(Aspect aspect) = 0;
    // Repaints an area of the window (a graphic control that lives on it changed).
    virtual void Repaint(int left, int top, int width, int height) = 0;
    virtual void SetFocus() = 0;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;

    virtual void Start(unsigned interval_ms) = 0;  // a new period begins now
    virtual void Stop() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual std::unique_ptr<WindowPeer> CreateWindowPeer(TWinControl& control) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) = 0;

    // The text of a form resource embedded in the program; throws Exception when missing.
    virtual std::string LoadFormResource(const std::string& name) = 0;
    // The program's file name without folder or extension.
    virtual std::string ProgramTitle() = 0;

    // Runs until QuitMessageLoop; the request takes effect once the running handler returns.
    virtual void RunMessageLoop() = 0;
    virtual void QuitMessageLoop() = 0;

    // A modal error box; owner is the form to put it over, or null.
    virtual void ShowErrorBox(const std::string& title, const std::string& text,
                              TForm* owner) = 0;
};

}  // namespace vcl

namespace vcl {

// The backend the application object holds; null until Application->Initialize (or a test)
// installs one, and then components live in the model alone.
Backend* CurrentBackend();

}  // namespace vcl
