// The help window: the two help strings in one read-only text, drawn in the
// window colours of the user's scheme and never shown selected.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "resource.h"
#include "support/dialog_runner.h"
#include "support/pixels.h"
#include "support/ui_driver.h"
#include "ui/dialogs/help_dialog.h"

namespace {

std::string LoadResourceString(UINT id)
{
    char text[4096];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

bool NothingSelected(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == end;
}

// Dark pixels in the top text line of the control as the screen shows it.
int DarkPixelsInTopLine(HWND edit)
{
    Picture picture = CaptureClient(edit);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    int dark = 0;
    for (int y = 0; y < metrics.tmHeight && y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            dark += GetRValue(picture.At(x, y)) < 128;
    return dark;
}

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A first window waits for Wine's desktop, at times longer than a
        // dialog is waited for: wait for it here instead.
        GetDesktopWindow();
        appState.instance = GetModuleHandleA(nullptr);
    }
    void TearDown() override { CloseStrayDialogs(); }

    INT_PTR RunHelp(const std::function<void(HWND)>& drive)
    {
        return RunDialog(IDD_HELP, HelpDlgProc, "Help", drive);
    }
};

TEST_F(HelpWindow, ShowsBothHelpStringsJoined)
{
    std::string shown;
    RunHelp([&](HWND dialog) { shown = WindowText(GetDlgItem(dialog, IDC_HELP_TEXT)); });

    std::string uses = LoadResourceString(IDS_HELP_USES);
    ASSERT_GT(uses.size(), 500u);
    EXPECT_EQ(shown, uses + LoadResourceString(IDS_HELP_HINTS));
    // The first string's own line breaks separate the two.
    EXPECT_NE(shown.find("backup your character\r\n\r\n\r\nAdditional Hints:\r\n"), std::string::npos);
}

TEST_F(HelpWindow, OpensAtTheTopAndCanBeReadButNotChangedOrSelected)
{
    INT_PTR result = RunHelp([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_HELP_TEXT);
        SyncWithDialog(dialog);
        RunOnDialogThread(dialog, [&]() {
            EXPECT_EQ(GetFocus(), edit);
            UpdateWindow(dialog);
        });
        EXPECT_TRUE(NothingSelected(edit));
        EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        // The top line holds the caret, and is drawn all the same.
        Sleep(300);
        EXPECT_GT(DarkPixelsInTopLine(edit), 60);

        // The player drags over some lines and types: the next paint drops
        // the selection, and the text stays as it was.
        std::string before = WindowText(edit);
        SendMessageA(edit, EM_SETSEL, 10, 120);
        SendMessageA(edit, WM_CHAR, 'x', 0);
        SendMessageA(edit, WM_CUT, 0, 0);
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(NothingSelected(edit));
        EXPECT_EQ(WindowText(edit), before);

        SendMessageA(edit, WM_KEYDOWN, VK_NEXT, 0);
        EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

        // Commands do not end it; closing does.
        PressButton(dialog, IDOK);
        PressButton(dialog, IDCANCEL);
        SyncWithDialog(dialog);
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    EXPECT_EQ(result, 0);
}

// Black on a cream window colour, white on a black one.
TEST_F(HelpWindow, DrawsInTheWindowColourWithWhiteTextOnlyOnBlack)
{
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF cream = RGB(255, 250, 205);
    INT element = COLOR_WINDOW;
    COLORREF saved = GetSysColor(COLOR_WINDOW);
    for (COLORREF window : {cream, black}) {
        SetSysColors(1, &element, &window);
        Picture picture;
        RunHelp([&](HWND dialog) { picture = PrintClient(GetDlgItem(dialog, IDC_HELP_TEXT)); });
        SetSysColors(1, &element, &saved);

        ASSERT_GT(picture.width, 0);
        COLORREF text = window == black ? white : black;
        EXPECT_GT(picture.Count(window), static_cast<int>(picture.pixels.size()) / 2) << window;
        EXPECT_GT(picture.Count(text), 200) << window;
        if (window != black) {
            EXPECT_EQ(picture.Count(white), 0) << window;
        }
    }
}

}  // namespace
