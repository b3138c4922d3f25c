// The slot information shown as a Load button's tooltip, built from the
// slot's files on disk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "support/files.h"

namespace {

// The text buffer between two guard areas, to catch any write past it.
struct GuardedText {
    char before[32];
    char text[SLOT_INFO_SIZE];
    char after[32];
};

class SlotInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        memset(&entry_, 0, sizeof entry_);
        memset(&guarded_, 'G', sizeof guarded_);
    }

    // Makes slot `slot` of `name` with a savegame copy written at the given UTC time.
    std::string MakeSlot(const char* name, int slot, WORD year, WORD month, WORD day, WORD hour,
                         WORD minute)
    {
        strcpy(entry_.name, name);
        std::string directory = save_.dir + "\\" + name + "\\" + std::to_string(slot);
        MakeDir(save_.dir + "\\" + name);
        MakeDir(directory);
        std::string copy = directory + "\\" + name + ".d2s";
        WriteBytes(copy, "savegame");
        SetLastWriteTime(copy, year, month, day, hour, minute, 42);
        return directory;
    }

    std::string Format(int slot)
    {
        FormatSlotInfo(guarded_.text, &entry_, slot);
        EXPECT_EQ(std::string(guarded_.before, 32), std::string(32, 'G'));
        EXPECT_EQ(std::string(guarded_.after, 32), std::string(32, 'G'));
        EXPECT_NE(memchr(guarded_.text, '\0', SLOT_INFO_SIZE), nullptr);
        return guarded_.text;
    }

    ScopedSavePath save_{"info"};
    CharacterEntry entry_;
    GuardedText guarded_;
};

}  // namespace

TEST_F(SlotInfo, ShowsNameSlotAndLastPlayedWithoutLeadingZeros)
{
    MakeSlot("Kira", 2, 2000, 3, 7, 9, 5);
    EXPECT_EQ(Format(2), "Kira, Slot 2\r\nLast played: 7/3/2000 at 9:5");

    MakeSlot("Kira", 5, 2001, 1, 1, 14, 7);
    EXPECT_EQ(Format(5), "Kira, Slot 5\r\nLast played: 1/1/2001 at 14:7");
}

TEST_F(SlotInfo, DescriptionFollowsAfterOneEmptyLine)
{
    std::string slot = MakeSlot("Amy", 1, 2001, 1, 1, 14, 7);
    const std::string head = "Amy, Slot 1\r\nLast played: 1/1/2001 at 14:7";

    WriteBytes(slot + "\\desc.txt", "before Baal\r\nlevel 80");
    EXPECT_EQ(Format(1), head + "\r\n\r\nbefore Baal\r\nlevel 80");

    WriteBytes(slot + "\\desc.txt", "");
    EXPECT_EQ(Format(1), head);

    WriteBytes(slot + "\\desc.txt", std::string("0123456789\0tail", 15));
    EXPECT_EQ(Format(1), head + "\r\n\r\n0123456789");

    std::string big(2000, 'd');
    big[1023] = 'L';
    big[1024] = 'X';
    WriteBytes(slot + "\\desc.txt", big);
    EXPECT_EQ(Format(1), head + "\r\n\r\n" + big.substr(0, 1024));
}

TEST_F(SlotInfo, ADescriptionHeldOpenByAnotherProgramIsLeftOut)
{
    std::string slot = MakeSlot("Amy", 3, 2001, 1, 1, 14, 7);
    WriteBytes(slot + "\\desc.txt", "hidden");
    HANDLE held = OpenExclusively(slot + "\\desc.txt");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_EQ(Format(3), "Amy, Slot 3\r\nLast played: 1/1/2001 at 14:7");
    CloseHandle(held);
}

TEST_F(SlotInfo, AMissingSavegameCopyNamesTheFullPath)
{
    strcpy(entry_.name, "Amy");
    MakeDir(save_.dir + "\\Amy");
    MakeDir(save_.dir + "\\Amy\\4");
    WriteBytes(save_.dir + "\\Amy\\4\\desc.txt", "only a description");

    EXPECT_EQ(Format(4), "ERROR: couldn't find " + save_.dir + "\\Amy\\4\\Amy.d2s");
    EXPECT_EQ(Format(2), "ERROR: couldn't find " + save_.dir + "\\Amy\\2\\Amy.d2s");
}

TEST(SlotInfoPaths, ASavePathEndingInABackslashGivesADoubledSeparatorThatWorks)
{
    ScopedSavePath save("info_slash", "\\");
    CharacterEntry entry = {};
    strcpy(entry.name, "Kira");
    MakeDir(save.dir + "\\Kira");
    MakeDir(save.dir + "\\Kira\\2");
    WriteBytes(save.dir + "\\Kira\\2\\Kira.d2s", "x");
    SetLastWriteTime(save.dir + "\\Kira\\2\\Kira.d2s", 2000, 3, 7, 9, 5);
    char text[SLOT_INFO_SIZE];

    FormatSlotInfo(text, &entry, 2);
    EXPECT_STREQ(text, "Kira, Slot 2\r\nLast played: 7/3/2000 at 9:5");

    FormatSlotInfo(text, &entry, 3);
    EXPECT_EQ(std::string(text), "ERROR: couldn't find " + save.dir + "\\\\Kira\\3\\Kira.d2s");
}

TEST_F(SlotInfo, ALongNameStaysInsideTheBuffer)
{
    std::string name(250, 'n');
    strcpy(entry_.name, name.c_str());

    std::string text = Format(1);

    // Too long for any slot path: the copy cannot exist, and the text says
    // so in full.
    EXPECT_EQ(text, "ERROR: couldn't find " + save_.dir + "\\" + name + "\\1\\" + name + ".d2s");
}
