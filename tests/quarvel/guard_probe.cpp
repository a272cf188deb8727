// Quarvel's start-up with a main window whose constructor throws, after the window and its
// controls have been built, as the program's own constructor may. The command line picks what:
//   toolkit   a toolkit Exception with a message
//   foreign   an object that is no toolkit exception
//   fault     the exception made from the record of a real access violation, caught by the same
//             guarded call that protects the calls into SysInfo.dll
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "form1.h"
#include "guarded_call.h"
#include "start_up.h"
#include "win32_faults.h"

namespace {

extern "C" __attribute__((noinline)) int32_t WriteThroughNull()
{
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}

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
        if (what == "fault") {
            int32_t result;
            CallFault fault;
            if (!GuardedCall(reinterpret_cast<FARPROC>(&WriteThroughNull), "WriteThroughNull", {},
                             result, fault))
                std::rethrow_exception(ExceptionFromRecord(fault.record));
        }
    }
};

TProbeForm* ProbeForm;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return StartApplication(&ProbeForm); }
