// Files the game never leaves behind: a description that is huge, binary, held open or a
// directory, slot files that are held open or write-protected, and a slot that is a file. Each
// operation names the files it could not copy or remove, a description that cannot be written
// is passed over, and only a confirmed restore changes the save path.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "store/backup_store.h"
#include "store/slot_operations.h"
#include "support/files.h"
#include "support/main_window.h"

namespace {

using Files = std::map<std::string, std::string>;
using Boxes = std::vector<std::string>;   // "caption: text", in the order shown

enum Operation { kSave, kLoad, kDelete };
enum Hostility { kPlain, kReadOnly, kHeld, kDirectory };

const std::string kAsk = "Are you sure?: Do you really want to ";
const std::string kQuestions[] = {kAsk + "overwrite this slot?",
                                  kAsk + "restore and overwrite your current game?",
                                  kAsk + "delete this slot?"};
const std::string kIncomplete = "Warning: The backup is incomplete. These files could not be "
                                "copied:\n";
const std::string kRemains = "Warning: The slot could not be deleted completely. These are left "
                             "in it:\n";

// Amy.d2s, Amy.key and Bob.d2s in the save path; Amy's slot 2 holds older copies and desc.txt.
struct Store {
    Store()
    {
        for (const char* name : {"Amy.d2s", "Amy.key", "Bob.d2s"})
            WriteBytes(At(name), name);
        MakeDir(At("Amy"));
        MakeDir(At("Amy\\2"));
        for (const char* name : {"Amy.d2s", "Amy.key", "desc.txt"})
            WriteBytes(At("Amy\\2\\") + name, std::string("slot ") + name);
        SetLastWriteTime(At("Amy\\2\\Amy.d2s"), 2000, 3, 7, 9, 5);
    }
    std::string At(const std::string& path) const { return save.dir + "\\" + path; }
    Files SavePathFiles() const
    {
        Files files;
        for (const std::string& name : ListDir(save.dir))
            if (FileExists(At(name)))
                files[name] = ReadBytes(At(name));
        return files;
    }
    // Runs the operation while a helper thread answers every box: Yes to a question, OK to a
    // warning.
    Boxes Run(Operation operation, int slot, const char* description = "new")
    {
        std::atomic<bool> done{false};
        Boxes seen;
        std::thread player([&]() {
            while (!done) {
                if (HWND box = WaitForDialog(nullptr, 20)) {
                    BoxSeen shown = ReadMessageBox(box);
                    seen.push_back(shown.caption + ": " + shown.text);
                    PressButton(box, shown.yesNo ? IDYES : IDOK);
                    WaitForWindowGone(box);
                }
            }
        });
        bool created;
        if (operation == kSave && PrepareSlot(&amy, slot, &created))
            CopyToSlot(&amy, slot, description, created);
        if (operation == kLoad)
            LoadSlot(&amy, slot);
        if (operation == kDelete)
            DeleteSlot(&amy, slot);
        done = true;
        player.join();
        return seen;
    }
    // The slot information, formatted before guard bytes that must stay untouched.
    std::string Info(int slot)
    {
        struct {
            char text[SLOT_INFO_SIZE];
            char after[64];
        } guarded;
        memset(&guarded, 'G', sizeof guarded);
        FormatSlotInfo(guarded.text, &amy, slot);
        EXPECT_EQ(std::string(guarded.after, sizeof guarded.after), std::string(64, 'G'));
        return std::string(guarded.text, strnlen(guarded.text, SLOT_INFO_SIZE));
    }

    ScopedSavePath save{"hostile"};
    CharacterEntry amy = MakeEntry("Amy", 0x02);
};

// Makes the file write-protected or holds it open, returning the holding handle or null.
// `writable` tells whether a write still reaches it: Wine lets root write to protected files.
HANDLE MakeHostile(const std::string& path, Hostility how, bool* writable)
{
    if (how == kReadOnly)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = how == kHeld ? OpenExclusively(path) : nullptr;
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    *writable = probe != INVALID_HANDLE_VALUE;
    if (*writable)
        CloseHandle(probe);
    return held;
}

}  // namespace

