// What a player's Save, Load and X presses leave on disk and in the buttons,
// with the questions and warnings met on the way.
#include "support/support.h"

namespace {

const std::string kAsk = "Are you sure?: Do you really want to ";
const std::string kOverwrite = kAsk + "overwrite this slot?", kDelete = kAsk + "delete this slot?";
const std::string kRestore = kAsk + "restore and overwrite your current game?";
const std::string kPrompt = "Please enter a description for the Backup";
const std::string kHeld = ": in use by another program", kBad = ": the path is too long or the "
                                                                 "name not allowed";
// A savegame of version 0x01010160 whose length and checksum are wrong.
const std::string kDamaged = "Amy.d2s=\x55\xaa\x55\xaa\x60\x01\x01\x01 cut";
const std::string kSaveAsked = "!Warning: Amy.d2s is damaged: Diablo II will not load it.\nSaving "
                               "it would put a damaged game into slot 2.\n\nSave it anyway?";
const std::string kKept = "!Warning: Slot 2 is deleted. ";
const std::string kBase = "Amy.d2s, Amy.key, Bob.d2s, Bob\\, Amy\\2\\Amy.d2s=old, "
                          "Amy\\2\\Amy.old=old, Amy\\2\\desc.txt=old";
HWND mainDialog;

// Whether every Save button is enabled, and Load and X just where the character has the slot.
bool ButtonsFollowSlots(HWND dialog, DWORD mask)
{
    const int buttons[5][3] = {{1002, 1009, 1012}, {1003, 1010, 1018}, {1004, 1011, 1019},
                               {1005, 1013, 1020}, {1006, 1014, 1021}};   // Save, Load, X
    bool follow = true;
    for (int slot = 0; slot < 5; ++slot)
        for (int i : {0, 1, 2})
            follow &= !IsWindowEnabled(GetDlgItem(dialog, buttons[slot][i])) ==
                      (i > 0 && !(mask & 1 << slot));
    return follow;
}

// Entries added to kBase; Amy's slots before the press and after it; the changes it makes to the
// save path, as MakeEntries takes them; the files held open meanwhile.
struct Row {
    std::string extra; DWORD mask; int button; Script script; Seen seen; DWORD after;
    std::string changes; std::vector<const char*> held = {};
};

}  // namespace

