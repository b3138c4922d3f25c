// Settling the save path with real registry values, real message boxes and
// the real folder browser, answered from a second thread as a player would.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <future>
#include <string>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/settings.h"
#include "support/files.h"
#include "support/registry.h"
#include "support/ui_driver.h"

namespace {

const DWORD kAbsentMs = 1500;   // how long a box that must not appear is awaited
// Fills all 260 bytes, leaving no room for a terminator: counts as absent.
const std::string kTooLong = "C:\\" + std::string(MAX_PATH - 3, 'x');

RegValue StoredPath() { return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE); }
std::string SavePath() { return appState.savePath ? appState.savePath : "<null>"; }
void ForgetSavePath() { free(appState.savePath); appState.savePath = nullptr; }

// Chooses the folder `name` under the browser's root, or cancels; says what it did.
std::string UseBrowser(const char* name)
{
    HWND browser = WaitForDialogHolding("SysTreeView32");
    if (!browser)
        return "no browser";
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    bool found = false;
    for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item && name && !found;
         item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = {};
        TVITEMA info = {TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
        found = TreeView_GetItem(tree, &info) && strcmp(text, name) == 0 && TreeView_SelectItem(tree, item);
    }
    PressButton(browser, found ? IDOK : IDCANCEL);
    return !WaitForWindowGone(browser) ? "browser stays" : found ? name : "cancel";
}

class SavePathDiscovery : public ::testing::Test {
protected:
    void SetUp() override { ClearAllKeys(); CoInitialize(nullptr); }
    void TearDown() override
    {
        CloseStrayDialogs();
        ForgetSavePath();
        ClearAllKeys();
        CoUninitialize();
        RemoveTree(dir);
    }
    std::string dir = MakeTempDir("savepath");
};

}  // namespace

// Asked or not, the path ends up stored as the characters alone, no terminator.
TEST_F(SavePathDiscovery, StoredPathIsTakenOrTheUserKeyOrTheMachineKeyOrTheStaleValueProposed)
{
    const struct { bool asked; std::string stored, user, machine, path; } cases[] = {
        {false, dir + "\\\\", "C:\\Elsewhere", "", dir + "\\\\"},   // found without its backslashes
        {true, dir + "\\gone\\", "", "", dir + "\\gone\\"},
        {true, dir + "\\*", "", "", dir + "\\*"},   // a pattern names no single folder
        {true, "", "C:\\User\\Save\\", "C:\\Machine\\Save", "C:\\User\\Save\\"},
        {true, "C:\\Old", "", "C:\\Machine\\Save", "C:\\Machine\\Save"},
        {true, "C:\\Old", kTooLong, "", "C:\\Old"},
        // Read over the stale value, it must not leave that value's tail behind.
        {true, "C:\\Old\\Save", "D:\\G", "", "D:\\G"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stored " + c.stored + ", user " + c.user.substr(0, 20) + ", machine " + c.machine);
        ClearAllKeys();
        ForgetSavePath();
        if (!c.stored.empty())
            SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, c.stored);
        if (!c.user.empty())   // without terminator, as the tool itself stores a path
            SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, REG_SZ, c.user);
        if (!c.machine.empty())
            SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_SAVE_PATH_VALUE, c.machine);
        auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDYES, c.asked ? 10000 : kAbsentMs);
        auto warning = AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK, c.asked ? 10000 : kAbsentMs);
        EXPECT_TRUE(DiscoverSavePath());
        EXPECT_EQ(question.get().text, c.asked ? c.path : "");
        EXPECT_EQ(warning.get().text, c.asked ? RUNNING_GAME_WARNING_TEXT : "");
        EXPECT_EQ(SavePath(), c.path);
        EXPECT_EQ(StoredPath().data, c.path);
    }
}

TEST_F(SavePathDiscovery, WithoutAnyUsableValueTheBrowserOpensAtOnceAndOnlyYesQuits)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, kTooLong);
    auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, kAbsentMs);
    auto player = std::async(std::launch::async, [] {
        std::string events;
        for (int button : {IDNO, IDYES}) {
            events += UseBrowser(nullptr) + ", ";
            BoxSeen quit = AnswerMessageBox(QUIT_QUESTION_CAPTION, button).get();
            events += quit.text + (quit.yesNo && !quit.hasIcon ? " (yes/no); " : " (wrong box); ");
        }
        return events;
    });
    EXPECT_FALSE(DiscoverSavePath());
    const std::string round = "cancel, " QUIT_QUESTION_TEXT " (yes/no); ";
    EXPECT_EQ(player.get(), round + round);
    EXPECT_EQ(appState.savePath, nullptr);
    EXPECT_FALSE(question.get().found);
    EXPECT_EQ(StoredPath().data, kTooLong);
}

TEST_F(SavePathDiscovery, NoOpensTheBrowserWhichTakesOnlyAFolderWithAFullPath)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\Game\\Save");
    auto player = std::async(std::launch::async, [] {
        std::string events = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO).get().text;
        // A virtual folder has no path on disk: the browser opens again.
        for (const char* folder : {"My Computer", "Documents"})
            events += ", " + UseBrowser(folder);
        return events;
    });
    auto warning = AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK);
    EXPECT_TRUE(DiscoverSavePath());
    EXPECT_EQ(player.get(), "C:\\Game\\Save, My Computer, Documents");
    EXPECT_TRUE(warning.get().found);
    // The full path, not the display name; Wine's shell may add a trailing backslash.
    char documents[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
    std::string path = SavePath();
    EXPECT_EQ(path.substr(0, path.find_last_not_of('\\') + 1), documents);
    EXPECT_EQ(StoredPath().data, path);
}
