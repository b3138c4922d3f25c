// Character discovery over real save directories.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "store/characters.h"
#include "support/files.h"
#include "support/ui_driver.h"

namespace {

std::vector<std::string> ListedNames()
{
    std::vector<std::string> names;
    for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next)
        names.push_back(entry->name);
    return names;
}

CharacterEntry* Find(const char* name)
{
    for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next)
        if (strcmp(entry->name, name) == 0)
            return entry;
    return nullptr;
}

// Scans while a helper thread watches for the "No savegames found!" warning.
BoxSeen ScanAnsweringWarning(DWORD timeoutMs)
{
    auto warning = AnswerMessageBox("Warning", IDOK, timeoutMs);
    EXPECT_TRUE(ScanCharacters());
    return warning.get();
}

}  // namespace

TEST(CharacterDiscovery, ListsSavegamesInSearchOrderAndCreatesCharacterDirectories)
{
    ScopedSavePath save("scan");
    for (const char* name : {"Zed.d2s", "Amy.d2s", "Bob.d2s", "Amy.key", "notes.txt"})
        WriteBytes(save.dir + "\\" + name, "x");

    BoxSeen warning = ScanAnsweringWarning(500);

    EXPECT_FALSE(warning.found);
    // Wine's search yields names alphabetically, as the platform does on NTFS.
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Amy", "Bob", "Zed"}));
    for (const char* name : {"Amy", "Bob", "Zed"}) {
        EXPECT_TRUE(DirectoryExists(save.dir + "\\" + name)) << name;
        EXPECT_EQ(Find(name)->slotMask, 0u) << name;
    }
}

TEST(CharacterDiscovery, SlotMaskCountsOnlyDirectoriesNamedOneToFive)
{
    ScopedSavePath save("mask");
    WriteBytes(save.dir + "\\Amy.d2s", "x");
    WriteBytes(save.dir + "\\Bob.d2s", "x");
    WriteBytes(save.dir + "\\Cid.d2s", "x");
    MakeDir(save.dir + "\\Amy");
    for (const char* slot : {"1", "3", "5"})
        MakeDir(save.dir + "\\Amy\\" + slot);
    WriteBytes(save.dir + "\\Amy\\2", "a file, not a slot");
    MakeDir(save.dir + "\\Bob");
    for (const char* other : {"01", "6", "Slot 2"})
        MakeDir(save.dir + "\\Bob\\" + other);
    MakeDir(save.dir + "\\Cid");
    MakeDir(save.dir + "\\Cid\\4");   // empty, still a slot

    ScanAnsweringWarning(200);

    EXPECT_EQ(Find("Amy")->slotMask, 21u);
    EXPECT_EQ(Find("Bob")->slotMask, 0u);
    EXPECT_EQ(Find("Cid")->slotMask, 0x08u);
}

TEST(CharacterDiscovery, NamesComeFromTheWholeMatchMinusItsExtension)
{
    ScopedSavePath save("names");
    MakeDir(save.dir + "\\Old.d2s");                  // a directory counts like a file
    WriteBytes(save.dir + "\\AMY.D2S", "x");          // the search ignores case
    WriteBytes(save.dir + "\\Tal.d2sx", "x");         // may match "*.d2s" by its short name
    WriteBytes(save.dir + "\\.d2s", "x");             // would leave no name at all
    WriteBytes(save.dir + "\\Sir Ray. Jr.d2s", "x");

    ScanAnsweringWarning(200);

    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"AMY", "Old", "Sir Ray. Jr"}));
}

TEST(CharacterDiscovery, AnEmptySavePathWarnsOnceAndLeavesTheListEmpty)
{
    ScopedSavePath save("empty");
    WriteBytes(save.dir + "\\readme.txt", "x");

    BoxSeen warning = ScanAnsweringWarning(10000);

    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, "No savegames found!");
    EXPECT_FALSE(warning.hasIcon);
    EXPECT_FALSE(warning.yesNo);
    EXPECT_EQ(GetCharacterList(), nullptr);
    EXPECT_TRUE(WaitForDialogGone("Warning", 200));
}

TEST(CharacterDiscovery, ASavePathEndingInABackslashWorks)
{
    ScopedSavePath save("slash", "\\");
    WriteBytes(save.dir + "\\Amy.d2s", "x");
    MakeDir(save.dir + "\\Amy");
    MakeDir(save.dir + "\\Amy\\2");

    ScanAnsweringWarning(200);

    ASSERT_NE(Find("Amy"), nullptr);
    EXPECT_EQ(Find("Amy")->slotMask, 0x02u);
}

TEST(CharacterDiscovery, ReleaseFreesTheListAndForgetsTheSavePath)
{
    ScopedSavePath save("release");
    WriteBytes(save.dir + "\\Amy.d2s", "x");
    WriteBytes(save.dir + "\\Bob.d2s", "x");
    ScanAnsweringWarning(200);
    ASSERT_NE(GetCharacterList(), nullptr);

    ReleaseCharacters();

    EXPECT_EQ(appState.characters, nullptr);
    EXPECT_EQ(appState.savePath, nullptr);
}
