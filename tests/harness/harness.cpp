#include "harness.h"

#include <cstring>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace harness {

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
    }
}

std::string WindowText(HWND hwnd) {
    char text[4096];
    int length = GetWindowTextA(hwnd, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

std::string ClassOf(HWND hwnd) {
    char name[256];
    int length = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

// Quotes an argument so that the program's runtime splits the command line back into it.
std::string Quote(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
        return arg;
    }
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK AddIfOfProcess(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && IsWindowVisible(hwnd)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

// The visible top-level windows of a process, in Z order.
std::vector<HWND> TopWindows(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(AddIfOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD WINAPI ReadAll(void* param) {
    auto* pipe_and_text = static_cast<std::pair<HANDLE, std::string*>*>(param);
    char buffer[4096];
    DWORD got;
    while (ReadFile(pipe_and_text->first, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pipe_and_text->second->append(buffer, got);
    }
    delete pipe_and_text;
    return 0;
}

HANDLE StartReader(HANDLE pipe, std::string* text) {
    return CreateThread(nullptr, 0, ReadAll, new std::pair<HANDLE, std::string*>(pipe, text), 0,
                        nullptr);
}

// Where Wine's traces of the programs that this one starts end up (see wine-run).
std::string TraceFile() {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("HARNESS_TRACE_FILE", path, sizeof path);
    return length > 0 && length < sizeof path ? path : "";
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The calls that Wine traced for process pid in the trace file from offset on. A trace line
// reads "0124:0128:Call user32.MessageBeep(00000040) ret=0040812e" (process and thread id).
std::vector<std::string> TracedCalls(const std::string& path, long long offset, DWORD pid) {
    std::vector<std::string> calls;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return calls;
    }
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04lx:", pid);
    std::fseek(file, static_cast<long>(offset), SEEK_SET);
    char line[4096];
    while (std::fgets(line, sizeof line, file)) {
        std::string text = line;
        size_t call = text.find(":Call ");
        if (text.compare(0, std::strlen(prefix), prefix) != 0 || call == std::string::npos) {
            continue;
        }
        std::string what = text.substr(call + 6);
        size_t end = what.rfind(") ret=");
        if (end == std::string::npos) {
            end = what.find_last_of(')');
        }
        calls.push_back(what.substr(0, end + 1));
    }
    std::fclose(file);
    return calls;
}

void SetTracedCalls(const std::string& calls) {
    HKEY key;
    Check(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) == ERROR_SUCCESS,
          "opening Wine's debug settings");
    RegSetValueExA(key, "RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(calls.c_str()),
                   static_cast<DWORD>(calls.size() + 1));
    RegCloseKey(key);
}

// The environment block of this process with one variable set to value.
std::string EnvironmentWith(const std::string& name, const std::string& value) {
    const std::string assignment = name + "=";
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
        if (_strnicmp(entry, assignment.c_str(), assignment.size()) != 0) {
            block += std::string(entry) + '\0';
        }
    }
    FreeEnvironmentStringsA(strings);
    return block + assignment + value + '\0' + '\0';
}

}  // namespace

TempFolder::TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%sharness-%lu-%u", temp, GetCurrentProcessId(),
                      ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
        Check(GetLastError() == ERROR_ALREADY_EXISTS, "creating a temporary folder");
    }
}

TempFolder::~TempFolder() {
    // Removes files and folders below, depth first; a test may have put a folder where a file
    // was expected.
    struct Remover {
        static void Remove(const std::string& folder) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    std::string name = found.cFileName;
                    if (name == "." || name == "..") {
                        continue;
                    }
                    std::string path = folder + "\\" + name;
                    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                        Remove(path);
                    } else {
                        DeleteFileA(path.c_str());
                    }
                } while (FindNextFileA(search, &found));
                FindClose(search);
            }
            RemoveDirectoryA(folder.c_str());
        }
    };
    Remover::Remove(path_);
}

void TempFolder::CopyIn(const std::string& file, std::string as) const {
    if (as.empty()) {
        as = file.substr(file.find_last_of("\\/") + 1);
    }
    Check(CopyFileA(file.c_str(), (*this / as).c_str(), FALSE), "copying " + file);
}

void TempFolder::Write(const std::string& name, const std::string& content) const {
    FILE* file = std::fopen((*this / name).c_str(), "wb");
    Check(file != nullptr, "writing " + name);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

std::string TempFolder::Read(const std::string& name) const {
    FILE* file = std::fopen((*this / name).c_str(), "rb");
    if (!file) {
        return "";
    }
    std::string content;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
    }
    std::fclose(file);
    return content;
}

bool TempFolder::Exists(const std::string& name) const {
    return GetFileAttributesA((*this / name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Control Inspect(HWND hwnd) {
    Control c{};
    c.hwnd = hwnd;
    c.cls = ClassOf(hwnd);
    c.text = WindowText(hwnd);
    c.enabled = IsWindowEnabled(hwnd);
    c.visible = IsWindowVisible(hwnd);
    c.style = GetWindowLongA(hwnd, GWL_STYLE);
    c.exstyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    c.check = _stricmp(c.cls.c_str(), "Button") == 0
                  ? static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0))
                  : -1;
    RECT on_screen;
    GetWindowRect(hwnd, &on_screen);
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    HWND top = GetAncestor(hwnd, GA_ROOT);
    c.in_parent = on_screen;
    c.in_top = on_screen;
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&c.in_parent), 2);
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&c.in_top), 2);
    return c;
}

