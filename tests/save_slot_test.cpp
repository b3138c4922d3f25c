// Saving a character into a slot: the store's side over real files, the
// warning list, and the Save buttons of the real main dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/ui_driver.h"

namespace {

using Names = std::vector<std::string>;

const DWORD kAbsent = 300;   // how long to watch for a box that must not come

// Amy with a savegame and a key file and her character directory (which
// matches Amy.* too), and Bob, whose file must never be taken along.
class SaveToSlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(Saved("Amy.d2s"), "savegame");
        WriteBytes(Saved("Amy.key"), "keys");
        SetLastWriteTime(Saved("Amy.d2s"), 2000, 3, 7, 9, 5);
        WriteBytes(Saved("Bob.d2s"), "bob");
        MakeDir(Saved("Amy"));
    }
    void TearDown() override
    {
        appState.characters = nullptr;   // entries live in the test
        CloseStrayDialogs();
    }

    std::string Saved(const std::string& name) const { return save.dir + "\\" + name; }
    std::string InSlot(int slot, const std::string& name = "") const
    {
        return save.dir + "\\Amy\\" + std::to_string(slot) + (name.empty() ? "" : "\\" + name);
    }

    void MakeOccupiedSlot(int slot)
    {
        MakeDir(InSlot(slot));
        WriteBytes(InSlot(slot, "Amy.d2s"), "old savegame");
        WriteBytes(InSlot(slot, "Amy.old"), "only in the slot");
        WriteBytes(InSlot(slot, "desc.txt"), "old description");
        amy.slotMask |= SlotBit(slot);
    }

    // PrepareSlot, answering an overwrite question with `answer`, then
    // CopyToSlot unless the save stopped, pressing OK on a warning.
    bool Save(int slot, int answer, const char* description, DWORD warningWait = kAbsent)
    {
        auto asked = AnswerMessageBox("Are you sure?", answer, answer == IDYES ? 10000 : kAbsent);
        bool goOn = PrepareSlot(&amy, slot);
        question = asked.get();
        auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
        if (goOn)
            CopyToSlot(&amy, slot, description);
        warning = warned.get();
        return goOn;
    }

    ScopedSavePath save{"save"};
    MainWindowState window{0};
    CharacterEntry amy = MakeEntry("Amy", 0);
    BoxSeen question = {};
    BoxSeen warning = {};
};

bool PairEnabled(HWND dialog, int slot)
{
    bool load = IsWindowEnabled(GetDlgItem(dialog, LoadButtonId(slot))) != FALSE;
    EXPECT_EQ(load, IsWindowEnabled(GetDlgItem(dialog, DeleteButtonId(slot))) != FALSE) << slot;
    return load;
}

}  // namespace

TEST_F(SaveToSlot, AClosedDescriptionChangesNoSlot)
{
    MakeOccupiedSlot(2);
    ASSERT_TRUE(Save(2, IDYES, nullptr));
    EXPECT_TRUE(question.found);
    EXPECT_EQ(ListDir(InSlot(2)), (Names{"Amy.d2s", "Amy.old", "desc.txt"}));
    EXPECT_EQ(ReadBytes(InSlot(2, "Amy.d2s")), "old savegame");

    // An empty slot asks nothing and its new directory goes again.
    ASSERT_TRUE(Save(4, IDNO, nullptr));
    EXPECT_FALSE(question.found);
    EXPECT_FALSE(DirectoryExists(InSlot(4)));
    EXPECT_EQ(amy.slotMask, 0x02u);
}

TEST_F(SaveToSlot, OverwritingKeepsSlotOnlyFilesAndAnEmptyDescriptionKeepsTheOldOne)
{
    MakeOccupiedSlot(1);

    ASSERT_TRUE(Save(1, IDYES, ""));

    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_EQ(ListDir(InSlot(1)), (Names{"Amy.d2s", "Amy.key", "Amy.old", "desc.txt"}));
    EXPECT_EQ(ReadBytes(InSlot(1, "Amy.d2s")), "savegame");
    EXPECT_EQ(ReadBytes(InSlot(1, "Amy.old")), "only in the slot");
    EXPECT_EQ(ReadBytes(InSlot(1, "desc.txt")), "old description");

    // A shorter description replaces the old file entirely.
    ASSERT_TRUE(Save(1, IDYES, "new"));
    EXPECT_EQ(ReadBytes(InSlot(1, "desc.txt")), "new");
}

