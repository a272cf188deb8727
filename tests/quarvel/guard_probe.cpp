// Quarvel's start-up with a main window whose constructor throws, after the window has been
// built and has run its own sequence, as the program's own constructor may. The command line
// picks what:
//   toolkit   a toolkit Exception with a message
//   foreign   an object that is no toolkit exception
// (A processor fault inside SysInfo.dll is tested on Quarvel.exe itself.)
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "form1.h"
#include "start_up.h"

namespace {

std::string Case() { return __argc > 1 ? __argv[1] : ""; }

class TProbeForm : public TForm1 {
public:
    explicit TProbeForm(TComponent* Owner) : TForm1(Owner)
    {
        const std::string what = Case();
        if (what == "toolkit")
            throw Exception("The probe's constructor gave up");
        if (what == "foreign")
            throw std::runtime_error("not a toolkit exception");
    }
};

TProbeForm* ProbeForm;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return StartApplication(&ProbeForm); }
