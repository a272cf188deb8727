// Whole-file reads and writes through the Win32 API: usable inside DllMain, where the C and C++
// runtimes may already be shut down at process exit.
#pragma once

#include <string>

namespace sim {

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& text);
// Replaces the file's content.
bool WriteWholeFile(const std::string& path, const std::string& text);
// A file that text is added to at its end, created if needed and kept open between additions
// (opening a file costs far more than writing a line under Wine). Each addition is written
// through at once, so it survives a crash of the process that follows.
class AppendFile {
public:
    bool Append(const std::string& path, const std::string& text);
    void Close();

private:
    void* file_ = nullptr;
};

std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace sim
