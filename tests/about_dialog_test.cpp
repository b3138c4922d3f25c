// The about window: the credits scroll frame by frame, the links light up
// under the cursor and open the mail program or the browser.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "support/dialog_runner.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/program.h"
#include "support/registry.h"
#include "support/ui_driver.h"
#include "ui/dialogs/about_dialog.h"

TEST(CreditsScroll, LeadInThenTwelveFramesPerLineThenAnEmptyFrameEvery421)
{
    std::vector<ScrollFrame> frames(1);   // frames[n] is frame n, drawn while the window opens
    for (ScrollState state = StartScroll(); frames.size() < 471 + 421 + 1;)
        frames.push_back(AdvanceScroll(state));
    const int table[][3] = {{1, 59, 0},   {49, 11, 0},   {50, 10, 0},   {59, 1, 0},
                            {60, 0, 0},   {61, -1, 0},   {62, 10, 1},   {467, 1, 34},
                            {468, 0, 34}, {469, -1, 34}, {470, 10, 35}, {471, 10, 0}};
    auto at = [&](int n) { return std::make_pair(frames[n].topOffset, frames[n].linesSkipped); };
    for (const auto& row : table)
        EXPECT_EQ(at(row[0]), std::make_pair(row[1], row[2])) << "frame " << row[0];
    for (int n = 50; n + 421 < static_cast<int>(frames.size()); ++n)
        EXPECT_EQ(at(n + 421), at(n)) << "frame " << n;
}

// The scroll's bound rests on the 35 line feeds: after them the panel is empty.
TEST(CreditsScroll, CreditsAreThirtyFiveCrLfLinesOfAtMostSixtyCharacters)
{
    std::string text = CreditsText();
    size_t lines = 0, start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != text.npos; start = end + 2, ++lines)
        EXPECT_LE(end - start, 60u) << "line " << lines + 1;
    EXPECT_EQ(start, text.size()) << "text after the last line break";
    EXPECT_EQ(lines, 35u);
    EXPECT_STRNE(SkipCreditLines(CreditsText(), 34), "");
    EXPECT_STREQ(SkipCreditLines(CreditsText(), 35), "");
}

// Puts the cursor into a control, 30 pixels in, and tells the dialog; the
// platform may report the old position for a moment.
static void MoveCursor(HWND dialog, HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    POINT point = {30, client.bottom / 2}, now;
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(10))
        if (GetCursorPos(&now) && now.x == point.x && now.y == point.y)
            break;
    PostMessageA(dialog, WM_MOUSEMOVE, 0, 0);
    SyncWithDialog(dialog);
    RunOnDialogThread(dialog, [dialog]() { UpdateWindow(dialog); });
}

// A stand-in program, registered for both schemes, notes what it opened. A
// link is white with the cursor anywhere in its rectangle, else blue.
TEST(AboutWindow, LinksLightUpAndOpenTheirTargetsAndOnlyClosingEndsTheWindow)
{
    GetDesktopWindow();   // waits for the desktop here, not inside a dialog wait
    appState.instance = GetModuleHandleA(nullptr);
    std::string dir = MakeTempDir("links"), marker = dir + "\\opened.txt";
    const char* keys[] = {"Software\\Classes\\https\\shell\\open\\command",
                          "Software\\Classes\\mailto\\shell\\open\\command"};
    std::string handler = "\"" + ProgramDirectory() + "\\write_marker.exe\" \"" + marker + "\" %1";
    RegValue saved[] = {ReadValue(HKEY_LOCAL_MACHINE, keys[0], ""),
                        ReadValue(HKEY_LOCAL_MACHINE, keys[1], "")};
    for (const char* key : keys)
        SetString(HKEY_LOCAL_MACHINE, key, "", handler);
    std::vector<std::string> opened;
    const char caption[] = "Slotkeeper - V 1.02 (Build 140700)";
    INT_PTR result = RunDialog(IDD_ABOUT, AboutDlgProc, caption, [&](HWND dialog) {
        HWND mail = GetDlgItem(dialog, IDC_ABOUT_MAIL), web = GetDlgItem(dialog, IDC_ABOUT_WEB);
        EXPECT_EQ("mailto:" + WindowText(mail), ABOUT_MAIL_TARGET);
        EXPECT_EQ("https://" + WindowText(web), ABOUT_WEB_TARGET);
        for (HWND control : {web, mail, GetDlgItem(dialog, IDC_ABOUT_NOTICE)}) {
            MoveCursor(dialog, control);
            for (HWND link : {web, mail}) {
                Picture shown = CaptureClient(link);
                bool lit = link == control;
                EXPECT_EQ(shown.Count(lit ? RGB(0, 0, 255) : RGB(255, 255, 255)), 0);
                EXPECT_GT(shown.Count(lit ? RGB(255, 255, 255) : RGB(0, 0, 255)), 20);
            }
            PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SyncWithDialog(dialog);
            DWORD wait = control == web || control == mail ? 15000 : 1500;
            for (DWORD t0 = GetTickCount(); !FileExists(marker) && GetTickCount() - t0 < wait;)
                Sleep(20);
            opened.push_back(FileExists(marker) ? ReadBytes(marker) : "<nothing>");
            DeleteFileA(marker.c_str());
        }
        PressButton(dialog, IDOK);
        PressButton(dialog, IDCANCEL);
        SyncWithDialog(dialog);
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    for (int i : {0, 1})
        if (saved[i].present)
            SetValue(HKEY_LOCAL_MACHINE, keys[i], "", saved[i].type, saved[i].data);
    RemoveTree(dir);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(opened, (std::vector<std::string>{ABOUT_WEB_TARGET, ABOUT_MAIL_TARGET, "<nothing>"}));
}
