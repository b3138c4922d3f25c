// Restoring a slot over the character's current files, with the game's
// locks and write protection as real obstacles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

namespace {

using Names = std::vector<std::string>;

const DWORD kAbsent = 300;   // how long to watch for a box that must not come
const char kTryAgain[] = "\nReturn to the main menu of Diablo II or close it, and try again.";

// The save path holds Amy.d2s, Amy.one and Amy.two; slot 3 holds older
// Amy.d2s and Amy.one and the slot's description.
class LoadFromSlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(Saved("Amy.d2s"), "current savegame");
        WriteBytes(Saved("Amy.one"), "current one");
        WriteBytes(Saved("Amy.two"), "current two");
        MakeDir(Saved("Amy"));
        MakeDir(Slot(3));
        WriteBytes(InSlot("Amy.d2s"), "slot savegame");
        WriteBytes(InSlot("Amy.one"), "slot one");
        WriteBytes(InSlot("desc.txt"), "before the boss");
        SetLastWriteTime(InSlot("Amy.d2s"), 2000, 3, 7, 9, 5);
    }
    void TearDown() override { CloseStrayDialogs(); }

    std::string Saved(const std::string& name) const { return save.dir + "\\" + name; }
    std::string Slot(int slot) const { return save.dir + "\\Amy\\" + std::to_string(slot); }
    std::string InSlot(const std::string& name) const { return Slot(3) + "\\" + name; }

    // LoadSlot on `entry`, answering the question with `answer` and a
    // warning, if one comes, with OK.
    bool Load(CharacterEntry* entry, int slot, int answer, DWORD warningWait = kAbsent)
    {
        auto asked = AnswerMessageBox("Are you sure?", answer);
        auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
        bool result = LoadSlot(entry, slot);
        question = asked.get();
        warning = warned.get();
        return result;
    }

    Names CurrentFiles() const
    {
        return {ReadBytes(Saved("Amy.d2s")), ReadBytes(Saved("Amy.one")), ReadBytes(Saved("Amy.two"))};
    }

    ScopedSavePath save{"load"};
    CharacterEntry amy = MakeEntry("Amy", 0x04);
    BoxSeen question = {};
    BoxSeen warning = {};
    const Names untouched = {"current savegame", "current one", "current two"};
};

}  // namespace

TEST_F(LoadFromSlot, NoChangesNothingAndYesRestoresTheSlotsCopiesOnly)
{
    EXPECT_TRUE(Load(&amy, 3, IDNO));
    EXPECT_TRUE(question.found);
    EXPECT_EQ(CurrentFiles(), untouched);

    EXPECT_TRUE(Load(&amy, 3, IDYES));

    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.text, "Do you really want to restore and overwrite your current game?");
    EXPECT_TRUE(question.yesNo);
    EXPECT_FALSE(question.hasIcon);
    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_EQ(CurrentFiles(), (Names{"slot savegame", "slot one", "current two"}));
    FILETIME restored = GetLastWriteFileTime(Saved("Amy.d2s"));
    FILETIME copy = GetLastWriteFileTime(InSlot("Amy.d2s"));
    EXPECT_EQ(CompareFileTime(&restored, &copy), 0);
    EXPECT_FALSE(FileExists(Saved("desc.txt")));
    EXPECT_EQ(ListDir(Slot(3)), (Names{"Amy.d2s", "Amy.one", "desc.txt"}));
    EXPECT_EQ(amy.slotMask, 0x04u);

    // A second load gives the same files.
    WriteBytes(Saved("Amy.d2s"), "played on");
    EXPECT_TRUE(Load(&amy, 3, IDYES));
    EXPECT_EQ(CurrentFiles(), (Names{"slot savegame", "slot one", "current two"}));
}

TEST_F(LoadFromSlot, ACharacterNamedDescTakesTheDescriptionFileAlong)
{
    WriteBytes(Saved("desc.d2s"), "current desc");
    MakeDir(Saved("desc"));
    MakeDir(Saved("desc\\1"));
    WriteBytes(Saved("desc\\1\\desc.d2s"), "slot desc");
    WriteBytes(Saved("desc\\1\\desc.txt"), "the description");
    CharacterEntry desc = MakeEntry("desc", 0x01);

    EXPECT_TRUE(Load(&desc, 1, IDYES));

    EXPECT_EQ(ReadBytes(Saved("desc.d2s")), "slot desc");
    EXPECT_EQ(ReadBytes(Saved("desc.txt")), "the description");
    EXPECT_EQ(CurrentFiles(), untouched);
}

TEST_F(LoadFromSlot, AFileHeldByTheGameRestoresNothingAndSaysWhy)
{
    HANDLE held = OpenExclusively(Saved("Amy.one"));
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    bool result = Load(&amy, 3, IDYES, 10000);
    CloseHandle(held);

    EXPECT_TRUE(result);
    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, std::string("Nothing was restored. These files are in use or "
                                        "write-protected:\nAmy.one") + kTryAgain);
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_FALSE(warning.yesNo);
    EXPECT_EQ(CurrentFiles(), untouched);
}

TEST_F(LoadFromSlot, ACopyThatStillFailsIsReportedAfterTheOthers)
{
    // The slot's own copy is held, so the check of the save path passes and
    // the copy itself fails.
    HANDLE held = OpenExclusively(InSlot("Amy.one"));
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_TRUE(Load(&amy, 3, IDYES, 10000));
    CloseHandle(held);

    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, "The restore is incomplete. These files could not be copied:\nAmy.one");
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_EQ(CurrentFiles(), (Names{"slot savegame", "current one", "current two"}));
}

TEST_F(LoadFromSlot, ASlotWithoutFilesOfTheCharacterSaysSo)
{
    RemoveTree(Slot(3));
    MakeDir(Slot(3));
    WriteBytes(InSlot("desc.txt"), "only a description");
    MakeDir(InSlot("Amy.dir"));

    EXPECT_FALSE(Load(&amy, 3, IDYES, 10000));

    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, "This slot holds no files of Amy.");
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_FALSE(warning.yesNo);
    EXPECT_EQ(CurrentFiles(), untouched);
    EXPECT_FALSE(FileExists(Saved("desc.txt")));

    // A slot directory that is gone altogether is the same case.
    EXPECT_FALSE(Load(&amy, 4, IDYES, 10000));
    EXPECT_EQ(warning.text, "This slot holds no files of Amy.");
}
