// Real starts of the program, beside which this process starts and ends as a second copy would.
#include "support/support.h"

#include <fstream>

using namespace std::string_literals;

// A first start asks for the save path and, as Wine's display tells no resolution, hints at the
// look; a later one goes straight to the window. The look the menu switches to is stored at the
// end. A font file of other bytes is replaced, or ends the start if it cannot be. Whichever copy
// ends first must leave the other the shared font file, and so its face; the last removes it.
TEST(Startup, RealStartsBesideASecondCopy)
{
    SavePath save({"Amy.d2s, ~busy~\\Amy=s10, Amy\\6\\Amy.d2s"});   // a save cut short
    const std::string temp = MakeTempDir(), fontPath = temp + "\\temp$$$.ttf";
    const char* const font = fontPath.c_str();
    SetEnvironmentVariableA("TMP", temp.c_str()), SetEnvironmentVariableA("TEMP", temp.c_str());
    ClearAllKeys(), SetValue(HKEY_CURRENT_USER, "Software\\Blizzard Entertainment\\Diablo II",
                             "Save Path", REG_SZ, save.dir + '\0');
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_SKIN_FONT), RT_FONT);
    const std::string ours(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                           SizeofResource(nullptr, found));
    auto file = [&]() -> std::string {   // what stands where the font goes
        return ReadBytes(font) == ours ? " ours" : std::ifstream(font) ? " other" : " none";
    };
    auto mode = [] { return Stored("Graphic Mode Enabled"); };   // as "type:bytes"
    struct { std::string old; Script script; Seen boxes; std::string seen; } rows[] = {
        {ours + "x", {"Yes", "OK", "OK", "OK"}, {"Is this your correct Diablo II Save Path?: " +
         save.dir, kRunningGameWarning, "!Warning: Saving Amy into slot 1 was interrupted.\n"
         "Nothing was saved; slot 1 stays empty.", kUnknownResolutionHint, "Slotkeeper"},
         "1 listed, mode 0:\x01, beside ours, then 0 0:\0 none"s},
        {ours.substr(0, ours.size() - 1), {}, {"Slotkeeper"},   // ours cut short is not ours
         "1 listed, mode 0:\0, beside, then 0 0:\x01 ours none"s},
        {"x", {"OK"}, {"Error: Error loading font"}, ", then -1 0:\x01 other"s}};
    for (auto& row : rows) {
        std::string seen;
        auto end = [&] { RemoveSkinFont(), seen += RemoveFontResourceA(font) ? " kept" : file(); };
        row.script.push_back(Answer([&](HWND main) {   // this process starts as a second copy
            seen = std::to_string(SendDlgItemMessageA(main, IDC_CHARACTER_LIST, LB_GETCOUNT, 0, 0))
                   + " listed, mode " + mode() + (InstallSkinFont() ? ", beside" : ", alone");
            if (&row == rows) end();   // and ends first beside a first start
            SendNotifyMessageA(main, WM_CONTEXTMENU, 0, -1);   // the menu finds "&Toggle" typed
            PostMessageA(main, WM_CHAR, 'T', 1), PostMessageA(main, WM_CLOSE, 0, 0);
        }));
        std::ofstream(font, std::ios::binary) << row.old;
        SetFileAttributesA(font, row.old == "x" ? FILE_ATTRIBUTE_READONLY : 0);   // no way in
        auto run = [&] { seen += ", then " + std::to_string(int(RunSlotkeeper())); };
        EXPECT_EQ(Play(row.script, run), row.boxes);
        seen += " " + mode() + file();
        if (seen.find("beside,") != std::string::npos) end();
        EXPECT_EQ(seen, row.seen);
    }
    RemoveTree(temp), ClearAllKeys();
}
