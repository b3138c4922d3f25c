// The two looks of the main dialog: the frame, the cross-shaped window, the
// fonts, the skin painting, the list box colours and the first-run rule.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "resource.h"
#include "support/dialog_runner.h"
#include "support/main_window.h"
#include "support/ui_driver.h"
#include "ui/main/graphic_mode.h"
#include "ui/main/main_dialog.h"

namespace {

const LONG kFrameStyles = WS_CAPTION | WS_SYSMENU;

const int kFontControls[] = {
    IDC_SAVE_SLOT1, IDC_SAVE_SLOT2, IDC_SAVE_SLOT3, IDC_SAVE_SLOT4, IDC_SAVE_SLOT5,
    IDC_LOAD_SLOT1, IDC_LOAD_SLOT2, IDC_LOAD_SLOT3, IDC_LOAD_SLOT4, IDC_LOAD_SLOT5,
    IDC_CHARACTER_LIST, IDC_EXIT, IDC_ACTIVATE_GAME, IDC_INFORMATION, IDC_ABOUT,
};
const int kDeleteIds[] = {IDC_DELETE_SLOT1, IDC_DELETE_SLOT2, IDC_DELETE_SLOT3, IDC_DELETE_SLOT4,
                          IDC_DELETE_SLOT5};

const char kHintA[] =
    "If the dialog seems to be screwed up, right-click anywhere on it\n"
    "and select \"Toggle Graphic Mode\" to turn off the graphical interface";
const char kHintB[] =
    "You are not using the default font resolution. This will cause the\n"
    "app to look screwed up in graphical mode. Therefore you are defaulted\n"
    "to non graphical mode. To turn on the graphics, right click on the dialog\n"
    "and select \"Toggle Graphic Mode\".";

HFONT FontOf(HWND window)
{
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// Everything that tells the two looks apart, checked against one mode.
void ExpectLook(HWND dialog, BYTE mode, HFONT templateFont, RECT windowRect)
{
    SCOPED_TRACE(mode ? "graphic mode" : "plain mode");
    EXPECT_EQ(appState.graphicMode, mode);
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & kFrameStyles, mode ? 0 : kFrameStyles);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(dialog, region);
    if (mode) {
        EXPECT_EQ(kind, COMPLEXREGION);
        RECT box;
        GetRgnBox(region, &box);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.right, 489);
        EXPECT_EQ(box.bottom, 483);
        // Corners of the picture are outside; both arms are inside.
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_FALSE(PtInRegion(region, 86, 78));
        EXPECT_FALSE(PtInRegion(region, 402, 322));
        EXPECT_TRUE(PtInRegion(region, 0, 79));
        EXPECT_TRUE(PtInRegion(region, 488, 321));
        EXPECT_TRUE(PtInRegion(region, 87, 0));
        EXPECT_TRUE(PtInRegion(region, 401, 482));
        EXPECT_FALSE(PtInRegion(region, 401, 483));
    } else {
        EXPECT_EQ(kind, ERROR);
    }
    DeleteObject(region);

    for (int id : kFontControls)
        EXPECT_EQ(FontOf(GetDlgItem(dialog, id)), mode ? appState.mainFont : nullptr) << id;
    for (int id : kDeleteIds)
        EXPECT_EQ(FontOf(GetDlgItem(dialog, id)), templateFont) << id;

    // The window stays where it is, at its outer size.
    RECT now;
    GetWindowRect(dialog, &now);
    EXPECT_TRUE(EqualRect(&now, &windowRect));
}

COLORREF ScreenPixel(HWND dialog, int x, int y)
{
    HDC dc = GetDC(dialog);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(dialog, dc);
    return color;
}

COLORREF SkinPixel(int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, appState.skinBitmap);
    COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return color;
}

}  // namespace

TEST(GraphicMode, TogglingSwitchesFrameRegionAndFontsBothWays)
{
    for (BYTE start : {1, 0}) {
        MainWindowState state(start);
        RunMainDialog([&](HWND dialog) {
            HFONT templateFont = FontOf(dialog);
            ASSERT_NE(templateFont, nullptr);
            ASSERT_NE(templateFont, appState.mainFont);
            RECT windowRect;
            GetWindowRect(dialog, &windowRect);
            ExpectLook(dialog, start, templateFont, windowRect);

            RunOnDialogThread(dialog, [&] { SetGraphicMode(dialog, start ? 0 : 1); });
            ExpectLook(dialog, start ? 0 : 1, templateFont, windowRect);
            // Any non-zero value is graphic mode, stored as 1.
            RunOnDialogThread(dialog, [&] { SetGraphicMode(dialog, 2); });
            ExpectLook(dialog, 1, templateFont, windowRect);
            RunOnDialogThread(dialog, [&] { SetGraphicMode(dialog, 0); });
            ExpectLook(dialog, 0, templateFont, windowRect);
            RunOnDialogThread(dialog, [&] { SetGraphicMode(dialog, start); });
            ExpectLook(dialog, start, templateFont, windowRect);
        });
    }
}

