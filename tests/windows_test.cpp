// What a player sees beside the character list and the slot buttons: the two
// looks of the main dialog, its other buttons, and the description prompt.
#include "support/support.h"

#include <cstdlib>

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/description_dialog.h"
#include "ui/main/graphic_mode.h"

// Opened with a stored 2, which counts as on, then switched off and on; the embedded
// font's 8 x 13 base units fit it to the skin. Only a first run at 120 dpi falls back.
TEST(Windows, GraphicModeHasItsFrameRegionAndFontAndIsLeftOnlyOnAFirstRun)
{
    ASSERT_TRUE(InstallSkinFont());
    MainWindowState state(2);
    ShowMainDialog([](HWND dialog) {
        for (BYTE mode : {2, 0, 1}) {
            if (mode != 2)
                OnDialogThread(dialog, [&] { SetGraphicMode(dialog, mode); });
            RECT r = {}, cross = {0, 0, 489, 483};
            HRGN region = CreateRectRgn(0, 0, 0, 0);   // the cross: its box, a corner left out
            std::string look = GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION ? "frame" : "bare";
            if (GetWindowRgn(dialog, region) != ERROR && GetRgnBox(region, &r))
                look += EqualRect(&r, &cross) && !PtInRegion(region, 86, 78) ? " cross" : " ?";
            look += SendDlgItemMessageA(dialog, IDC_EXIT, WM_GETFONT, 0, 0) ? " font " : " ";
            GetWindowRect(dialog, &r);
            look += std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
            EXPECT_EQ(look + " " + std::to_string(appState.graphicMode),
                      mode ? "bare cross font 490x486 1" : "frame 490x486 0");
            DeleteObject(region);
        }
    });
    RemoveSkinFont();
    const struct { WORD logPixels; BYTE firstRun; const char* after; } rows[] = {
        {120, 1, "!Important hint!: You are not using the default font resolution; 0"},
        {0, 1, "!Important hint!: If the dialog seems to be screwed up; 1"}, {96, 1, "1"},
        {120, 0, "1"}};
    for (const auto& row : rows) {
        appState.graphicMode = 1, appState.firstRun = row.firstRun;
        Seen seen = Play({"OK"}, [&] { ApplyFontResolutionRuleAt(row.logPixels); });
        EXPECT_EQ((seen.empty() ? "" : seen[0].substr(0, seen[0].find_first_of(",.")) + "; ") +
                  std::to_string(appState.graphicMode), row.after);
    }
}

