// The configuration: rules that make one chosen call fail or fault, CreateSysInfo's result,
// what a failed read leaves in its outputs, and refusing to load.
#include "sim_test_support.h"

#include "file_io.h"

namespace simtest {
namespace {

using sim::Entry;
using sim::Fault;

struct RuleCase {
    const char* name;
    sim::Rule rule;
    unsigned hit;  // the number of the call the rule must hit in RunLikeAProgram
    Entry entry;
    int core;
    uint32_t reg;
};

// Calls of RunLikeAProgram: 1 CreateSysInfo; read pass core c: 2c and 2c+1; write pass core c:
// 6 + 4c (write 1), 7 + 4c (write 2), 8 + 4c (read-back 1), 9 + 4c (read-back 2); 26 Destroy.
const RuleCase kRuleCases[] = {
    {"CreateFails", sim::Match(Fault::None, Entry::CreateSysInfo), 1, Entry::CreateSysInfo, 1, 0},
    {"DestroyFails", sim::Match(Fault::None, Entry::DestroySysInfo), 26, Entry::DestroySysInfo, 4, 0},
    {"ReadInReadPassFails", sim::Match(Fault::None, Entry::ReadMSR, 3, sim::kRegister2, 1), 7,
     Entry::ReadMSR, 3, sim::kRegister2},
    {"ReadBackFails", sim::Match(Fault::None, Entry::ReadMSR, 3, sim::kRegister2, 2), 21,
     Entry::ReadMSR, 3, sim::kRegister2},
    {"ThirdReadOnCore4Fails", sim::Match(Fault::None, Entry::ReadMSR, 4, 0, 3), 24, Entry::ReadMSR,
     4, sim::kRegister1},
    {"WriteFails", sim::Match(Fault::None, Entry::WriteMSR, 2, sim::kRegister1), 14,
     Entry::WriteMSR, 2, sim::kRegister1},
    {"CallNumberFails", sim::MatchCall(Fault::None, 5), 5, Entry::ReadMSR, 2, sim::kRegister2},
    {"CreateAccessViolation", sim::Match(Fault::AccessViolation, Entry::CreateSysInfo), 1,
     Entry::CreateSysInfo, 1, 0},
    {"WriteAccessViolation", sim::Match(Fault::AccessViolation, Entry::WriteMSR, 2, sim::kRegister2),
     15, Entry::WriteMSR, 2, sim::kRegister2},
    {"CallNumberDividesByZero", sim::MatchCall(Fault::DivideByZero, 12), 12, Entry::ReadMSR, 1,
     sim::kRegister1},
    {"ReadBackPrivilegedInstruction",
     sim::Match(Fault::PrivilegedInstruction, Entry::ReadMSR, 1, sim::kRegister1, 2), 12,
     Entry::ReadMSR, 1, sim::kRegister1},
};

DWORD ExceptionCodeOf(Fault fault) {
    switch (fault) {
    case Fault::AccessViolation: return EXCEPTION_ACCESS_VIOLATION;
    case Fault::DivideByZero: return EXCEPTION_INT_DIVIDE_BY_ZERO;
    case Fault::PrivilegedInstruction: return EXCEPTION_PRIV_INSTRUCTION;
    case Fault::None: break;
    }
    return 0;
}

class RuleTest : public SimTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(RuleTest, HitsExactlyTheChosenCall) {
    const RuleCase& rule_case = GetParam();
    sim::Config config;
    config.rules = {rule_case.rule};
    ASSERT_TRUE(Start(sim::Build::Cdecl, config));
    std::vector<Outcome> outcomes = RunLikeAProgram();
    ASSERT_EQ(outcomes.size(), size_t(kProgramCalls));

    DWORD expected_exception = ExceptionCodeOf(rule_case.rule.fault);
    for (unsigned n = 1; n <= outcomes.size(); ++n) {
        const Outcome& outcome = outcomes[n - 1];
        if (n == rule_case.hit) {
            EXPECT_EQ(outcome.exception, expected_exception) << "call " << n;
            if (expected_exception) {
                EXPECT_TRUE(outcome.inside_dll) << "call " << n;
            } else {
                EXPECT_EQ(outcome.result, 0) << "call " << n;
            }
        } else {
            EXPECT_EQ(outcome.exception, 0u) << "call " << n;
            EXPECT_NE(outcome.result, 0) << "call " << n;
        }
    }

