// The right-click menu of the main dialog: its items, where it opens, and
// what each choice does.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "resource.h"
#include "support/dialog_runner.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

namespace {

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

const LONG kFrameStyles = WS_CAPTION | WS_SYSMENU;

struct OpenMenu {
    HWND window;
    HMENU menu;
};

// Asks the dialog for its menu at (x, y) as the platform does after a right
// click, and waits for the popup.
OpenMenu RequestMenu(HWND dialog, LPARAM position)
{
    PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog), position);
    OpenMenu open = {WaitForWindow("#32768", nullptr, 5000), nullptr};
    if (open.window)
        open.menu = reinterpret_cast<HMENU>(SendMessageA(open.window, MN_GETHMENU, 0, 0));
    return open;
}

// Presses a key in the open menu, as the keyboard would.
void PressMenuKey(HWND menuWindow, WPARAM key)
{
    PostMessageA(menuWindow, WM_KEYDOWN, key, 1);
}

void PickByMnemonic(HWND menuWindow, char letter)
{
    PostMessageA(menuWindow, WM_CHAR, static_cast<WPARAM>(letter), 1);
}

std::string ItemText(HMENU menu, int position)
{
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

void ExpectTheFourItems(HMENU menu)
{
    ASSERT_TRUE(IsMenu(menu));
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(ItemText(menu, 0), "&Toggle Graphic Mode");
    EXPECT_EQ(ItemText(menu, 1), "&Minimize");
    EXPECT_EQ(ItemText(menu, 3), "&Close");
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_TOGGLE_GRAPHIC_MODE));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_MINIMIZE));
    EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(IDM_CLOSE));
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
    for (int position : {0, 1, 3})
        EXPECT_EQ(GetMenuState(menu, position, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_DISABLED),
                  0u)
            << position;
}

bool WaitForMenuGone(HWND menuWindow)
{
    DWORD start = GetTickCount();
    while (IsWindow(menuWindow) && IsWindowVisible(menuWindow)) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

TEST(ContextMenu, OpensAtThePointWithFourItemsAndEscapeChangesNothing)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        OpenMenu open = RequestMenu(dialog, MAKELPARAM(300, 200));
        ASSERT_NE(open.window, nullptr);
        ExpectTheFourItems(open.menu);
        RECT rect;
        GetWindowRect(open.window, &rect);
        EXPECT_EQ(rect.left, 300);
        EXPECT_EQ(rect.top, 200);

        PressMenuKey(open.window, VK_ESCAPE);
        EXPECT_TRUE(WaitForMenuGone(open.window));
        SyncWithDialog(dialog);
        // Built for this click only.
        EXPECT_FALSE(IsMenu(open.menu));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(IsIconic(dialog));
        EXPECT_EQ(appState.graphicMode, 1);
    });
}

TEST(ContextMenu, AKeyboardRequestOpensTheMenuOnTheScreen)
{
    MainWindowState state(0);
    RunMainDialog([&](HWND dialog) {
        // Shift+F10 and the menu key send -1 in both halves.
        OpenMenu open = RequestMenu(dialog, static_cast<LPARAM>(-1));
        ASSERT_NE(open.window, nullptr);
        ExpectTheFourItems(open.menu);
        RECT rect;
        GetWindowRect(open.window, &rect);
        EXPECT_LE(rect.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
        PressMenuKey(open.window, VK_ESCAPE);
        EXPECT_TRUE(WaitForMenuGone(open.window));
    });
}

TEST(ContextMenu, ToggleSwitchesPlainToGraphicAndBackWithTheSameMenu)
{
    MainWindowState state(0);
    RunMainDialog([&](HWND dialog) {
        for (BYTE expected : {1, 0, 1}) {
            OpenMenu open = RequestMenu(dialog, MAKELPARAM(400, 300));
            ASSERT_NE(open.window, nullptr);
            ExpectTheFourItems(open.menu);
            PickByMnemonic(open.window, 't');
            EXPECT_TRUE(WaitForMenuGone(open.window));
            SyncWithDialog(dialog);
            EXPECT_EQ(appState.graphicMode, expected);
            EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & kFrameStyles, expected ? 0 : kFrameStyles);
            EXPECT_FALSE(IsMenu(open.menu));
        }
    });
}

TEST(ContextMenu, MinimizeIconifiesAndTheDialogComesBackInTheSameMode)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        OpenMenu open = RequestMenu(dialog, MAKELPARAM(400, 300));
        ASSERT_NE(open.window, nullptr);
        // Down to the second item and Enter: the keyboard way.
        PressMenuKey(open.window, VK_DOWN);
        PressMenuKey(open.window, VK_DOWN);
        PressMenuKey(open.window, VK_RETURN);
        EXPECT_TRUE(WaitForMenuGone(open.window));
        SyncWithDialog(dialog);
        EXPECT_TRUE(IsIconic(dialog));
        EXPECT_TRUE(IsWindow(dialog));

        ShowWindow(dialog, SW_RESTORE);
        SyncWithDialog(dialog);
        EXPECT_FALSE(IsIconic(dialog));
        EXPECT_EQ(appState.graphicMode, 1);
        EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & kFrameStyles, 0);
    });
}

TEST(ContextMenu, CloseEndsTheDialogLikeExit)
{
    MainWindowState state(1);
    HGDIOBJ skin = nullptr;
    bool ended = false;
    INT_PTR result = RunMainDialog([&](HWND dialog) {
        skin = appState.skinBitmap;
        OpenMenu open = RequestMenu(dialog, MAKELPARAM(400, 300));
        ASSERT_NE(open.window, nullptr);
        PickByMnemonic(open.window, 'c');
        ended = WaitUntilDestroyed(dialog);
    });
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetObjectType(skin), 0u);
    EXPECT_EQ(appState.skinBitmap, nullptr);
    EXPECT_EQ(appState.listBrush, nullptr);
}
