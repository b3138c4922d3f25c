// Saving a character into a slot, through the store and the main dialog's Save buttons.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"

namespace {

using Names = std::vector<std::string>;
const DWORD kAbsent = 300;   // how long to watch for a box that must not come
const std::string kIncomplete = "The backup is incomplete. These files could not be copied:\n";

// Directories match Amy.* too, Bob.d2s must stay behind, slot 2 holds older copies.
class SaveToSlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Amy.d2s", "Amy.key", "Bob.d2s"})
            WriteBytes(At(name), name);
        SetLastWriteTime(At("Amy.d2s"), 2000, 3, 7, 9, 5);
        for (const char* directory : {"Amy", "Amy\\2", "Amy.bak"})
            MakeDir(At(directory));
        for (const char* name : {"Amy.d2s", "Amy.old", "desc.txt"})
            WriteBytes(At("Amy\\2\\") + name, std::string("old ") + name);
    }
    std::string At(const std::string& path) const { return save.dir + "\\" + path; }
    // Through the store: `answer` to an overwrite question, OK to a warning.
    void Save(int slot, int answer, const char* description, DWORD warningWait = kAbsent)
    {
        auto asked = AnswerMessageBox("Are you sure?", answer, answer == IDYES ? 10000 : kAbsent);
        bool created;
        bool goOn = PrepareSlot(&amy, slot, &created);
        question = asked.get();
        auto warned = AnswerMessageBox("Warning", IDOK, warningWait);
        if (goOn)
            CopyToSlot(&amy, slot, description, created);
        warning = warned.get();
    }

    ScopedSavePath save{"save"};
    MainWindowState window{0};
    CharacterEntry amy = MakeEntry("Amy", 0x02);
    BoxSeen question = {}, warning = {};
};

// Types `text` into the description prompt and presses OK; false if none came.
std::future<bool> AnswerPrompt(const char* text, DWORD timeoutMs = 10000)
{
    return std::async(std::launch::async, [text, timeoutMs]() {
        HWND prompt = WaitForDialog("Please enter a description for the Backup", timeoutMs);
        if (!prompt)
            return false;
        SetDlgItemTextA(prompt, IDC_DESCRIPTION_EDIT, text);
        PressButton(prompt, IDOK);
        return WaitForWindowGone(prompt, timeoutMs);
    });
}

}  // namespace

TEST_F(SaveToSlot, SaveButtonsNeedASelectionAskBeforeOverwritingAndSaveAnEmptySlotAtOnce)
{
    // A copy the player made by hand is Amy's; the character Amy.b claims its own files.
    for (const char* name : {"Amy.d2s.bak", "Amy.b.d2s", "Amy.b.c.key"})
        WriteBytes(At(name), name);
    appState.characters = &amy;
    RunMainDialog([&](HWND dialog) {
        auto prompt = AnswerPrompt("abc", kAbsent);
        for (int slot = 1; slot <= 5; ++slot)
            PressButton(dialog, SaveButtonId(slot));
        EXPECT_FALSE(prompt.get()) << "without a selection";

        SelectListItem(dialog, 0);
        auto asked = AnswerMessageBox("Are you sure?", IDNO);
        prompt = AnswerPrompt("abc", 1000);
        PressButton(dialog, SaveButtonId(2));
        question = asked.get();
        EXPECT_FALSE(prompt.get()) << "after No";

        auto warned = AnswerMessageBox("Warning", IDOK, kAbsent);
        prompt = AnswerPrompt("abc");
        PressButton(dialog, SaveButtonId(3));
        EXPECT_TRUE(prompt.get());
        SyncWithDialog(dialog);
        EXPECT_FALSE(warned.get().found) << "the character directory is no failed copy";
        for (int slot = 1; slot <= 5; ++slot)
            for (int id : {LoadButtonId(slot), DeleteButtonId(slot)})
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE, slot == 2 || slot == 3);
    });
    appState.characters = nullptr;   // the entries live in the test

    EXPECT_EQ(question.text, "Do you really want to overwrite this slot?");
    EXPECT_TRUE(question.yesNo && !question.hasIcon);
    EXPECT_EQ(ListDir(At("Amy\\2")), (Names{"Amy.d2s", "Amy.old", "desc.txt"}));
    EXPECT_EQ(ListDir(At("Amy\\3")), (Names{"Amy.d2s", "Amy.d2s.bak", "Amy.key", "desc.txt"}));
    FILETIME copied = GetLastWriteFileTime(At("Amy\\3\\Amy.d2s"));
    FILETIME original = GetLastWriteFileTime(At("Amy.d2s"));
    EXPECT_EQ(CompareFileTime(&copied, &original), 0);
    EXPECT_EQ(ReadBytes(At("Amy\\3\\desc.txt")), "abc");
}

