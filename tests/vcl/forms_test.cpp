// The application runs the main form until it is closed; Close returns at once and the loop
// ends after the running handler. The keyboard focus moves only between controls that take it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_backend.h"
#include "test_form.h"

namespace vcltest {
namespace {

using Log = std::vector<std::string>;

using ApplicationTest = FakeBackendTest;

TEST_F(ApplicationTest, CloseInAHandlerEndsTheLoopAfterTheHandler)
{
    TTestForm* form = nullptr;
    Application->CreateForm(&form);
    ASSERT_EQ(Application->MainForm(), form);
    EXPECT_FALSE(form->Visible());

    Log happened;
    form->on_ok = [&] {
        form->Close();
        happened.push_back("handler goes on after Close");
    };
    fake->messages.push_back([&] { form->Button1->ClickedByUser(); });
    fake->messages.push_back([&] { happened.push_back("a later message"); });
    fake->Take();

    Application->Run();

    EXPECT_EQ(happened, Log{"handler goes on after Close"});
    EXPECT_EQ(fake->Take(), (Log{"Form1 shows visible", "quit"}));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(form->Visible());
    delete form;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

// What a window procedure does with an exception from a handler: the error box, with the
// toolkit exception's message, or with none for anything else.
TEST_F(ApplicationTest, HandleExceptionShowsTheMessageOfToolkitExceptionsOnly)
{
    try {
        throw EAccessViolation("Access violation at address 00401000", 0xC0000005, 0x401000);
    } catch (...) {
        Application->HandleException();
    }
    try {
        throw std::runtime_error("not for the user");
    } catch (...) {
        Application->HandleException();
    }
    EXPECT_EQ(fake->Take(), (Log{"error box: Access violation at address 00401000", "error box: "}));
}

using FocusTest = FakeBackendTest;

TEST_F(FocusTest, TabMovesBetweenTheButtonAndTheCheckBoxOnly)
{
    TTestForm form(nullptr);
    form.Show();
    TWinControl* button = form.Button1;
    TWinControl* box = form.CheckBox1;

    EXPECT_EQ(form.FindNextControl(nullptr, true), button);
    EXPECT_EQ(form.FindNextControl(button, true), box);
    EXPECT_EQ(form.FindNextControl(box, true), button);
    EXPECT_EQ(form.FindNextControl(button, false), box);
    EXPECT_EQ(form.FindNextControl(form.Panel1, true), box);
    EXPECT_FALSE(form.Panel1->CanFocus());
    EXPECT_THROW(form.Panel1->SetFocus(), Exception);

    form.CheckBox1->SetEnabled(false);
    EXPECT_EQ(form.FindNextControl(button, true), button);
}

TEST_F(FocusTest, NothingTakesTheFocusWhileTheFormIsHidden)
{
    TTestForm form(nullptr);
    EXPECT_EQ(form.FindNextControl(nullptr, true), nullptr);
}

}  // namespace
}  // namespace vcltest