// The other buttons as a player presses them, after their tips. Activate Diablo II brings
// up the game (by class and title), else runs the user's command, else the machine's.
TEST(Windows, OtherButtonsDoWhatTheirTipsSay)
{
    ClearAllKeys();
    SavePath save({"Amy\\5\\Amy.d2s", "notes="});
    auto noted = [&](const std::string& expected) {   // by the stand-in for other programs
        for (int i = 0; i < 1000 && ReadBytes(save.At("notes")).size() < expected.size(); ++i)
            Sleep(10);
        return ReadBytes(save.At("notes"));
    };
    std::string run = "\"" + ProgramDirectory() + "\\write_marker.exe\" " + save.At("notes ");
    SetString(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "", run + "%1");
    auto text = [](int id) { char s[2000]; return std::string(s, LoadStringA(0, id, s, 2000)); };
    auto help = [&](HWND help) {
        HWND edit = GetDlgItem(help, IDC_HELP_TEXT);
        int ink = -1;   // the first row of white text (more than a caret), once drawn at the top
        for (int i = 0; i < 100 && (SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0) ||
                                    unsigned(ink = FirstRowWith(edit, 0xFFFFFF, 50)) >= 13); ++i)
            Sleep(10);   // the window posts its way back to the top, then paints
        EXPECT_TRUE(FirstRowWith(edit, 0) == 0 && ink >= 0 && ink < 13) << "top line from " << ink;
        EXPECT_EQ(WindowText(edit), text(IDS_HELP_USES) + text(IDS_HELP_HINTS));
        PostMessageA(help, WM_CLOSE, 0, 0);
    };
    auto about = [&](HWND about) {
        HWND credits = GetDlgItem(about, IDC_ABOUT_SCROLLER);
        int first = -1, now = -1;   // the top row in red: once drawn, and once it rose
        for (int i = 0; i < 200 && !(first > 0 && now >= 0 && now < first); ++i, Sleep(10))
            (first < 0 ? first : now) = FirstRowWith(credits, RGB(255, 0, 0));
        EXPECT_TRUE(first > 0 && now >= 0 && now < first) << first << " then " << now;
        RECT link;   // the web link, which a click opens
        GetWindowRect(GetDlgItem(about, IDC_ABOUT_WEB), &link);
        SetCursorPos(link.left + 30, link.top + 5);
        SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(noted(ABOUT_WEB_TARGET "\n"), ABOUT_WEB_TARGET "\n");
        PostMessageA(about, WM_CLOSE, 0, 0);
    };
    std::string longest = run + std::string(MAX_PATH - run.size(), 'x');
    WNDCLASSA game = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                      GAME_WINDOW_CLASS};
    RegisterClassA(&game);
    HKEY user = HKEY_CURRENT_USER;
    const char* command = GAME_PROGRAM_VALUE;
    const struct { HKEY root; LPCSTR value; std::string data, noted; LPCSTR window; } rows[] = {
        {HKEY_LOCAL_MACHINE, command, run + "machine" + '\0', "machine\n", "Static"},
        {user, GAME_SAVE_PATH_VALUE, "C:\\", "", nullptr},   // the user's key wins
        {user, command, longest, "", nullptr},   // 260 bytes, no terminator: would be cut
        {user, command, run + "user" + '\0', "user\n", nullptr},
        {user, command, run + "user" + '\0', "", GAME_WINDOW_CLASS}};
    INT element = COLOR_WINDOW;   // black, where the default text would not show
    COLORREF saved = GetSysColor(COLOR_WINDOW), black = 0;
    SetSysColors(1, &element, &black);
    MainWindowState state;
    AddCharacter("Amy");
    ShowMainDialog([&](HWND dialog) {
        HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);   // the only one
        std::string tips;
        for (int id : {IDC_SAVE_SLOT1, IDC_DELETE_SLOT5, IDC_ACTIVATE_GAME, IDC_INFORMATION,
                       IDC_ABOUT, IDC_EXIT})
            tips += TipText(tooltip, dialog, id) + "; ";
        EXPECT_EQ(tips, "Save the current char; Delete this slot; Launches / Switches to Diablo "
                        "II; Help; About the author; You don't want to leave, do you?; ");
        Select(dialog, 0);
        NMTTDISPINFOA request = {{tooltip, UINT_PTR(GetDlgItem(dialog, IDC_LOAD_SLOT5)),
                                  static_cast<UINT>(TTN_NEEDTEXTA)}, nullptr, "", nullptr, 0, 0};
        SendMessageA(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));   // as it shows
        EXPECT_EQ(std::string(request.lpszText).substr(0, 25), "Amy, Slot 5\r\nLast played:");
        EXPECT_EQ(Play({Answer(help)}, [&] { Click(dialog, IDC_INFORMATION); }), Seen{"Help"});
        EXPECT_EQ(Play({Answer(about)}, [&] { Click(dialog, IDC_ABOUT); }),
                  Seen{"Slotkeeper - V 1.02 (Build 140700)"});
        std::string started = ABOUT_WEB_TARGET "\n";
        for (const auto& row : rows) {
            SetValue(row.root, GAME_KEY, row.value, REG_SZ, row.data);
            HWND window = row.window ? CreateWindowExA(0, row.window, GAME_WINDOW_TITLE,
                WS_OVERLAPPEDWINDOW, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr) : nullptr;
            Click(dialog, IDC_ACTIVATE_GAME);
            EXPECT_EQ(IsIconic(dialog) + 2 * IsZoomed(window), window && row.noted.empty() ? 3 : 1);
            ShowWindow(dialog, SW_RESTORE);
            ASSERT_EQ(noted(started += row.noted), started) << &row - rows;
        }
    });
    SetSysColors(1, &element, &saved);
    ClearAllKeys();
    std::string frames;   // of an opening: a lead-in, twelve a line, one empty after the 35th
    ScrollState scroll = StartScroll();
    for (int n = 1; n <= 472; ++n) {
        ScrollFrame at = AdvanceScroll(scroll);
        if (n == 1 || n == 50 || (n >= 59 && n <= 62) || n >= 469)
            frames += std::to_string(at.topOffset) + "/" + std::to_string(at.linesSkipped) + " ";
    }
    EXPECT_EQ(frames, "59/0 10/0 1/0 0/0 -1/0 10/1 -1/34 10/35 10/0 9/0 ");
}

// OK gives what was typed, cut to 1023 characters, Enter starting a new line;
// Cancel is ignored and only closing gives nothing.
TEST(Windows, DescriptionPromptGivesTheTypedLinesOnlyThroughOk)
{
    appState.instance = GetModuleHandleA(nullptr);
    auto enter = [](HWND prompt) {   // through the prompt's own loop, as typed
        HWND edit = GetDlgItem(prompt, IDC_DESCRIPTION_EDIT);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
        for (int i = 0; i < 100 && IsWindow(edit) && !GetWindowTextLengthA(edit); ++i)
            Sleep(10);
        Click(prompt, IDOK);
    };
    auto cancel = [](HWND box) { Click(box, IDCANCEL), PostMessageA(box, WM_CLOSE, 0, 0); };
    const std::string text(1500, 'a');
    const struct { Answer answer; std::string given; } rows[] = {{"=", ""}, {Answer(enter), "\r\n"},
        {("=" + text).c_str(), text.substr(0, 1023)}, {Answer(cancel), "<none>"}};
    for (const auto& row : rows) {
        char* block = nullptr;
        EXPECT_EQ(Play({row.answer}, [&] { block = AskDescription(nullptr); }),
                  Seen{"Please enter a description for the Backup"});
        EXPECT_EQ(block ? block : "<none>", row.given);
        free(block);
    }
}
