// The about window: the credits scroll frame by frame, the links light up
// under the cursor and open the mail program or the browser.
#include <gtest/gtest.h>

#include <string>
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

namespace {

const char kCaption[] = "Slotkeeper - V 1.02 (Build 140700)";

// frames[n] is frame n; frame 1 is the one drawn while the window opens.
std::vector<ScrollFrame> FirstFrames(int count)
{
    std::vector<ScrollFrame> frames(1);
    ScrollState state = StartScroll();
    for (int n = 1; n <= count; ++n)
        frames.push_back(AdvanceScroll(state));
    return frames;
}

TEST(CreditsScroll, LeadInThenTwelveFramesPerLineThenOneEmptyFrameEvery421)
{
    std::vector<ScrollFrame> frames = FirstFrames(471 + 2 * 421);
    const int table[][3] = {{1, 59, 0},    {49, 11, 0},   {50, 10, 0},   {59, 1, 0},
                            {60, 0, 0},    {61, -1, 0},   {62, 10, 1},   {467, 1, 34},
                            {468, 0, 34},  {469, -1, 34}, {470, 10, 35}, {471, 10, 0}};
    for (const auto& row : table) {
        EXPECT_EQ(frames[row[0]].topOffset, row[1]) << "frame " << row[0];
        EXPECT_EQ(frames[row[0]].linesSkipped, row[2]) << "frame " << row[0];
    }
    for (int n = 1; n < 50; ++n)
        EXPECT_EQ(frames[n].topOffset, 60 - n) << "frame " << n;
    for (int n = 50; n < 470; ++n) {
        EXPECT_EQ(frames[n].topOffset, 10 - (n - 50) % 12) << "frame " << n;
        EXPECT_EQ(frames[n].linesSkipped, (n - 50) / 12) << "frame " << n;
    }
    for (int n = 471; n + 421 < static_cast<int>(frames.size()); ++n) {
        EXPECT_EQ(frames[n + 421].topOffset, frames[n].topOffset) << "frame " << n;
        EXPECT_EQ(frames[n + 421].linesSkipped, frames[n].linesSkipped) << "frame " << n;
    }
    std::vector<int> empty;
    for (int n = 1; n < static_cast<int>(frames.size()); ++n)
        if (*SkipCreditLines(CreditsText(), frames[n].linesSkipped) == '\0')
            empty.push_back(n);
    EXPECT_EQ(empty, (std::vector<int>{470, 891, 1312}));
}

// The scroll's bound of 350 rests on the 35 line feeds.
TEST(CreditsScroll, CreditsAreThirtyFiveShortCrLfLinesInTheirLayout)
{
    std::string text = CreditsText();
    EXPECT_EQ(text.size(), 855u);
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "text after the last line break";
        lines.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 35u);
    const std::string emptyLines = "-X-----X----X----XXXXXXXXXX-XXX-XX-";   // X: empty, by line
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].empty(), emptyLines[i] == 'X') << "line " << i + 1;
        EXPECT_LE(lines[i].size(), 60u) << "line " << i + 1;
        for (unsigned char c : lines[i])
            EXPECT_GE(c, 0x20) << "line " << i + 1;
    }
    // The opening line, and the closing lines after the long gap.
    EXPECT_EQ(lines[0].size(), 41u);
    EXPECT_EQ(lines[27].size(), 24u);
    EXPECT_EQ(lines[31].size(), 16u);
    EXPECT_EQ(lines[34].size(), 50u);
    EXPECT_STREQ(SkipCreditLines(CreditsText(), 1000), "");
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A first window waits for Wine's desktop, at times longer than a
        // dialog is waited for: wait for it here instead.
        GetDesktopWindow();
        appState.instance = GetModuleHandleA(nullptr);
    }
    void TearDown() override { CloseStrayDialogs(); }

    INT_PTR RunAbout(const std::function<void(HWND)>& drive)
    {
        return RunDialog(IDD_ABOUT, AboutDlgProc, kCaption, drive);
    }

    // Into a control's client area `fromLeft` pixels from its left edge, or
    // into the dialog's corner; then the dialog hears of the move.
    static void MoveCursor(HWND dialog, HWND control, int fromLeft = 1)
    {
        RECT client;
        GetClientRect(control, &client);
        POINT point = {fromLeft, client.bottom / 2};
        if (control == dialog)
            point = {2, 2};
        ClientToScreen(control, &point);
        SetCursorPos(point.x, point.y);
        // The platform may report the old position for a moment.
        POINT now;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(10))
            if (GetCursorPos(&now) && now.x == point.x && now.y == point.y)
                break;
        PostMessageA(dialog, WM_MOUSEMOVE, 0, 0);
        SyncWithDialog(dialog);
        RunOnDialogThread(dialog, [dialog]() { UpdateWindow(dialog); });
    }
};

