// What a player sees beside the character list and the slot buttons: the two
// looks of the main dialog, its other buttons, and the description prompt.
#include "support/support.h"

#include <cstdlib>

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/description_dialog.h"
#include "ui/main/graphic_mode.h"

// A stored 2 counts as on; the embedded font's 8 x 13 base units fit the skin. Activate Diablo
// II brings up the game (by class and title), else runs the user's command, else the machine's.
// Credits: a lead-in, twelve frames a line, one empty after the 35th. Only a first run at 120
// dpi falls back. OK gives what was typed, at most 1023 characters; only closing gives nothing.
TEST(Windows, LooksButtonsCreditsHintsAndDescriptionPromptAsAPlayerSeesThem)
{
    ASSERT_TRUE(InstallSkinFont());
    ClearAllKeys();
    SavePath save({"Amy\\5\\Amy.d2s", "notes="});
    auto noted = [&](const std::string& s) {   // by cmd, the game and browser here
        for (int i = 0; i < 1000 && ReadBytes(save.At("notes")).size() < s.size(); ++i) Sleep(10);
        return ReadBytes(save.At("notes"));
    };
    std::string run = "cmd /c >>" + save.At("notes") + " echo ";   // notes the rest
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "", REG_SZ,
             run + "%1" + '\0');
    auto help = [&](HWND help) {
        HWND edit = GetDlgItem(help, IDC_HELP_TEXT);
        int ink = -1;   // the first row of white text (more than a caret), once drawn at the top
        for (int i = 0; i < 100 && (SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0) ||
                                    unsigned(ink = FirstRowWith(edit, 0xFFFFFF, 50)) >= 13); ++i)
            Sleep(10);   // the window posts its way back to the top, then paints
        EXPECT_TRUE(FirstRowWith(edit, 0) == 0 && ink >= 0 && ink < 13) << "top line from " << ink;
        EXPECT_EQ(WindowText(edit).find("\r\n\r\n\r\nAdditional Hints:"), 693u);   // after the uses
        PostMessageA(help, WM_CLOSE, 0, 0);
    };
    auto about = [&](HWND about) {
        int first = -1, now = -1;   // the top row in red: once drawn, and once it rose
        for (int i = 0; i < 200 && !(first > 0 && now >= 0 && now < first); ++i, Sleep(10))
            (first < 0 ? first : now) = FirstRowWith(GetDlgItem(about, IDC_ABOUT_SCROLLER), 255);
        EXPECT_TRUE(first > 0 && now >= 0 && now < first) << first << " then " << now;
        POINT at = {30, 5};   // into the web link, which a click opens
        ClientToScreen(GetDlgItem(about, IDC_ABOUT_WEB), &at), SetCursorPos(at.x, at.y);
        SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, 0), PostMessageA(about, WM_CLOSE, 0, 0);
        EXPECT_EQ(noted(ABOUT_WEB_TARGET "\r\n"), ABOUT_WEB_TARGET "\r\n");
    };
    WNDCLASSA game = {0, DefWindowProcA, 0, 0, 0, 0, 0, 0, 0, GAME_WINDOW_CLASS};
    RegisterClassA(&game);
    const struct { std::string data, noted; LPCSTR window = nullptr, value = GAME_PROGRAM_VALUE;
                   HKEY root = HKEY_CURRENT_USER; } rows[] = {
        {run + "machine" + '\0', "machine\r\n", "Static", GAME_PROGRAM_VALUE, HKEY_LOCAL_MACHINE},
        {"C:\\", "", nullptr, GAME_SAVE_PATH_VALUE},   // the user's key wins, even without it
        {run + std::string(MAX_PATH - run.size(), 'x'), ""},   // no terminator: would be cut
        {run + "user" + '\0', "user\r\n"}, {run + "user" + '\0', "", GAME_WINDOW_CLASS}};
    INT element = COLOR_WINDOW;   // black, where the default text would not show
    COLORREF saved = GetSysColor(COLOR_WINDOW), black = 0;
    SetSysColors(1, &element, &black);
    MainWindowState state(2);
    AddCharacter("Amy");
    ShowMainDialog([&](HWND dialog) {
        for (BYTE mode : {2, 0, 1}) {
            OnDialogThread(dialog, [&] { if (mode != 2) SetGraphicMode(dialog, mode); });
            HRGN region = CreateRectRgn(0, 0, 0, 0);   // the cross, its corners left out
            std::string look = GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION ? "frame " : "";
            if (GetWindowRgn(dialog, region) == COMPLEXREGION && !PtInRegion(region, 86, 78))
                look += PtInRegion(region, 87, 0) && PtInRegion(region, 488, 321) ? "cross " : "";
            look += SendDlgItemMessageA(dialog, IDC_EXIT, WM_GETFONT, 0, 0) ? "font " : "";
            RECT r;
            DeleteObject(region), GetWindowRect(dialog, &r);
            EXPECT_EQ(look + char('0' + appState.graphicMode), mode ? "cross font 1" : "frame 0");
            EXPECT_EQ((r.right - r.left) * 1000 + r.bottom - r.top, 490486);   // 490 x 486
        }
        char tip[80] = "";   // the About button's fixed tooltip
        TOOLINFOA tool = {TTTOOLINFOA_V1_SIZE, 0, dialog, UINT_PTR(GetDlgItem(dialog, IDC_ABOUT)),
                          {}, nullptr, tip, 0, nullptr};
        SendMessageA(FindWindowA(TOOLTIPS_CLASSA, 0), TTM_GETTEXTA, sizeof tip, LPARAM(&tool));
        EXPECT_STREQ(tip, "About the author");
        NMTTDISPINFOA request = {{nullptr, UINT_PTR(GetDlgItem(dialog, IDC_LOAD_SLOT5)),
                                  static_cast<UINT>(TTN_NEEDTEXTA)}, nullptr, "", nullptr, 0, 0};
        Select(dialog, 0), SendMessageA(dialog, WM_NOTIFY, 0, LPARAM(&request));   // as it shows
        EXPECT_EQ(std::string(request.lpszText).substr(0, 25), "Amy, Slot 5\r\nLast played:");
        EXPECT_EQ(Play({Answer(help)}, [&] { Click(dialog, IDC_INFORMATION); }), Seen{"Help"});
        EXPECT_EQ(Play({Answer(about)}, [&] { Click(dialog, IDC_ABOUT); }),
                  Seen{"Slotkeeper - V 1.02 (Build 140700)"});
        std::string started = ABOUT_WEB_TARGET "\r\n";
        for (const auto& row : rows) {
            SetValue(row.root, GAME_KEY, row.value, REG_SZ, row.data);
            HWND game = CreateWindowA(row.window, GAME_WINDOW_TITLE, 0, 0, 0, 9, 9, 0, 0, 0, 0);
            ShowWindow(dialog, SW_RESTORE), Click(dialog, IDC_ACTIVATE_GAME);
            EXPECT_EQ(IsIconic(dialog) + 2 * IsZoomed(game), game && row.noted.empty() ? 3 : 1);
            ASSERT_EQ(noted(started += row.noted), started) << &row - rows;
        }
    });
    RemoveSkinFont();
    SetSysColors(1, &element, &saved);
    ClearAllKeys();
    std::string frames;
    ScrollState scroll = StartScroll();
    for (int n = 1; n <= 472; ++n)
        if (ScrollFrame f = AdvanceScroll(scroll); n < 2 || (n > 58 && n < 63) || n > 468)
            frames += std::to_string(f.topOffset) + "/" + std::to_string(f.linesSkipped) + " ";
    EXPECT_EQ(frames, "59/0 1/0 0/0 -1/0 10/1 -1/34 10/35 10/0 9/0 ");
    const struct { WORD dpi; BYTE first; const char* after; } hints[] = {{96, 1, "1"},
        {120, 1, "!Important hint!: Y0"}, {0, 1, "!Important hint!: I1"}, {120, 0, "1"}};
    for (const auto& h : hints) {   // the box, then the mode
        appState.graphicMode = 1, appState.firstRun = h.first;
        Seen s = Play({"OK"}, [&] { ApplyFontResolutionRuleAt(h.dpi); });
        EXPECT_EQ((s.size() ? s[0] : "").substr(0, 19) + char('0' + appState.graphicMode), h.after);
    }
    auto enter = [](HWND prompt) {   // through the prompt's own loop, as typed
        HWND edit = GetDlgItem(prompt, IDC_DESCRIPTION_EDIT);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
        for (int i = 0; i < 100 && IsWindow(edit) && !GetWindowTextLengthA(edit); ++i) Sleep(10);
        Click(prompt, IDOK);
    };
    const struct { Answer act; std::string given; } typed[] = {{"=", ""}, {Answer(enter), "\r\n"},
        {("=" + std::string(1500, 'a')).c_str(), std::string(1023, 'a')}, {Answer([](HWND box) {
            Click(box, IDCANCEL), PostMessageA(box, WM_CLOSE, 0, 0); }), "<none>"}};
    for (const auto& row : typed) {
        char* block = nullptr;
        Seen seen = Play({row.act}, [&] { block = AskDescription(nullptr); });
        seen.push_back(block ? block : "<none>"), free(block);
        EXPECT_EQ(seen, (Seen{"Please enter a description for the Backup", row.given}));
    }
}
