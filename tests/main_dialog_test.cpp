// The main dialog as a player meets it: the character list, the slot
// buttons that follow the selected character, and the ways out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "support/files.h"
#include "support/main_window.h"
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