    std::vector<sim::JournalEntry> calls = Calls();
    ASSERT_EQ(calls.size(), size_t(kProgramCalls));
    const sim::JournalEntry& hit = calls[rule_case.hit - 1];
    EXPECT_EQ(hit.call, rule_case.hit);
    EXPECT_EQ(hit.entry, rule_case.entry) << hit.line;
    EXPECT_EQ(hit.core, rule_case.core) << hit.line;
    EXPECT_EQ(hit.reg, rule_case.reg) << hit.line;
    EXPECT_EQ(hit.fault, rule_case.rule.fault) << hit.line;
    if (rule_case.rule.fault == Fault::None) {
        EXPECT_EQ(hit.result, 0) << hit.line;
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleTest, ::testing::ValuesIn(kRuleCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ConfigTest : public SimTest {};

TEST_F(ConfigTest, CreateSysInfoReturnsTheChosenValue) {
    for (int32_t chosen : {0x5151, 0x7, -2, 0}) {
        sim::Config config;
        config.create_result = chosen;
        ASSERT_TRUE(Start(sim::Build::Cdecl, config));
        EXPECT_EQ(Create(1), chosen);
        Unload();
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(Create(1), 0x5151);
}

// A failed read either leaves its outputs alone or stores the chosen garbage; either way it
// returns 0 and the journal shows what was stored.
TEST_F(ConfigTest, FailedReadOutputsAreLeftOrFilledAsChosen) {
    for (bool store : {false, true}) {
        sim::Config config;
        config.store_on_failed_read = store;
        config.failed_read_lo = 0xDEADBEEF;
        config.failed_read_hi = 0xBAADF00D;
        config.rules = {sim::Match(Fault::None, Entry::ReadMSR)};
        ASSERT_TRUE(Start(sim::Build::Cdecl, config));
        uint32_t lo = 1;
        uint32_t hi = 2;
        EXPECT_EQ(Read(sim::kRegister1, &lo, &hi), 0);
        EXPECT_EQ(lo, store ? 0xDEADBEEF : 1u);
        EXPECT_EQ(hi, store ? 0xBAADF00D : 2u);
        std::vector<sim::JournalEntry> calls = Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].has_value, store) << calls[0].line;
        Unload();
    }
}

struct RefusalCase {
    const char* name;
    const char* config;  // the configuration file's text
    const char* state;   // the state file's text, or null for none
    const char* why;
};

const RefusalCase kRefusalCases[] = {
    {"Asked", "refuse_load\n", nullptr, "refuse_load"},
    {"UnknownSetting", "topology two\nfial ReadMSR core 1\n", nullptr, "config-line-2"},
    {"CoreOutOfRange", "# comment\n\nfail ReadMSR core 5\n", nullptr, "config-line-3"},
    {"NumberWithJunk", "fail call 3x\n", nullptr, "config-line-1"},
    {"UnknownTopology", "topology eight\n", nullptr, "config-line-1"},
    {"StateMissingARegister", "", "1 0xC0010015 0x1\n", "state-unreadable"},
};

class RefusalTest : public SimTest, public ::testing::WithParamInterface<RefusalCase> {};

// A mistyped configuration refuses the load instead of being ignored, so a test that meant to
// inject a failure cannot pass without one; the journal says why. Nothing stays patched.
TEST_P(RefusalTest, RefusesToLoad) {
    const RefusalCase& refusal = GetParam();
    ASSERT_TRUE(sim::SetUpFolder(folder_, sim::Build::Cdecl));
    ASSERT_TRUE(sim::WriteWholeFile(folder_ + "\\" + sim::kConfigName, refusal.config));
    if (refusal.state) {
        ASSERT_TRUE(sim::WriteWholeFile(folder_ + "\\" + sim::kStateName, refusal.state));
    }
    EXPECT_FALSE(Load());
    EXPECT_EQ(AffinityImport(), RealAffinityFunction());
    std::vector<sim::JournalEntry> journal = sim::ReadJournal(folder_);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.front().event, sim::Event::LoadRefused) << journal.front().line;
    EXPECT_EQ(journal.front().why, refusal.why);
    EXPECT_EQ(journal.size(), 1u) << journal.back().line;
}

INSTANTIATE_TEST_SUITE_P(Config, RefusalTest, ::testing::ValuesIn(kRefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace simtest
