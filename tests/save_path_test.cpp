// Settling the save path: the stored value, the game's key, the question,
// the folder browser and the quit loop, with real registry values and real
// message boxes answered from a second thread as a player would.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/settings.h"
#include "support/files.h"
#include "support/registry.h"
#include "support/ui_driver.h"

namespace {

const DWORD kAbsentMs = 1500;     // how long a box that must not appear is awaited

using Events = std::vector<std::string>;

// Runs a player's script on its own thread while the test thread sits in
// the program's modal loops; the script reports what it met, in order.
std::future<Events> Play(std::function<void(Events&)> script)
{
    return std::async(std::launch::async, [script]() {
        Events events;
        script(events);
        return events;
    });
}

BoxSeen Answer(const char* caption, int button, DWORD timeoutMs = 10000)
{
    return AnswerMessageBox(caption, button, timeoutMs).get();
}

// Presses Cancel in the folder browser; false when no browser showed.
bool CancelBrowser(DWORD timeoutMs = 10000)
{
    HWND browser = WaitForDialogHolding("SysTreeView32", timeoutMs);
    if (!browser)
        return false;
    PressButton(browser, IDCANCEL);
    return WaitForWindowGone(browser);
}

// Selects the folder shown as `name` right under the browser's root and
// presses OK; false when there was no browser or no such folder.
bool ChooseInBrowser(const char* name)
{
    HWND browser = WaitForDialogHolding("SysTreeView32");
    if (!browser)
        return false;
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item;
         item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = {};
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        if (TreeView_GetItem(tree, &info) && strcmp(text, name) == 0) {
            TreeView_SelectItem(tree, item);
            PressButton(browser, IDOK);
            return WaitForWindowGone(browser);
        }
    }
    return false;
}

std::string DocumentsFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    return path;
}

std::string WithoutTrailingBackslash(std::string path)
{
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

void StorePath(const std::string& path)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, path);
}

RegValue StoredPath()
{
    return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE);
}

// 260 characters fill the whole buffer with no room for a terminator: such
// a value counts as absent, and nothing may be read past the buffer.
std::string TooLongPath()
{
    return "C:\\" + std::string(MAX_PATH - 3, 'x');
}

std::string SavePath()
{
    return appState.savePath ? appState.savePath : "<null>";
}

class SavePathDiscovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        ForgetSavePath();
        CoInitialize(nullptr);
    }
    void TearDown() override
    {
        CloseStrayDialogs();
        ForgetSavePath();
        ClearAllKeys();
        CoUninitialize();
        for (const std::string& dir : dirs)
            RemoveTree(dir);
    }
    std::string NewDir(const char* tag)
    {
        dirs.push_back(MakeTempDir(tag));
        return dirs.back();
    }
    static void ForgetSavePath()
    {
        free(appState.savePath);
        appState.savePath = nullptr;
    }
    // Answers the proposal with Yes and acknowledges the warning.
    static std::future<Events> ConfirmProposal()
    {
        return Play([](Events& events) {
            BoxSeen question = Answer(SAVE_PATH_QUESTION_CAPTION, IDYES);
            events.push_back(question.found ? "asked: " + question.text : "no question");
            if (question.found && (!question.yesNo || question.hasIcon))
                events.push_back("question is not a plain Yes/No box");
            BoxSeen warning = Answer(RUNNING_GAME_WARNING_CAPTION, IDOK);
            events.push_back(warning.found ? "warned" : "no warning");
            if (warning.found && (warning.text != RUNNING_GAME_WARNING_TEXT || !warning.hasIcon))
                events.push_back("warning text or icon wrong: " + warning.text);
        });
    }
    std::vector<std::string> dirs;
};

}  // namespace

TEST_F(SavePathDiscovery, ExistingStoredPathIsTakenAsStoredWithoutAnyQuestion)
{
    std::string dir = NewDir("stored");
    StorePath(dir + "\\\\");
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\Elsewhere");
    auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, kAbsentMs);
    auto warning = AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK, kAbsentMs);
    auto browser = std::async(std::launch::async, [] { return CancelBrowser(kAbsentMs); });

    EXPECT_TRUE(DiscoverSavePath());

    EXPECT_EQ(SavePath(), dir + "\\\\");
    EXPECT_FALSE(question.get().found);
    EXPECT_FALSE(warning.get().found);
    EXPECT_FALSE(browser.get());
    EXPECT_EQ(StoredPath().data, dir + "\\\\");
}

