// Tooltips of the main dialog: the fixed texts of the buttons and the slot
// information behind each Load button.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include <string>

#include "app/app_state.h"
#include "resource.h"
#include "store/characters.h"
#include "support/dialog_runner.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

namespace {

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTooltip(HWND window, LPARAM param)
{
    TooltipSearch* search = reinterpret_cast<TooltipSearch*>(param);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTooltip(HWND dialog)
{
    TooltipSearch search = {dialog, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), MatchTooltip,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Asks for a Load button's text as the tooltip does before it shows.
struct TipAnswer {
    INT_PTR result;
    const char* text;
};

TipAnswer RequestTipText(HWND dialog, HWND tooltip, int buttonId)
{
    TipAnswer answer = {0, nullptr};
    RunOnDialogThread(dialog, [&] {
        NMTTDISPINFOA request = {};
        request.hdr.hwndFrom = tooltip;
        request.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, buttonId));
        request.hdr.code = TTN_NEEDTEXTA;
        answer.result = MainDialogProc(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        answer.text = request.lpszText;
    });
    return answer;
}

}  // namespace

TEST(Tooltips, NineteenToolsInOrderWithTheirTextsAndDelays)
{
    MainWindowState state(1);
    RunMainDialog([&](HWND dialog) {
        HWND tooltip = FindTooltip(dialog);
        ASSERT_NE(tooltip, nullptr);
        LONG style = GetWindowLongA(tooltip, GWL_STYLE);
        EXPECT_EQ(style & (TTS_NOPREFIX | TTS_ALWAYSTIP), TTS_NOPREFIX | TTS_ALWAYSTIP);
        EXPECT_TRUE(GetWindowLongA(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 15);
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);

        const struct {
            int id;
            const char* text;   // null: asked for when shown
        } tools[] = {
            {IDC_LOAD_SLOT1, nullptr}, {IDC_LOAD_SLOT2, nullptr}, {IDC_LOAD_SLOT3, nullptr},
            {IDC_LOAD_SLOT4, nullptr}, {IDC_LOAD_SLOT5, nullptr},
            {IDC_DELETE_SLOT5, "Delete this slot"}, {IDC_DELETE_SLOT4, "Delete this slot"},
            {IDC_DELETE_SLOT3, "Delete this slot"}, {IDC_DELETE_SLOT2, "Delete this slot"},
            {IDC_DELETE_SLOT1, "Delete this slot"},
            {IDC_SAVE_SLOT5, "Save the current char"}, {IDC_SAVE_SLOT4, "Save the current char"},
            {IDC_SAVE_SLOT3, "Save the current char"}, {IDC_SAVE_SLOT2, "Save the current char"},
            {IDC_SAVE_SLOT1, "Save the current char"},
            {IDC_ACTIVATE_GAME, "Launches / Switches to Diablo II"},
            {IDC_INFORMATION, "Help"},
            {IDC_ABOUT, "About the author"},
            {IDC_EXIT, "You don't want to leave, do you?"},
        };
        ASSERT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 19);
        for (int index = 0; index < 19; ++index) {
            SCOPED_TRACE("tool " + std::to_string(index + 1));
            TOOLINFOA tool = {};
            tool.cbSize = sizeof tool;
            ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool)));
            EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tools[index].id)));
            EXPECT_EQ(tool.hwnd, dialog);
            EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), TTF_IDISHWND | TTF_SUBCLASS);
            // The Load buttons' texts are asked for when shown (tested below).
            if (!tools[index].text)
                continue;
            char text[80] = "";
            tool.lpszText = text;
            SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(text, tools[index].text);
        }
    });
}

TEST(Tooltips, LoadTipDescribesTheSlotOfTheCharacterSelectedAtThatMoment)
{
    MainWindowState state(1);
    ScopedSavePath save("tips");
    for (const char* name : {"Amy", "Bob"}) {
        std::string slot = save.dir + "\\" + name + "\\2";
        WriteBytes(save.dir + "\\" + name + ".d2s", "x");
        MakeDir(save.dir + "\\" + name);
        MakeDir(slot);
        WriteBytes(slot + "\\" + name + ".d2s", "x");
    }
    SetLastWriteTime(save.dir + "\\Amy\\2\\Amy.d2s", 2000, 3, 7, 9, 5);
    WriteBytes(save.dir + "\\Amy\\2\\desc.txt", "before Baal");
    SetLastWriteTime(save.dir + "\\Bob\\2\\Bob.d2s", 2001, 12, 24, 18, 30);
    ASSERT_TRUE(ScanCharacters());

    RunMainDialog([&](HWND dialog) {
        HWND tooltip = FindTooltip(dialog);
        ASSERT_NE(tooltip, nullptr);
        SelectListItem(dialog, 0);
        TipAnswer amy = RequestTipText(dialog, tooltip, IDC_LOAD_SLOT2);
        EXPECT_EQ(amy.result, TRUE);
        EXPECT_EQ(amy.text, appState.tipText);
        EXPECT_EQ(std::string(appState.tipText),
                  "Amy, Slot 2\r\nLast played: 7/3/2000 at 9:5\r\n\r\nbefore Baal");
        // Several lines need a width limit on the tip.
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 640);

        SelectListItem(dialog, 1);
        RequestTipText(dialog, tooltip, IDC_LOAD_SLOT2);
        EXPECT_EQ(std::string(appState.tipText), "Bob, Slot 2\r\nLast played: 24/12/2001 at 18:30");

        // Slot 5 of Bob holds nothing: the tip says what is missing.
        RequestTipText(dialog, tooltip, IDC_LOAD_SLOT5);
        EXPECT_EQ(std::string(appState.tipText).rfind("ERROR: couldn't find ", 0), 0u);
    });
}

TEST(Tooltips, ALoadTipWithoutASelectionIsEmpty)
{
    MainWindowState state(1);
    CharacterEntry amy = MakeEntry("Amy", 0x1F);
    appState.characters = &amy;
    strcpy(appState.tipText, "left over from before");

    RunMainDialog([&](HWND dialog) {
        HWND tooltip = FindTooltip(dialog);
        for (int id : {IDC_LOAD_SLOT1, IDC_LOAD_SLOT5}) {
            TipAnswer answer = RequestTipText(dialog, tooltip, id);
            EXPECT_EQ(answer.result, TRUE);
            ASSERT_EQ(answer.text, appState.tipText);
            EXPECT_STREQ(answer.text, "");
        }
        // Other notifications are left to the dialog manager.
        INT_PTR other = TRUE;
        RunOnDialogThread(dialog, [&] {
            NMHDR header = {tooltip, 0, static_cast<UINT>(TTN_SHOW)};
            other = MainDialogProc(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        });
        EXPECT_EQ(other, FALSE);
    });
    appState.characters = nullptr;
}
