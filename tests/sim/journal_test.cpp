// The journal: every event of a run in order, with arguments, results and cores.
#include "sim_test_support.h"

namespace simtest {
namespace {

using sim::Entry;
using sim::Event;

class JournalTest : public SimTest {};

// One expected line: the event, and for pins the mask, for calls the entry point, register
// (or argument) and result; every line also names the core.
struct Expected {
    Event event;
    uint32_t mask_or_reg = 0;
    Entry entry = Entry::CreateSysInfo;
    int32_t result = 0;
    int core = 1;
};

TEST_F(JournalTest, RecordsAProgramsRunInOrder) {
    ASSERT_TRUE(Start());
    RunLikeAProgram();
    Unload();

    std::vector<Expected> expected = {{Event::Load}, {Event::Call, 1, Entry::CreateSysInfo, 0x5151, 1}};
    for (int core = 1; core <= sim::kCores; ++core) {
        expected.push_back({Event::Pin, 1u << (core - 1), Entry::CreateSysInfo, 0, core});
        expected.push_back({Event::Call, sim::kRegister1, Entry::ReadMSR, 1, core});
        expected.push_back({Event::Call, sim::kRegister2, Entry::ReadMSR, 1, core});
    }
    for (int core = 1; core <= sim::kCores; ++core) {
        expected.push_back({Event::Pin, 1u << (core - 1), Entry::CreateSysInfo, 0, core});
        expected.push_back({Event::Call, sim::kRegister1, Entry::WriteMSR, 1, core});
        expected.push_back({Event::Call, sim::kRegister2, Entry::WriteMSR, 1, core});
        expected.push_back({Event::Call, sim::kRegister1, Entry::ReadMSR, 1, core});
        expected.push_back({Event::Call, sim::kRegister2, Entry::ReadMSR, 1, core});
    }
    expected.push_back({Event::Call, 0x5151, Entry::DestroySysInfo, 1, 4});
    expected.push_back({Event::FreeLibrary});

    const size_t kWritePassStart = 2 + 4 * 3;  // after the load, CreateSysInfo and the read pass
    std::vector<sim::JournalEntry> journal = sim::ReadJournal(folder_);
    ASSERT_EQ(journal.size(), expected.size());
    unsigned call = 0;
    for (size_t i = 0; i < journal.size(); ++i) {
        const sim::JournalEntry& got = journal[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(got.line);
        EXPECT_EQ(got.seq, i + 1);
        EXPECT_EQ(got.pid, GetCurrentProcessId());
        ASSERT_EQ(got.event, want.event);
        if (got.event == Event::Pin) {
            EXPECT_EQ(got.mask, want.mask_or_reg);
            EXPECT_TRUE(got.accepted);
            EXPECT_EQ(got.core, want.core);
        }
        if (got.event != Event::Call) continue;
        EXPECT_EQ(got.call, ++call);
        EXPECT_EQ(got.entry, want.entry);
        EXPECT_EQ(got.result, want.result);
        EXPECT_EQ(got.core, want.core);
        EXPECT_EQ(got.fault, sim::Fault::None);
        bool with_register = want.entry == Entry::ReadMSR || want.entry == Entry::WriteMSR;
        EXPECT_EQ(with_register ? got.reg : got.arg, want.mask_or_reg);
        if (!with_register) continue;
        // Reads before the write pass see the fresh values, everything after it the new ones.
        bool fresh = want.entry == Entry::ReadMSR && i < kWritePassStart;
        bool first = want.mask_or_reg == sim::kRegister1;
        uint32_t value = fresh ? uint32_t(first ? sim::kFreshRegister1 : sim::kFreshRegister2)
                               : (first ? kWriteValue1 : kWriteValue2);
        EXPECT_TRUE(got.has_value);
        EXPECT_EQ(got.lo, value);
        EXPECT_EQ(got.hi, 0u);
    }
}

// A new load goes on numbering the journal's lines and starts its calls from 1 again.
TEST_F(JournalTest, ReloadContinuesTheSequence) {
    ASSERT_TRUE(Start());
    Create(1);
    Unload();
    ASSERT_TRUE(Load());
    Create(1);
    Unload();
    std::vector<sim::JournalEntry> journal = sim::ReadJournal(folder_);
    ASSERT_EQ(journal.size(), 6u);
    for (size_t i = 0; i < journal.size(); ++i) EXPECT_EQ(journal[i].seq, i + 1);
    EXPECT_EQ(journal[3].event, Event::Load);
    EXPECT_EQ(journal[4].call, 1u);
}

}  // namespace
}  // namespace simtest
