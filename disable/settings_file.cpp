// The settings file "Quarvel.ini" in the current folder: the values to write to the registers,
// the auto-close choice and the countdown's length. Every key has a default; a missing file,
// section or key is not reported.
#include <cstring>

#include "form1.h"

namespace {

const char kFileName[] = "\\Quarvel.ini";

}  // namespace

void TForm1::BuildSettingsPath()
{
    DWORD length = GetCurrentDirectoryA(sizeof ini_path_buf, ini_path_buf);
    // A current folder that cannot be read, or whose path leaves no room for the file's name,
    // gives no path: the defaults are used and nothing is stored anywhere.
    if (length == 0 || length + sizeof kFileName > sizeof ini_path_buf) {
        ini_path_buf[0] = '\0';
        return;
    }
    std::memcpy(ini_path_buf + length, kFileName, sizeof kFileName);
    ini_path = ini_path_buf;
}

UINT TForm1::ReadSetting(const char* section, const char* key, UINT default_value) const
{
    // Without a path the profile functions would read the system's own settings file.
    if (!ini_path)
        return default_value;
    return GetPrivateProfileIntA(section, key, static_cast<INT>(default_value), ini_path);
}

MsrPair TForm1::LoadTargetValues()
{
    MsrPair values;
    values.hi_1 = ReadSetting("MSR_C0010015", "high", PatchOffValues.hi_1);
    values.lo_1 = ReadSetting("MSR_C0010015", "low", PatchOffValues.lo_1);
    values.hi_2 = ReadSetting("MSR_C0011023", "high", PatchOffValues.hi_2);
    values.lo_2 = ReadSetting("MSR_C0011023", "low", PatchOffValues.lo_2);
    return values;
}

void TForm1::LoadAutoCloseSettings()
{
    autoclose_flag = static_cast<std::int32_t>(ReadSetting("SETTINGS", "autoclose", 1));
    close_seconds = static_cast<std::int32_t>(ReadSetting("SETTINGS", "seconds", 8));
    if (close_seconds < 1)
        close_seconds = 1;
    else if (close_seconds > 30)
        close_seconds = 30;
    if (autoclose_flag != 0 && autoclose_flag != 1)
        autoclose_flag = 1;
}

void TForm1::StoreAutoClose()
{
    if (!ini_path)
        return;
    char text[16];
    wsprintfA(text, "%d", autoclose_flag);
    WritePrivateProfileStringA("SETTINGS", "autoclose", text, ini_path);
}
