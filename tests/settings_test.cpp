// The tool's registry key through real runs: the graphic-mode byte and the save path.
#include "support/support.h"

#include <shlobj.h>

const char kGame[] = "Software\\Blizzard Entertainment\\Diablo II";

static std::string Long(std::string s, size_t n) { return s.resize(n, s.back()), s; }

// One byte of any type is the mode (2 is on), no byte a first run; a run writes back 0 or 1 and,
// sixty times over, leaves no handle behind.
TEST(Settings, GraphicModeIsReadAndWrittenBack)
{
    SavePath save({"Amy.d2s"});
    auto run = [&](const std::string& data) {
        SetValue(HKEY_LOCAL_MACHINE, kTool, "Graphic Mode Enabled", REG_SZ, data);
        appState.instance = GetModuleHandleA(nullptr), appState.savePath = strdup(save.dir.c_str());
        Seen seen = data.empty() ? Seen{kUnknownResolutionHint, "Slotkeeper"} : Seen{"Slotkeeper"};
        EXPECT_EQ(Play({data.empty() ? "OK" : "Close", "Close"}, RunMainDialog), seen);
        EXPECT_EQ(appState.firstRun, data.empty());
        EXPECT_EQ(Stored("Graphic Mode Enabled"), "0:\x01");
        appState = AppState();
    };
    for (const char* data : {"", "\x02", "\x01"}) run(data);
    auto runs = [&] { for (int i = 0; i < 60; ++i) run("\x02"); };   // a cache grows once, a leak
    EXPECT_LT(std::min(HandlesLeakedBy(runs), HandlesLeakedBy(runs)), 40);   // every time
}

// A stored path that exists is taken; else one is proposed or browsed for, stored, warned of.
TEST(Settings, SavePathIsTakenProposedOrBrowsedForAndStored)
{
    SavePath save({"save.txt"});   // the program's path is settled below, row by row
    const std::string dir = save.dir + "\\", q = "Is this your correct Diablo II Save Path?: ";
    const std::string file259 = Long(save.At("save.txt\\"), 259), warned = kRunningGameWarning,
        browser = "Browse for Folder", quit = "Slotkeeper: This Program cannot work without "
        "knowing your Diablo II Save Path.\nAre you sure you want to quit?";
    auto pick = [](std::string name) {   // types a top folder's name into the browser's tree, OK
        return Answer([name](HWND dialog) {
            for (char key : name)
                SendMessageA(FindWindowExA(dialog, 0, "SysTreeView32", 0), WM_CHAR, key, 1);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
    };
    char documents[MAX_PATH] = "";   // as the shell gives it, a trailing backslash and all
    SHGetPathFromIDListA(SHCloneSpecialIDList(nullptr, CSIDL_PERSONAL, FALSE), documents);
    struct {   // "": absent, or the player quits; a wildcard is no path that exists
        DWORD type; std::string stored, user, machine, path; Script script; Seen seen;
    } rows[] = {
        {REG_BINARY, file259, "C:\\Elsewhere", "", file259, {}, {}},   // a file passes, too
        {REG_SZ, dir + "*", Long("C:\\U\\x", 260), "C:\\M", dir + "*", {"Yes", "OK"},
         {q + dir + "*", warned}},   // the user's key alone is read, its value unterminated
        {REG_SZ, Long(dir, 260), "", Long("C:\\M\\x", 300), "", {"Cancel", "No", "Cancel", "Yes"},
         {browser, quit, browser, quit}},
        {REG_SZ, "", "", "C:\\G", documents, {"No", pick("My Computer"), pick("Documents"), "OK"},
         {q + "C:\\G", browser, browser, warned}}};
    for (auto& row : rows) {
        row.script.resize(row.script.size() + 4, Answer([](HWND box) {   // more boxes end at once
            PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDCANCEL, 0);
        }));
        ClearAllKeys(), ReleaseStore();
        if (!row.stored.empty())
            SetValue(HKEY_LOCAL_MACHINE, kTool, "Diablo 2 Save Path", row.type, row.stored);
        if (!row.user.empty())   // of another type, without terminator
            SetValue(HKEY_CURRENT_USER, kGame, "Save Path", REG_BINARY, row.user);
        if (!row.machine.empty())
            SetValue(HKEY_LOCAL_MACHINE, kGame, "Save Path", REG_SZ, row.machine + '\0');
        EXPECT_EQ(Play(row.script, [&] { EXPECT_EQ(DiscoverSavePath(), !row.path.empty()); }),
                  row.seen);
        EXPECT_EQ(appState.savePath ? appState.savePath : "", row.path);
        std::string stored = row.seen.empty() || row.seen.back() != warned ? "" : "1:" + row.path;
        EXPECT_EQ(stored.empty() ? "" : Stored("Diablo 2 Save Path"), stored);   // characters alone
    }
    ClearAllKeys();
}
