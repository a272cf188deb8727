// The text of the simulator's three files, written and read the same way by the DLL and by
// the tests' control library.
#pragma once

#include "sim_control.h"

#include <string>

namespace sim {

std::string FormatConfig(const Config& config);
// On failure bad_line is the number of the first line that could not be read (from 1).
bool ParseConfig(const std::string& text, Config& config, int& bad_line);

std::string FormatRegisters(const Registers& registers);
// Needs every register of every core exactly once.
bool ParseRegisters(const std::string& text, Registers& registers);

// One line, with its newline.
std::string FormatJournalEntry(const JournalEntry& entry);
// A line that cannot be read gives Event::Unreadable.
JournalEntry ParseJournalLine(const std::string& line);
std::vector<JournalEntry> ParseJournal(const std::string& text);

const char* FaultName(Fault fault);
const char* TopologyName(Topology topology);

}  // namespace sim
