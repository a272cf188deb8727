#include "text_formats.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace sim {
namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFF;

const char* const kEntryNames[] = {"CreateSysInfo", "DestroySysInfo", "ReadMSR", "WriteMSR"};
const char* const kFaultNames[] = {"fail", "access_violation", "divide_by_zero",
                                   "privileged_instruction"};
const char* const kTopologyNames[] = {"four", "two", "host"};
const char* const kEventNames[] = {"load",         "load-refused", "pin",        "call",
                                   "free-library", "process-exit", "unreadable"};

// Finds word in names; the index doubles as the enum's value.
template <typename Enum, size_t N>
bool ParseName(const std::string& word, const char* const (&names)[N], Enum& out) {
    for (size_t i = 0; i < N; ++i) {
        if (word == names[i]) {
            out = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

// Pieces of text between separators; empty pieces are kept only when keep_empty is set.
std::vector<std::string> Split(const std::string& text, const char* separators, bool keep_empty) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(separators, start);
        if (end == std::string::npos) end = text.size();
        if (keep_empty || end > start) pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::vector<std::string> SplitWords(const std::string& line) { return Split(line, " \t\r", false); }

std::vector<std::string> SplitLines(const std::string& text) { return Split(text, "\n", true); }

bool IsBlankOrComment(const std::string& line) {
    std::vector<std::string> words = SplitWords(line);
    return words.empty() || words[0][0] == '#';
}

// Decimal, or hexadecimal after "0x"; the whole word must be the number and at most max.
bool ParseNumber(const std::string& word, uint64_t max, uint64_t& out) {
    bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const char* digits = word.c_str() + (hex ? 2 : 0);
    if (!(hex ? std::isxdigit(static_cast<unsigned char>(*digits))
              : std::isdigit(static_cast<unsigned char>(*digits)))) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(digits, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || value > max) return false;
    out = value;
    return true;
}

template <typename T>
bool ParseNumberAs(const std::string& word, uint64_t max, T& out) {
    uint64_t value = 0;
    if (!ParseNumber(word, max, value)) return false;
    out = static_cast<T>(value);
    return true;
}

std::string Hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string Hex64(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(value));
    return text;
}

std::string FormatRule(const Rule& rule) {
    std::string text = FaultName(rule.fault);
    if (rule.call != 0) return text + " call " + std::to_string(rule.call);
    text += std::string(" ") + EntryName(rule.entry);
    if (rule.core != 0) text += " core " + std::to_string(rule.core);
    if (rule.reg != 0) text += " reg " + Hex32(rule.reg);
    if (rule.nth != 0) text += " nth " + std::to_string(rule.nth);
    return text;
}

// words: the action, then either "call N" or an entry point with optional core, reg and nth.
bool ParseRule(const std::vector<std::string>& words, Rule& rule) {
    if (!ParseName(words[0], kFaultNames, rule.fault) || words.size() < 2) return false;
    if (words[1] == "call") {
        return words.size() == 3 && ParseNumberAs(words[2], kMax32, rule.call) && rule.call != 0;
    }
    if (!ParseName(words[1], kEntryNames, rule.entry) || words.size() % 2 != 0) return false;
    for (size_t i = 2; i < words.size(); i += 2) {
        const std::string& key = words[i];
        const std::string& value = words[i + 1];
        bool ok = key == "core" ? ParseNumberAs(value, kCores, rule.core) && rule.core != 0
                  : key == "reg" ? ParseNumberAs(value, kMax32, rule.reg) && rule.reg != 0
                  : key == "nth" ? ParseNumberAs(value, kMax32, rule.nth) && rule.nth != 0
                                 : false;
        if (!ok) return false;
    }
    return true;
}

bool ParseConfigLine(const std::vector<std::string>& words, Config& config) {
    const std::string& key = words[0];
    if (key == "topology") {
        return words.size() == 2 && ParseName(words[1], kTopologyNames, config.topology);
    }
    if (key == "create_result") {
        return words.size() == 2 && ParseNumberAs(words[1], kMax32, config.create_result);
    }
    if (key == "refuse_load") {
        config.refuse_load = true;
        return words.size() == 1;
    }
    if (key == "failed_read_output") {
        config.store_on_failed_read = true;
        return words.size() == 3 && ParseNumberAs(words[1], kMax32, config.failed_read_lo) &&
               ParseNumberAs(words[2], kMax32, config.failed_read_hi);
    }
    Rule rule;
    if (!ParseRule(words, rule)) return false;
    config.rules.push_back(rule);
    return true;
}

// The key=value words of a journal line after its sequence number and event.
class Fields {
public:
    explicit Fields(const std::vector<std::string>& words) {
        for (size_t i = 2; i < words.size(); ++i) {
            size_t equals = words[i].find('=');
            if (equals == std::string::npos) {
                ok_ = false;
                continue;
            }
            pairs_.emplace_back(words[i].substr(0, equals), words[i].substr(equals + 1));
        }
    }
    bool Has(const std::string& key) const { return Find(key) != nullptr; }
    bool Text(const std::string& key, std::string& out) {
        const std::string* value = Find(key);
        if (value) out = *value;
        return Note(value != nullptr);
    }
    template <typename T>
    bool Number(const std::string& key, uint64_t max, T& out) {
        const std::string* value = Find(key);
        return Note(value && ParseNumberAs(*value, max, out));
    }
    template <typename Enum, size_t N>
    bool Name(const std::string& key, const char* const (&names)[N], Enum& out) {
        const std::string* value = Find(key);
        return Note(value && ParseName(*value, names, out));
    }
    bool ok() const { return ok_; }

private:
    const std::string* Find(const std::string& key) const {
        for (const auto& pair : pairs_) {
            if (pair.first == key) return &pair.second;
        }
        return nullptr;
    }
    bool Note(bool found) {
        ok_ = ok_ && found;
        return found;
    }
    std::vector<std::pair<std::string, std::string>> pairs_;
    bool ok_ = true;
};

const char* const kYesNo[] = {"no", "yes"};

bool ParseCallFields(Fields& fields, JournalEntry& entry) {
    fields.Number("n", kMax32, entry.call);
    fields.Name("entry", kEntryNames, entry.entry);
    bool with_register = entry.entry == Entry::ReadMSR || entry.entry == Entry::WriteMSR;
    if (with_register) {
        fields.Number("reg", kMax32, entry.reg);
        entry.has_value = fields.Has("lo");
        if (entry.has_value) {
            fields.Number("lo", kMax32, entry.lo);
            fields.Number("hi", kMax32, entry.hi);
        }
    } else {
        fields.Number("arg", kMax32, entry.arg);
    }
    fields.Number("core", kMax32, entry.core);
    if (fields.Has("fault")) return fields.Name("fault", kFaultNames, entry.fault);
    return fields.Number("result", kMax32, entry.result);
}

bool ParseEventFields(Fields& fields, JournalEntry& entry) {
    fields.Number("pid", kMax32, entry.pid);
    switch (entry.event) {
    case Event::LoadRefused:
        return fields.Text("why", entry.why);
    case Event::Pin: {
        int accepted = 0;
        fields.Number("mask", kMax32, entry.mask);
        fields.Name("accepted", kYesNo, accepted);
        entry.accepted = accepted != 0;
        return fields.Number("core", kMax32, entry.core);
    }
    case Event::Call:
        return ParseCallFields(fields, entry);
    default:
        return true;
    }
}

}  // namespace

const char* EntryName(Entry entry) { return kEntryNames[static_cast<int>(entry)]; }
const char* FaultName(Fault fault) { return kFaultNames[static_cast<int>(fault)]; }
const char* TopologyName(Topology topology) {
    return kTopologyNames[static_cast<int>(topology)];
}

std::string FormatConfig(const Config& config) {
    std::string text = "topology " + std::string(TopologyName(config.topology)) + "\n";
    text += "create_result " + Hex32(static_cast<uint32_t>(config.create_result)) + "\n";
    if (config.refuse_load) text += "refuse_load\n";
    if (config.store_on_failed_read) {
        text += "failed_read_output " + Hex32(config.failed_read_lo) + " " +
                Hex32(config.failed_read_hi) + "\n";
    }
    for (const Rule& rule : config.rules) text += FormatRule(rule) + "\n";
    return text;
}

bool ParseConfig(const std::string& text, Config& config, int& bad_line) {
    config = Config();
    std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsBlankOrComment(lines[i])) continue;
        if (!ParseConfigLine(SplitWords(lines[i]), config)) {
            bad_line = static_cast<int>(i + 1);
            return false;
        }
    }
    return true;
}