TEST_F(SaveToSlot, AClosedDescriptionChangesNoSlotAndAnEmptyOneKeepsTheOldText)
{
    Save(2, IDYES, nullptr);
    EXPECT_EQ(ListDir(At("Amy\\2")), (Names{"Amy.d2s", "Amy.old", "desc.txt"}));
    Save(4, IDNO, nullptr);
    EXPECT_FALSE(DirectoryExists(At("Amy\\4")));
    MakeDir(At("Amy\\4"));   // an empty slot directory is still a slot
    Save(4, IDYES, nullptr);
    EXPECT_TRUE(DirectoryExists(At("Amy\\4")));
    EXPECT_EQ(amy.slotMask, 0x02u);
    Save(2, IDYES, "");
    EXPECT_FALSE(warning.found) << warning.text;
    EXPECT_EQ(ListDir(At("Amy\\2")), (Names{"Amy.d2s", "Amy.key", "Amy.old", "desc.txt"}));
    EXPECT_EQ(ReadBytes(At("Amy\\2\\Amy.d2s")), "Amy.d2s");
    EXPECT_EQ(ReadBytes(At("Amy\\2\\desc.txt")), "old desc.txt");

    Save(2, IDYES, "new");
    EXPECT_EQ(ReadBytes(At("Amy\\2\\desc.txt")), "new") << "a shorter text replaces the file";
}

TEST_F(SaveToSlot, FilesThatCannotBeCopiedAreNamedAndOnlyACopyMarksTheSlot)
{
    HANDLE held = OpenExclusively(At("Amy.key"));
    HANDLE game = OpenExclusively(At("Amy.d2s"));
    Save(5, IDNO, "abc", 10000);
    CloseHandle(game);
    EXPECT_EQ(warning.text, kIncomplete + "Amy.d2s\nAmy.key");
    EXPECT_FALSE(DirectoryExists(At("Amy\\5"))) << "a new slot that received nothing is no slot";
    Save(5, IDNO, "abc", 10000);
    CloseHandle(held);
    EXPECT_EQ(warning.text, kIncomplete + "Amy.key");
    EXPECT_TRUE(warning.hasIcon && !warning.yesNo);
    EXPECT_EQ(ListDir(At("Amy\\5")), (Names{"Amy.d2s", "desc.txt"}));
    EXPECT_EQ(amy.slotMask, 0x12u);
    RemoveTree(At("Amy"));   // no slot directory can be made
    Save(3, IDNO, "abc", 10000);
    EXPECT_EQ(warning.text, kIncomplete + "Amy.d2s\nAmy.key");
    EXPECT_EQ(amy.slotMask, 0x12u);

    // More names than the warning holds: whole names, then "..." at the end.
    std::set<std::string> names = {"Amy.d2s", "Amy.key"};
    for (int i = 0; i < 40; ++i)
        names.insert("Amy." + std::string(60, static_cast<char>('a' + i % 26)) + std::to_string(i));
    for (const std::string& name : names)
        WriteBytes(At(name), "x");
    Save(3, IDNO, "abc", 10000);
    ASSERT_EQ(warning.text.compare(0, kIncomplete.size(), kIncomplete), 0);
    std::istringstream listed(warning.text.substr(kIncomplete.size()));
    int whole = 0;
    for (std::string line; std::getline(listed, line);) {
        if (names.count(line))
            ++whole;
        else
            EXPECT_EQ(line, "...");
    }
    EXPECT_LT(warning.text.size(), static_cast<size_t>(FILE_LIST_SIZE));
    EXPECT_GT(whole, 25);
    EXPECT_EQ(warning.text.substr(warning.text.size() - 4), "\n...");
}

TEST_F(SaveToSlot, AYesToTheOverwriteQuestionSavesTheCharacterItWasAskedFor)
{
    MakeDir(At("Bob"));
    MakeDir(At("Bob\\2"));
    WriteBytes(At("Bob\\2\\Bob.d2s"), "Bob's backup");
    CharacterEntry bob = MakeEntry("Bob", 0x02);
    amy.next = &bob;
    appState.characters = &amy;
    RunMainDialog([&](HWND dialog) {
        SelectListItem(dialog, 0);
        auto prompt = AnswerPrompt("abc");
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(SaveButtonId(2), BN_CLICKED), 0);
        HWND box = WaitForDialog("Are you sure?");
        SelectListItem(dialog, 1);   // the main window stays usable behind the question
        PressButton(box, IDYES);
        EXPECT_TRUE(prompt.get());
        SyncWithDialog(dialog);
    });
    appState.characters = nullptr;

    EXPECT_EQ(ReadBytes(At("Amy\\2\\Amy.d2s")), "Amy.d2s");
    EXPECT_EQ(ListDir(At("Bob\\2")), (Names{"Bob.d2s"}));
    EXPECT_EQ(ReadBytes(At("Bob\\2\\Bob.d2s")), "Bob's backup");
}
