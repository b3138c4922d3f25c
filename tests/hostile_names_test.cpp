// Savegame names and save paths the game itself never makes: every savegame
// is listed, and a slot path that does not fit, or that the platform would
// shorten into another directory, is refused, so that no file outside the
// character's own slot changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "store/slot_operations.h"
#include "support/files.h"
#include "support/ui_driver.h"

namespace {

using Files = std::map<std::string, std::string>;
const DWORD kAbsent = 300;   // how long to watch for a box that must not come
const DWORD kShown = 10000;
const std::string kIncomplete = "The backup is incomplete. These files could not be copied:\n";

// A character made of <name>.d2s and <name>.key, or of a directory <name>.d2s.
// Its slot works unless the save warns or it has no files.
struct Character {
    std::string name;
    std::string saveWarning;
    bool directory = false;
};

// Runs a slot operation, answering its question Yes and its warning OK; the
// warning's text, or "" when none came.
std::string Operate(DWORD questionWait, DWORD warningWait, const std::function<void()>& operation)
{
    auto asked = AnswerMessageBox("Are you sure?", IDYES, questionWait);
    auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
    operation();
    asked.get();
    BoxSeen warning = warned.get();
    return warning.found ? warning.text : "";
}

// Scans the save path (no warning may come): each character with its mask.
std::map<std::string, DWORD> ScanListed()
{
    EXPECT_EQ(Operate(kAbsent, kAbsent, [] { ScanCharacters(); }), "");
    std::map<std::string, DWORD> listed;
    for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next)
        listed[entry->name] = entry->slotMask;
    return listed;
}

class HostileNames : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : written)
            DeleteFileW(Wide(path).c_str());
    }
    // The wide API with the \\?\ prefix reaches past MAX_PATH, so files whose
    // names the program's own calls cannot reach are made and read too.
    static std::wstring Wide(const std::string& path)
    {
        wchar_t wide[2 * MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 2 * MAX_PATH);
        return L"\\\\?\\" + std::wstring(wide);
    }
    void Write(const std::string& path, const std::string& bytes)
    {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD count = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
        CloseHandle(file);
        written.insert(path);
    }
    // The files directly in the save path, with their bytes.
    Files Snapshot(const std::string& dir)
    {
        Files files;
        for (const std::string& name : ListDir(dir)) {
            HANDLE file = CreateFileW(Wide(dir + "\\" + name).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                continue;   // a directory
            char bytes[1024];
            DWORD count = 0;
            ReadFile(file, bytes, sizeof bytes, &count, nullptr);
            CloseHandle(file);
            files[name] = std::string(bytes, count);
        }
        return files;
    }
    void Restore(const std::string& dir, const Files& files)
    {
        for (const auto& [name, bytes] : files)
            Write(dir + "\\" + name, bytes);
    }
    void Scan(const std::string& dir, const std::vector<Character>& characters);
    void CheckSlots(const std::string& dir, const std::vector<Character>& characters);

    ScopedSavePath save{"hnames"};
    std::set<std::string> written;   // removed at the end, long names too
};

// Makes the characters' files in the save path `dir` and scans it: each
// character is listed once, with no slot.
void HostileNames::Scan(const std::string& dir, const std::vector<Character>& characters)
{
    free(appState.savePath);
    appState.savePath = strdup(dir.c_str());
    std::map<std::string, DWORD> expected;
    for (const Character& c : characters) {
        if (c.directory)
            MakeDir(dir + "\\" + c.name + ".d2s");
        else
            for (const char* extension : {".d2s", ".key"})
                Write(dir + "\\" + c.name + extension, c.name + extension);
        expected[c.name] = 0;
    }
    EXPECT_EQ(ScanListed(), expected);
}

