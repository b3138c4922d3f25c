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

std::string ItemText(HWND tree, HTREEITEM item)
{
    char text[MAX_PATH] = {};
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

// Selects the folder shown as `name` right under the browser's root and
// presses OK; false when there was no browser or no such folder.
bool ChooseInBrowser(const char* name)
{
    HWND browser = WaitForDialogHolding("SysTreeView32");
    if (!browser)
        return false;
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    while (item && ItemText(tree, item) != name)
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    if (!item)
        return false;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    PressButton(browser, IDOK);
    return WaitForWindowGone(browser);
}

std::string DocumentsFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    return path;
}

// Wine's shell gives some folders with a trailing backslash; the save path
// may end in one, so only the folder named counts.
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

void SetGamePath(HKEY root, const std::string& path)
{
    SetString(root, GAME_KEY, GAME_SAVE_PATH_VALUE, path);
}

RegValue StoredPath()
{
    return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE);
}

std::string SavePath()
{
    return appState.savePath ? appState.savePath : "<null>";
}

// A path value of 260 characters: it fills the whole buffer with no room
// for a terminator.
std::string FullBufferPath(char fill)
{
    return "C:\\" + std::string(MAX_PATH - 3, fill);
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
    SetGamePath(HKEY_CURRENT_USER, "C:\\Elsewhere");
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

TEST_F(SavePathDiscovery, GamesValueIsProposedFromTheUserKeyBeforeTheMachineKey)
{
    const struct {
        const char* scenario;
        const char* stored;
        const char* user;
        const char* machine;
        const char* proposed;
    } cases[] = {
        {"both keys", nullptr, "C:\\User\\Save\\", "C:\\Machine\\Save", "C:\\User\\Save\\"},
        {"machine key only", nullptr, nullptr, "C:\\Machine\\Save", "C:\\Machine\\Save"},
        {"stale stored value", "C:\\Old\\Save", nullptr, "C:\\Machine\\Save", "C:\\Machine\\Save"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        ClearAllKeys();
        ForgetSavePath();
        if (c.stored)
            StorePath(c.stored);
        if (c.user)
            SetGamePath(HKEY_CURRENT_USER, c.user);
        if (c.machine)
            SetGamePath(HKEY_LOCAL_MACHINE, c.machine);
        auto player = ConfirmProposal();

        EXPECT_TRUE(DiscoverSavePath());

        EXPECT_EQ(player.get(), (Events{std::string("asked: ") + c.proposed, "warned"}));
        EXPECT_EQ(SavePath(), c.proposed);
        EXPECT_EQ(StoredPath().data, c.proposed);
    }
}

TEST_F(SavePathDiscovery, ValueFillingTheWholeBufferCountsAsAbsent)
{
    {
        SCOPED_TRACE("stored value too long: the game's value is proposed");
        StorePath(FullBufferPath('s'));
        SetGamePath(HKEY_CURRENT_USER, "C:\\Game\\Save");
        auto player = ConfirmProposal();
        EXPECT_TRUE(DiscoverSavePath());
        EXPECT_EQ(player.get(), (Events{"asked: C:\\Game\\Save", "warned"}));
        EXPECT_EQ(SavePath(), "C:\\Game\\Save");
    }
    {
        SCOPED_TRACE("game's value too long: the stale stored value stays proposed");
        ClearAllKeys();
        ForgetSavePath();
        StorePath("C:\\Old\\Save");
        SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, REG_SZ, FullBufferPath('g'));
        auto player = ConfirmProposal();
        EXPECT_TRUE(DiscoverSavePath());
        EXPECT_EQ(player.get(), (Events{"asked: C:\\Old\\Save", "warned"}));
        EXPECT_EQ(SavePath(), "C:\\Old\\Save");
    }
    {
        SCOPED_TRACE("nothing else: the browser opens at once");
        ClearAllKeys();
        ForgetSavePath();
        StorePath(FullBufferPath('s'));
        auto player = Play([](Events& events) {
            events.push_back(CancelBrowser() ? "browser" : "no browser");
            events.push_back(Answer(QUIT_QUESTION_CAPTION, IDYES).found ? "quit" : "no quit question");
        });
        auto question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, kAbsentMs);
        EXPECT_FALSE(DiscoverSavePath());
        EXPECT_EQ(player.get(), (Events{"browser", "quit"}));
        EXPECT_FALSE(question.get().found);
        EXPECT_EQ(StoredPath().data, FullBufferPath('s'));
    }
}

TEST_F(SavePathDiscovery, WithoutAnyValueTheBrowserOpensAndOnlyYesQuits)
{
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
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(SavePathDiscovery, FolderChosenAfterNoIsStoredWithItsFullPath)
{
    SetGamePath(HKEY_CURRENT_USER, "C:\\Game\\Save");
    auto player = Play([](Events& events) {
        BoxSeen question = Answer(SAVE_PATH_QUESTION_CAPTION, IDNO);
        events.push_back(question.found ? "asked" : "no question");
        events.push_back(ChooseInBrowser("Documents") ? "chose Documents" : "could not choose");
        events.push_back(Answer(RUNNING_GAME_WARNING_CAPTION, IDOK).found ? "warned" : "no warning");
    });

    EXPECT_TRUE(DiscoverSavePath());

    EXPECT_EQ(player.get(), (Events{"asked", "chose Documents", "warned"}));
    std::string documents = DocumentsFolder();
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(WithoutTrailingBackslash(SavePath()), documents);
    EXPECT_TRUE(DirectoryExists(SavePath()));
    EXPECT_EQ(StoredPath().data, SavePath());
}

TEST_F(SavePathDiscovery, VirtualFolderIsRefusedByOpeningTheBrowserAgain)
{
    auto player = Play([](Events& events) {
        events.push_back(ChooseInBrowser("My Computer") ? "chose My Computer" : "could not choose");
        events.push_back(ChooseInBrowser("Documents") ? "chose Documents" : "could not choose");
        events.push_back(Answer(RUNNING_GAME_WARNING_CAPTION, IDOK).found ? "warned" : "no warning");
    });
    auto quit = AnswerMessageBox(QUIT_QUESTION_CAPTION, IDNO, 5000);

    EXPECT_TRUE(DiscoverSavePath());

    EXPECT_EQ(player.get(), (Events{"chose My Computer", "chose Documents", "warned"}));
    EXPECT_FALSE(quit.get().found);
    EXPECT_EQ(WithoutTrailingBackslash(SavePath()), DocumentsFolder());
}
