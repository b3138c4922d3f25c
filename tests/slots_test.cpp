// What a player's Save, Load and X presses leave on disk and in the buttons,
// with the questions and warnings met on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/characters.h"
#include "support/disk.h"
#include "support/player.h"
#include "support/window.h"
#include "ui/main/main_dialog.h"

namespace {

const char kOverwrite[] = "Are you sure?: Do you really want to overwrite this slot?";
const char kRestore[] = "Are you sure?: Do you really want to restore and overwrite your current game?";
const char kDelete[] = "Are you sure?: Do you really want to delete this slot?";
const char kPrompt[] = "Please enter a description for the Backup";
const std::string kIncomplete = "!Warning: The backup is incomplete. These files could not be copied:\n";
const std::string kLeft = "!Warning: The slot could not be deleted completely. These are left in it:\n";
// Amy, Bob and the older copies in Amy's slot 2; a row adds to it.
const std::string kBase = "Amy.d2s, Amy.key, Amy\\, Amy\\2\\, Amy\\2\\Amy.d2s=old, "
                          "Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=old, Bob.d2s, Bob\\";
HWND mainDialog;

// A tree written in any order, as Tree() writes it.
std::string Sorted(const std::string& tree)
{
    std::vector<std::string> entries;
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 2)
        entries.push_back(tree.substr(start, (end = tree.find(", ", start)) - start));
    std::sort(entries.begin(), entries.end());
    std::string joined;
    for (const std::string& entry : entries)
        joined += (joined.empty() ? "" : ", ") + entry;
    return joined;
}

HANDLE Hold(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

struct Row {
    Entries extra;
    DWORD mask;                   // Amy's slots before the press
    int button;
    Script script;
    Seen seen;
    DWORD after;                  // her slots afterwards
    std::string tree;             // the save path afterwards, kBase when empty
    std::vector<const char*> held = {};
};

}  // namespace

