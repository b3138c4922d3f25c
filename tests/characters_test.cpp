// Character discovery over real save directories.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "store/characters.h"
#include "support/files.h"
#include "support/ui_driver.h"

namespace {

using Names = std::vector<std::string>;

// Scans while a helper thread answers a warning; each character listed as
// "name:slotMask", in list order.
Names Scan(BoxSeen* warning, DWORD warningWait = 300)
{
    auto box = AnswerMessageBox("Warning", IDOK, warningWait);
    EXPECT_TRUE(ScanCharacters());
    *warning = box.get();
    Names listed;
    for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next)
        listed.push_back(std::string(entry->name) + ":" + std::to_string(entry->slotMask));
    return listed;
}

}  // namespace

TEST(CharacterDiscovery, ListsSavegamesInSearchOrderWithMasksFromSlotDirectoriesOnly)
{
    ScopedSavePath save("scan");
    for (const char* name : {"Zed.d2s", "Amy.d2s", "Bob.d2s", "Cid.d2s", "Amy.key", "notes.txt"})
        WriteBytes(save.dir + "\\" + name, "x");
    for (const char* dir : {"Amy", "Amy\\1", "Amy\\3", "Amy\\5", "Bob", "Bob\\01", "Bob\\6",
                            "Bob\\Slot 2", "Bob\\12", "Cid", "Cid\\4"})
        MakeDir(save.dir + "\\" + dir);
    WriteBytes(save.dir + "\\Amy\\2", "a file, not a slot");
    BoxSeen warning;

    // The platform's search yields names alphabetically here.
    EXPECT_EQ(Scan(&warning), (Names{"Amy:21", "Bob:0", "Cid:8", "Zed:0"}));
    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_TRUE(DirectoryExists(save.dir + "\\Zed"));

    ReleaseCharacters();
    EXPECT_EQ(appState.characters, nullptr);
    EXPECT_EQ(appState.savePath, nullptr);
}

TEST(CharacterDiscovery, NamesAreTheWholeMatchMinusItsExtensionEvenBehindABackslash)
{
    ScopedSavePath save("names", "\\");
    MakeDir(save.dir + "\\Old.d2s");                  // a directory counts like a file
    WriteBytes(save.dir + "\\AMY.D2S", "x");
    WriteBytes(save.dir + "\\Tal.d2sx", "x");         // may match "*.d2s" by its short name
    WriteBytes(save.dir + "\\.d2s", "x");             // would leave no name at all
    WriteBytes(save.dir + "\\Sir Ray. Jr.d2s", "x");
    MakeDir(save.dir + "\\Sir Ray. Jr");
    MakeDir(save.dir + "\\Sir Ray. Jr\\2");
    BoxSeen warning;

    EXPECT_EQ(Scan(&warning), (Names{"AMY:0", "Old:0", "Sir Ray. Jr:2"}));
}

TEST(CharacterDiscovery, AnEmptySavePathWarnsOnceAndLeavesTheListEmpty)
{
    ScopedSavePath save("empty");
    WriteBytes(save.dir + "\\readme.txt", "x");
    BoxSeen warning;

    EXPECT_EQ(Scan(&warning, 10000), Names{});
    EXPECT_EQ(warning.text, "No savegames found!");
    EXPECT_FALSE(warning.hasIcon || warning.yesNo);
}