TEST(GraphicMode, PaintingCopiesTheSkinOnlyInGraphicModeAndOnlyWhenSomethingIsInvalid)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        // Above the list box, on the upper arm, where no control sits.
        const int x = 245, y = 40;
        for (BYTE mode : {1, 0}) {
            SCOPED_TRACE(mode ? "graphic mode" : "plain mode");
            BOOL emptyResult = TRUE;
            BOOL paintResult = FALSE;
            RunOnDialogThread(dialog, [&] {
                SetGraphicMode(dialog, mode);
                UpdateWindow(dialog);
                ValidateRect(dialog, nullptr);
                emptyResult = static_cast<BOOL>(MainDialogProc(dialog, WM_PAINT, 0, 0));
                InvalidateRect(dialog, nullptr, FALSE);
                paintResult = static_cast<BOOL>(MainDialogProc(dialog, WM_PAINT, 0, 0));
                if (!paintResult)
                    UpdateWindow(dialog);
            });
            EXPECT_FALSE(emptyResult);
            EXPECT_EQ(paintResult, mode ? TRUE : FALSE);
            EXPECT_FALSE(GetUpdateRect(dialog, nullptr, FALSE));
            if (mode)
                EXPECT_EQ(ScreenPixel(dialog, x, y), SkinPixel(x, y));
            else
                EXPECT_EQ(ScreenPixel(dialog, x, y), GetSysColor(COLOR_BTNFACE));
        }
    });
}

TEST(GraphicMode, ListBoxIsDarkRedInGraphicModeOnly)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        LOGBRUSH brush = {};
        ASSERT_EQ(GetObjectA(appState.listBrush, sizeof brush, &brush), static_cast<int>(sizeof brush));
        EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(brush.lbColor, RGB(192, 0, 0));

        HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
        for (BYTE mode : {1, 0}) {
            SCOPED_TRACE(mode ? "graphic mode" : "plain mode");
            INT_PTR answer = 0;
            COLORREF background = 0;
            RunOnDialogThread(dialog, [&] {
                SetGraphicMode(dialog, mode);
                HDC dc = GetDC(list);
                SetBkColor(dc, RGB(1, 2, 3));
                answer = MainDialogProc(dialog, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(list));
                background = GetBkColor(dc);
                ReleaseDC(list, dc);
            });
            EXPECT_EQ(answer, mode ? reinterpret_cast<INT_PTR>(appState.listBrush) : 0);
            EXPECT_EQ(background, mode ? RGB(192, 0, 0) : RGB(1, 2, 3));
        }
    });
}

TEST(GraphicMode, FontResolutionRuleDecidesOnlyOnTheFirstRun)
{
    const struct {
        WORD logPixels;
        BYTE firstRun;
        const char* hint;   // null: no hint
        BYTE modeAfter;
    } cases[] = {
        {0, 1, kHintA, 1},
        {120, 1, kHintB, 0},
        {144, 1, kHintB, 0},
        {96, 1, nullptr, 1},
        {0, 0, nullptr, 1},
        {120, 0, nullptr, 1},
        {96, 0, nullptr, 1},
    };
    for (const auto& rule : cases) {
        SCOPED_TRACE("logPixels " + std::to_string(rule.logPixels) + ", firstRun " +
                     std::to_string(rule.firstRun));
        appState.graphicMode = 1;
        appState.firstRun = rule.firstRun;
        auto box = AnswerMessageBox("Important hint!", IDOK, rule.hint ? 10000 : 300);
        ApplyFontResolutionRuleAt(rule.logPixels);
        BoxSeen seen = box.get();
        EXPECT_EQ(seen.found, rule.hint != nullptr);
        if (rule.hint && seen.found) {
            EXPECT_EQ(seen.text, rule.hint);
            EXPECT_TRUE(seen.hasIcon);
            EXPECT_FALSE(seen.yesNo);
        }
        EXPECT_EQ(appState.graphicMode, rule.modeAfter);
    }
    appState.graphicMode = 0;
    appState.firstRun = 0;
}

TEST(GraphicMode, FirstRunOnADisplayThatReportsNoResolutionHintsAndStaysGraphic)
{
    if (DisplayLogPixels() != 0)
        GTEST_SKIP() << "this display reports its font resolution";
    MainWindowState state(1);
    appState.firstRun = 1;
    auto box = AnswerMessageBox("Important hint!", IDOK);
    bool sawDialog = false;
    RunMainDialog([&](HWND dialog) {
        sawDialog = true;
        EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & kFrameStyles, 0);
        EXPECT_EQ(appState.graphicMode, 1);
    });
    BoxSeen seen = box.get();
    EXPECT_TRUE(sawDialog);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, kHintA);
}
