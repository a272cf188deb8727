// The timer on the real Win32 backend: its ticks come through the message loop, and none comes
// once it is stopped.
#include <gtest/gtest.h>

#include <windows.h>

#include "test_form.h"
#include "win32_backend.h"

namespace vcltest {
namespace {

TEST(Win32TimerTest, TicksThroughTheMessageLoopAndNotOnceStopped)
{
    Application->SetBackend(vcl::CreateWin32Backend());
    {
        TTestForm form(nullptr);
        int ticks = 0;
        form.Timer1->SetInterval(20);
        form.Timer1->SetOnTimer([&](TObject* sender) {
            EXPECT_EQ(sender, form.Timer1);
            if (++ticks == 3) {
                form.Timer1->SetEnabled(false);
                Application->Backend()->QuitMessageLoop();
            }
        });
        Application->Backend()->RunMessageLoop();
        EXPECT_EQ(ticks, 3);

        const DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < 200) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(10);
        }
        EXPECT_EQ(ticks, 3);
    }
    Application->SetBackend(nullptr);
}

}  // namespace
}  // namespace vcltest
