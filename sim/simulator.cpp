#include "simulator.h"

#include "file_io.h"
#include "import_patch.h"
#include "raise_fault.h"
#include "text_formats.h"

#include <algorithm>
#include <string>
#include <vector>

namespace sim::dll {
namespace {

// The programs that load the library are single-threaded, and so is this state.
struct State {
    bool attached = false;
    std::string folder;
    Config config;
    Registers registers = Registers::Fresh();
    AppendFile journal;
    unsigned journal_lines = 0;
    unsigned calls = 0;
    std::vector<unsigned> rule_matches;  // per rule: calls so far that its selector picked
    // The emulated affinity of the calling thread; before any pin it may run on every core,
    // and counts as being on core 1.
    DWORD_PTR emulated_mask = 0;
    int emulated_core = 1;
    ImportPatch affinity_patch;
};
State state;

std::string PathOf(const char* name) { return JoinPath(state.folder, name); }

void Record(JournalEntry entry) {
    DWORD last_error = GetLastError();
    entry.seq = ++state.journal_lines;
    entry.pid = GetCurrentProcessId();
    state.journal.Append(PathOf(kJournalName), FormatJournalEntry(entry));
    SetLastError(last_error);
}

JournalEntry EventEntry(Event event) {
    JournalEntry entry;
    entry.event = event;
    return entry;
}

DWORD_PTR AllCoresMask() { return state.config.topology == Topology::Two ? 0x3 : 0xF; }

DWORD_PTR WINAPI StandInSetThreadAffinityMask(HANDLE thread, DWORD_PTR mask) {
    // The handle is the program's one thread: the emulated affinity is kept for it alone.
    (void)thread;
    JournalEntry entry = EventEntry(Event::Pin);
    entry.mask = mask;
    entry.accepted = mask != 0 && (mask & ~AllCoresMask()) == 0;
    DWORD_PTR previous = state.emulated_mask;
    if (entry.accepted) {
        state.emulated_mask = mask;
        state.emulated_core = __builtin_ctz(mask) + 1;
    }
    entry.core = state.emulated_core;
    Record(entry);
    if (!entry.accepted) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return previous;
}

int CurrentCore() {
    if (state.config.topology == Topology::Host) {
        return static_cast<int>(GetCurrentProcessorNumber()) + 1;
    }
    return state.emulated_core;
}

// Empty when both files were read; otherwise why the library refuses to load.
std::string ReadSettings() {
    std::string text;
    if (FileExists(PathOf(kConfigName))) {
        int bad_line = 0;
        if (!ReadWholeFile(PathOf(kConfigName), text)) return "config-unreadable";
        if (!ParseConfig(text, state.config, bad_line)) {
            return "config-line-" + std::to_string(bad_line);
        }
    }
    if (state.config.refuse_load) return "refuse_load";
    if (FileExists(PathOf(kStateName))) {
        if (!ReadWholeFile(PathOf(kStateName), text) || !ParseRegisters(text, state.registers)) {
            return "state-unreadable";
        }
    }
    return "";
}

unsigned CountLines(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) return 0;
    return static_cast<unsigned>(std::count(text.begin(), text.end(), '\n'));
}

// A journal entry for a call: numbered, with the core it acts on.
JournalEntry CallEntry(Entry which, uint32_t reg) {
    JournalEntry entry = EventEntry(Event::Call);
    entry.call = ++state.calls;
    entry.entry = which;
    entry.reg = reg;
    entry.core = CurrentCore();
    return entry;
}

// The rule that picks this call, if any; a rule with a fault raises it here. Every rule counts
// the calls its selector picks, whichever rule acts on them.
const Rule* PickRule(JournalEntry& entry) {
    const Rule* picked = nullptr;
    for (size_t i = 0; i < state.config.rules.size(); ++i) {
        const Rule& rule = state.config.rules[i];
        bool selected = rule.call != 0
                            ? rule.call == entry.call
                            : rule.entry == entry.entry &&
                                  (rule.core == 0 || rule.core == entry.core) &&
                                  (rule.reg == 0 || rule.reg == entry.reg);
        if (!selected) continue;
        unsigned count = ++state.rule_matches[i];
        if (!picked && (rule.call != 0 || rule.nth == 0 || rule.nth == count)) picked = &rule;
    }
    if (picked && picked->fault != Fault::None) {
        entry.fault = picked->fault;
        Record(entry);
        RaiseFault(picked->fault);
    }
    return picked;
}

int32_t FinishCall(JournalEntry& entry, int32_t result) {
    entry.result = result;
    Record(entry);
    return result;
}

}  // namespace