TEST_F(SaveToSlot, AFileHeldByTheGameIsReportedAndTheOthersAreSaved)
{
    HANDLE held = OpenExclusively(Saved("Amy.key"));
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    Save(5, IDNO, "abc", 10000);
    CloseHandle(held);

    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text, "The backup is incomplete. These files could not be copied:\nAmy.key");
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_FALSE(warning.yesNo);
    EXPECT_EQ(ListDir(InSlot(5)), (Names{"Amy.d2s", "desc.txt"}));
    EXPECT_EQ(amy.slotMask, 0x10u);
}

TEST_F(SaveToSlot, WhenNothingCouldBeCopiedTheSlotIsNotMarked)
{
    // Without the character directory no slot directory can be made.
    RemoveTree(Saved("Amy"));

    ASSERT_TRUE(Save(2, IDNO, "abc", 10000));

    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text,
              "The backup is incomplete. These files could not be copied:\nAmy.d2s\nAmy.key");
    EXPECT_EQ(amy.slotMask, 0u);
}

TEST_F(SaveToSlot, APathTooLongForTheSlotIsReportedNeverCut)
{
    // <save>\<name>.d2s fits, <save>\<name>\1\<name>.d2s does not.
    std::string name(120, 'k');
    std::string deep = save.dir + "\\" + std::string(60, 'd');
    MakeDir(deep);
    MakeDir(deep + "\\" + name);
    WriteBytes(deep + "\\" + name + ".d2s", "long");
    ASSERT_TRUE(FileExists(deep + "\\" + name + ".d2s"));
    char* shortPath = appState.savePath;
    appState.savePath = &deep[0];
    CharacterEntry knight = MakeEntry(name.c_str(), 0);

    auto warned = AnswerMessageBox("Warning", IDOK);
    EXPECT_TRUE(PrepareSlot(&knight, 1));
    CopyToSlot(&knight, 1, "abc");
    warning = warned.get();
    appState.savePath = shortPath;

    EXPECT_EQ(warning.text,
              "The backup is incomplete. These files could not be copied:\n" + name + ".d2s");
    EXPECT_EQ(knight.slotMask, 0u);
    EXPECT_EQ(ListDir(deep + "\\" + name + "\\1"), Names{});
}

TEST(FileListWarning, AListTooLongForTheBufferEndsInAnEllipsisBeforeTheClosingLine)
{
    const std::string closing = "Return to the main menu of Diablo II or close it, and try again.";
    FileList list;
    BeginFileList(&list, "Heading:\n", closing.c_str());
    std::string name(250, 'n');
    for (int i = 10; i < 50; ++i)
        AddToFileList(&list, (std::to_string(i) + name).c_str());
    char text[FILE_LIST_SIZE];
    FinishFileList(&list, text);
    std::string shown = text;

    EXPECT_EQ(list.count, 40);
    EXPECT_GT(shown.size(), sizeof text - 300) << "the list gave up long before the buffer was full";
    const std::string tail = "\n...\n" + closing;
    ASSERT_GT(shown.size(), tail.size());
    EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail);
    // Between the heading and the mark: whole names, in the order given.
    std::string names = shown.substr(9, shown.size() - tail.size() - 9);
    int expected = 10;
    for (size_t start = 0; start <= names.size(); ++expected) {
        size_t end = std::min(names.find('\n', start), names.size());
        EXPECT_EQ(names.substr(start, end - start), std::to_string(expected) + name);
        start = end + 1;
    }
}

// The Save buttons of the main dialog.