std::string FormatRegisters(const Registers& registers) {
    std::string text = "# core register value\n";
    for (int core = 1; core <= kCores; ++core) {
        for (uint32_t reg : {kRegister1, kRegister2}) {
            text += std::to_string(core) + " " + Hex32(reg) + " " +
                    Hex64(*registers.Find(core, reg)) + "\n";
        }
    }
    return text;
}

bool ParseRegisters(const std::string& text, Registers& registers) {
    Registers parsed = Registers::Fresh();
    bool seen[kCores][2] = {};
    int count = 0;
    for (const std::string& line : SplitLines(text)) {
        if (IsBlankOrComment(line)) continue;
        std::vector<std::string> words = SplitWords(line);
        int core = 0;
        uint32_t reg = 0;
        uint64_t value = 0;
        if (words.size() != 3 || !ParseNumberAs(words[0], kCores, core) ||
            !ParseNumberAs(words[1], kMax32, reg) || !ParseNumber(words[2], UINT64_MAX, value)) {
            return false;
        }
        uint64_t* slot = parsed.Find(core, reg);
        if (!slot) return false;
        bool& slot_seen = seen[core - 1][reg == kRegister1 ? 0 : 1];
        if (slot_seen) return false;
        slot_seen = true;
        *slot = value;
        ++count;
    }
    if (count != kCores * 2) return false;
    registers = parsed;
    return true;
}