TEST(HostileFiles, ADescriptionThatIsHugeBinaryProtectedHeldOrADirectoryIsShownSafelyAndPassedOver)
{
    const std::string huge = "first line\r\n" + std::string(10 << 20, 'h');
    const std::string binary("\xFF\xFE\r\x01 ab\rcd\0tail", 15);
    const struct {
        std::string bytes;
        Hostility how;
        std::string shown;
    } cases[] = {{huge, kPlain, huge.substr(0, 1024)}, {binary, kPlain, binary.substr(0, 10)},
                 {"keep", kReadOnly, "keep"}, {"keep", kHeld, ""}, {"", kDirectory, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "hostility " << c.how << ", " << c.bytes.size());
        Store store;
        const std::string slot = store.At("Amy\\2"), desc = slot + "\\desc.txt";
        if (c.how == kDirectory) {
            DeleteFileA(desc.c_str());
            MakeDir(desc);
        } else {
            WriteBytes(desc, c.bytes);
        }
        bool writable;
        HANDLE held = MakeHostile(desc, c.how, &writable);

        EXPECT_EQ(store.Info(2), "Amy, Slot 2\r\nLast played: 7/3/2000 at 9:5" +
                                     (c.shown.empty() ? "" : "\r\n\r\n" + c.shown));
        EXPECT_EQ(store.Run(kLoad, 2), Boxes{kQuestions[kLoad]});
        EXPECT_EQ(store.SavePathFiles(), (Files{{"Amy.d2s", "slot Amy.d2s"},
                                                {"Amy.key", "slot Amy.key"},
                                                {"Bob.d2s", "Bob.d2s"}}));
        WriteBytes(store.At("Amy.d2s"), "played on");
        const Files played = store.SavePathFiles();
        EXPECT_EQ(store.Run(kSave, 2, ""), Boxes{kQuestions[kSave]}) << "keeps the old text";
        EXPECT_EQ(ReadBytes(slot + "\\Amy.d2s"), "played on");
        Boxes shown = store.Run(kSave, 2, "new");
        CloseHandle(held);
        EXPECT_EQ(shown, Boxes{kQuestions[kSave]}) << "a description not written is passed over";
        EXPECT_EQ(ReadBytes(desc), writable ? "new" : c.how == kDirectory ? "<missing>" : c.bytes);

        held = c.how == kHeld ? OpenExclusively(desc) : nullptr;
        shown = store.Run(kDelete, 2);
        CloseHandle(held);
        EXPECT_EQ(shown, (c.how == kPlain ? Boxes{kQuestions[kDelete]}
                                          : Boxes{kQuestions[kDelete], kRemains + "desc.txt" +
                                                  (c.how == kDirectory ? "\\" : "")}));
        EXPECT_EQ(store.amy.slotMask, 0u);
        EXPECT_EQ(store.SavePathFiles(), played) << "only the restore changes the save path";
    }
}

TEST(HostileFiles, SlotFilesHeldOrWriteProtectedAreNamedAndNeverCountAsCopied)
{
    const struct {
        const char* file;
        Hostility how;
        Operation operation;
        std::string warning;   // when the file refuses
    } cases[] = {{"Amy.key", kReadOnly, kLoad, "Warning: Nothing was restored. These files are in "
                  "use or write-protected:\nAmy.key\nReturn to the main menu of Diablo II or "
                  "close it, and try again."},
                 {"Amy\\2\\Amy.key", kReadOnly, kSave, kIncomplete + "Amy.key"},
                 {"Amy\\2\\Amy.key", kReadOnly, kDelete, kRemains + "Amy.key"},
                 {"Amy\\2\\Amy.key", kHeld, kSave, kIncomplete + "Amy.key"},
                 {"Amy\\2\\Amy.key", kHeld, kLoad, "Warning: The restore is incomplete. These "
                  "files could not be copied:\nAmy.key"},
                 {"Amy\\2\\Amy.key", kHeld, kDelete, kRemains + "Amy.key"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.file << ", " << c.how << ", " << c.operation);
        Store store;
        const std::string slot = store.At("Amy\\2");
        const Files before = store.SavePathFiles();
        bool writable;
        HANDLE held = MakeHostile(store.At(c.file), c.how, &writable);
        const bool refused = !writable || c.operation == kDelete;
        const Boxes shown = store.Run(c.operation, 2);
        CloseHandle(held);
        Boxes expected{kQuestions[c.operation]};
        if (refused)
            expected.push_back(c.warning);
        EXPECT_EQ(shown, expected);

        // A restore stopped before it began keeps Amy.d2s; a file that refused keeps its text.
        Files after = before;
        if (c.operation == kLoad && (c.how == kHeld || !refused))
            after["Amy.d2s"] = "slot Amy.d2s";
        if (c.operation == kLoad && !refused)
            after["Amy.key"] = "slot Amy.key";
        EXPECT_EQ(store.SavePathFiles(), after);
        if (c.operation == kSave) {
            EXPECT_EQ(ReadBytes(slot + "\\Amy.d2s") + ReadBytes(slot + "\\desc.txt"),
                      "Amy.d2snew");
            EXPECT_EQ(ReadBytes(slot + "\\Amy.key"), refused ? "slot Amy.key" : "Amy.key");
        }
        if (c.operation == kDelete) {
            EXPECT_EQ(ListDir(slot), std::vector<std::string>{"Amy.key"});
        }
    }
}

TEST(HostileFiles, ASlotThatIsAFileIsNeitherFilledNorRemovedNorRestored)
{
    Store store;
    WriteBytes(store.At("Amy\\3"), "not a slot");
    const Files before = store.SavePathFiles();
    const struct {
        std::function<Boxes()> operation;
        Boxes shown;
    } cases[] = {
        {[&]() { return Boxes{store.Info(3)}; },
         {"ERROR: couldn't find " + store.At("Amy\\3\\Amy.d2s")}},
        {[&]() { return store.Run(kSave, 3, "abc"); },
         {kQuestions[kSave], kIncomplete + "Amy.d2s\nAmy.key"}},
        {[&]() { return store.Run(kSave, 3, nullptr); }, {kQuestions[kSave]}},
        {[&]() { return store.Run(kLoad, 3); },
         {kQuestions[kLoad], "Warning: This slot holds no files of Amy."}},
        {[&]() { return store.Run(kDelete, 3); }, {kQuestions[kDelete]}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.operation(), c.shown);
        EXPECT_EQ(ReadBytes(store.At("Amy\\3")), "not a slot");
        EXPECT_EQ(store.amy.slotMask, 0x02u);
        EXPECT_EQ(store.SavePathFiles(), before);
    }
}
