// Broken and odd registry values on the way to the save path: too long, without
// terminator, of another type, or naming a file. The search must take, propose
// or drop each as a player would expect, and leave every file as it was.
#include <gtest/gtest.h>

#include <objbase.h>

#include <future>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/save_path.h"
#include "resource.h"
#include "store/characters.h"
#include "support/files.h"
#include "support/program.h"
#include "support/registry.h"
#include "support/ui_driver.h"

namespace {

const DWORD kAbsentMs = 1500;   // how long a box that must not appear is awaited
const char kNoSavegames[] = "No savegames found!";

// `start` filled up to `length` characters with `fill`.
std::string Long(const std::string& start, size_t length, char fill = 'x')
{
    return start + std::string(length - start.size(), fill);
}

// The tool's stored value as "type:data", or "absent".
std::string Stored()
{
    RegValue value = ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE);
    return value.present ? std::to_string(value.type) + ":" + value.data : "absent";
}

// Cancels the folder browser and confirms quitting; false when no browser opened.
bool QuitInBrowser(DWORD timeoutMs)
{
    HWND browser = WaitForDialogHolding("SysTreeView32", timeoutMs);
    if (!browser)
        return false;
    PressButton(browser, IDCANCEL);
    return AnswerMessageBox(QUIT_QUESTION_CAPTION, IDYES).get().found;
}

class HostileRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        CoInitialize(nullptr);
        WriteBytes(file, "not a folder");
    }
    void TearDown() override
    {
        CloseStrayDialogs();
        ReleaseCharacters();
        ClearAllKeys();
        CoUninitialize();
        RemoveTree(dir);
    }
    // Nothing in the directory may change, whatever the registry says.
    void ExpectFilesUntouched()
    {
        EXPECT_EQ(ListDir(dir), std::vector<std::string>{"save.txt"});
        EXPECT_EQ(ReadBytes(file), "not a folder");
    }
    std::string dir = MakeTempDir("hostile");
    std::string file = dir + "\\save.txt";
};

}  // namespace

// A value is taken whole or not at all: one that does not fit the 260-byte
// buffer counts as absent, even where a cut copy would name a folder.
TEST_F(HostileRegistry, StoredAndGameValuesAreTakenWholeOrCountAsAbsent)
{
    const std::string old = "C:\\Old";
    const struct {
        const char* what;
        DWORD type;                         // of the stored value
        std::string stored, user, machine;  // "" : absent
        std::string asked;                  // the proposal shown, "" for none
        std::string path;                   // "" : the user quits in the browser
    } rows[] = {
        {"259, backslashes", REG_SZ, Long(dir, 259, '\\'), "", "", "", Long(dir, 259, '\\')},
        {"260, no end", REG_SZ, Long(dir, 260, '\\'), "C:\\User", "", "C:\\User", "C:\\User"},
        {"300", REG_SZ, Long(dir, 300, '\\'), "", "C:\\Machine", "C:\\Machine", "C:\\Machine"},
        {"dword", REG_DWORD, "Q:\\x", "", "", "Q:\\x", ""},
        {"binary", REG_BINARY, dir + std::string("\0\\junk", 6), "", "", "", dir},
        {"a file", REG_SZ, file, "", "", "", file},
        // Only an absent user key lets the machine's value be read.
        {"user 300", REG_SZ, old, Long("C:\\User\\", 300), "C:\\Machine", old, old},
        {"machine 300", REG_SZ, "", "", Long("C:\\Machine\\", 300), "", ""},
        {"machine 260", REG_SZ, "", "", Long("C:\\Machine\\", 260), "", ""},
        {"machine 259", REG_SZ, "", "", Long("C:\\Machine\\", 259), Long("C:\\Machine\\", 259),
         Long("C:\\Machine\\", 259)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ClearAllKeys();
        if (!row.stored.empty())
            SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, row.type, row.stored);
        if (!row.user.empty())
            SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, REG_SZ, row.user);
        if (!row.machine.empty())
            SetValue(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_SAVE_PATH_VALUE, REG_SZ, row.machine);
        const std::string before = Stored();
        bool asked = !row.asked.empty(), quits = row.path.empty(), warned = asked && !quits;
        auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, quits ? IDNO : IDYES,
                                         asked ? 10000 : kAbsentMs);
        auto warning =
            AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK, warned ? 10000 : kAbsentMs);
        auto browser = std::async(std::launch::async, QuitInBrowser, quits ? 10000 : kAbsentMs);

        EXPECT_EQ(DiscoverSavePath(), !quits);
        EXPECT_EQ(question.get().text, row.asked);
        EXPECT_EQ(warning.get().found, warned);
        EXPECT_EQ(browser.get(), quits);
        EXPECT_EQ(appState.savePath ? appState.savePath : "", row.path);
        EXPECT_EQ(Stored(), warned ? "1:" + row.path : before);
        // Whatever was settled holds no savegame here: the scan warns and goes on.
        if (!quits) {
            auto scan = AnswerMessageBox("Warning", IDOK);
            EXPECT_TRUE(ScanCharacters());
            EXPECT_EQ(scan.get().text, kNoSavegames);
            EXPECT_EQ(GetCharacterList(), nullptr);
        }
        ReleaseCharacters();
        ExpectFilesUntouched();
    }
}

// A stored path naming a file passes the existence test; the whole program
// then warns that no savegame was found and still opens and closes normally.
TEST_F(HostileRegistry, AFileAsSavePathLeadsToAnEmptyMainWindow)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, file);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_NONE, std::string(1, '\0'));
    std::string temp = MakeTempDir("hostile_tmp");
    RunningProgram program = StartSlotkeeper(temp.c_str());
    ASSERT_TRUE(program.started);
    EXPECT_EQ(AnswerMessageBox("Warning", IDOK, 20000).get().text, kNoSavegames);
    HWND main = WaitForDialogWithControl("Slotkeeper", IDC_EXIT);
    EXPECT_NE(main, nullptr);
    PressButton(main, IDC_EXIT);
    EXPECT_EQ(WaitForExit(program), 0u);
    EXPECT_EQ(Stored(), "1:" + file);
    ExpectFilesUntouched();
    RemoveTree(temp);
}
