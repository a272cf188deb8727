#include "sim_control.h"

#include "file_io.h"
#include "sim_builds.h"
#include "text_formats.h"

#include <windows.h>

namespace sim {

Rule Match(Fault fault, Entry entry, int core, uint32_t reg, unsigned nth) {
    Rule rule;
    rule.fault = fault;
    rule.entry = entry;
    rule.core = core;
    rule.reg = reg;
    rule.nth = nth;
    return rule;
}

Rule MatchCall(Fault fault, unsigned call) {
    Rule rule;
    rule.fault = fault;
    rule.call = call;
    return rule;
}

std::string DllPath(Build build) {
    static const char* const paths[] = {SIM_BUILD_CDECL,         SIM_BUILD_STDCALL,
                                        SIM_BUILD_NO_CREATE,     SIM_BUILD_NO_DESTROY,
                                        SIM_BUILD_NO_READ,       SIM_BUILD_NO_WRITE};
    return paths[static_cast<int>(build)];
}

std::string NewFolder() {
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return "";
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::string folder = JoinPath(temp, "sim-" + std::to_string(GetCurrentProcessId()) +
                                                "-" + std::to_string(GetTickCount() + attempt));
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

bool RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = JoinPath(folder, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(folder.c_str());
}

bool SetUpFolder(const std::string& folder, Build build, const Config& config) {
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    for (const char* name : {kStateName, kJournalName}) {
        std::string path = JoinPath(folder, name);
        if (FileExists(path) && !DeleteFileA(path.c_str())) return false;
    }
    return CopyFileA(DllPath(build).c_str(), JoinPath(folder, kDllName).c_str(), FALSE) &&
           WriteConfig(folder, config);
}

bool WriteConfig(const std::string& folder, const Config& config) {
    return WriteWholeFile(JoinPath(folder, kConfigName), FormatConfig(config));
}

bool WriteRegisters(const std::string& folder, const Registers& registers) {
    return WriteWholeFile(JoinPath(folder, kStateName), FormatRegisters(registers));
}

bool ReadRegisters(const std::string& folder, Registers& registers) {
    std::string path = JoinPath(folder, kStateName);
    if (!FileExists(path)) {
        registers = Registers::Fresh();
        return true;
    }
    std::string text;
    return ReadWholeFile(path, text) && ParseRegisters(text, registers);
}

std::vector<JournalEntry> ReadJournal(const std::string& folder) {
    std::string text;
    if (!ReadWholeFile(JoinPath(folder, kJournalName), text)) return {};
    return ParseJournal(text);
}

std::vector<JournalEntry> CallsIn(const std::vector<JournalEntry>& journal) {
    std::vector<JournalEntry> calls;
    for (const JournalEntry& entry : journal) {
        if (entry.event == Event::Call) calls.push_back(entry);
    }
    return calls;
}

}  // namespace sim