bool Attach(HMODULE self) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return false;
    state.folder.assign(path, length);
    state.folder.erase(state.folder.find_last_of("\\/") + 1);
    state.journal_lines = CountLines(PathOf(kJournalName));

    std::string why = ReadSettings();
    if (!why.empty()) {
        JournalEntry refused = EventEntry(Event::LoadRefused);
        refused.why = why;
        Record(refused);
        state.journal.Close();
        return false;
    }
    state.rule_matches.assign(state.config.rules.size(), 0);
    state.emulated_mask = AllCoresMask();
    state.attached = true;
    Record(EventEntry(Event::Load));
    if (state.config.topology != Topology::Host) {
        state.affinity_patch.Apply(GetModuleHandleA(nullptr), "kernel32.dll",
                                   "SetThreadAffinityMask",
                                   reinterpret_cast<void*>(&StandInSetThreadAffinityMask));
    }
    return true;
}

void Detach(bool process_exit) {
    if (!state.attached) return;
    state.affinity_patch.Restore();
    state.attached = false;
    Record(EventEntry(process_exit ? Event::ProcessExit : Event::FreeLibrary));
    state.journal.Close();
}

int32_t CreateSysInfo(uint32_t arg) {
    JournalEntry entry = CallEntry(Entry::CreateSysInfo, 0);
    entry.arg = arg;
    return FinishCall(entry, PickRule(entry) ? 0 : state.config.create_result);
}

int32_t DestroySysInfo(uint32_t arg) {
    JournalEntry entry = CallEntry(Entry::DestroySysInfo, 0);
    entry.arg = arg;
    return FinishCall(entry, PickRule(entry) ? 0 : 1);
}

int32_t ReadMSR(uint32_t reg, uint32_t* lo, uint32_t* hi) {
    JournalEntry entry = CallEntry(Entry::ReadMSR, reg);
    const Rule* picked = PickRule(entry);
    const uint64_t* value = state.registers.Find(entry.core, reg);
    bool ok = !picked && value && lo && hi;
    if (lo && hi && (ok || state.config.store_on_failed_read)) {
        *lo = ok ? static_cast<uint32_t>(*value) : state.config.failed_read_lo;
        *hi = ok ? static_cast<uint32_t>(*value >> 32) : state.config.failed_read_hi;
        entry.has_value = true;
        entry.lo = *lo;
        entry.hi = *hi;
    }
    return FinishCall(entry, ok ? 1 : 0);
}

int32_t WriteMSR(uint32_t reg, uint32_t* lo, uint32_t* hi) {
    JournalEntry entry = CallEntry(Entry::WriteMSR, reg);
    if (lo && hi) {
        entry.has_value = true;
        entry.lo = *lo;
        entry.hi = *hi;
    }
    const Rule* picked = PickRule(entry);
    uint64_t* slot = state.registers.Find(entry.core, reg);
    if (picked || !slot || !entry.has_value) return FinishCall(entry, 0);
    uint64_t previous = *slot;
    *slot = (static_cast<uint64_t>(entry.hi) << 32) | entry.lo;
    // A write holds only once it is in the state file that later loads read.
    if (!WriteWholeFile(PathOf(kStateName), FormatRegisters(state.registers))) {
        *slot = previous;
        return FinishCall(entry, 0);
    }
    return FinishCall(entry, 1);
}

}  // namespace sim::dll
