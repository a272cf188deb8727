#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, Runs) { EXPECT_NE(GetCurrentProcessId(), 0u); HWND w = CreateWindowA("STATIC","x",WS_OVERLAPPEDWINDOW,0,0,10,10,0,0,0,0); EXPECT_NE(w, nullptr); }
