// The main dialog as a player meets it: the character list, the slot
// buttons that follow the selected character, and the ways out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "support/dialog_runner.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/ui_driver.h"
#include "ui/main/main_dialog.h"

namespace {

const int kLoadIds[] = {IDC_LOAD_SLOT1, IDC_LOAD_SLOT2, IDC_LOAD_SLOT3, IDC_LOAD_SLOT4, IDC_LOAD_SLOT5};
const int kDeleteIds[] = {IDC_DELETE_SLOT1, IDC_DELETE_SLOT2, IDC_DELETE_SLOT3, IDC_DELETE_SLOT4,
                          IDC_DELETE_SLOT5};
const int kSaveIds[] = {IDC_SAVE_SLOT1, IDC_SAVE_SLOT2, IDC_SAVE_SLOT3, IDC_SAVE_SLOT4, IDC_SAVE_SLOT5};

std::string ListItemText(HWND list, int index)
{
    char text[256] = "";
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Which Load and Delete buttons are enabled, as a bitmask like slotMask;
// 0x80 marks a Load button whose Delete button disagrees.
DWORD EnabledPairs(HWND dialog)
{
    DWORD mask = 0;
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        bool load = IsWindowEnabled(GetDlgItem(dialog, kLoadIds[slot - 1])) != FALSE;
        bool remove = IsWindowEnabled(GetDlgItem(dialog, kDeleteIds[slot - 1])) != FALSE;
        if (load != remove)
            mask |= 0x80;
        if (load)
            mask |= SlotBit(slot);
    }
    return mask;
}

bool AllSaveButtonsEnabled(HWND dialog)
{
    for (int id : kSaveIds)
        if (!IsWindowEnabled(GetDlgItem(dialog, id)))
            return false;
    return true;
}

class MainDialog : public ::testing::Test {
protected:
    void TearDown() override { appState.characters = nullptr; }

    // Links the entries in the given order, as the file search would.
    void LinkCharacters(std::vector<CharacterEntry*> entries)
    {
        for (size_t i = 0; i + 1 < entries.size(); ++i)
            entries[i]->next = entries[i + 1];
        appState.characters = entries.empty() ? nullptr : entries[0];
    }

    MainWindowState state{1};
};

}  // namespace

TEST_F(MainDialog, ListsCharactersSortedAndBindsEachItemToItsOwnEntry)
{
    CharacterEntry zed = MakeEntry("Zed", 0x01);
    CharacterEntry abe = MakeEntry("abe", 0x1F);
    CharacterEntry mona = MakeEntry("Mona", 0x05);
    LinkCharacters({&zed, &abe, &mona});

    INT_PTR result = RunMainDialog([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
        EXPECT_EQ(WindowText(dialog), "Slotkeeper");
        ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
        EXPECT_EQ(GetSelectedCharacter(dialog), nullptr);
        EXPECT_EQ(EnabledPairs(dialog), 0u);
        EXPECT_TRUE(AllSaveButtonsEnabled(dialog));

        const CharacterEntry* expected[] = {&abe, &mona, &zed};
        for (int index = 0; index < 3; ++index) {
            EXPECT_EQ(ListItemText(list, index), expected[index]->name);
            EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, index, 0),
                      reinterpret_cast<LRESULT>(expected[index]));
            SelectListItem(dialog, index);
            EXPECT_EQ(GetSelectedCharacter(dialog), expected[index]) << expected[index]->name;
            EXPECT_EQ(EnabledPairs(dialog), expected[index]->slotMask) << expected[index]->name;
        }
    });
    EXPECT_EQ(result, 0);
}

TEST_F(MainDialog, SelectionEnablesExactlyTheLoadAndDeletePairsOfTheSlotMask)
{
    CharacterEntry none = MakeEntry("Amy", 0);
    CharacterEntry all = MakeEntry("Bob", 0x1F);
    CharacterEntry oneAndThree = MakeEntry("Cid", 0x05);
    LinkCharacters({&none, &all, &oneAndThree});

    RunMainDialog([&](HWND dialog) {
        // Each step starts from a different set, so both directions are seen.
        const struct {
            int index;
            DWORD pairs;
        } steps[] = {{1, 0x1F}, {0, 0}, {2, 0x05}, {1, 0x1F}, {2, 0x05}, {0, 0}};
        for (const auto& step : steps) {
            SelectListItem(dialog, step.index);
            EXPECT_EQ(EnabledPairs(dialog), step.pairs) << "item " << step.index;
            EXPECT_TRUE(AllSaveButtonsEnabled(dialog));
        }
    });
}

TEST_F(MainDialog, SaveBeforeAnySelectionDoesNothing)
{
    ScopedSavePath save("nosel");
    WriteBytes(save.dir + "\\Amy.d2s", "x");
    ASSERT_TRUE(ScanCharacters());
    std::vector<std::string> before = ListDir(save.dir);

    RunMainDialog([&](HWND dialog) {
        for (int id : kSaveIds)
            PressButton(dialog, id);
        SyncWithDialog(dialog);
        // A prompt would be a second visible dialog of this process.
        EXPECT_EQ(WaitForWindow("#32770", "Please enter a description for the Backup", 300), nullptr);
        EXPECT_EQ(EnabledPairs(dialog), 0u);
    });

    EXPECT_EQ(ListDir(save.dir), before);
    EXPECT_EQ(ListDir(save.dir + "\\Amy"), std::vector<std::string>{});
}

TEST_F(MainDialog, EscapeAndEnterLeaveTheDialogOpen)
{
    CharacterEntry amy = MakeEntry("Amy", 0x03);
    LinkCharacters({&amy});

    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
        // From the keyboard, through the dialog manager, and as the commands.
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            PostMessageA(list, WM_KEYDOWN, key, 1);
            PostMessageA(list, WM_KEYUP, key, 0xC0000001);
        }
        PressButton(dialog, IDCANCEL);
        PressButton(dialog, IDOK);
        SyncWithDialog(dialog);
        EXPECT_FALSE(WaitUntilDestroyed(dialog, 300));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(EnabledPairs(dialog), 0x03u);
    });
}

TEST_F(MainDialog, ExitAndAltF4EndTheDialogWithZeroAndFreeTheSkin)
{
    const struct {
        const char* way;
        UINT message;
        WPARAM wParam;
    } ways[] = {
        {"Exit", WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED)},
        {"Alt+F4", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (BYTE mode : {0, 1}) {
        for (const auto& way : ways) {
            appState.graphicMode = mode;
            HGDIOBJ skin = nullptr;
            HGDIOBJ brush = nullptr;
            bool ended = false;
            INT_PTR result = RunMainDialog([&](HWND dialog) {
                skin = appState.skinBitmap;
                brush = appState.listBrush;
                PostMessageA(dialog, way.message, way.wParam, 0);
                ended = WaitUntilDestroyed(dialog);
            });
            SCOPED_TRACE(std::string(way.way) + (mode ? " in graphic mode" : " in plain mode"));
            EXPECT_TRUE(ended);
            EXPECT_EQ(result, 0);
            EXPECT_NE(skin, nullptr);
            EXPECT_NE(brush, nullptr);
            EXPECT_EQ(GetObjectType(skin), 0u);
            EXPECT_EQ(GetObjectType(brush), 0u);
            EXPECT_EQ(appState.skinBitmap, nullptr);
            EXPECT_EQ(appState.listBrush, nullptr);
        }
    }
}
