// The check box reports every change of its state as a click, from code as from the user, and
// nothing when the state stays or while the form data is loaded. (Quarvel's own nested clicks
// are tested on its window class.)
#include <gtest/gtest.h>

#include "fake_backend.h"
#include "test_form.h"

namespace vcltest {
namespace {

struct StateCase {
    const char* name;
    TCheckBoxState from;
    void (*act)(TCheckBox& box);
    TCheckBoxState to;
    bool clicks;
};

const StateCase kStateCases[] = {
    {"CheckedStaysChecked", cbChecked, [](TCheckBox& b) { b.SetChecked(true); }, cbChecked, false},
    {"SetStateSameState", cbChecked, [](TCheckBox& b) { b.SetState(cbChecked); }, cbChecked, false},
    {"UncheckedStaysUnchecked", cbUnchecked, [](TCheckBox& b) { b.SetChecked(false); },
     cbUnchecked, false},
    {"Uncheck", cbChecked, [](TCheckBox& b) { b.SetChecked(false); }, cbUnchecked, true},
    {"SetStateUnchecked", cbChecked, [](TCheckBox& b) { b.SetState(cbUnchecked); }, cbUnchecked,
     true},
    {"Check", cbUnchecked, [](TCheckBox& b) { b.SetChecked(true); }, cbChecked, true},
    {"SetStateGrayed", cbUnchecked, [](TCheckBox& b) { b.SetState(cbGrayed); }, cbGrayed, true},
    {"GrayedToChecked", cbGrayed, [](TCheckBox& b) { b.SetChecked(true); }, cbChecked, true},
    {"UserUnchecks", cbChecked, [](TCheckBox& b) { b.ClickedByUser(); }, cbUnchecked, true},
    {"UserChecks", cbUnchecked, [](TCheckBox& b) { b.ClickedByUser(); }, cbChecked, true},
};

class CheckBoxStateTest : public FakeBackendTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(CheckBoxStateTest, ClicksExactlyWhenTheStateChanges)
{
    const StateCase& c = GetParam();
    TTestForm form(nullptr);
    TCheckBox& box = *form.CheckBox1;
    box.OnClick = nullptr;
    box.SetState(c.from);
    // Each click sees the new state stored and already shown in the window.
    std::vector<std::string> seen;
    box.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &box);
        seen.push_back(std::to_string(box.State()) + " " + fake->log.back());
    };
    fake->Take();

    c.act(box);

    EXPECT_EQ(box.State(), c.to);
    if (c.clicks) {
        EXPECT_EQ(seen, std::vector<std::string>{std::to_string(c.to) + " CheckBox1 shows check"});
        EXPECT_EQ(fake->Take(), std::vector<std::string>{"CheckBox1 shows check"});
    } else {
        EXPECT_TRUE(seen.empty());
        EXPECT_TRUE(fake->Take().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(, CheckBoxStateTest, ::testing::ValuesIn(kStateCases),
                         [](const auto& info) { return std::string(info.param.name); });

using CheckBoxLoadingTest = FakeBackendTest;

// Form data that sets the state after binding the handler still clicks nothing while loading.
TEST_F(CheckBoxLoadingTest, LoadingClicksNothing)
{
    std::string layout = kTestLayout;
    const std::string handler = "    OnClick = CheckBox1Click\n";
    layout.erase(layout.find(handler), handler.size());
    layout.insert(layout.find("    Checked = True"), handler);

    TTestForm form(nullptr, layout);
    EXPECT_TRUE(form.clicks.empty());
    EXPECT_TRUE(form.CheckBox1->Checked());
    form.CheckBox1->SetChecked(false);
    EXPECT_EQ(form.clicks, std::vector<std::string>{"box unchecked"});
}

}  // namespace
}  // namespace vcltest