namespace {

// Waits for the description prompt and types `text` and presses OK, or
// closes it when `text` is null. False when no prompt came.
std::future<bool> AnswerPrompt(const char* text, DWORD timeoutMs = 10000)
{
    const char* caption = "Please enter a description for the Backup";
    std::string typed = text ? text : "";
    bool close = text == nullptr;
    return std::async(std::launch::async, [=]() {
        HWND prompt = WaitForDialog(caption, timeoutMs);
        if (!prompt)
            return false;
        if (close) {
            PostMessageA(prompt, WM_CLOSE, 0, 0);
        } else {
            SetDlgItemTextA(prompt, IDC_DESCRIPTION_EDIT, typed.c_str());
            PressButton(prompt, IDOK);
        }
        return WaitForDialogGone(caption, timeoutMs);
    });
}

}  // namespace

TEST_F(SaveToSlot, SavingIntoAnEmptySlotCopiesTheFilesAndEnablesItsButtons)
{
    CharacterEntry bob = MakeEntry("Bob", 0);
    amy.next = &bob;
    appState.characters = &amy;

    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        ASSERT_EQ(GetSelectedCharacter(dialog), &amy);
        EXPECT_FALSE(PairEnabled(dialog, 3));

        auto asked = AnswerMessageBox("Are you sure?", IDNO, kAbsent);
        auto warned = AnswerMessageBox("Warning", IDOK, kAbsent);
        auto prompt = AnswerPrompt("abc");
        PressButton(dialog, SaveButtonId(3));
        EXPECT_TRUE(prompt.get());
        SyncWithDialog(dialog);
        EXPECT_FALSE(asked.get().found);
        EXPECT_FALSE(warned.get().found) << "the character directory is no failed copy";

        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            EXPECT_EQ(PairEnabled(dialog, slot), slot == 3) << slot;
    });

    EXPECT_EQ(ListDir(InSlot(3)), (Names{"Amy.d2s", "Amy.key", "desc.txt"}));
    for (const char* name : {"Amy.d2s", "Amy.key"})
        EXPECT_EQ(ReadBytes(InSlot(3, name)), ReadBytes(Saved(name))) << name;
    FILETIME copied = GetLastWriteFileTime(InSlot(3, "Amy.d2s"));
    FILETIME original = GetLastWriteFileTime(Saved("Amy.d2s"));
    EXPECT_EQ(CompareFileTime(&copied, &original), 0);
    EXPECT_EQ(ReadBytes(InSlot(3, "desc.txt")), "abc");
    EXPECT_EQ(amy.slotMask, 0x04u);
    EXPECT_EQ(bob.slotMask, 0u);
}

TEST_F(SaveToSlot, SaveButtonsDoNothingWithoutASelection)
{
    appState.characters = &amy;
    std::future<BoxSeen> asked;
    std::future<bool> prompt;

    RunMainDialog([&](HWND dialog) {
        asked = AnswerMessageBox("Are you sure?", IDYES, kAbsent);
        prompt = AnswerPrompt("abc", kAbsent);
        for (int slot = 1; slot <= SLOT_COUNT; ++slot)
            PressButton(dialog, SaveButtonId(slot));
        SyncWithDialog(dialog);
    });

    EXPECT_FALSE(asked.get().found);
    EXPECT_FALSE(prompt.get());
    EXPECT_EQ(ListDir(save.dir + "\\Amy"), Names{});
}

TEST_F(SaveToSlot, NoToTheOverwriteQuestionShowsNoPromptAndChangesNothing)
{
    MakeOccupiedSlot(2);
    appState.characters = &amy;
    std::future<bool> prompt;

    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        auto asked = AnswerMessageBox("Are you sure?", IDNO);
        prompt = AnswerPrompt("abc", 1000);
        PressButton(dialog, SaveButtonId(2));
        question = asked.get();
        SyncWithDialog(dialog);
        EXPECT_TRUE(PairEnabled(dialog, 2));
    });

    EXPECT_EQ(question.text, "Do you really want to overwrite this slot?");
    EXPECT_TRUE(question.yesNo);
    EXPECT_FALSE(question.hasIcon);
    EXPECT_FALSE(prompt.get());
    EXPECT_EQ(ListDir(InSlot(2)), (Names{"Amy.d2s", "Amy.old", "desc.txt"}));
    EXPECT_EQ(ReadBytes(InSlot(2, "Amy.d2s")), "old savegame");
}
