// Quarvel.exe as the tests meet it: started from a folder of its own beside a simulated
// SysInfo.dll, its main window and each windowed control found by name.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "harness.h"
#include "sim_control.h"

// Where a windowed control of the main window is by design. Labels, bevels and the image are
// painted on their parent and have no window of their own.
struct ControlPlace {
    const char* name;
    const char* cls;
    const char* parent;            // "" for the window itself
    int left, top, width, height;  // in the parent
    int window_left, window_top;   // in the window's client area
    bool tab_stop;
};
extern const std::vector<ControlPlace> kMainWindowLayout;

// The value boxes of core 1 to 4: before and after, 0xC0010015 and 0xC0011023.
extern const char* const kBefore1[4];
extern const char* const kBefore2[4];
extern const char* const kAfter1[4];
extern const char* const kAfter2[4];

const char kSuccessText[] = "Phenom TLB patch disabled. Phenom at full speed!";

// A folder holding Quarvel.exe, which is also the folder it runs in, where it keeps
// Quarvel.ini. The simulated library goes beside it when a test sets one up.
class QuarvelFolder : public harness::TempFolder {
public:
    QuarvelFolder();
    bool SetUpLibrary(sim::Build build = sim::Build::Cdecl,
                      const sim::Config& config = sim::Config()) const;
    sim::Registers Registers() const;
    std::vector<sim::JournalEntry> Journal() const;
};

// One run of Quarvel.exe from a folder, with Wine tracing its beeps and its freeing of
// libraries.
class QuarvelRun {
public:
    explicit QuarvelRun(const harness::TempFolder& folder, std::vector<std::string> args = {});

    harness::Process process;
    HWND window;  // null if the main window never appeared
    std::map<std::string, HWND> controls;

    harness::Control Inspect(const std::string& name) const;
    std::string Text(const std::string& name) const;
    // As the user's click on a button or the check box.
    void Click(const std::string& name) const;
    void PressCloseBox() const;
    // Ends the program by the close box, which stores nothing, and waits for its end.
    bool CloseAndWait();
};

// The beeps of an ended run, in order: "00000040" for MessageBeep(64).
std::vector<std::string> Beeps(const std::vector<std::string>& calls);
