// Tooltips of the main dialog: the fixed texts of the buttons and the slot
// information behind each Load button.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "support/files.h"
#include "support/main_window.h"

// Asks for a Load button's text as the tooltip does before it shows.
static std::string RequestTipText(HWND dialog, HWND tooltip, int buttonId)
{
    NMTTDISPINFOA request = {};
    RunOnDialogThread(dialog, [&] {
        request.hdr = {tooltip, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, buttonId)),
                       static_cast<UINT>(TTN_NEEDTEXTA)};
        EXPECT_TRUE(MainDialogProc(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request)));
    });
    EXPECT_EQ(request.lpszText, appState.tipText);
    return appState.tipText;
}

// The Load tips are asked for when shown: the slot information of whichever
// character is selected then, and empty without one.
TEST(Tooltips, NineteenToolsInOrderWithTheirTextsAndLoadTipsOfTheSelectedCharacter)
{
    MainWindowState state(1);
    ScopedSavePath save("tips");
    for (std::string name : {"Amy", "Bob"}) {
        WriteBytes(save.dir + "\\" + name + ".d2s", "x");
        MakeDir(save.dir + "\\" + name);
        MakeDir(save.dir + "\\" + name + "\\2");
        WriteBytes(save.dir + "\\" + name + "\\2\\" + name + ".d2s", "x");
    }
    SetLastWriteTime(save.dir + "\\Amy\\2\\Amy.d2s", 2000, 3, 7, 9, 5);
    WriteBytes(save.dir + "\\Amy\\2\\desc.txt", "before Baal");
    SetLastWriteTime(save.dir + "\\Bob\\2\\Bob.d2s", 2001, 12, 24, 18, 30);
    ASSERT_TRUE(ScanCharacters());
    strcpy(appState.tipText, "left over from before");
    RunMainDialog([&](HWND dialog) {
        HWND tooltip = nullptr;   // the dialog's own, among the tooltips of all programs
        while ((tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr)) &&
               GetWindow(tooltip, GW_OWNER) != dialog) {
        }
        ASSERT_NE(tooltip, nullptr);
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 15);
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
        std::vector<std::pair<int, std::string>> tools;
        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            tools.push_back({LoadButtonId(slot), ""});
        for (int slot = SLOT_COUNT; slot >= 1; --slot)
            tools.push_back({DeleteButtonId(slot), "Delete this slot"});
        for (int slot = SLOT_COUNT; slot >= 1; --slot)
            tools.push_back({SaveButtonId(slot), "Save the current char"});
        tools.insert(tools.end(), {{IDC_ACTIVATE_GAME, "Launches / Switches to Diablo II"},
                                   {IDC_INFORMATION, "Help"}, {IDC_ABOUT, "About the author"},
                                   {IDC_EXIT, "You don't want to leave, do you?"}});
        ASSERT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 19);
        for (int index = 0; index < 19; ++index) {
            char text[80] = "";
            TOOLINFOA tool = {};
            tool.cbSize = sizeof tool;
            SendMessageA(tooltip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool));
            EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tools[index].first)));
            tool.lpszText = text;
            SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_EQ(text, tools[index].second) << "tool " << index + 1;
        }
        EXPECT_EQ(RequestTipText(dialog, tooltip, IDC_LOAD_SLOT2), "");
        SelectListItem(dialog, 0);
        EXPECT_EQ(RequestTipText(dialog, tooltip, IDC_LOAD_SLOT2),
                  "Amy, Slot 2\r\nLast played: 7/3/2000 at 9:5\r\n\r\nbefore Baal");
        EXPECT_EQ(SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 640);   // several lines
        SelectListItem(dialog, 1);
        EXPECT_EQ(RequestTipText(dialog, tooltip, IDC_LOAD_SLOT2),
                  "Bob, Slot 2\r\nLast played: 24/12/2001 at 18:30");
    });
}
