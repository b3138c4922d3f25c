// Deleting a slot, through the store and the main dialog's X buttons.
#include <gtest/gtest.h>

#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"

namespace {

class DeleteSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(save.dir + "\\Amy.d2s", "savegame");
        MakeDir(save.dir + "\\Amy");
        for (int slot = 1; slot <= 5; ++slot) {
            MakeDir(Slot(slot));
            for (const char* name : {"Amy.d2s", "Amy.key", "desc.txt"})
                WriteBytes(Slot(slot) + "\\" + name, name);
        }
    }
    std::string Slot(int slot) const { return save.dir + "\\Amy\\" + std::to_string(slot); }
    ScopedSavePath save{"delete"};
    MainWindowState window{0};
    CharacterEntry amy = MakeEntry("Amy", 31);
};

}  // namespace

TEST_F(DeleteSlots, WhatIsLeftInTheSlotIsNamedAndASlotRemovedByHandIsCleared)
{
    MakeDir(Slot(2) + "\\extra");
    HANDLE held = OpenExclusively(Slot(2) + "\\Amy.key");
    auto asked = AnswerMessageBox("Are you sure?", IDYES);
    auto warned = AnswerMessageBox("Warning", IDOK);
    DeleteSlot(&amy, 2);
    CloseHandle(held);
    EXPECT_EQ(warned.get().text,
              "The slot could not be deleted completely. These are left in it:\nAmy.key\nextra\\");
    EXPECT_EQ(ListDir(Slot(2)), (std::vector<std::string>{"Amy.key", "extra"}));
    EXPECT_EQ(amy.slotMask, 29u);

    RemoveTree(Slot(4));
    asked = AnswerMessageBox("Are you sure?", IDYES);
    warned = AnswerMessageBox("Warning", IDOK, 300);
    DeleteSlot(&amy, 4);
    EXPECT_FALSE(warned.get().found);
    EXPECT_EQ(amy.slotMask, 21u) << "nothing of slot 4 is left";
}

TEST_F(DeleteSlots, TheXButtonFollowsTheAnswerAndSavingIntoTheFreedSlotAsksNothing)
{
    appState.characters = &amy;
    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        for (int answer : {IDNO, IDYES}) {
            auto asked = AnswerMessageBox("Are you sure?", answer);
            PressButton(dialog, DeleteButtonId(5));
            EXPECT_EQ(asked.get().text, "Do you really want to delete this slot?");
            SyncWithDialog(dialog);
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, DeleteButtonId(5))), answer == IDNO);
            EXPECT_EQ(ListDir(Slot(5)).size(), answer == IDNO ? 3u : 0u);
            EXPECT_EQ(amy.slotMask, answer == IDNO ? 31u : 15u);
        }
        auto asked = AnswerMessageBox("Are you sure?", IDNO, 1000);
        auto prompt = std::async(std::launch::async, []() {
            if (HWND box = WaitForDialog("Please enter a description for the Backup"))
                PressButton(box, IDOK);
        });
        PressButton(dialog, SaveButtonId(5));
        EXPECT_FALSE(asked.get().found) << "the slot is free again";
        prompt.get();
        SyncWithDialog(dialog);
    });
    appState.characters = nullptr;   // the entry lives in the test

    EXPECT_EQ(ListDir(Slot(5)), std::vector<std::string>{"Amy.d2s"});
}