std::string FormatJournalEntry(const JournalEntry& entry) {
    std::string text = std::to_string(entry.seq) + " " +
                       kEventNames[static_cast<int>(entry.event)] +
                       " pid=" + std::to_string(entry.pid);
    switch (entry.event) {
    case Event::LoadRefused:
        text += " why=" + entry.why;
        break;
    case Event::Pin:
        text += " mask=" + Hex32(entry.mask) + " accepted=" + kYesNo[entry.accepted ? 1 : 0] +
                " core=" + std::to_string(entry.core);
        break;
    case Event::Call:
        text += " n=" + std::to_string(entry.call) + " entry=" + EntryName(entry.entry);
        if (entry.entry == Entry::ReadMSR || entry.entry == Entry::WriteMSR) {
            text += " reg=" + Hex32(entry.reg);
            if (entry.has_value) text += " lo=" + Hex32(entry.lo) + " hi=" + Hex32(entry.hi);
        } else {
            text += " arg=" + Hex32(entry.arg);
        }
        text += " core=" + std::to_string(entry.core);
        if (entry.fault != Fault::None) {
            text += std::string(" fault=") + FaultName(entry.fault);
        } else {
            text += " result=" + Hex32(static_cast<uint32_t>(entry.result));
        }
        break;
    default:
        break;
    }
    return text + "\n";
}

JournalEntry ParseJournalLine(const std::string& line) {
    JournalEntry entry;
    entry.line = line;
    std::vector<std::string> words = SplitWords(line);
    Event event = Event::Unreadable;
    if (words.size() < 2 || !ParseNumberAs(words[0], kMax32, entry.seq) ||
        !ParseName(words[1], kEventNames, event)) {
        return entry;
    }
    entry.event = event;
    Fields fields(words);
    bool ok = ParseEventFields(fields, entry) && fields.ok();
    if (!ok) entry.event = Event::Unreadable;
    return entry;
}

std::vector<JournalEntry> ParseJournal(const std::string& text) {
    std::vector<JournalEntry> entries;
    for (const std::string& line : SplitLines(text)) {
        if (!line.empty()) entries.push_back(ParseJournalLine(line));
    }
    return entries;
}

}  // namespace sim
