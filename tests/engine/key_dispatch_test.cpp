// The hook's dispatch of keyboard and mouse messages, on real windows with the
// real per-thread keyboard state.
#include <gtest/gtest.h>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

class KeyDispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateTestWindow("Untitled - Test Editor");
        ResetDriver(VK_CAPITAL, true);
        Drain(window);
    }
    void TearDown() override {
        DestroyWindow(window);
        Drain(nullptr);
    }
    LRESULT Hook(MSG& msg) { return _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg); }
    HWND window = nullptr;
};

TEST_F(KeyDispatch, DisabledHookPassesEveryMessageUntouched) {
    State().hookEnabled = 0;
    const UINT messages[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_LBUTTONDOWN, WM_RBUTTONDOWN};
    for (UINT m : messages) {
        MSG msg = Message(window, m, 'K', 0x00250001);
        EXPECT_EQ(Hook(msg), 0) << m;
        EXPECT_EQ(msg.message, m);
        EXPECT_EQ(msg.wParam, (WPARAM)'K');
        EXPECT_EQ(msg.lParam, 0x00250001);
    }
    EXPECT_TRUE(Drain(window).empty());
}

} // namespace
