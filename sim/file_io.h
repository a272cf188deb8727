// Whole-file reads and writes through the Win32 API: usable inside DllMain, where the C and C++
// runtimes may already be shut down at process exit.
#pragma once

#include <string>

namespace sim {

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& text);
// Replaces the file's content.
bool WriteWholeFile(const std::string& path, const std::string& text);
// Adds to the end of the file, creating it if needed. Written through at once, so the text
// survives a crash of the process that follows.
bool AppendToFile(const std::string& path, const std::string& text);

std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace sim
