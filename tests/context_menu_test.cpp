// The right-click menu of the main dialog: its items, where it opens, and
// what each choice does.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "resource.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

// Asks for the menu as a right click does; returns the popup window.
static HWND RequestMenu(HWND dialog, LPARAM position)
{
    PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog), position);
    return WaitForWindow("#32768", nullptr, 5000);
}

// Picks an item the way the keyboard does, and waits until the menu is gone.
static bool Choose(HWND menuWindow, UINT message, WPARAM key)
{
    PostMessageA(menuWindow, message, key, 1);
    for (DWORD t0 = GetTickCount(); IsWindow(menuWindow) && IsWindowVisible(menuWindow); Sleep(10))
        if (GetTickCount() - t0 > 5000)
            return false;
    return true;
}

// A keyboard request (Shift+F10) sends -1, read as 65535 in both halves.
TEST(ContextMenu, OpensWithItsFourItemsOnTheScreenAndEscapeChangesNothing)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        for (LPARAM position : {MAKELPARAM(300, 200), LPARAM(-1)}) {
            HWND window = RequestMenu(dialog, position);
            ASSERT_NE(window, nullptr);
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
            ASSERT_EQ(GetMenuItemCount(menu), 4);
            const char* texts[] = {"&Toggle Graphic Mode", "&Minimize", "", "&Close"};
            const UINT ids[] = {IDM_TOGGLE_GRAPHIC_MODE, IDM_MINIMIZE, 0, IDM_CLOSE};
            for (int item = 0; item < 4; ++item) {
                char text[64] = "";
                GetMenuStringA(menu, item, text, sizeof text, MF_BYPOSITION);
                EXPECT_STREQ(text, texts[item]);
                EXPECT_EQ(GetMenuItemID(menu, item), ids[item]);
                EXPECT_EQ(GetMenuState(menu, item, MF_BYPOSITION) & (MF_SEPARATOR | MF_GRAYED),
                          item == 2 ? UINT(MF_SEPARATOR) : 0u);
            }
            RECT rect = {};
            GetWindowRect(window, &rect);
            EXPECT_TRUE(position == -1 || (rect.left == 300 && rect.top == 200));
            EXPECT_TRUE(rect.right <= GetSystemMetrics(SM_CXSCREEN) &&
                        rect.bottom <= GetSystemMetrics(SM_CYSCREEN));
            EXPECT_TRUE(Choose(window, WM_KEYDOWN, VK_ESCAPE));
            SyncWithDialog(dialog);
            EXPECT_FALSE(IsMenu(menu));   // built for this click only
            EXPECT_FALSE(IsIconic(dialog));
            EXPECT_EQ(appState.graphicMode, 1);
        }
    });
}

TEST(ContextMenu, TogglesBothWaysMinimizesAndClosesLikeExit)
{
    MainWindowState state(0);
    HGDIOBJ skin = nullptr;
    INT_PTR result = RunMainDialog([&](HWND dialog) {
        skin = appState.skinBitmap;
        for (BYTE expected : {1, 0}) {
            EXPECT_TRUE(Choose(RequestMenu(dialog, MAKELPARAM(400, 300)), WM_CHAR, 't'));
            SyncWithDialog(dialog);
            EXPECT_EQ(appState.graphicMode, expected);
            EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION, expected ? 0 : WS_CAPTION);
        }
        EXPECT_TRUE(Choose(RequestMenu(dialog, MAKELPARAM(400, 300)), WM_CHAR, 'm'));
        SyncWithDialog(dialog);
        EXPECT_TRUE(IsIconic(dialog));
        Choose(RequestMenu(dialog, MAKELPARAM(400, 300)), WM_CHAR, 'c');
        EXPECT_TRUE(WaitForWindowGone(dialog));
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetObjectType(skin), 0u);
}
