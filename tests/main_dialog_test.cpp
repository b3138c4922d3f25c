// The main dialog as a player meets it: the character list, the slot
// buttons that follow the selected character, and the ways out.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "support/disk.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/player.h"
#include "support/ui_driver.h"

// The enabled Load buttons as a slot mask; 0x80 when a Delete button disagrees.
static DWORD EnabledPairs(HWND dialog)
{
    DWORD mask = 0;
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        BOOL load = IsWindowEnabled(GetDlgItem(dialog, LoadButtonId(slot)));
        BOOL remove = IsWindowEnabled(GetDlgItem(dialog, DeleteButtonId(slot)));
        mask |= (load ? SlotBit(slot) : 0) | (!load != !remove ? 0x80 : 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, SaveButtonId(slot))));
    }
    return mask;
}

class MainDialog : public ::testing::Test {
protected:
    void TearDown() override { appState.characters = nullptr; }
    MainWindowState state{1};
};

TEST_F(MainDialog, ListsCharactersSortedAndEnablesExactlyThePairsOfTheSelectedOne)
{
    CharacterEntry zed = MakeEntry("Zed", 0), abe = MakeEntry("abe", 0x1F);
    CharacterEntry mona = MakeEntry("Mona", 0x05);
    zed.next = &abe;
    abe.next = &mona;
    appState.characters = &zed;
    RunMainDialog([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
        EXPECT_EQ(WindowText(dialog), "Slotkeeper");
        ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(GetSelectedCharacter(dialog), nullptr);
        EXPECT_EQ(EnabledPairs(dialog), 0u);
        const CharacterEntry* sorted[] = {&abe, &mona, &zed};
        for (int index : {0, 2, 1, 0, 2}) {   // every change of mask, both ways
            char text[32] = "";
            SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, sorted[index]->name);
            SelectListItem(dialog, index);
            EXPECT_EQ(GetSelectedCharacter(dialog), sorted[index]) << text;
            EXPECT_EQ(EnabledPairs(dialog), sorted[index]->slotMask) << text;
        }
    });
}

TEST_F(MainDialog, SaveBeforeAnySelectionDoesNothing)
{
    ScopedSavePath save("nosel");
    WriteBytes(save.dir + "\\Amy.d2s", "x");
    ASSERT_TRUE(ScanCharacters());
    RunMainDialog([&](HWND dialog) {
        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            PressButton(dialog, SaveButtonId(slot));
        SyncWithDialog(dialog);
        EXPECT_FALSE(WaitForWindow("#32770", "Please enter a description for the Backup", 300));
    });
    EXPECT_EQ(ListDir(save.dir), (std::vector<std::string>{"Amy", "Amy.d2s"}));
    EXPECT_TRUE(ListDir(save.dir + "\\Amy").empty());
}

// The keyboard's Escape and Enter arrive as these two commands.
TEST_F(MainDialog, EscapeAndEnterKeepTheDialogExitAndAltF4EndItWithZeroAndFreeTheSkin)
{
    for (auto way : {std::make_pair(UINT(WM_COMMAND), WPARAM(IDC_EXIT)),
                     std::make_pair(UINT(WM_SYSCOMMAND), WPARAM(SC_CLOSE))}) {
        HGDIOBJ skin = nullptr, brush = nullptr;
        INT_PTR result = RunMainDialog([&](HWND dialog) {
            skin = appState.skinBitmap;
            brush = appState.listBrush;
            PressButton(dialog, IDCANCEL);
            PressButton(dialog, IDOK);
            EXPECT_FALSE(WaitForWindowGone(dialog, 300));
            PostMessageA(dialog, way.first, way.second, 0);
            EXPECT_TRUE(WaitForWindowGone(dialog)) << way.first;
        });
        EXPECT_EQ(result, 0);
        EXPECT_NE(skin, nullptr);
        EXPECT_EQ(GetObjectType(skin), 0u);
        EXPECT_EQ(GetObjectType(brush), 0u);
        EXPECT_EQ(appState.skinBitmap, nullptr);
    }
}

