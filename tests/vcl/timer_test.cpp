// The timer restarts its period only when Interval or Enabled really changes, and a stopped
// timer never fires.
#include <gtest/gtest.h>

#include "fake_backend.h"
#include "test_form.h"

namespace vcltest {
namespace {

using Log = std::vector<std::string>;

struct Step {
    const char* what;
    void (*act)(TTimer& timer);
    Log asks;   // what the timer asks of the window system
    int ticks;  // handler calls so far
};

void Tick(TTimer& timer) { timer.Tick(); }

// From the form data the timer runs at 5000 ms; each step starts where the last ended.
const Step kSteps[] = {
    {"tick while running", Tick, {}, 1},
    {"new interval", [](TTimer& t) { t.SetInterval(1000); }, {"Timer1 stops", "Timer1 starts 1000"}, 1},
    {"same interval", [](TTimer& t) { t.SetInterval(1000); }, {}, 1},
    {"enable running timer", [](TTimer& t) { t.SetEnabled(true); }, {}, 1},
    {"disable", [](TTimer& t) { t.SetEnabled(false); }, {"Timer1 stops"}, 1},
    {"tick after stop", Tick, {}, 1},
    {"new interval while stopped", [](TTimer& t) { t.SetInterval(2000); }, {"Timer1 stops"}, 1},
    {"enable stopped timer", [](TTimer& t) { t.SetEnabled(true); }, {"Timer1 stops", "Timer1 starts 2000"}, 1},
    {"tick", Tick, {}, 2},
    {"interval zero", [](TTimer& t) { t.SetInterval(0); }, {"Timer1 stops"}, 2},
    {"tick with interval zero", Tick, {}, 2},
    {"interval again", [](TTimer& t) { t.SetInterval(1000); }, {"Timer1 stops", "Timer1 starts 1000"}, 2},
    {"handler removed", [](TTimer& t) { t.SetOnTimer(nullptr); }, {"Timer1 stops"}, 2},
    {"tick without handler", Tick, {}, 2},
};

using TimerTest = FakeBackendTest;

TEST_F(TimerTest, StartsOnceTheFormDataIsRead)
{
    TTestForm form(nullptr);
    Log asks;
    for (const std::string& entry : fake->Take())
        if (entry.compare(0, 6, "Timer1") == 0)
            asks.push_back(entry);
    EXPECT_EQ(asks, (Log{"Timer1 stops", "Timer1 starts 5000"}));
}

TEST_F(TimerTest, RestartsOnlyOnRealChangesAndNeverFiresStopped)
{
    TTestForm form(nullptr);
    fake->Take();
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.what);
        step.act(*form.Timer1);
        EXPECT_EQ(fake->Take(), step.asks);
        EXPECT_EQ(form.ticks, step.ticks);
    }
}

}  // namespace
}  // namespace vcltest
