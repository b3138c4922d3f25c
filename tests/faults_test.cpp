// Save, Load and Delete with one fault struck at each of their file calls in
// turn, and a start after it: the slot and the character are wholly as they
// were or wholly as the operation leaves them, and a player left with the
// old state is told.
#include "support/faults.h"
#include "support/support.h"

#include "store/journal.h"
#include "store/slot_operations.h"

namespace {

const std::string kBase = "Amy.d2s=new, Amy.key=new, Amy\\2\\Amy.d2s=old, Amy\\2\\Amy.old=old, "
                          "Amy\\2\\desc.txt=old, Bob.d2s";
const struct Row {
    char operation;
    int slot;
    const char* description;
    std::string after;   // the changes the whole operation makes
} kRows[] = {
    {'s', 3, "abc", "Amy\\3\\Amy.d2s=new, Amy\\3\\Amy.key=new, Amy\\3\\desc.txt=abc"},
    {'s', 2, "abc", "Amy\\2\\Amy.d2s=new, Amy\\2\\Amy.key=new, Amy\\2\\desc.txt=abc"},
    {'s', 2, "", "Amy\\2\\Amy.d2s=new, Amy\\2\\Amy.key=new"},
    {'l', 2, nullptr, "Amy.d2s=old, Amy.old=old"},
    {'d', 2, nullptr, "-Amy\\2"},
};

// Amy's slots after the operation.
DWORD RunRow(const Row& row, const char* savePath)
{
    CharacterEntry amy = {2, nullptr, "Amy"};
    bool empty;
    if (row.operation == 's' && PrepareSlot(savePath, &amy, row.slot, &empty))
        CopyToSlot(savePath, &amy, row.slot, row.description, empty);
    if (row.operation == 'l')
        LoadSlot(savePath, &amy, row.slot);
    if (row.operation == 'd')
        DeleteSlot(savePath, &amy, row.slot);
    return amy.slotMask;
}

// The tree without the temporaries and records that a start sweeps.
std::string WithoutWork(const std::string& tree)
{
    std::string kept;
    for (size_t at = 0, end = 0; end != tree.npos; at = end + 2) {
        const std::string entry = tree.substr(at, (end = tree.find(", ", at)) - at);
        if (entry.rfind("~busy~", 0) && !(entry.size() > 5 && entry.rfind("Amy\\", 0) == 0 &&
                                          strchr("6789_", entry[4]) && entry[5] == '\\'))
            kept += (kept.empty() ? "" : ", ") + entry;
    }
    return kept;
}

// Started again by the test with "row k save path", it runs the row and ends before call k.
const int kChild = [] {
    char job[MAX_PATH + 16], dir[MAX_PATH];
    int row, k;
    if (GetEnvironmentVariableA("SLOTKEEPER_KILL", job, sizeof job) &&
        sscanf(job, "%d %d %[^\n]", &row, &k, dir) == 3) {
        StrikeAt(k, Fault::kKill);
        ExitProcess(RunRow(kRows[row], dir));
    }
    return 0;
}();

// True when the child ended before call k.
bool RunKilled(int row, int k, const std::string& dir)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("SLOTKEEPER_KILL", (std::to_string(row) + " " + std::to_string(k) +
                                                " " + dir).c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA("SLOTKEEPER_KILL", nullptr);
    DWORD code = 0;
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 0);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess), CloseHandle(child.hThread);
    return code == 99;
}

}  // namespace

TEST(Faults, EveryFileCallStruckLeavesTheOldStateOrTheNewOne)
{
    for (const Row& row : kRows) {
        const std::string before = SavePath({kBase}).Tree();
        const std::string after = SavePath({kBase, row.after}).Tree();
        for (Fault fault : {Fault::kDiskFull, Fault::kSharing, Fault::kPartial, Fault::kKill}) {
            bool struck = true;
            for (int k = 1; struck; ++k) {
                SCOPED_TRACE(std::string(1, row.operation) + std::to_string(row.slot) + " \"" +
                             (row.description ? row.description : "") + "\", fault " +
                             std::to_string(int(fault)) + " at call " + std::to_string(k));
                SavePath save({kBase});
                Boxes().clear();
                DWORD mask = 0;
                if (fault == Fault::kKill) {
                    struck = RunKilled(int(&row - kRows), k, save.dir);
                } else {
                    StrikeAt(k, fault);
                    mask = RunRow(row, save.dir.c_str());
                    struck = Struck();
                    StrikeAt(0, fault);
                    // The slot's buttons follow what is on disk.
                    EXPECT_EQ(!!(mask & SlotBit(row.slot)),
                              GetFileAttributesA(save.At("Amy\\" + std::to_string(row.slot)).c_str())
                                  != INVALID_FILE_ATTRIBUTES);
                }
                // Right after it, the operation has finished or undone its changes, as it says.
                const std::string left = WithoutWork(save.Tree());
                const bool told = !Boxes().empty() && Boxes().back().find("Nothing was") !=
                                                          std::string::npos;
                EXPECT_TRUE(fault == Fault::kKill || left == before || (!told && left == after))
                    << left;
                RecoverInterrupted(save.dir.c_str());   // the next start
                const std::string tree = save.Tree();
                EXPECT_TRUE(tree == before || tree == after) << tree;
                EXPECT_TRUE(told || !struck || fault == Fault::kKill || left != before);
                RecoverInterrupted(save.dir.c_str());   // and one more finds nothing left
                EXPECT_EQ(save.Tree(), tree);
            }
        }
    }
}

// A second copy of the program working on the same character is told, and sweeps nothing of it.
TEST(Faults, ACharacterBusyInAnotherCopyIsLeftAlone)
{
    SavePath save({kBase});
    CharacterEntry amy = {2, nullptr, "Amy"};
    Journal other;
    DWORD error;
    ASSERT_TRUE(BeginOperation(save.dir.c_str(), &amy, OPERATION_LOAD, 2, &other, &error));
    MakeEntries(save.dir, {"Amy\\8\\Amy.d2s"});
    const std::string before = save.Tree();
    Boxes().clear();
    RecoverInterrupted(save.dir.c_str());
    for (const Row& row : kRows)
        RunRow(row, save.dir.c_str());
    EXPECT_EQ(save.Tree(), before);
    const std::string busy = "Warning: Another copy of Slotkeeper is working on Amy right now. Try "
                             "again when it is done.", ask = "Are you sure?: Do you really want to ";
    EXPECT_EQ(Boxes(), std::vector<std::string>({busy, ask + "overwrite this slot?", busy, ask +
        "overwrite this slot?", busy, ask + "restore and overwrite your current game?", busy, ask +
        "delete this slot?", busy}));
    EndOperation(&other, true);
}
