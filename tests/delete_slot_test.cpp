// Deleting a slot: the store's side over real files and the X buttons of
// the real main dialog.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

namespace {

using Names = std::vector<std::string>;

const Names kSlotFiles = {"Amy.d2s", "Amy.one", "desc.txt"};

// Amy has all five slots; Bob has a slot 5 of his own.
class DeleteSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeDir(save.dir + "\\Amy");
        for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
            MakeDir(Slot("Amy", slot));
            for (const std::string& name : kSlotFiles)
                WriteBytes(Slot("Amy", slot) + "\\" + name, name);
        }
        MakeDir(save.dir + "\\Bob");
        MakeDir(Slot("Bob", 5));
        WriteBytes(Slot("Bob", 5) + "\\Bob.d2s", "bob's copy");
        WriteBytes(save.dir + "\\Amy.d2s", "savegame");
    }
    void TearDown() override
    {
        appState.characters = nullptr;   // the entry lives in the test
        CloseStrayDialogs();
    }

    std::string Slot(const char* name, int slot) const
    {
        return save.dir + "\\" + name + "\\" + std::to_string(slot);
    }

    // DeleteSlot, answering the question with `answer` and a warning, if
    // one comes, with OK.
    void Delete(int slot, int answer, DWORD warningWait = 300)
    {
        auto asked = AnswerMessageBox("Are you sure?", answer);
        auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
        DeleteSlot(&amy, slot);
        question = asked.get();
        warning = warned.get();
    }

    ScopedSavePath save{"delete"};
    MainWindowState window{0};
    CharacterEntry amy = MakeEntry("Amy", 31);
    BoxSeen question = {};
    BoxSeen warning = {};
};

bool PairEnabled(HWND dialog, int slot)
{
    bool load = IsWindowEnabled(GetDlgItem(dialog, LoadButtonId(slot))) != FALSE;
    EXPECT_EQ(load, IsWindowEnabled(GetDlgItem(dialog, DeleteButtonId(slot))) != FALSE) << slot;
    return load;
}

}  // namespace

TEST_F(DeleteSlots, YesRemovesTheSlotAndClearsOnlyItsBit)
{
    Delete(5, IDYES);

    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.text, "Do you really want to delete this slot?");
    EXPECT_TRUE(question.yesNo);
    EXPECT_FALSE(question.hasIcon);
    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_EQ(amy.slotMask, 15u);
    EXPECT_EQ(ListDir(save.dir + "\\Amy"), (Names{"1", "2", "3", "4"}));
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(ListDir(Slot("Amy", slot)), kSlotFiles) << slot;
    EXPECT_EQ(ListDir(Slot("Bob", 5)), (Names{"Bob.d2s"}));
    EXPECT_EQ(ReadBytes(save.dir + "\\Amy.d2s"), "savegame");
}

TEST_F(DeleteSlots, NoChangesNothing)
{
    Delete(2, IDNO);

    EXPECT_TRUE(question.found);
    EXPECT_EQ(ListDir(Slot("Amy", 2)), kSlotFiles);
    EXPECT_EQ(amy.slotMask, 31u);
}

TEST_F(DeleteSlots, ASubdirectoryKeepsTheSlotDirectoryAndIsReported)
{
    MakeDir(Slot("Amy", 2) + "\\extra");
    WriteBytes(Slot("Amy", 2) + "\\extra\\inside.txt", "not the tool's");

    Delete(2, IDYES, 10000);

    EXPECT_EQ(ListDir(Slot("Amy", 2)), (Names{"extra"}));
    EXPECT_EQ(ListDir(Slot("Amy", 2) + "\\extra"), (Names{"inside.txt"}));
    EXPECT_EQ(amy.slotMask, 31u & ~0x02u);
    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, "The slot could not be deleted completely. Some of its files are in "
                            "use or write-protected:\n" + Slot("Amy", 2));
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_FALSE(warning.yesNo);
}

TEST_F(DeleteSlots, TheXButtonFollowsTheAnswerAndASaveAfterwardsAsksNothing)
{
    amy.slotMask = 0x0A;   // slots 2 and 4 as the buttons know them
    appState.characters = &amy;
    BoxSeen overwrite = {};

    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        auto pressAndAnswer = [dialog](int id, int answer) {
            auto asked = AnswerMessageBox("Are you sure?", answer, answer == IDYES ? 10000 : 2000);
            PressButton(dialog, id);
            BoxSeen seen = asked.get();
            SyncWithDialog(dialog);
            return seen;
        };
        EXPECT_TRUE(pressAndAnswer(DeleteButtonId(4), IDNO).found);
        EXPECT_TRUE(PairEnabled(dialog, 4));

        EXPECT_TRUE(pressAndAnswer(DeleteButtonId(4), IDYES).found);
        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            EXPECT_EQ(PairEnabled(dialog, slot), slot == 2) << slot;

        auto prompt = std::async(std::launch::async, []() {
            HWND box = WaitForDialog("Please enter a description for the Backup");
            if (box) {
                SetDlgItemTextA(box, IDC_DESCRIPTION_EDIT, "again");
                PressButton(box, IDOK);
            }
        });
        overwrite = pressAndAnswer(SaveButtonId(4), IDNO);
        prompt.get();
        SyncWithDialog(dialog);
        EXPECT_TRUE(PairEnabled(dialog, 4));
    });

    EXPECT_FALSE(overwrite.found);
    EXPECT_EQ(ListDir(Slot("Amy", 4)), (Names{"Amy.d2s", "desc.txt"}));
    EXPECT_EQ(ReadBytes(Slot("Amy", 4) + "\\desc.txt"), "again");
    EXPECT_EQ(amy.slotMask, 0x0Au);
}
