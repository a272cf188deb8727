// Drives the real programs as a user would, from a Win32 test program under Wine: starts them
// in a folder of the test's choosing, collects their console output and exit code, finds their
// windows, reads and presses what a user would, and reads the platform calls they made.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// A new empty folder under the temporary folder, removed with its files when done with.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    // Copies file into the folder, under its own name unless another is given.
    void CopyIn(const std::string& file, std::string as = "") const;
    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

// A message box as the user sees it.
struct Box {
    std::string caption;
    std::string text;
};

// What one window or control looks like from outside.
struct Control {
    HWND hwnd;
    std::string cls;
    std::string text;
    RECT in_parent;   // relative to the parent's client area
    RECT in_top;      // relative to the top-level window's client area
    bool enabled;
    bool visible;
    int check;        // BM_GETCHECK for buttons, -1 for other classes
    LONG style;
    LONG exstyle;
};
Control Inspect(HWND hwnd);
// Every descendant of top, parents before their children.
std::vector<Control> Descendants(HWND top);
// The window with the keyboard focus in the thread that owns top, or null.
HWND FocusOf(HWND top);

class Process {
public:
    struct Options {
        std::string exe;
        std::vector<std::string> args;
        std::string folder;  // current folder of the program
        // Wine traces these calls (e.g. "user32.MessageBeep;user32.MessageBoxA") into calls().
        std::string traced_calls;
    };

    explicit Process(const Options& options);
    ~Process();  // ends the program if it still runs
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD pid() const { return pid_; }
    // A visible top-level window of the program with this class (or any, if empty) and
    // caption; null after timeout_ms.
    HWND WaitForWindow(const std::string& cls, const std::string& caption, int timeout_ms) const;
    // The next message box of the program, read; empty caption and text after timeout_ms.
    Box WaitForBox(int timeout_ms) const;
    // Presses OK on a message box.
    static void PressOk(HWND box);
    static Box ReadBox(HWND box);

    // Waits for the program's end; false if it still runs after timeout_ms.
    bool WaitForExit(int timeout_ms);
    DWORD exit_code() const { return exit_code_; }
    // The program's console output, complete once it has ended.
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }
    // The traced calls in order, as Wine prints them: "user32.MessageBeep(00000040)".
    const std::vector<std::string>& calls() const { return calls_; }

private:
    void Collect();

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD exit_code_ = STILL_ACTIVE;
    HANDLE out_pipe_ = nullptr;
    HANDLE err_pipe_ = nullptr;
    HANDLE out_reader_ = nullptr;
    HANDLE err_reader_ = nullptr;
    std::string trace_file_;
    long long trace_offset_ = 0;
    std::string out_;
    std::string err_;
    std::vector<std::string> calls_;
};

// Runs a program to its end, pressing OK on every message box it shows.
struct Run {
    DWORD exit_code;
    std::string out;
    std::string err;
    std::vector<Box> boxes;
    std::vector<std::string> calls;
};
Run RunToEnd(const Process::Options& options, int timeout_ms = 30000);

// In traced calls: the index of the first (or last) one that starts with prefix, in any letter
// case (Wine writes a module's name as the program imported it), or -1; and how many do.
int FindCall(const std::vector<std::string>& calls, const std::string& prefix);
int FindLastCall(const std::vector<std::string>& calls, const std::string& prefix);
int CountCalls(const std::vector<std::string>& calls, const std::string& prefix);

// Splits text at line ends ("\r\n" or "\n"); no empty last line for a final line end.
std::vector<std::string> Lines(const std::string& text);

}  // namespace harness
