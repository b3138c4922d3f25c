// Save, Load and Delete with one fault struck at each of their file calls in
// turn, and a start after it: the slot and the character are wholly as they
// were or wholly as the operation leaves them, and a player left with the
// old state is told.
#include "support/faults.h"
#include "support/support.h"

#include <process.h>

#include <regex>

#include "store/journal.h"
#include "store/slot_operations.h"

namespace {

const std::string kBase = "Amy.d2s=new, Amy.key=new, Amy\\2\\Amy.d2s=old, Amy\\2\\Amy.old=old, "
                          "Amy\\2\\desc.txt=old, Bob.d2s";
// Amy's operations, each with the changes it makes when it runs to its end.
struct Row { char operation; int slot; const char* description; std::string after; };
const Row kRows[] = {
    {'s', 3, "abc", "Amy\\3\\Amy.d2s=new, Amy\\3\\Amy.key=new, Amy\\3\\desc.txt=abc"},
    {'s', 2, "abc", "Amy\\2\\Amy.d2s=new, Amy\\2\\Amy.key=new, Amy\\2\\desc.txt=abc"},
    {'s', 2, "", "Amy\\2\\Amy.d2s=new, Amy\\2\\Amy.key=new"},
    {'l', 2, nullptr, "Amy.d2s=old, Amy.old=old"},
    {'d', 2, nullptr, "-Amy\\2"},
};

DWORD RunRow(const Row& row, const char* savePath)   // Amy's slots after it
{
    CharacterEntry amy = {2, nullptr, "Amy"};
    bool empty;
    if (row.operation == 's' && PrepareSlot(savePath, &amy, row.slot, &empty))
        CopyToSlot(savePath, &amy, row.slot, row.description, empty);
    if (row.operation == 'l') LoadSlot(savePath, &amy, row.slot);
    if (row.operation == 'd') DeleteSlot(savePath, &amy, row.slot);
    return amy.slotMask;
}

// The temporaries and records that a start sweeps, in a tree.
const std::regex kWork(", (~busy~|Amy\\\\[6-9_]\\\\)[^,]*");

// Started again by the test with a job, this program runs row r and ends before call k ("r k save
// path"), holds a file as the game would ("hold path"), or holds Amy's record as another copy
// would ("busy save path").
const int kChild = [] {
    char job[MAX_PATH + 16], dir[MAX_PATH];
    int row, k;
    CharacterEntry amy = {2, nullptr, "Amy"};
    Journal journal;
    DWORD error;
    if (!GetEnvironmentVariableA("SLOTKEEPER_JOB", job, sizeof job)) return 0;
    if (sscanf(job, "%d %d %[^\n]", &row, &k, dir) == 3)
        StrikeAt(k, Fault::kKill), ExitProcess(RunRow(kRows[row], dir));
    if (strncmp(job, "hold ", 5) == 0)
        CreateFileA(job + 5, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    else
        BeginOperation(job + 5, &amy, OPERATION_LOAD, 2, &journal, &error);
    for (;;) Sleep(INFINITE);
}();

// Starts this program again with `job`: with _P_WAIT its exit code, else its process.
intptr_t Child(int mode, const std::string& job)
{
    _putenv(("SLOTKEEPER_JOB=" + job).c_str());
    intptr_t result = _spawnl(mode, _pgmptr, _pgmptr, nullptr);
    _putenv("SLOTKEEPER_JOB=");
    return result;
}

}  // namespace

TEST(Faults, EveryFileCallStruckLeavesTheOldStateOrTheNewOne)
{
    for (const Row& row : kRows) {
        const std::string before = SavePath({kBase}).Tree();
        const std::string after = SavePath({kBase, row.after}).Tree();
        for (Fault fault : {Fault::kDiskFull, Fault::kSharing, Fault::kPartial, Fault::kKill}) {
            int k = 1;
            for (bool struck = true; struck; ++k) {
                SCOPED_TRACE(::testing::Message() << "row " << &row - kRows << ", fault "
                             << int(fault) << " at call " << k);
                SavePath save({kBase});
                Boxes().clear();
                if (fault == Fault::kKill) {   // ended before call k, its exit code says
                    struck = Child(_P_WAIT, std::to_string(&row - kRows) + " " +
                                   std::to_string(k) + " " + save.dir) == 99;
                } else {
                    StrikeAt(k, fault);
                    DWORD mask = RunRow(row, save.dir.c_str());
                    struck = Struck(), StrikeAt(0, fault);
                    // Right after it, the operation has finished or undone its changes, as its
                    // warning says, and the slot's bit follows what is on disk.
                    const bool told = !Boxes().empty() &&
                                      Boxes().back().find("Nothing was") != std::string::npos;
                    EXPECT_EQ(std::regex_replace(save.Tree(), kWork, ""), told ? before : after);
                    const std::string slot = save.At("Amy\\" + std::to_string(row.slot));
                    EXPECT_EQ(!!(mask & SlotBit(row.slot)),
                              GetFileAttributesA(slot.c_str()) != INVALID_FILE_ATTRIBUTES);
                }
                RecoverInterrupted(save.dir.c_str());   // the next start
                const std::string tree = save.Tree();
                EXPECT_TRUE(tree == before || tree == after) << tree;
                RecoverInterrupted(save.dir.c_str());   // and one more finds nothing left
                EXPECT_EQ(save.Tree(), tree);
            }
            EXPECT_GT(k, 11);   // the faults did strike
        }
    }
}

// Real faults met by the real program, which change nothing: another process holds the savegame
// without sharing, as the game would; another copy of the program is busy with the character (it
// holds its record), which a start also leaves alone; and a full disk (a tmpfs of 512 KB as drive
// T:, needs root). The player saves over slot 2, then restores it, and beside the busy copy
// deletes it.
TEST(Faults, RealFaultsChangeNothing)
{
    const std::string ask = "Are you sure?: Do you really want to ", full = ": the disk is full",
        save = ask + "overwrite this slot?", prompt = "Please enter a description for the Backup",
        load = ask + "restore and overwrite your current game?", big = std::string(200000, 'n'),
        kept = "!Warning: Nothing was saved; slot 2 keeps its earlier backup.\nAmy.d2s",
        busy = "!Warning: Another copy of Slotkeeper is working on Amy right now. Try again when "
               "it is done.";
    const struct { std::string dir, entries, held; Seen boxes; } rows[] = {
        {"", kBase + ", Bob\\", "Amy.d2s", {save, prompt, kept + ": in use by another program",
         load, "!Warning: Nothing was restored. These files are in use or write-protected:\n"
         "Amy.d2s\nReturn to the main menu of Diablo II or close it, and try again."}},
        {"", kBase + ", Bob\\", "~busy~\\Amy", {save, prompt, busy, load, busy, ask + "delete this "
         "slot?", busy}},
        {"T:\\s", "Amy.d2s=" + big + ", Amy\\2\\Amy.d2s=" + big, "", {save, prompt, kept + full,
         load, "!Warning: Nothing was restored; the files of Amy are as they were.\nAmy.d2s" +
         full}}};
    WinExec("/bin/sh -c \"mkdir -p /tmp/sk-full && mount -t tmpfs -o size=512k none /tmp/sk-full"
            " && ln -sfn /tmp/sk-full $WINEPREFIX/dosdevices/t:\"", SW_HIDE);
    auto mounted = [] {   // a drive T: of at most 1 MB, not one left by an earlier run
        ULARGE_INTEGER size = {};
        return GetDiskFreeSpaceExA("T:\\", nullptr, &size, nullptr) && size.QuadPart <= 1 << 20;
    };
    for (int i = 0; i < 200 && !mounted(); ++i) Sleep(20);
    for (const auto& row : rows) {
        SavePath save;
        const std::string dir = row.dir.empty() ? save.dir : row.dir, held = dir + "\\" + row.held;
        if (row.dir == "T:\\s" && !mounted()) {
            printf("Full disk not tried: no tmpfs could be mounted as T: (needs root).\n");
            continue;
        }
        CreateDirectoryA(dir.c_str(), nullptr), MakeEntries(dir, {row.entries});
        const std::string job = row.held == "Amy.d2s" ? "hold " + held : "busy " + dir;
        const HANDLE holder = HANDLE(row.held.empty() ? 0 : Child(_P_NOWAIT, job));
        for (int i = 0; i < 500 && holder && (GetFileAttributesA(held.c_str()) ==
             INVALID_FILE_ATTRIBUTES || ReadBytes(held) != "<missing>"); ++i)
            Sleep(10);
        const std::string before = Tree(dir);
        SetValue(HKEY_LOCAL_MACHINE, kTool, "Diablo 2 Save Path", REG_SZ, dir + "\\" + '\0');
        SetValue(HKEY_LOCAL_MACHINE, kTool, "Graphic Mode Enabled", REG_NONE, std::string(1, 0));
        Seen boxes;
        const Answer presses([&](HWND main) {   // answered as they come
            boxes = Play({"Yes", "=x", "OK", "Yes", "OK", "Yes", "OK"}, [&] {
                Select(main, 0);
                for (int id : {IDC_SAVE_SLOT2, IDC_LOAD_SLOT2, IDC_DELETE_SLOT2})
                    if (id != IDC_DELETE_SLOT2 || row.held == "~busy~\\Amy") Click(main, id);
            });
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(Play({presses}, [] { EXPECT_EQ(RunSlotkeeper(), 0u); }), Seen{"Slotkeeper"});
        EXPECT_EQ(boxes, row.boxes);
        EXPECT_EQ(Tree(dir), before);
        if (holder) TerminateProcess(holder, 0), WaitForSingleObject(holder, 5000);
    }
    ClearAllKeys();
    WinExec("/bin/sh -c \"rm $WINEPREFIX/dosdevices/t:; umount /tmp/sk-full\"", SW_HIDE);
    for (int i = 0; i < 200 && mounted(); ++i) Sleep(20);   // gone before a next run mounts it
}
