// The backup store read from real save paths: the characters found, the
// slot information a Load button shows, and names and paths the platform
// would bend into another file.
#include "support/support.h"

#include <fstream>

#include "store/file_list.h"
#include "store/savegame_check.h"

// A savegame's 16 header bytes, then a body of `length` - 16 bytes: byte i is body(i).
const char kSound[] = "\x55\xaa\x55\xaa\x60\0\0\0\x20\0\0\0\x4c\0\x11\x50";
std::string Savegame(const char* header, size_t length, int (*body)(int) = [](int i) {
    return i + 16; })
{
    std::string bytes(header, 16);
    for (int i = 0; bytes.size() < length; ++i) bytes += char(body(i));
    return bytes.substr(0, length);
}

const std::function<void()> scan = [] { ScanCharacters(appState.savePath, &appState.characters); };

TEST(Store, DiscoveryListsEverySavegameOnceWithTheSlotDirectoriesItHas)
{
    for (const char* suffix : {"", "\\"}) {
        SavePath save({"Zed.d2s, Amy.d2s, Cid.d2s, Amy.key, notes.txt, Tal.d2sx, .d2s, Old.d2s\\, "
                       "ab .d2s, Amy\\1\\, Amy\\3\\, Amy\\5\\, Amy\\2=file, Bob.D2S, Bob\\01\\, "
                       "Bob\\6\\, Bob\\12\\, Bob\\Slot 2\\, Cid\\4\\"}, suffix);
        EXPECT_EQ(Play({}, scan), Seen{});
        std::string listed;
        for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next)
            listed += std::string(entry->name) + ":" + std::to_string(entry->slotMask) + " ";
        EXPECT_EQ(listed, "ab :0 Amy:21 Bob:0 Cid:8 Old:0 Zed:0 ");
        EXPECT_EQ(save.Tree(), ".d2s, Amy.d2s, Amy.key, Amy\\, Amy\\1\\, Amy\\2=file, "
                               "Amy\\3\\, Amy\\5\\, Bob.D2S, Bob\\, Bob\\01\\, Bob\\12\\, "
                               "Bob\\6\\, Bob\\Slot 2\\, Cid.d2s, Cid\\, Cid\\4\\, Old.d2s\\, "
                               "Old\\, Tal.d2sx, Zed.d2s, Zed\\, ab .d2s, notes.txt");
    }
    // A savegame that only the wide calls reach has a character directory that does not fit:
    // it is not made, least of all cut short into another character's.
    SavePath deep;
    const std::string path = deep.At(std::string(249 - deep.dir.size(), 'd'));
    CreateDirectoryA(path.c_str(), nullptr);
    const std::wstring savegame =
        L"\\\\?\\" + std::wstring(path.begin(), path.end()) + L"\\Sorceress.d2s";
    CloseHandle(CreateFileW(savegame.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    free(appState.savePath);
    appState.savePath = strdup(path.c_str());
    EXPECT_EQ(Play({}, scan), Seen{});
    EXPECT_STREQ(GetCharacterList() ? GetCharacterList()->name : "", "Sorceress");
    const std::string sub = path.substr(deep.dir.size() + 1);
    EXPECT_EQ(deep.Tree(), sub + "\\, " + sub + "\\Sorceress.d2s=");
    DeleteFileW(savegame.c_str());
    ReleaseStore();
    SavePath empty({"readme.txt"});
    EXPECT_EQ(Play({"OK"}, scan), Seen{"Warning: No savegames found!"});
    EXPECT_EQ(GetCharacterList(), nullptr);
    ReleaseStore();
    EXPECT_EQ(appState.savePath, nullptr);
}

TEST(Store, SlotInformationShowsTheCopysLocalTimeAndTheDescription)
{
    SetEnvironmentVariableA("TMP", "Z:\\dev\\shm");
    SavePath save({"Kira\\2\\Kira.d2s=" + Savegame(kSound, 32), "Kira\\5\\Kira.d2s=" +
                   Savegame(kSound, 31) + ", Kira\\5\\desc.txt=late, Kira\\3\\desc.txt, "
                   "Amy\\1\\Amy.d2s, Ode\\1\\Ode.d2s"}, "\\");
    // Dated on the Linux side, where a tmpfs also keeps a time before 1601 (Windows' own file
    // systems do not): Ode's copy reads back with the top bit set, which no conversion accepts.
    SetCurrentDirectoryA(save.dir.c_str());
    WinExec("/bin/sh -c \"touch -d 2000-03-07T09:05Z Kira/2/Kira.d2s; touch -d 2000-12-31T18:37Z "
            "Kira/5/Kira.d2s; touch -d 2001-01-01T08:37Z Amy/1/Amy.d2s; touch -d 1500-01-01 "
            "Ode/1/Ode.d2s\"", SW_HIDE);   // the first at 14:35 in the test's time zone
    WIN32_FILE_ATTRIBUTE_DATA data = {};   // the last one dated is the last to show
    for (int i = 0; i < 200 && !(data.ftLastWriteTime.dwHighDateTime >> 31); Sleep(20), ++i)
        GetFileAttributesExA(save.At("Ode\\1\\Ode.d2s").c_str(), GetFileExInfoStandard, &data);
    SetCurrentDirectoryA("C:\\");
    const std::string amy = "Amy, Slot 1\r\nLast played: 1/1/2001 at 14:7";
    const std::string missing = "ERROR: couldn't find " + save.dir + "\\\\";
    const std::string big = std::string(1023, 'd') + "LX";
    const std::string longName(250, 'n');
    const struct {
        const char* name;
        int slot;
        std::string description;    // of Amy's slot 1; "held" is held open by another program
        std::string shown;
    } rows[] = {
        {"Kira", 2, "", "Kira, Slot 2\r\nLast played: 7/3/2000 at 14:35"},
        {"Kira", 5, "", "Kira, Slot 5\r\nLast played: 1/1/2001 at 0:7\r\nThis savegame is damaged: "
                        "Diablo II will not load it.\r\n\r\nlate"},
        {"Kira", 3, "", missing + "Kira\\3\\Kira.d2s"},
        {longName.c_str(), 1, "", missing + longName + "\\1\\" + longName + ".d2s"},
        {"Ode", 1, "", "Ode, Slot 1\r\nLast played: unknown"},
        {"Amy", 1, "before Baal\r\nlevel 80", amy + "\r\n\r\nbefore Baal\r\nlevel 80"},
        {"Amy", 1, "", amy},
        {"Amy", 1, std::string("0123456789\0tail", 15), amy + "\r\n\r\n0123456789"},
        {"Amy", 1, big, amy + "\r\n\r\n" + big.substr(0, 1024)},
        {"Amy", 1, "held", amy},
    };
    for (const auto& row : rows) {
        MakeEntries(save.dir, {"Amy\\1\\desc.txt=" + row.description});
        HANDLE held = CreateFileA(save.At("Amy\\1\\desc.txt").c_str(), GENERIC_READ, 0, nullptr,
                                  row.description == "held" ? OPEN_EXISTING : 0, 0, nullptr);
        CharacterEntry entry = {};
        strcpy(entry.name, row.name);
        FormatSlotInfo(appState.tipText, appState.savePath, &entry, row.slot);
        CloseHandle(held);
        EXPECT_EQ(std::string(appState.tipText), row.shown);
    }
}

TEST(Store, ALongWarningNamesWhatFitsThenCutsTheListOnce)
{
    FileList list;
    BeginFileList(&list, "Left:\n", "Try again.");
    std::string names;   // the box holds 2048 bytes: the names that fit, "...", the last line
    for (int i = 0; i < 300; ++i)
        AddToFileList(&list, ("file" + std::to_string(1000 + i)).c_str()),
            names += i < 225 ? "file" + std::to_string(1000 + i) + "\n" : "";
    EXPECT_EQ(Play({"OK"}, [&] { WarnAboutFileList(&list); }),
              Seen{"!Warning: Left:\n" + names + "...\nTry again."});
}

TEST(Store, ASavegameIsDamagedWhenItsLengthOrChecksumDisagreesWithItsHeader)
{
    SavePath save;
    const std::string path = save.At("Amy.d2s");
    auto damaged = [&](const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
        return IsSavegameDamaged(path.c_str());
    };
    auto with = [](std::string bytes, size_t at, int to) { return bytes.replace(at, 1, 1, to); };
    for (const std::string& sound : {Savegame(kSound, 32),
         Savegame("\x55\xaa\x55\xaa\x60\0\0\0\x50\x01\0\0\xd5\x4f\x63\x9b", 336,
                  [](int i) { return i * 37 + 11; }),
         Savegame("\x55\xaa\x55\xaa\x63\0\0\0\x40\0\0\0\x9f\xff\xfd\x78", 64,
                  [](int i) { return 255 - i; })}) {
        EXPECT_FALSE(damaged(sound)) << sound.size();
        for (size_t at = 16; at < sound.size(); at += 5)
            EXPECT_TRUE(damaged(with(sound, at, sound[at] ^ 1 << at % 8))) << at;
        EXPECT_TRUE(damaged(sound.substr(0, sound.size() - 1))) << sound.size();
        EXPECT_TRUE(damaged(with(sound, 8, sound[8] + 1))) << sound.size();
    }
    // Judged from version 92 on, up to 1 MB, with the signature and at least the version.
    const std::string megabyte = Savegame(kSound, 1 << 20);
    const struct { std::string bytes; bool damaged; } rows[] = {
        {Savegame("\x55\xaa\x55\xaa\x60\0\0\0\x21\0\0\0\x4c\0\x91\x50", 32), true},
        {with(Savegame(kSound, 32), 4, 92), true}, {with(Savegame(kSound, 32), 4, 91), false},
        {with(Savegame(kSound, 32), 3, 0xab), false}, {Savegame(kSound, 12), true},
        {Savegame(kSound, 7), false}, {"", false}, {megabyte, true}, {megabyte + "x", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(damaged(row.bytes), row.damaged) << row.bytes.size();
    DeleteFileA(path.c_str());
    EXPECT_FALSE(IsSavegameDamaged(path.c_str()));
}
