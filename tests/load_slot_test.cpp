// Restoring a slot over the character's files, with the game's lock as a real obstacle.
#include <gtest/gtest.h>

#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"

namespace {

using Names = std::vector<std::string>;

// Amy.d2s, Amy.one, Amy.two in the save path; slot 3 lacks Amy.two, slot 4 holds a directory.
class LoadFromSlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Amy.d2s", "Amy.one", "Amy.two"})
            WriteBytes(At(name), name);
        for (const char* directory : {"Amy", "Amy\\3", "Amy\\4", "Amy\\4\\Amy.dir"})
            MakeDir(At(directory));
        for (const char* name : {"Amy.d2s", "Amy.one", "desc.txt"})
            WriteBytes(At("Amy\\3\\") + name, std::string("slot ") + name);
    }
    std::string At(const std::string& path) const { return save.dir + "\\" + path; }
    bool Load(CharacterEntry* entry, int slot, int answer, DWORD warningWait = 300)
    {
        auto asked = AnswerMessageBox("Are you sure?", answer);
        auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
        bool result = LoadSlot(entry, slot);
        question = asked.get();
        warning = warned.get();
        return result;
    }
    Names Current() const
    {
        return {ReadBytes(At("Amy.d2s")), ReadBytes(At("Amy.one")), ReadBytes(At("Amy.two"))};
    }

    ScopedSavePath save{"load"};
    CharacterEntry amy = MakeEntry("Amy", 0x04);
    BoxSeen question = {}, warning = {};
    const Names untouched = {"Amy.d2s", "Amy.one", "Amy.two"};
};

}  // namespace

TEST_F(LoadFromSlot, NoChangesNothingAHeldFileStopsAllAndYesRestoresTheSlotsCopies)
{
    EXPECT_TRUE(Load(&amy, 3, IDNO));
    EXPECT_EQ(question.text, "Do you really want to restore and overwrite your current game?");
    HANDLE held = OpenExclusively(At("Amy.one"));
    EXPECT_TRUE(Load(&amy, 3, IDYES, 10000));
    CloseHandle(held);
    EXPECT_EQ(warning.text,
              "Nothing was restored. These files are in use or write-protected:\nAmy.one\n"
              "Return to the main menu of Diablo II or close it, and try again.");
    EXPECT_EQ(Current(), untouched);

    // Amy.one.old is Amy's own; Amy.b.c.key was saved before the character Amy.b claimed it.
    for (const char* name : {"Amy.one.old", "Amy.b.c.key"})
        WriteBytes(At("Amy\\3\\") + name, std::string("slot ") + name);
    WriteBytes(At("Amy.b.d2s"), "Amy.b.d2s");
    EXPECT_TRUE(Load(&amy, 3, IDYES));
    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_EQ(Current(), (Names{"slot Amy.d2s", "slot Amy.one", "Amy.two"}));
    EXPECT_EQ(ReadBytes(At("Amy.one.old")), "slot Amy.one.old");
    EXPECT_FALSE(FileExists(At("desc.txt")) || FileExists(At("Amy.b.c.key")));
}

TEST_F(LoadFromSlot, ASlotWithoutFilesOfTheCharacterSaysSoAndDescTakesItsDescriptionAlong)
{
    WriteBytes(At("Amy\\4\\desc.txt"), "only a description");
    EXPECT_FALSE(Load(&amy, 4, IDYES, 10000));
    EXPECT_EQ(warning.text, "This slot holds no files of Amy.");
    EXPECT_TRUE(warning.hasIcon && !warning.yesNo);

    MakeDir(At("desc"));
    MakeDir(At("desc\\1"));
    WriteBytes(At("desc\\1\\desc.d2s"), "slot desc");
    WriteBytes(At("desc\\1\\desc.txt"), "the description");
    CharacterEntry desc = MakeEntry("desc", 0x01);
    EXPECT_TRUE(Load(&desc, 1, IDYES));
    EXPECT_EQ(ReadBytes(At("desc.txt")), "the description");
}