TEST_F(SavePathDiscovery, StoredPathThatNoLongerExistsIsProposedAndStoredAgain)
{
    std::string dir = NewDir("stale");
    // A removed folder, and a pattern that names no single folder.
    for (std::string stale : {dir + "\\gone\\", dir + "\\*"}) {
        SCOPED_TRACE(stale);
        ForgetSavePath();
        StorePath(stale);
        auto player = ConfirmProposal();

        EXPECT_TRUE(DiscoverSavePath());

        EXPECT_EQ(player.get(), (Events{"asked: " + stale, "warned"}));
        EXPECT_EQ(SavePath(), stale);
        RegValue stored = StoredPath();
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored.data, stale);   // the characters alone, no terminator
    }
}

TEST_F(SavePathDiscovery, ProposalComesFromTheUserKeyThenTheMachineKeyThenTheStaleValue)
{
    const std::string tooLong = TooLongPath();
    const struct {
        const char* scenario;
        std::string stored, user, machine, proposed;
    } cases[] = {
        {"both keys", "", "C:\\User\\Save\\", "C:\\Machine\\Save", "C:\\User\\Save\\"},
        {"machine key only", "", "", "C:\\Machine\\Save", "C:\\Machine\\Save"},
        {"stale stored value", "C:\\Old", "", "C:\\Machine\\Save", "C:\\Machine\\Save"},
        {"game's value too long", "C:\\Old", tooLong, "", "C:\\Old"},
        // Read over the stale value, it must not leave that value's tail behind.
        {"short game's value without terminator", "C:\\Old\\Save", "D:\\G", "", "D:\\G"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        ClearAllKeys();
        ForgetSavePath();
        if (!c.stored.empty())
            StorePath(c.stored);
        if (!c.user.empty())
            SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, REG_SZ, c.user);
        if (!c.machine.empty())
            SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_SAVE_PATH_VALUE, c.machine);
        auto player = ConfirmProposal();

        EXPECT_TRUE(DiscoverSavePath());

        EXPECT_EQ(player.get(), (Events{"asked: " + c.proposed, "warned"}));
        EXPECT_EQ(SavePath(), c.proposed);
        EXPECT_EQ(StoredPath().data, c.proposed);
    }
}

TEST_F(SavePathDiscovery, WithoutAnyUsableValueTheBrowserOpensAndOnlyYesQuits)
{
    StorePath(TooLongPath());
    auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, kAbsentMs);
    auto player = Play([](Events& events) {
        for (int button : {IDNO, IDYES}) {
            events.push_back(CancelBrowser() ? "browser cancelled" : "no browser");
            BoxSeen quit = Answer(QUIT_QUESTION_CAPTION, button);
            events.push_back(quit.found ? "asked to quit" : "no quit question");
            if (quit.found && (quit.text != QUIT_QUESTION_TEXT || !quit.yesNo || quit.hasIcon))
                events.push_back("quit question wrong: " + quit.text);
        }
        if (Answer(RUNNING_GAME_WARNING_CAPTION, IDOK, kAbsentMs).found)
            events.push_back("warned");
    });

    EXPECT_FALSE(DiscoverSavePath());

    EXPECT_EQ(player.get(),
              (Events{"browser cancelled", "asked to quit", "browser cancelled", "asked to quit"}));
    EXPECT_EQ(appState.savePath, nullptr);
    EXPECT_FALSE(question.get().found);
    EXPECT_EQ(StoredPath().data, TooLongPath());
}

TEST_F(SavePathDiscovery, NoOpensTheBrowserWhichTakesOnlyAFolderWithAFullPath)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\Game\\Save");
    auto player = Play([](Events& events) {
        events.push_back(Answer(SAVE_PATH_QUESTION_CAPTION, IDNO).found ? "asked" : "no question");
        // A virtual folder has no path on disk: the browser opens again.
        for (const char* folder : {"My Computer", "Documents"})
            events.push_back(ChooseInBrowser(folder) ? std::string("chose ") + folder : "could not choose");
        events.push_back(Answer(RUNNING_GAME_WARNING_CAPTION, IDOK).found ? "warned" : "no warning");
    });
    auto quit = AnswerMessageBox(QUIT_QUESTION_CAPTION, IDNO, 5000);

    EXPECT_TRUE(DiscoverSavePath());

    EXPECT_EQ(player.get(), (Events{"asked", "chose My Computer", "chose Documents", "warned"}));
    EXPECT_FALSE(quit.get().found);
    // The full path, not the display name "Documents"; Wine's shell adds a
    // trailing backslash, which a save path may have.
    EXPECT_EQ(WithoutTrailingBackslash(SavePath()), DocumentsFolder());
    EXPECT_EQ(StoredPath().data, SavePath());
}