// Saves, describes, loads over played-on files and deletes slot 1 of each
// character, comparing the save path's files each time.
void HostileNames::CheckSlots(const std::string& dir, const std::vector<Character>& characters)
{
    for (const Character& c : characters) {
        CharacterEntry* entry = GetCharacterList();
        while (entry && c.name != entry->name)
            entry = entry->next;
        if (!entry)
            continue;
        SCOPED_TRACE(c.name);
        const bool saved = c.saveWarning.empty() && !c.directory;
        const std::string slot = dir + "\\" + c.name + "\\1";
        const Files before = Snapshot(dir);
        const std::vector<std::string> slots = ListDir(dir + "\\" + c.name);
        EXPECT_EQ(Operate(kAbsent, c.saveWarning.empty() ? kAbsent : kShown, [&] {
            bool created;
            if (PrepareSlot(entry, 1, &created))
                CopyToSlot(entry, 1, "hostile", created);
        }), c.saveWarning);
        EXPECT_EQ(entry->slotMask, saved ? 1u : 0u);
        EXPECT_EQ(ListDir(dir + "\\" + c.name) != slots, saved) << "a slot only with copies";
        EXPECT_EQ(Snapshot(dir), before);

        char text[SLOT_INFO_SIZE];
        FormatSlotInfo(text, entry, 1);
        std::string info = text, head = c.name + ", Slot 1\r\nLast played: ";
        if (saved) {
            std::vector<std::string> copies = {c.name + ".d2s", c.name + ".key", DESCRIPTION_FILE};
            std::sort(copies.begin(), copies.end());
            EXPECT_EQ(ListDir(slot), copies);
            EXPECT_EQ(info.substr(0, head.size()) + info.substr(info.size() - 11),
                      head + "\r\n\r\nhostile");
        } else {
            EXPECT_EQ(info, "ERROR: couldn't find " + slot + "\\" + c.name + ".d2s");
        }

        // The game has played on since: only this character's files go back.
        Files played = before, restored = before;
        for (auto& [name, bytes] : played) {
            bytes += " played";
            bool own = saved && (name == c.name + ".d2s" || name == c.name + ".key");
            restored[name] = own ? before.at(name) : bytes;
        }
        Restore(dir, played);
        EXPECT_EQ(Operate(kShown, saved ? kAbsent : kShown, [&] { LoadSlot(entry, 1); }),
                  saved ? "" : "This slot holds no files of " + c.name + ".");
        EXPECT_EQ(Snapshot(dir), restored);
        Restore(dir, before);

        EXPECT_EQ(Operate(kShown, kAbsent, [&] { DeleteSlot(entry, 1); }), "");
        EXPECT_EQ(entry->slotMask, 0u);
        EXPECT_TRUE(!saved || !DirectoryExists(slot));
        EXPECT_EQ(Snapshot(dir), before);
    }
}

}  // namespace

TEST_F(HostileNames, OddNamesAreListedAndTheirSlotsWorkOrAreRefusedWithoutTouchingOtherFiles)
{
    const std::string dir = save.dir + "\\s";
    MakeDir(dir);
    // Slot paths reach 2 * name + 8 characters past the save path.
    const std::string longest((MAX_PATH - 1 - dir.size() - 8) / 2, 'm');
    const std::string full(251, 'f');
    std::vector<Character> characters = {
        {"a", ""},
        {"a.b", ""},
        {"x", ""},
        {"x.", kIncomplete + "x..d2s\nx..key"},        // the platform's "x" directory
        {"ab ", kIncomplete + "ab .d2s\nab .key"},     // the platform's "ab" directory
        {"..", kIncomplete + "...d2s\n...key"},       // the save path's parent
        {"Sir Ray Jr", ""},
        {"caf\xE9\xFC", ""},
        {longest, ""},
        {longest + "m", kIncomplete + longest + "m.d2s\n" + longest + "m.key"},
        {full, kIncomplete + full + ".*"},
        {"Dir", "", true},
    };
    Scan(dir, characters);
    EXPECT_FALSE(DirectoryExists(dir + "\\ab"));   // "ab " has no directory of its own
    MakeDir(save.dir + "\\1");   // where slot 1 of ".." would lie
    WriteBytes(save.dir + "\\1\\keep", "not a slot");
    CheckSlots(dir, characters);
    EXPECT_EQ(ReadBytes(save.dir + "\\1\\keep"), "not a slot");
    EXPECT_TRUE(DirectoryExists(dir + "\\Dir.d2s"));
}

TEST_F(HostileNames, ASavePathNearTheLimitListsItsCharactersAndRefusesTheirSlots)
{
    // A save path of 250 characters in two steps, each made by the ANSI call.
    std::string dir = save.dir + "\\" + std::string(149 - save.dir.size(), 'd');
    MakeDir(dir);
    dir += "\\" + std::string(99, 'd');
    MakeDir(dir);
    ASSERT_TRUE(DirectoryExists(dir));
    // Amy's directory fits but not her copies; Sorceress's directory does not.
    const std::vector<Character> characters = {
        {"Amy", kIncomplete + "Amy.d2s\nAmy.key"},
        {"Sorceress", kIncomplete + "Sorceress.*"},
    };
    Scan(dir, characters);
    CheckSlots(dir, characters);
}

TEST_F(HostileNames, ThousandsOfCharactersAreAllListedWithTheirMasks)
{
    std::map<std::string, DWORD> expected;
    for (int i = 0; i < 3000; ++i) {
        std::string name = "c" + std::to_string(i);
        WriteBytes(save.dir + "\\" + name + ".d2s", "x");
        DWORD mask = i % 97 == 0 ? i % 32 : 0;
        if (mask)
            MakeDir(save.dir + "\\" + name);
        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            if (mask & SlotBit(slot))
                MakeDir(save.dir + "\\" + name + "\\" + std::to_string(slot));
        expected[name] = mask;
    }
    EXPECT_EQ(ScanListed(), expected);
}