TEST(Slots, EachPressLeavesTheRightFilesButtonsAndBoxes)
{
    const Answer pickBobThenYes([](HWND box) {
        Select(mainDialog, 1);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
    const Row rows[] = {
        // Save: an empty slot at once, an occupied one after a question; a closed prompt or a
        // copy that failed everywhere changes nothing, and other characters' files stay out.
        {{}, 2, IDC_SAVE_SLOT3, {"=abc"}, {kPrompt}, 6, kBase + ", Amy\\3\\, Amy\\3\\Amy.d2s, "
         "Amy\\3\\Amy.key, Amy\\3\\desc.txt=abc"},
        {{}, 2, IDC_SAVE_SLOT2, {"No"}, {kOverwrite}, 2, ""},
        {{}, 2, IDC_SAVE_SLOT2, {"Yes", "Close"}, {kOverwrite, kPrompt}, 2, ""},
        {{}, 2, IDC_SAVE_SLOT4, {"Close"}, {kPrompt}, 2, ""},
        {{"Amy\\3\\"}, 6, IDC_SAVE_SLOT3, {"Yes", "Close"}, {kOverwrite, kPrompt}, 6,
         kBase + ", Amy\\3\\"},
        {{"Amy\\3=file"}, 2, IDC_SAVE_SLOT3, {"Yes", "=abc", "OK"},
         {kOverwrite, kPrompt, kIncomplete + "Amy.d2s\nAmy.key"}, 2, kBase + ", Amy\\3=file"},
        {{}, 2, IDC_SAVE_SLOT2, {"Yes", "="}, {kOverwrite, kPrompt}, 2, "Amy.d2s, Amy.key, Amy\\, "
         "Amy\\2\\, Amy\\2\\Amy.d2s, Amy\\2\\Amy.key, Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=old, "
         "Bob.d2s, Bob\\"},
        {{}, 2, IDC_SAVE_SLOT5, {"=abc", "OK"}, {kPrompt, kIncomplete + "Amy.key"}, 0x12,
         kBase + ", Amy\\5\\, Amy\\5\\Amy.d2s, Amy\\5\\desc.txt=abc", {"Amy.key"}},
        {{}, 2, IDC_SAVE_SLOT5, {"=abc", "OK"}, {kPrompt, kIncomplete + "Amy.d2s\nAmy.key"}, 2, "",
         {"Amy.d2s", "Amy.key"}},
        {{"Amy.d2s.bak", "Amy.ma0.old", "Amy.b.d2s", "Amy.b.c.key", "Amy.bak\\"}, 0,
         IDC_SAVE_SLOT1, {"=x"}, {kPrompt}, 1, kBase + ", Amy.b.c.key, Amy.b.d2s, Amy.bak\\, "
         "Amy.d2s.bak, Amy.ma0.old, Amy\\1\\, Amy\\1\\Amy.d2s, Amy\\1\\Amy.d2s.bak, "
         "Amy\\1\\Amy.key, Amy\\1\\Amy.ma0.old, Amy\\1\\desc.txt=x"},
        {{"Bob\\2\\", "Bob\\2\\Bob.d2s=old"}, 2, IDC_SAVE_SLOT2, {pickBobThenYes, "=new"},
         {kOverwrite, kPrompt}, 2, "Amy.d2s, Amy.key, Amy\\, Amy\\2\\, Amy\\2\\Amy.d2s, "
         "Amy\\2\\Amy.key, Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=new, Bob.d2s, Bob\\, Bob\\2\\, "
         "Bob\\2\\Bob.d2s=old"},
        // Load: only after Yes, only the character's files, and nothing while one is held.
        {{}, 2, IDC_LOAD_SLOT2, {"No"}, {kRestore}, 2, ""},
        {{}, 2, IDC_LOAD_SLOT2, {"Yes"}, {kRestore}, 2, "Amy.d2s=old, Amy.key, Amy.old=old, "
         "Amy\\, Amy\\2\\, Amy\\2\\Amy.d2s=old, Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=old, "
         "Bob.d2s, Bob\\"},
        {{}, 2, IDC_LOAD_SLOT2, {"Yes", "OK"}, {kRestore, "!Warning: Nothing was restored. These "
         "files are in use or write-protected:\nAmy.d2s\nReturn to the main menu of Diablo II or "
         "close it, and try again."}, 2, "", {"Amy.d2s"}},
        {{}, 2, IDC_LOAD_SLOT2, {"Yes", "OK"}, {kRestore, "!Warning: The restore is incomplete. "
         "These files could not be copied:\nAmy.old"}, 2, "Amy.d2s=old, Amy.key, Amy\\, Amy\\2\\, "
         "Amy\\2\\Amy.d2s=old, Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=old, Bob.d2s, Bob\\",
         {"Amy\\2\\Amy.old"}},
        {{"Amy\\3\\", "Amy\\3\\desc.txt"}, 6, IDC_LOAD_SLOT3, {"Yes", "OK"},
         {kRestore, "!Warning: This slot holds no files of Amy."}, 6,
         kBase + ", Amy\\3\\, Amy\\3\\desc.txt"},
        // X: after Yes the slot goes, and a slot already gone is forgotten; what stays is named.
        {{}, 2, IDC_DELETE_SLOT2, {"No"}, {kDelete}, 2, ""},
        {{}, 2, IDC_DELETE_SLOT2, {"Yes"}, {kDelete}, 0, "Amy.d2s, Amy.key, Amy\\, Bob.d2s, Bob\\"},
        {{}, 6, IDC_DELETE_SLOT3, {"Yes"}, {kDelete}, 2, ""},
        {{"Amy\\2\\extra\\"}, 2, IDC_DELETE_SLOT2, {"Yes", "OK"}, {kDelete, kLeft + "extra\\"}, 0,
         "Amy.d2s, Amy.key, Amy\\, Amy\\2\\, Amy\\2\\extra\\, Bob.d2s, Bob\\"},
        {{}, 2, IDC_DELETE_SLOT2, {"Yes", "OK"}, {kDelete, kLeft + "Amy.old"}, 0,
         "Amy.d2s, Amy.key, Amy\\, Amy\\2\\, Amy\\2\\Amy.old=old, Bob.d2s, Bob\\",
         {"Amy\\2\\Amy.old"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "button " << row.button << ", " << row.tree);
        SavePath save({"Amy.d2s", "Amy.key", "Bob.d2s", "Amy\\2\\Amy.d2s=old", "Amy\\2\\Amy.old=old",
                       "Amy\\2\\desc.txt=old", "Bob\\"});
        MakeEntries(save.dir, row.extra);
        MainWindowState state(0);
        CharacterEntry* amy = AddCharacter("Amy", row.mask);
        AddCharacter("Bob", 0);
        std::vector<HANDLE> held;
        for (const char* path : row.held)
            held.push_back(Hold(save.At(path)));
        Seen seen;
        DWORD enabled = 0;
        ShowMainDialog([&](HWND dialog) {
            mainDialog = dialog;
            Select(dialog, 0);
            seen = Play(row.script, [&] { Click(dialog, row.button); });
            enabled = EnabledSlots(dialog) ^ GetSelectedCharacter(dialog)->slotMask;
        });
        for (HANDLE handle : held)
            CloseHandle(handle);
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(amy->slotMask, row.after);
        EXPECT_EQ(enabled, 0u) << "the buttons follow the selected character's slots";
        EXPECT_EQ(save.Tree(), Sorted(row.tree.empty() ? kBase : row.tree));
    }
}

TEST(Slots, OddNamesAndDeepSavePathsWorkOrAreRefusedWithoutTouchingAnotherFile)
{
    SavePath save({"1\\keep"});   // where slot 1 of ".." would lie
    const std::string shallow = save.At("s"), deep = shallow + "\\" + std::string(248 - shallow.size(), 'd');
    const std::string longest((MAX_PATH - 1 - shallow.size() - 8) / 2, 'm'), over = longest + "m";
    const Seen works = {kPrompt, kRestore, kDelete};
    auto refused = [](const std::string& name, const std::string& files) {
        return Seen{kPrompt, kIncomplete + (files.empty() ? name + ".d2s\n" + name + ".key" : files)};
    };
    const struct {
        std::string path, name;
        Seen seen;
    } rows[] = {
        {shallow, "x.", refused("x.", "")}, {shallow, "ab ", refused("ab ", "")},
        {shallow, "..", refused("..", "")}, {shallow, "Sir Ray Jr", works}, {shallow, "caf\xE9\xFC", works},
        {shallow, longest, works}, {shallow, over, refused(over, "")},
        {deep, "Amy", refused("Amy", "")}, {deep, "Sorceress", refused("", "Sorceress.*")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.path.size()) + " " + row.name);
        const std::string at = row.path.substr(save.dir.size() + 1) + "\\" + row.name;
        MakeEntries(save.dir, {at + ".d2s", at + ".key"});
        if (row.seen == works)
            MakeEntries(save.dir, {at + "\\"});
        const std::string before = save.Tree();
        MainWindowState state(0);
        appState.savePath = strdup(row.path.c_str());
        CharacterEntry* entry = AddCharacter(row.name.c_str());
        ShowMainDialog([&](HWND dialog) {
            Select(dialog, 0);
            Script script = row.seen == works ? Script{"=odd", "Yes", "Yes"} : Script{"=odd", "OK"};
            EXPECT_EQ(Play(script, [&] {
                Click(dialog, IDC_SAVE_SLOT1);
                if (entry->slotMask) {
                    Click(dialog, IDC_LOAD_SLOT1);
                    Click(dialog, IDC_DELETE_SLOT1);
                }
            }), row.seen);
        });
        EXPECT_EQ(save.Tree(), before);
    }
}