TEST(Slots, EachPressLeavesTheRightFilesButtonsAndBoxes)
{
    const Answer pickBobThenYes([](HWND box) {
        Select(mainDialog, 1);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
    const std::string kNothing = "!Warning: Nothing was restored; the files of Amy are as they "
                                 "were.\n", kEmpty = "!Warning: Nothing was saved; slot 5 stays "
                                                      "empty.\n";
    const std::string kNoFiles = "!Warning: This slot holds no files of Amy.";
    const std::string kOverSlot2 = "!Warning: Amy.d2s in slot 2 is damaged: Diablo II will not "
        "load it.\nRestoring it would put a damaged game in place of your current one.\n\nRestore "
        "it anyway?";
    const Answer pressDefault([](HWND box) {   // the button that Enter presses
        bool no = GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON;
        PostMessageA(box, WM_COMMAND, no ? IDNO : IDYES, 0);
    });
    const Row rows[] = {
        // Save: an empty slot at once, an occupied one after a question. A closed prompt or
        // a copy that failed everywhere changes nothing; other characters' files stay out.
        {"", 2, IDC_SAVE_SLOT3, {"=abc"}, {kPrompt}, 6,
         "Amy\\3\\Amy.d2s, Amy\\3\\Amy.key, Amy\\3\\desc.txt=abc"},
        {"", 2, IDC_SAVE_SLOT2, {"No"}, {kOverwrite}, 2, ""},
        {"", 2, IDC_SAVE_SLOT2, {"Yes", "Close"}, {kOverwrite, kPrompt}, 2, ""},
        {"", 2, IDC_SAVE_SLOT4, {"Close"}, {kPrompt}, 2, ""},
        {"Amy\\3\\", 6, IDC_SAVE_SLOT3, {"Yes", "Close"}, {kOverwrite, kPrompt}, 6, ""},
        {"Amy\\3=file", 2, IDC_SAVE_SLOT3, {"Yes", "=abc", "OK"}, {kOverwrite, kPrompt,
         "!Warning: Nothing was saved; slot 3 keeps its earlier backup.\nthe slot's folder: a "
         "file stands where the folder should be"}, 2, ""},
        {"", 2, IDC_SAVE_SLOT2, {"Yes", "="}, {kOverwrite, kPrompt}, 2,
         "Amy\\2\\Amy.d2s, Amy\\2\\Amy.key"},
        {"", 2, IDC_SAVE_SLOT5, {"=abc", "OK"}, {kPrompt, kEmpty + "Amy.key" + kHeld}, 2, "",
         {"Amy.key"}},
        {"", 2, IDC_SAVE_SLOT5, {"=abc", "OK"}, {kPrompt, kEmpty + "Amy.d2s" + kHeld +
         "\nAmy.key" + kHeld}, 2, "", {"Amy.d2s", "Amy.key"}},
        {"Amy.d2s.bak, Amy.ma0.old, Amy.b.d2s, Amy.b.c.key, Amy.bak\\", 0, IDC_SAVE_SLOT1, {"=x"},
         {kPrompt}, 1, "Amy\\1\\Amy.d2s, Amy\\1\\Amy.d2s.bak, Amy\\1\\Amy.key, "
         "Amy\\1\\Amy.ma0.old, Amy\\1\\desc.txt=x"},
        // A damaged savegame: asked about first, No by default; Yes goes on as for any other.
        {kDamaged, 2, IDC_SAVE_SLOT2, {pressDefault}, {kSaveAsked}, 2, ""},
        {kDamaged, 2, IDC_SAVE_SLOT2, {"Yes", "Yes", "=d"}, {kSaveAsked, kOverwrite,
         kPrompt}, 2, "Amy\\2\\" + kDamaged + ", Amy\\2\\Amy.key, Amy\\2\\desc.txt=d"},
        {"Bob\\2\\Bob.d2s=old", 2, IDC_SAVE_SLOT2, {pickBobThenYes, "=ne"}, {kOverwrite, kPrompt},
         2, "Amy\\2\\Amy.d2s, Amy\\2\\Amy.key, Amy\\2\\desc.txt=ne"},
        // Load: only after Yes, only the character's files, and nothing while one is held (the
        // savegame held as the game holds it is a row of the fault test).
        {"", 2, IDC_LOAD_SLOT2, {"No"}, {kRestore}, 2, ""},
        {"", 2, IDC_LOAD_SLOT2, {"Yes"}, {kRestore}, 2, "Amy.d2s=old, Amy.old=old"},
        {"", 2, IDC_LOAD_SLOT2, {"Yes", "OK"}, {kRestore, kNothing + "Amy.old" + kHeld}, 2, "",
         {"Amy\\2\\Amy.old"}},
        {"Amy\\2\\" + kDamaged, 2, IDC_LOAD_SLOT2, {pressDefault}, {kOverSlot2}, 2, ""},
        {"Amy\\2\\" + kDamaged, 2, IDC_LOAD_SLOT2, {"Yes", "Yes"}, {kOverSlot2, kRestore}, 2,
         kDamaged + ", Amy.old=old"},
        {"Amy\\3\\desc.txt", 6, IDC_LOAD_SLOT3, {"Yes", "OK"}, {kRestore, kNoFiles}, 6, ""},
        // X: after Yes the slot goes, and a slot already gone is forgotten; what stays is named.
        {"", 2, IDC_DELETE_SLOT2, {"No"}, {kDelete}, 2, ""},
        {"", 2, IDC_DELETE_SLOT2, {"Yes"}, {kDelete}, 0, "-Amy\\2"},
        {"", 6, IDC_DELETE_SLOT3, {"Yes"}, {kDelete}, 2, ""},
        {"Amy\\2\\extra\\", 2, IDC_DELETE_SLOT2, {"Yes", "OK"}, {kDelete, kKept + "These folders in "
         "it are not Slotkeeper's and were kept:\nextra\\\nThey are now in Amy\\Deleted slot 2 in "
         "the save path."}, 0, "-Amy\\2, Amy\\Deleted slot 2\\extra\\"},
        {"", 2, IDC_DELETE_SLOT2, {"Yes", "OK"}, {kDelete, kKept + "What is left of it is in use "
         "and goes at the next start:\nAmy.old"}, 0, "-Amy\\2, Amy\\_\\Amy.old=old, ~busy~\\Amy=d20",
         {"Amy\\2\\Amy.old"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "button " << row.button << ", " << row.changes);
        SavePath save({kBase, row.extra});
        MainWindowState state(0);
        CharacterEntry* amy = AddCharacter("Amy", row.mask);
        AddCharacter("Bob", 0);
        std::vector<HANDLE> held;
        for (const char* path : row.held)
            held.push_back(CreateFileA(save.At(path).c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        Seen seen;
        bool follow = false;
        ShowMainDialog([&](HWND dialog) {
            mainDialog = dialog;
            Select(dialog, 0);
            seen = Play(row.script, [&] { Click(dialog, row.button); });
            follow = ButtonsFollowSlots(dialog, GetSelectedCharacter(dialog) == amy ? row.after
                                                                                    : 0);
        });
        for (HANDLE handle : held) CloseHandle(handle);
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(amy->slotMask, row.after);
        EXPECT_TRUE(follow);
        EXPECT_EQ(save.Tree(), SavePath({kBase, row.extra, row.changes}).Tree());
    }
}

TEST(Slots, OddNamesAndDeepSavePathsWorkOrAreRefusedWithoutTouchingAnotherFile)
{
    SavePath save({"1\\keep"});   // where slot 1 of ".." would lie
    // An even length lets a slot copy's path reach exactly 260 characters, one too many.
    const std::string shallow = save.At(save.dir.size() % 2 ? "ss" : "s");
    const std::string deep = shallow + "\\" + std::string(248 - shallow.size(), 'd');
    const std::string longest((MAX_PATH - 1 - shallow.size() - 8) / 2, 'm'), over = longest + "m";
    const Seen works = {kPrompt, kRestore, kDelete};
    const struct { std::string path, name; Seen seen = {}; } rows[] = {   // no boxes: refused
        {shallow, "x."}, {shallow, "ab "}, {shallow, ".."}, {shallow, over}, {deep, "Amy"},
        {shallow, "Sir Ray Jr", works}, {shallow, "caf\xE9\xFC", works}, {shallow, longest, works},
        {deep, "Sorceress", {kPrompt, "!Warning: Nothing was saved; slot 1 stays empty.\n"
                             "Sorceress.*" + kBad}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.path.size()) + " " + row.name);
        const Seen seen = row.seen.size() ? row.seen : Seen{kPrompt, "!Warning: Nothing was saved; "
            "slot 1 stays empty.\n" + row.name + ".d2s" + kBad + "\n" + row.name + ".key" + kBad};
        const std::string at = row.path.substr(save.dir.size() + 1) + "\\" + row.name;
        MakeEntries(save.dir, {at + ".d2s", at + ".key", seen == works ? at + "\\" : ""});
        const std::string before = save.Tree();
        MainWindowState state(0);
        appState.savePath = strdup(row.path.c_str());
        CharacterEntry* entry = AddCharacter(row.name.c_str());
        ShowMainDialog([&](HWND dialog) {
            Select(dialog, 0);
            Script script = {"=odd", seen == works ? "Yes" : "OK", "Yes"};
            EXPECT_EQ(Play(script, [&] {
                Click(dialog, IDC_SAVE_SLOT1);
                if (entry->slotMask) {
                    Click(dialog, IDC_LOAD_SLOT1);
                    Click(dialog, IDC_DELETE_SLOT1);
                }
            }), seen);
        });
        EXPECT_EQ(save.Tree(), before);
    }
}
