// The help window: the two help strings in one read-only text, never shown
// selected, in the window colours of the user's scheme.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "resource.h"
#include "support/dialog_runner.h"
#include "support/pixels.h"
#include "support/ui_driver.h"
#include "ui/dialogs/help_dialog.h"

static INT_PTR RunHelp(const std::function<void(HWND, HWND)>& drive)
{
    GetDesktopWindow();   // waits for the desktop here, not inside a dialog wait
    appState.instance = GetModuleHandleA(nullptr);
    return RunDialog(IDD_HELP, HelpDlgProc, "Help",
                     [&](HWND dialog) { drive(dialog, GetDlgItem(dialog, IDC_HELP_TEXT)); });
}

static std::string ResourceString(UINT id)
{
    char text[4096] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

static bool NothingSelected(HWND edit)
{
    LRESULT selection = SendMessageA(edit, EM_GETSEL, 0, 0);
    return LOWORD(selection) == HIWORD(selection);
}

TEST(HelpWindow, ShowsBothStringsFromTheTopWithEveryLineDrawnNeverChangedOrSelected)
{
    RunHelp([&](HWND dialog, HWND edit) {
        std::string uses = ResourceString(IDS_HELP_USES);
        ASSERT_GT(uses.size(), 500u);
        EXPECT_EQ(WindowText(edit), uses + ResourceString(IDS_HELP_HINTS));
        SyncWithDialog(dialog);
        RunOnDialogThread(dialog, [&]() { UpdateWindow(dialog); });
        EXPECT_TRUE(NothingSelected(edit));
        EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        Sleep(300);
        Picture shown = CaptureClient(edit);   // the caret's top line is drawn too
        int dark = 0;
        for (int i = 0; i < 13 * shown.width && i < static_cast<int>(shown.pixels.size()); ++i)
            dark += GetRValue(shown.pixels[i]) < 128;
        EXPECT_GT(dark, 60);
        std::string before = WindowText(edit);
        SendMessageA(edit, EM_SETSEL, 10, 120);
        SendMessageA(edit, WM_CHAR, 'x', 0);
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(NothingSelected(edit));
        EXPECT_EQ(WindowText(edit), before);
    });
}

// Default (black) text on a cream window colour, white text only on black.
TEST(HelpWindow, DrawsInTheWindowColourOfTheScheme)
{
    INT element = COLOR_WINDOW;
    COLORREF saved = GetSysColor(COLOR_WINDOW);
    for (COLORREF window : {RGB(255, 250, 205), RGB(0, 0, 0)}) {
        SetSysColors(1, &element, &window);
        Picture picture;
        RunHelp([&](HWND, HWND edit) { picture = PrintClient(edit); });
        SetSysColors(1, &element, &saved);
        EXPECT_GT(picture.Count(window), static_cast<int>(picture.pixels.size()) / 2) << window;
        EXPECT_GT(picture.Count(window ? RGB(0, 0, 0) : RGB(255, 255, 255)), 200) << window;
        EXPECT_EQ(picture.Count(RGB(255, 255, 255)) > 0, window == 0) << window;
    }
}