// A slot operation waits for an answer while the window beneath stays
// usable: another slot command then does nothing, and a close waits until
// the operation has finished.
TEST_F(MainDialog, WhileASlotOperationWaitsOtherSlotCommandsDoNothingAndClosingWaits)
{
    // What the save and the restore ask, and leave behind, when they run alone.
    const Seen saveAsks = {"Are you sure?: Do you really want to overwrite this slot?",
                           "Please enter a description for the Backup"};
    const Seen restoreAsks = {"Are you sure?: Do you really want to restore and overwrite your current game?"};
    const char* saved = "Amy.d2s=new, Amy\\, Amy\\1\\, Amy\\1\\Amy.d2s=new, Amy\\1\\desc.txt=busy";
    const char* restored = "Amy.d2s=old, Amy\\, Amy\\1\\, Amy\\1\\Amy.d2s=old";
    const UINT command = WM_COMMAND;
    struct Row {
        const char* name;
        int first;                                          // the operation that waits
        std::vector<std::pair<UINT, WPARAM>> meanwhile;     // posted to the window then
        bool atPrompt;                                      // at the description prompt
        bool closes;
    } rows[] = {
        {"X of the same slot", IDC_SAVE_SLOT1, {{command, IDC_DELETE_SLOT1}}, false, false},
        {"other slot buttons", IDC_SAVE_SLOT1,
         {{command, IDC_SAVE_SLOT2}, {command, IDC_LOAD_SLOT1}, {command, IDC_SAVE_SLOT1}}, false, false},
        {"Exit", IDC_SAVE_SLOT1, {{command, IDC_EXIT}}, false, true},
        {"&Close", IDC_SAVE_SLOT1, {{WM_CONTEXTMENU, 0}}, false, true},
        {"WM_CLOSE", IDC_SAVE_SLOT1, {{WM_CLOSE, 0}}, false, true},
        {"Alt+F4", IDC_SAVE_SLOT1, {{WM_SYSCOMMAND, SC_CLOSE}}, false, true},
        {"close at the prompt", IDC_SAVE_SLOT1, {{WM_CLOSE, 0}}, true, true},
        {"Save, X and Exit at the restore question", IDC_LOAD_SLOT1,
         {{command, IDC_SAVE_SLOT2}, {command, IDC_DELETE_SLOT1}, {command, IDC_EXIT}}, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SavePath save({"Amy\\1\\Amy.d2s=old", "Amy.d2s=new"});
        ASSERT_TRUE(ScanCharacters());
        bool saves = row.first == IDC_SAVE_SLOT1;
        RunMainDialog([&](HWND dialog) {
            auto interfere = [&]() {
                for (const auto& [message, wParam] : row.meanwhile)
                    PostMessageA(dialog, message, wParam, 0);
                if (row.meanwhile[0].first == WM_CONTEXTMENU) {
                    HWND menu = WaitForWindow("#32768", nullptr, 5000);
                    PostMessageA(menu, WM_CHAR, 'c', 1);
                    WaitForWindowGone(menu, 5000);
                }
                SyncWithDialog(dialog);
                EXPECT_TRUE(IsWindowVisible(dialog)) << row.name;   // nothing ended under the operation
                EXPECT_EQ(IsWindowEnabled(dialog), !row.atPrompt) << row.name;
            };
            auto answerQuestion = [&](HWND box) {
                EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << row.name;
                if (!row.atPrompt)
                    interfere();
                PressButton(box, IDYES);
            };
            auto describe = [&](HWND window) {
                EXPECT_EQ(GetWindow(window, GW_OWNER), dialog) << row.name;
                EXPECT_TRUE(IsWindowVisible(dialog)) << row.name;
                if (row.atPrompt)
                    interfere();
                SetDlgItemTextA(window, IDC_DESCRIPTION_EDIT, "busy");
                PressButton(window, IDOK);
            };
            SelectListItem(dialog, 0);
            Seen seen = Play({Answer(answerQuestion), Answer(describe)}, [&]() { Click(dialog, row.first); });
            EXPECT_EQ(seen, saves ? saveAsks : restoreAsks);
            EXPECT_EQ(WaitForWindowGone(dialog, row.closes ? 5000 : 300), row.closes);
        });
        EXPECT_EQ(save.Tree(), saves ? saved : restored);
    }
}