std::vector<Control> Descendants(HWND top) {
    std::vector<Control> found;
    struct Walker {
        static void Walk(HWND parent, std::vector<Control>& found) {
            for (HWND child = GetWindow(parent, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                found.push_back(Inspect(child));
                Walk(child, found);
            }
        }
    };
    Walker::Walk(top, found);
    return found;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus
                                                                           : nullptr;
}

Process::Process(const Options& options) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_write, err_write;
    Check(CreatePipe(&out_pipe_, &out_write, &inherit, 0), "CreatePipe");
    Check(CreatePipe(&err_pipe_, &err_write, &inherit, 0), "CreatePipe");
    SetHandleInformation(out_pipe_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_pipe_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out_write;
    startup.hStdError = err_write;

    std::string command = Quote(options.exe);
    for (const std::string& arg : options.args) {
        command += " " + Quote(arg);
    }
    // Wine takes the trace settings of a new process from its environment.
    std::string environment;
    if (!options.traced_calls.empty()) {
        SetTracedCalls(options.traced_calls);
        environment = EnvironmentWith("WINEDEBUG", "-all,+relay,+pid");
        trace_file_ = TraceFile();
        trace_offset_ = FileSize(trace_file_);
    }
    PROCESS_INFORMATION info;
    Check(CreateProcessA(options.exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0,
                         environment.empty() ? nullptr : &environment[0],
                         options.folder.empty() ? nullptr : options.folder.c_str(), &startup,
                         &info),
          "starting " + options.exe);
    CloseHandle(out_write);
    CloseHandle(err_write);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    out_reader_ = StartReader(out_pipe_, &out_);
    err_reader_ = StartReader(err_pipe_, &err_);
}

Process::~Process() {
    if (!WaitForExit(0)) {
        TerminateProcess(process_, 1);
        WaitForExit(10000);
    }
    CloseHandle(process_);
    CloseHandle(out_pipe_);
    CloseHandle(err_pipe_);
}

HWND Process::WaitForWindow(const std::string& cls, const std::string& caption,
                            int timeout_ms) const {
    DWORD start = GetTickCount();
    do {
        for (HWND hwnd : TopWindows(pid_)) {
            if ((cls.empty() || ClassOf(hwnd) == cls) && WindowText(hwnd) == caption) {
                return hwnd;
            }
        }
        Sleep(20);
    } while (GetTickCount() - start < static_cast<DWORD>(timeout_ms) &&
             WaitForSingleObject(process_, 0) == WAIT_TIMEOUT);
    return nullptr;
}

Box Process::ReadBox(HWND box) {
    // The message text of a message box is the static control with id 0xFFFF.
    return {WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
}

void Process::PressOk(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

Box Process::WaitForBox(int timeout_ms) const {
    DWORD start = GetTickCount();
    do {
        for (HWND hwnd : TopWindows(pid_)) {
            if (ClassOf(hwnd) == "#32770") {
                return ReadBox(hwnd);
            }
        }
        Sleep(20);
    } while (GetTickCount() - start < static_cast<DWORD>(timeout_ms) &&
             WaitForSingleObject(process_, 0) == WAIT_TIMEOUT);
    return {};
}

bool Process::WaitForExit(int timeout_ms) {
    if (exit_code_ != STILL_ACTIVE) {
        return true;
    }
    if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(process_, &exit_code_);
    Collect();
    return true;
}

void Process::Collect() {
    HANDLE readers[] = {out_reader_, err_reader_};
    WaitForMultipleObjects(2, readers, TRUE, 10000);
    CloseHandle(out_reader_);
    CloseHandle(err_reader_);
    if (!trace_file_.empty()) {
        calls_ = TracedCalls(trace_file_, trace_offset_, pid_);
    }
}

Run RunToEnd(const Process::Options& options, int timeout_ms) {
    Process process(options);
    Run run{};
    DWORD start = GetTickCount();
    while (!process.WaitForExit(20)) {
        for (HWND hwnd : TopWindows(process.pid())) {
            if (ClassOf(hwnd) == "#32770") {
                run.boxes.push_back(Process::ReadBox(hwnd));
                Process::PressOk(hwnd);
                // Wait for this box to go before looking for the next one.
                for (int i = 0; i < 500 && IsWindow(hwnd); ++i) {
                    Sleep(10);
                }
            }
        }
        if (GetTickCount() - start > static_cast<DWORD>(timeout_ms)) {
            throw std::runtime_error(options.exe + " did not end within the time allowed");
        }
    }
    run.exit_code = process.exit_code();
    run.out = process.out();
    run.err = process.err();
    run.calls = process.calls();
    return run;
}

namespace {

bool StartsWith(const std::string& call, const std::string& prefix) {
    return _strnicmp(call.c_str(), prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

int FindCall(const std::vector<std::string>& calls, const std::string& prefix) {
    auto found = std::find_if(calls.begin(), calls.end(),
                              [&](const std::string& call) { return StartsWith(call, prefix); });
    return found == calls.end() ? -1 : static_cast<int>(found - calls.begin());
}

int FindLastCall(const std::vector<std::string>& calls, const std::string& prefix) {
    auto found = std::find_if(calls.rbegin(), calls.rend(),
                              [&](const std::string& call) { return StartsWith(call, prefix); });
    return found == calls.rend() ? -1 : static_cast<int>(calls.rend() - found) - 1;
}

int CountCalls(const std::vector<std::string>& calls, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        calls.begin(), calls.end(), [&](const std::string& call) { return StartsWith(call, prefix); }));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace harness
