// The disable sequence: run once while the main window is built, before it is first shown. It
// reads both registers of every core, writes the values of the settings file on every core,
// reads them back, and reports the outcome in the status line with a beep.
#include <exception>

#include "form1.h"
#include "win32_faults.h"

namespace {

const char kSuccessText[] = "Phenom TLB patch disabled. Phenom at full speed!";

// A register's low half, as the value boxes show it.
void ShowValue(TPanel* box, std::uint32_t low_half)
{
    char text[16];
    wsprintfA(text, "0x%08X", low_half);
    box->SetCaption(text);
}

// A read-back that failed shows no value at all: its halves hold nothing that was read.
void ShowReadBack(TPanel* box, std::uint32_t low_half, bool read)
{
    if (read)
        ShowValue(box, low_half);
    else
        box->SetCaption("read failed");
}

}  // namespace

bool TForm1::DisablePatch()
{
    // The value boxes of each core: 0xC0010015, then 0xC0011023.
    TPanel* const before[4][2] = {
        {PanelB11, PanelB21}, {PanelB12, PanelB22}, {PanelB13, PanelB23}, {PanelB14, PanelB24}};
    TPanel* const after[4][2] = {
        {PanelA11, PanelA21}, {PanelA12, PanelA22}, {PanelA13, PanelA23}, {PanelA14, PanelA24}};

    SysInfoLib lib;
    MsrError error = BindSysInfo(lib);
    if (error != MsrError::None)
        return FailSequence(error, lib);
    BuildSettingsPath();
    HANDLE h_thread = GetCurrentThread();
    MsrPair msr;

    for (int core = 0; core < 4; ++core) {
        PinToCore(h_thread, core_masks[core]);
        error = ReadMsrPair(lib, msr);
        if (error != MsrError::None)
            return FailSequence(error, lib);
        ShowValue(before[core][0], msr.lo_1);
        ShowValue(before[core][1], msr.lo_2);
    }

    msr = LoadTargetValues();
    for (int core = 0; core < 4; ++core) {
        PinToCore(h_thread, core_masks[core]);
        error = WriteMsrPair(lib, msr);
        if (error != MsrError::None)
            return FailSequence(error, lib);
        MsrPair read_back;
        ReadBack readable;
        error = ReadBackPair(lib, read_back, readable);
        if (error != MsrError::None)
            return FailSequence(error, lib);
        ShowReadBack(after[core][0], read_back.lo_1, readable.read_1);
        ShowReadBack(after[core][1], read_back.lo_2, readable.read_2);
    }

    error = ReleaseSysInfo(lib, true);
    if (error != MsrError::None)
        std::rethrow_exception(ExceptionFromRecord(lib.fault.record));
    status_text = kSuccessText;
    PStatus->SetCaption(status_text);
    MessageBeep(MB_ICONINFORMATION);
    return true;
}

// Ends the sequence after its first failure. The library is released first; a processor fault
// inside it leaves the window unshown, as a toolkit exception for the start-up's guard.
bool TForm1::FailSequence(MsrError error, SysInfoLib& lib)
{
    if (error != MsrError::LoadFailed)
        ReleaseSysInfo(lib, false);
    if (error == MsrError::CallFaulted)
        std::rethrow_exception(ExceptionFromRecord(lib.fault.record));
    status_text = MsrErrorText(error);
    PStatus->SetCaption(status_text);
    CheckBox1->SetEnabled(false);
    Timer1->SetEnabled(false);
    MessageBeep(MB_ICONERROR);
    return false;
}