TEST_F(AboutWindow, CreditsRiseInRedOnBlackAndOnlyClosingEndsTheWindow)
{
    std::string caption;
    Picture early;
    Picture later;
    bool openAfterCommands = false;
    INT_PTR result = RunAbout([&](HWND dialog) {
        caption = WindowText(dialog);
        HWND panel = GetDlgItem(dialog, IDC_ABOUT_SCROLLER);
        // Showing the window paints the panel empty; the next tick draws.
        Sleep(SCROLL_INTERVAL_MS + 100);
        SyncWithDialog(dialog);
        early = CaptureClient(panel);
        PressButton(dialog, IDOK);
        PressButton(dialog, IDCANCEL);
        Sleep(1500);
        SyncWithDialog(dialog);
        later = CaptureClient(panel);
        openAfterCommands = IsWindowVisible(dialog);
    });

    EXPECT_EQ(caption, kCaption);
    EXPECT_TRUE(openAfterCommands);
    EXPECT_EQ(result, 0);
    auto topRedRow = [](const Picture& picture) {
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (GetRValue(picture.At(x, y)) > 128)
                    return y;
        return -1;
    };
    for (const Picture* picture : {&early, &later}) {
        ASSERT_GT(picture->width, 0);
        int other = 0;
        for (COLORREF pixel : picture->pixels)
            other += GetGValue(pixel) != 0 || GetBValue(pixel) != 0;
        EXPECT_EQ(other, 0) << "pixels neither black nor red";
    }
    // During the lead-in the first line starts about sixty pixels down and
    // rises a pixel a tick.
    EXPECT_GE(topRedRow(early), 40);
    EXPECT_LE(topRedRow(early), 61);
    EXPECT_GE(topRedRow(later), 0);
    EXPECT_LT(topRedRow(later), topRedRow(early) - 3);
}

// A link turns white with the cursor anywhere in its rectangle, also beside
// its centred text, and blue again once the cursor has left it.
TEST_F(AboutWindow, LinksShowTheirTargetsAndLightUpUnderTheCursor)
{
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF blue = RGB(0, 0, 255);
    Picture mailOver, webOver, mailLeft, webLeft;
    RunAbout([&](HWND dialog) {
        HWND mail = GetDlgItem(dialog, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(dialog, IDC_ABOUT_WEB);
        EXPECT_EQ("mailto:" + WindowText(mail), ABOUT_MAIL_TARGET);
        EXPECT_EQ("https://" + WindowText(web), ABOUT_WEB_TARGET);
        MoveCursor(dialog, mail);
        mailOver = CaptureClient(mail);
        webLeft = CaptureClient(web);
        MoveCursor(dialog, web);
        webOver = CaptureClient(web);
        mailLeft = CaptureClient(mail);
    });

    for (const Picture* over : {&mailOver, &webOver}) {
        EXPECT_GT(over->Count(white), 20);
        EXPECT_EQ(over->Count(blue), 0);
    }
    for (const Picture* left : {&mailLeft, &webLeft}) {
        EXPECT_GT(left->Count(blue), 20);
        EXPECT_EQ(left->Count(white), 0);
    }
}

// A stand-in program, registered for both schemes, notes what it opened.
TEST_F(AboutWindow, ClickingALinkOpensItsTargetAndElsewhereNothing)
{
    std::string dir = MakeTempDir("links");
    std::string marker = dir + "\\opened.txt";
    std::vector<RegValue> saved;
    for (const char* scheme : {"https", "mailto"}) {
        std::string key = std::string("Software\\Classes\\") + scheme + "\\shell\\open\\command";
        saved.push_back(ReadValue(HKEY_LOCAL_MACHINE, key.c_str(), ""));
        SetString(HKEY_LOCAL_MACHINE, key.c_str(), "",
                  "\"" + ProgramDirectory() + "\\write_marker.exe\" \"" + marker + "\" %1");
    }
    auto opened = [&](DWORD waitMs) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < waitMs; Sleep(20)) {
            if (FileExists(marker)) {
                std::string text = ReadBytes(marker);
                DeleteFileA(marker.c_str());
                return text;
            }
        }
        return std::string("<nothing>");
    };
    std::vector<std::string> seen;
    RunAbout([&](HWND dialog) {
        for (int id : {IDC_ABOUT_WEB, IDC_ABOUT_MAIL, IDC_ABOUT_NOTICE, IDC_ABOUT_SCROLLER}) {
            MoveCursor(dialog, GetDlgItem(dialog, id), 30);
            PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            PostMessageA(dialog, WM_LBUTTONUP, 0, 0);
            SyncWithDialog(dialog);
            seen.push_back(opened(id == IDC_ABOUT_WEB || id == IDC_ABOUT_MAIL ? 15000 : 1500));
        }
    });

    const char* schemes[] = {"https", "mailto"};
    for (size_t i = 0; i < saved.size(); ++i) {
        std::string key = std::string("Software\\Classes\\") + schemes[i] + "\\shell\\open\\command";
        if (saved[i].present)
            SetValue(HKEY_LOCAL_MACHINE, key.c_str(), "", saved[i].type, saved[i].data);
    }
    RemoveTree(dir);
    EXPECT_EQ(seen, (std::vector<std::string>{ABOUT_WEB_TARGET, ABOUT_MAIL_TARGET, "<nothing>",
                                              "<nothing>"}));
}

}  // namespace
