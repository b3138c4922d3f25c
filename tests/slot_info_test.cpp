// The slot information shown as a Load button's tooltip, read from the slot's files.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "store/backup_store.h"
#include "store/characters.h"
#include "support/files.h"

namespace {

// Makes a slot whose savegame copy was last written at the given UTC time.
std::string MakeSlot(const std::string& saveDir, const char* name, int slot, WORD year,
                     WORD month, WORD day, WORD hour, WORD minute)
{
    std::string directory = saveDir + "\\" + name + "\\" + std::to_string(slot);
    MakeDir(saveDir + "\\" + name);
    MakeDir(directory);
    WriteBytes(directory + "\\" + name + ".d2s", "savegame");
    SetLastWriteTime(directory + "\\" + name + ".d2s", year, month, day, hour, minute, 42);
    return directory;
}

// Formats into a buffer between guard bytes, which must stay untouched.
std::string Format(const char* name, int slot)
{
    struct {
        char before[32];
        char text[SLOT_INFO_SIZE];
        char after[32];
    } guarded;
    memset(&guarded, 'G', sizeof guarded);
    CharacterEntry entry = {};
    strcpy(entry.name, name);
    FormatSlotInfo(guarded.text, &entry, slot);
    EXPECT_EQ(std::string(guarded.before, 32) + std::string(guarded.after, 32),
              std::string(64, 'G'));
    return guarded.text;
}

}  // namespace

TEST(SlotInfo, ShowsNameSlotAndLastPlayedWithoutLeadingZeros)
{
    ScopedSavePath save("info");
    MakeSlot(save.dir, "Kira", 2, 2000, 3, 7, 9, 5);
    MakeSlot(save.dir, "Kira", 5, 2001, 1, 1, 14, 7);
    EXPECT_EQ(Format("Kira", 2), "Kira, Slot 2\r\nLast played: 7/3/2000 at 9:5");
    EXPECT_EQ(Format("Kira", 5), "Kira, Slot 5\r\nLast played: 1/1/2001 at 14:7");
}

TEST(SlotInfo, TheDescriptionFollowsAfterOneEmptyLineUpToItsFirstNulOr1024Bytes)
{
    ScopedSavePath save("desc");
    std::string desc = MakeSlot(save.dir, "Amy", 1, 2001, 1, 1, 14, 7) + "\\desc.txt";
    const std::string head = "Amy, Slot 1\r\nLast played: 1/1/2001 at 14:7";
    std::string big(2000, 'd');
    big.replace(1023, 2, "LX");
    const std::pair<std::string, std::string> cases[] = {
        {"before Baal\r\nlevel 80", "\r\n\r\nbefore Baal\r\nlevel 80"},
        {"", ""},
        {std::string("0123456789\0tail", 15), "\r\n\r\n0123456789"},
        {big, "\r\n\r\n" + big.substr(0, 1024)},
    };
    for (const auto& [bytes, shown] : cases) {
        WriteBytes(desc, bytes);
        EXPECT_EQ(Format("Amy", 1), head + shown) << bytes.size() << " bytes";
    }

    HANDLE held = OpenExclusively(desc);
    EXPECT_EQ(Format("Amy", 1), head) << "held open by another program";
    CloseHandle(held);
}

TEST(SlotInfo, AMissingCopyNamesItsFullPathEvenBehindABackslashOrTooLongForAnyPath)
{
    ScopedSavePath save("missing", "\\");
    MakeSlot(save.dir, "Kira", 2, 2000, 3, 7, 9, 5);
    MakeDir(save.dir + "\\Kira\\3");
    WriteBytes(save.dir + "\\Kira\\3\\desc.txt", "only a description");
    const std::string error = "ERROR: couldn't find " + save.dir + "\\\\";
    const std::string name(250, 'n');

    EXPECT_EQ(Format("Kira", 2), "Kira, Slot 2\r\nLast played: 7/3/2000 at 9:5");
    EXPECT_EQ(Format("Kira", 3), error + "Kira\\3\\Kira.d2s");
    EXPECT_EQ(Format("Kira", 4), error + "Kira\\4\\Kira.d2s");
    EXPECT_EQ(Format(name.c_str(), 1), error + name + "\\1\\" + name + ".d2s");
}

TEST(SlotInfo, ACopyDatedOutsideTheCalendarShowsNoMadeUpDate)
{
    // Windows' own file systems keep no such time, but a Linux tmpfs under
    // Wine does: a copy dated 1500 reads back with the top bit set, which no
    // conversion to calendar time accepts.
    if (!DirectoryExists("Z:\\dev\\shm"))
        GTEST_SKIP() << "needs Wine with a tmpfs at /dev/shm";
    char temp[MAX_PATH] = "";
    DWORD hadTemp = GetEnvironmentVariableA("TMP", temp, MAX_PATH);
    SetEnvironmentVariableA("TMP", "Z:\\dev\\shm");
    ScopedSavePath save("time");
    SetEnvironmentVariableA("TMP", hadTemp ? temp : nullptr);
    std::string copy = MakeSlot(save.dir, "Kira", 2, 2000, 3, 7, 9, 5) + "\\Kira.d2s";

    // Wine starts the Linux program without a handle to wait on.
    char touch[] = "/usr/bin/touch -d 1500-01-01 Kira/2/Kira.d2s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, touch, nullptr, nullptr, FALSE, 0, nullptr,
                               save.dir.c_str(), &startup, &process));
    for (int i = 0; i < 200 && !(GetLastWriteFileTime(copy).dwHighDateTime & 0x80000000u); ++i)
        Sleep(50);
    EXPECT_EQ(Format("Kira", 2), "Kira, Slot 2\r\nLast played: unknown");
}
