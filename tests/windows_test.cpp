// What a player sees beside the character list and the slot buttons: the two
// looks of the main dialog, its other buttons, and the description prompt.
#include "support/support.h"

#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/description_dialog.h"
#include "ui/main/graphic_mode.h"

// A stored 2 counts as on; the embedded font's 8 x 13 base units fit the skin. Activate Diablo II
// brings up the game (by class and title), else runs the user's command, else the machine's.
// Credits: a lead-in, twelve frames a line, one empty after the 35th. Only a first run at 120 dpi
// falls back. OK gives what was typed, at most 1023 characters; closing or no prompt gives none.
TEST(Windows, LooksButtonsCreditsHintsAndDescriptionPromptAsAPlayerSeesThem)
{
    ASSERT_TRUE(InstallSkinFont());   // from a new file, hidden
    EXPECT_TRUE(GetFileAttributesA(appState.tempFontPath) & FILE_ATTRIBUTE_HIDDEN);
    ClearAllKeys();
    SavePath save({"Amy\\5\\Amy.d2s", "Amy\\5\\desc.txt=" + std::string(300, 'w'), "notes="});
    auto noted = [&](const std::string& s) {   // by cmd, the game and browser here
        for (int i = 0; i < 1000 && ReadBytes(save.At("notes")).size() < s.size(); ++i) Sleep(10);
        return ReadBytes(save.At("notes"));
    };
    std::string run = "cmd /c >>" + save.At("notes") + " echo ";   // notes the rest
    for (std::string key : {"https", "mailto"})   // the browser and the mail program
        SetValue(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key + "\\shell\\open\\command")
                 .c_str(), "", REG_SZ, run + "%1" + '\0');
    auto inked = [](HWND window, COLORREF colour) {   // once drawn
        for (int i = 0; i < 100 && FirstRowWith(window, colour) < 0; ++i) Sleep(10);
        return FirstRowWith(window, colour) >= 0;
    };
    auto help = [&](HWND help) {
        HWND edit = GetDlgItem(help, IDC_HELP_TEXT);
        int ink = -1;   // the first row of white text (more than a caret), once drawn at the top
        for (int i = 0; i < 100 && (SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0) ||
                                    unsigned(ink = FirstRowWith(edit, 0xFFFFFF, 50)) >= 13); ++i)
            Sleep(10);   // the window posts its way back to the top, then paints
        EXPECT_TRUE(FirstRowWith(edit, 0) == 0 && ink >= 0 && ink < 13) << "top line from " << ink;
        DWORD from = 1, to = 0;   // a selection is dropped when drawn; nothing can be typed
        SendMessageA(edit, WM_CHAR, 'x', 1), SendMessageA(edit, EM_SETSEL, 0, 5);
        RedrawWindow(edit, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(edit, EM_GETSEL, WPARAM(&from), LPARAM(&to));
        char uses[2048] = "", hints[2048] = "Additional Hints:";   // the uses, then the hints
        LoadStringA(0, IDS_HELP_USES, uses, 2048), LoadStringA(0, IDS_HELP_HINTS, hints + 17, 2031);
        EXPECT_EQ(WindowText(edit) + std::to_string(to - from),
                  uses + std::string(hints + 17) + "0");
        EXPECT_EQ(std::string(hints, 17), std::string(hints + 17, 17));
        PostMessageA(help, WM_CLOSE, 0, 0);
    };
    std::string opened;   // by the links, then by the game's command
    auto about = [&](HWND about) {
        int first = -1, now = -1;   // the top row in red: once drawn, and once it rose
        for (int i = 0; i < 200 && !(first > 0 && now >= 0 && now < first); ++i, Sleep(10))
            (first < 0 ? first : now) = FirstRowWith(GetDlgItem(about, IDC_ABOUT_SCROLLER), 255);
        EXPECT_TRUE(first > 0 && now >= 0 && now < first) << first << " then " << now;
        SendMessageA(about, WM_COMMAND, IDCANCEL, 0);   // Escape leaves the credits open
        std::string links = IsWindowVisible(about) ? "" : "closed ";
        for (auto [id, url] : {std::pair(IDC_ABOUT_MAIL, "mailto:slotkeeper@example.org\r\n"),
                               {IDC_ABOUT_WEB, "https://www.example.org/slotkeeper\r\n"}}) {
            POINT at = {30, 5};
            HWND link = GetDlgItem(about, id);
            SetCursorPos(0, 0), SendMessageA(about, WM_MOUSEMOVE, 0, 0);
            links += inked(link, 0xFF0000) ? "blue " : "";
            ClientToScreen(link, &at), SetCursorPos(at.x, at.y);
            SendMessageA(about, WM_MOUSEMOVE, 0, 0);
            links += inked(link, 0xFFFFFF) ? "white " : "";
            SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            links += noted(opened += url) == opened ? "opened " : "";
        }
        PostMessageA(about, WM_CLOSE, 0, 0);
        EXPECT_EQ(links, "blue white opened blue white opened ");   // white under the cursor
    };
    WNDCLASSA game = {0, DefWindowProcA, 0, 0, 0, 0, 0, 0, 0, "Diablo II"};
    RegisterClassA(&game);
    const struct { std::string data, noted; LPCSTR window = nullptr, value = "Program";
                   HKEY root = HKEY_CURRENT_USER; } rows[] = {   // after nothing, something noted
        {run + "machine" + '\0', "machine\r\n", "Static", "Program", HKEY_LOCAL_MACHINE},
        {"C:\\", "", nullptr, "Save Path"},   // the user's key wins, even without it
        {run + "user" + '\0', "user\r\n"},
        {run + std::string(MAX_PATH - run.size(), 'x'), ""},   // no terminator: would be cut
        {run + "user" + '\0', "", "Diablo II"}, {run + "again" + '\0', "again\r\n"}};
    INT element = COLOR_WINDOW;   // black, where the default text would not show
    COLORREF saved = GetSysColor(COLOR_WINDOW), black = 0;
    SetSysColors(1, &element, &black);
    MainWindowState state(2);
    AddCharacter("Amy");
    ShowMainDialog([&](HWND dialog) {
        for (BYTE mode : {2, 0, 1}) {
            OnDialogThread(dialog, [&] {
                if (mode != 2) SetGraphicMode(dialog, mode);
                RedrawWindow(dialog, 0, 0, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            });
            HRGN region = CreateRectRgn(0, 0, 0, 0);   // the cross, its corners left out
            std::string look = GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION ? "frame " : "";
            if (GetWindowRgn(dialog, region) == COMPLEXREGION && !PtInRegion(region, 86, 78))
                look += PtInRegion(region, 87, 0) && PtInRegion(region, 488, 321) ? "cross " : "";
            HDC dc = GetDC(dialog);   // the skin above the list, and the list's top row in red
            look += GetPixel(dc, 245, 30) == RGB(130, 17, 4) ? "skin " : "";
            look += unsigned(FirstRowWith(GetDlgItem(dialog, 1001), 192, 100)) < 4 ? "red " : "";
            for (int id : {1016, 1012, 1007})   // the skin's font on About and Exit, not on an X
                look += SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0) ==
                        LRESULT(appState.mainFont) ? "f" : "-";
            RECT r;
            DeleteObject(region), ReleaseDC(dialog, dc), GetWindowRect(dialog, &r);
            EXPECT_EQ(look + char('0' + appState.graphicMode),
                      mode ? "cross skin red f-f1" : "frame ---0");
            EXPECT_EQ((r.right - r.left) * 1000 + r.bottom - r.top, 490486);   // 490 x 486
        }
        HWND tips = FindWindowA(TOOLTIPS_CLASSA, nullptr);
        std::string fixed;   // the tooltips of About, Information, Activate, Exit, a Save and an X
        for (int id : {1016, 1017, 1015, 1007, 1006, 1021}) {
            char tip[80] = "";
            TOOLINFOA tool = {TTTOOLINFOA_V1_SIZE, 0, dialog, UINT_PTR(GetDlgItem(dialog, id)), {},
                              0, tip, 0, 0};
            SendMessageA(tips, TTM_GETTEXTA, sizeof tip, LPARAM(&tool)), fixed.append(tip) += "|";
        }
        EXPECT_EQ(fixed, "About the author|Help|Launches / Switches to Diablo II|You don't want to "
                         "leave, do you?|Save the current char|Delete this slot|");
        NMTTDISPINFOA request = {{tips, UINT_PTR(GetDlgItem(dialog, 1014)),   // Load Slot 5
                                  static_cast<UINT>(TTN_NEEDTEXTA)}, nullptr, "", nullptr, 0, 0};
        auto tip = [&] {
            return SendMessageA(dialog, WM_NOTIFY, 0, LPARAM(&request)), request.lpszText;
        };
        Select(dialog, 0);   // then none: a tip still showing has nothing to describe
        std::string amy = tip(), none = (SendDlgItemMessageA(dialog, 1001, LB_SETCURSEL, -1, 0),
                                         tip());
        EXPECT_EQ(amy.substr(0, 26) + "|" + amy.substr(amy.size() - 4) + "|" + none + "|" +
                  std::to_string(SendMessageA(tips, TTM_GETMAXTIPWIDTH, 0, 0)),
                  "Amy, Slot 5\r\nLast played: |wwww||640");   // on lines no wider than 640
        EXPECT_EQ(Play({Answer(help)}, [&] { Click(dialog, IDC_INFORMATION); }), Seen{"Help"});
        EXPECT_EQ(Play({Answer(about)}, [&] { Click(dialog, IDC_ABOUT); }),
                  Seen{"Slotkeeper - V 1.02 (Build 140700)"});
        EXPECT_LT(HandlesLeakedBy([&] {   // sixty more openings leave nothing behind
            for (int i = 0; i < 60; ++i) Play({"Close"}, [&] { Click(dialog, IDC_ABOUT); });
        }), 40);
        for (const auto& row : rows) {
            SetValue(row.root, "Software\\Blizzard Entertainment\\Diablo II", row.value, REG_SZ,
                     row.data);
            HWND game = CreateWindowA(row.window, "Diablo II", 0, 0, 0, 9, 9, 0, 0, 0, 0);
            ShowWindow(dialog, SW_RESTORE), Click(dialog, IDC_ACTIVATE_GAME);
            EXPECT_EQ(IsIconic(dialog) + 2 * IsZoomed(game), game && row.noted.empty() ? 3 : 1);
            ASSERT_EQ(noted(opened += row.noted), opened) << &row - rows;
            DestroyWindow(game);
        }
        std::string menu;   // a right-click opens the menu where asked; "&Minimize" minimises
        auto round = [&] {   // a paint, a Load tip and a right-click
            OnDialogThread(dialog, [&] {
                RedrawWindow(dialog, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW);
            });
            Select(dialog, 0), tip(), ShowWindow(dialog, SW_RESTORE);
            SendNotifyMessageA(dialog, WM_CONTEXTMENU, 0, MAKELPARAM(100, 300));
            RECT at = {};
            HWND shown = nullptr;   // the menu, once it shows
            for (int i = 0; i < 200 && !IsWindowVisible(shown = FindWindowA("#32768", 0)); ++i)
                Sleep(5);
            GetWindowRect(shown, &at), PostMessageA(dialog, WM_CHAR, 'M', 1);
            for (int i = 0; i < 200 && !IsIconic(dialog) && IsWindowVisible(dialog); ++i) Sleep(5);
            menu = std::to_string(at.left) + "," + std::to_string(at.top) +
                   (IsIconic(dialog) && IsWindowVisible(dialog) ? " minimised" : "");
        };
        round();   // then a hundred more leave no handle behind
        EXPECT_LT(HandlesLeakedBy([&] { for (int i = 0; i < 100; ++i) round(); }), 50);
        EXPECT_EQ(menu, "100,300 minimised");
    });
    RemoveSkinFont(), SetSysColors(1, &element, &saved), ClearAllKeys();
    std::string frames;
    ScrollState scroll = StartScroll();
    for (int n = 1; n <= 472; ++n)
        if (ScrollFrame f = AdvanceScroll(scroll); n < 2 || (n > 58 && n < 63) || n > 468)
            frames += std::to_string(f.topOffset) + "/" + std::to_string(f.linesSkipped) + " ";
    EXPECT_EQ(frames, "59/0 1/0 0/0 -1/0 10/1 -1/34 10/35 10/0 9/0 ");
    const std::string other = "!Important hint!: You are not using the default font resolution. "
        "This will cause the\napp to look screwed up in graphical mode. Therefore you are defaulted"
        "\nto non graphical mode. To turn on the graphics, right click on the dialog\nand select "
        "\"Toggle Graphic Mode\".";
    const struct { WORD dpi; BYTE first; std::string after; } hints[] = {{96, 1, "1"},
        {120, 1, other + "0"}, {0, 1, kUnknownResolutionHint + std::string("1")}, {120, 0, "1"}};
    for (const auto& h : hints) {   // the box, then the mode
        appState.graphicMode = 1, appState.firstRun = h.first;
        Seen s = Play({"OK"}, [&] { ApplyFontResolutionRuleAt(h.dpi); });
        EXPECT_EQ((s.size() ? s[0] : "") + char('0' + appState.graphicMode), h.after);
    }
    auto enter = [](HWND prompt) {   // through the prompt's own loop, as typed
        HWND edit = GetDlgItem(prompt, IDC_DESCRIPTION_EDIT);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
        for (int i = 0; i < 100 && IsWindow(edit) && !GetWindowTextLengthA(edit); ++i) Sleep(10);
        Click(prompt, IDOK);
    };
    const struct { Answer act; std::string given; const char* module = nullptr; } typed[] = {
        {"=", ""}, {Answer(enter), "\r\n"},
        {("=" + std::string(1500, 'a')).c_str(), std::string(1023, 'a')},
        {Answer([](HWND box) { Click(box, IDCANCEL), PostMessageA(box, WM_CLOSE, 0, 0); }),
         "<none>"},
        {"OK", "<none>", "kernel32"}};   // a module without the prompt: none to show
    for (const auto& row : typed) {
        char* block = (appState.instance = GetModuleHandleA(row.module), nullptr);
        Seen seen = Play({row.act}, [&] { block = AskDescription(nullptr); });
        seen.push_back(block == (char*)-1 ? "<-1>" : block ? block : "<none>");
        free(block == (char*)-1 ? nullptr : block);
        Seen prompted = {"Please enter a description for the Backup", row.given};
        EXPECT_EQ(seen, row.module ? Seen{row.given} : prompted);
    }
}
