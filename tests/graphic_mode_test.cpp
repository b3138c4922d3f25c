// The two looks of the main dialog: the frame, the cross-shaped window, the
// fonts, the skin painting, the list box colours and the first-run rule.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "resource.h"
#include "support/main_window.h"
#include "support/ui_driver.h"
#include "ui/main/graphic_mode.h"

const LONG kFrameStyles = WS_CAPTION | WS_SYSMENU;

// Everything that tells the two looks apart; the Delete buttons keep the
// template's font in both.
static void ExpectLook(HWND dialog, BYTE mode, HFONT templateFont)
{
    SCOPED_TRACE(mode ? "graphic mode" : "plain mode");
    auto FontOf = [](HWND dialog, int id) {
        return reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0));
    };
    EXPECT_EQ(appState.graphicMode, mode);
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & kFrameStyles, mode ? 0 : kFrameStyles);
    // The cross: its box is the picture, whose corners lie outside.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT box = {}, cross = {0, 0, 489, 483};
    EXPECT_EQ(GetWindowRgn(dialog, region), mode ? COMPLEXREGION : ERROR);
    EXPECT_TRUE(!mode || (GetRgnBox(region, &box) && EqualRect(&box, &cross) &&
                          !PtInRegion(region, 86, 78) && PtInRegion(region, 0, 79)));
    DeleteObject(region);
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        EXPECT_EQ(FontOf(dialog, DeleteButtonId(slot)), templateFont) << slot;
        for (int id : {SaveButtonId(slot), LoadButtonId(slot)})
            EXPECT_EQ(FontOf(dialog, id), mode ? appState.mainFont : nullptr) << id;
    }
    for (int id : {IDC_CHARACTER_LIST, IDC_EXIT, IDC_ACTIVATE_GAME, IDC_INFORMATION, IDC_ABOUT})
        EXPECT_EQ(FontOf(dialog, id), mode ? appState.mainFont : nullptr) << id;
}

// Switched by hand both ways. The paint handler reports whether it painted,
// so with nothing invalid or in the plain look the dialog manager paints.
TEST(GraphicMode, FrameRegionFontsSkinAndListColoursFollowTheMode)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        // The dialog's answer to `message` in `mode`, on its thread after `prepare`.
        auto answer = [&](BYTE mode, UINT message, WPARAM wParam, std::function<void()> prepare) {
            INT_PTR result = 0;
            RunOnDialogThread(dialog, [&] {
                SetGraphicMode(dialog, mode);
                prepare();
                result = MainDialogProc(dialog, message, wParam, 0);
            });
            return result;
        };
        HFONT templateFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        ASSERT_NE(templateFont, nullptr);
        ExpectLook(dialog, 1, templateFont);
        LOGBRUSH brush = {};
        GetObjectA(appState.listBrush, sizeof brush, &brush);
        EXPECT_EQ(brush.lbColor, RGB(192, 0, 0));
        HDC screen = GetDC(dialog), skin = CreateCompatibleDC(nullptr);
        auto validate = [&] { UpdateWindow(dialog); ValidateRect(dialog, nullptr); };
        auto invalidate = [&] { UpdateWindow(dialog); InvalidateRect(dialog, nullptr, FALSE); };
        for (BYTE mode : {0, 1}) {
            SetBkColor(screen, RGB(1, 2, 3));
            INT_PTR listBrush = answer(mode, WM_CTLCOLORLISTBOX, WPARAM(screen), [] {});
            ExpectLook(dialog, mode, templateFont);
            EXPECT_EQ(listBrush, mode ? reinterpret_cast<INT_PTR>(appState.listBrush) : 0);
            EXPECT_EQ(GetBkColor(screen), mode ? RGB(192, 0, 0) : RGB(1, 2, 3));
            EXPECT_FALSE(answer(mode, WM_PAINT, 0, validate)) << int(mode);
            EXPECT_EQ(answer(mode, WM_PAINT, 0, invalidate), mode) << int(mode);
        }
        // Above the list box, on the upper arm, where no control sits.
        HGDIOBJ previous = SelectObject(skin, appState.skinBitmap);
        EXPECT_EQ(GetPixel(screen, 245, 40), GetPixel(skin, 245, 40));
        SelectObject(skin, previous);
        DeleteDC(skin);
        ReleaseDC(dialog, screen);
    });
}

TEST(GraphicMode, FontResolutionRuleDecidesOnlyOnTheFirstRun)
{
    MainWindowState state(1);
    const char* unknown =
        "If the dialog seems to be screwed up, right-click anywhere on it\n"
        "and select \"Toggle Graphic Mode\" to turn off the graphical interface";
    const char* other =
        "You are not using the default font resolution. This will cause the\n"
        "app to look screwed up in graphical mode. Therefore you are defaulted\n"
        "to non graphical mode. To turn on the graphics, right click on the dialog\n"
        "and select \"Toggle Graphic Mode\".";
    const struct { WORD logPixels; BYTE firstRun; const char* hint; BYTE modeAfter; } cases[] = {
        {0, 1, unknown, 1}, {120, 1, other, 0}, {96, 1, "", 1}, {120, 0, "", 1}};
    for (const auto& rule : cases) {
        SCOPED_TRACE(testing::Message() << rule.logPixels << ", first run " << int(rule.firstRun));
        appState.graphicMode = 1;
        appState.firstRun = rule.firstRun;
        auto box = AnswerMessageBox("Important hint!", IDOK, *rule.hint ? 10000 : 300);
        ApplyFontResolutionRuleAt(rule.logPixels);
        BoxSeen seen = box.get();
        EXPECT_EQ(seen.text, rule.hint);
        EXPECT_EQ(seen.found && seen.hasIcon && !seen.yesNo, *rule.hint != '\0');
        EXPECT_EQ(appState.graphicMode, rule.modeAfter);
    }
}
