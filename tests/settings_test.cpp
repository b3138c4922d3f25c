// The tool's registry key through real runs: the graphic-mode byte and the save path.
#include "support/support.h"

#include <shlobj.h>

namespace {

const char kTool[] = "Software\\Slotkeeper";   // named in full, as earlier runs wrote them
const char kGame[] = "Software\\Blizzard Entertainment\\Diablo II";

std::string Stored(const char* name)
{
    RegValue value = ReadValue(HKEY_LOCAL_MACHINE, kTool, name);
    return value.present ? std::to_string(value.type) + ":" + value.data : "absent";
}

std::string Long(std::string start, size_t size) { return start.resize(size, start.back()), start; }

// Types a top folder's name into the browser's tree as keys (repeat count 1), then presses OK.
Answer Pick(std::string name)
{
    return Answer([name](HWND dialog) {
        for (char key : name)
            SendMessageA(FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr), WM_CHAR, key, 1);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

}  // namespace

// One byte of any type is the mode, any other size a first run; a run writes back 0 or 1.
TEST(Settings, GraphicModeIsReadShownAndWrittenBack)
{
    const struct { DWORD type; std::string data, loaded, ran; BYTE mode, firstRun; } rows[] = {
        {REG_NONE, "", "absent", "absent", 0x55, 0},   // no key at all
        {REG_NONE, std::string(1, '\0'), std::string("0:\0", 3), std::string("0:\0", 3), 0, 0},
        {REG_SZ, "\x02", "1:\x02", "0:\x01", 2, 0},
        {REG_DWORD, std::string(4, '\0'), "0:\x01", "0:\x01", 1, 1},
        {REG_BINARY, "", "0:\x01", "0:\x01", 1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        ClearAllKeys();
        if (row.loaded != "absent")
            SetValue(HKEY_LOCAL_MACHINE, kTool, "Graphic Mode Enabled", row.type, row.data);
        MainWindowState state(0x55);
        EXPECT_EQ(LoadSettings(), row.loaded != "absent");
        EXPECT_EQ(appState.graphicMode, row.mode);
        EXPECT_EQ(appState.firstRun, row.firstRun);
        EXPECT_EQ(Stored("Graphic Mode Enabled"), row.loaded);
        Play({"OK"}, [] { ShowMainDialog([](HWND) {}); });   // a first run hints at the mode
        EXPECT_EQ(SaveSettings(), row.loaded != "absent");
        EXPECT_EQ(Stored("Graphic Mode Enabled"), row.ran);
    }
}

// A stored path that exists is taken; else one is proposed or browsed for, stored, warned of.
TEST(Settings, SavePathIsTakenProposedOrBrowsedForAndStored)
{
    SavePath save({"save.txt"});   // the program's path is settled below, row by row
    const std::string dir = save.dir + "\\", q = SAVE_PATH_QUESTION_CAPTION ": ";
    const std::string file259 = Long(save.At("save.txt\\"), 259), m259 = Long("C:\\M\\x", 259);
    const std::string warned = "!IMPORTANT: " RUNNING_GAME_WARNING_TEXT;
    const std::string browser = "Browse for Folder", quit = "Slotkeeper: " QUIT_QUESTION_TEXT;
    char documents[MAX_PATH] = "";   // as the shell gives it, a trailing backslash and all
    SHGetPathFromIDListA(SHCloneSpecialIDList(nullptr, CSIDL_PERSONAL, FALSE), documents);
    const Script yes = {"Yes", "OK"};
    struct {   // "": absent, or the player quits
        DWORD type; std::string stored, user, machine, path; Script script; Seen seen;
    } rows[] = {
        {REG_BINARY, file259, "C:\\Elsewhere", "", file259, {}, {}},   // a file passes, too
        {REG_SZ, dir + "*", "", "", dir + "*", yes, {q + dir + "*", warned}},
        {REG_SZ, "C:\\Stale", "C:\\U\\", "C:\\M", "C:\\U\\", yes, {q + "C:\\U\\", warned}},
        {REG_SZ, Long(dir, 300), "", m259, m259, yes, {q + m259, warned}},
        {REG_SZ, "C:\\O", Long("C:\\U\\x", 260), "C:\\M", "C:\\O", yes, {q + "C:\\O", warned}},
        {REG_SZ, Long(dir, 260), "", Long("C:\\M\\x", 300), "", {"Cancel", "No", "Cancel", "Yes"},
         {browser, quit, browser, quit}},
        {REG_SZ, "", "C:\\G", "", documents, {"No", Pick("My Computer"), Pick("Documents"), "OK"},
         {q + "C:\\G", browser, browser, warned}},
    };
    for (auto& row : rows) {
        row.script.resize(row.script.size() + 4, Answer([](HWND box) {   // more boxes end at once
            PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDCANCEL, 0);
        }));
        ClearAllKeys();
        ReleaseCharacters();
        if (!row.stored.empty())
            SetValue(HKEY_LOCAL_MACHINE, kTool, "Diablo 2 Save Path", row.type, row.stored);
        if (!row.user.empty())   // of another type, without terminator
            SetValue(HKEY_CURRENT_USER, kGame, "Save Path", REG_BINARY, row.user);
        if (!row.machine.empty())
            SetString(HKEY_LOCAL_MACHINE, kGame, "Save Path", row.machine);
        const std::string before = Stored("Diablo 2 Save Path");
        EXPECT_EQ(Play(row.script, [&] { EXPECT_EQ(DiscoverSavePath(), !row.path.empty()); }),
                  row.seen);
        EXPECT_EQ(appState.savePath ? appState.savePath : "", row.path);
        bool stores = !row.seen.empty() && row.seen.back() == warned;   // as characters alone
        EXPECT_EQ(Stored("Diablo 2 Save Path"), stores ? "1:" + row.path : before);
    }
    ClearAllKeys();
}
