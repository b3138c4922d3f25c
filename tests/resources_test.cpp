// The compiled resources as the running program finds them: the resource
// compiler adds and drops style bits on its own, so the templates are read
// back byte by byte and compared with the intended ones.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

// The bytes of one of this module's resources; empty when there is none.
std::string Resource(int type, int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return found ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

// Little-endian fields one after the other; reading past the end gives zeros.
struct Reader {
    std::string data;
    DWORD at;
    DWORD Take(int bytes)
    {
        DWORD value = 0;
        for (int i = 0; i < bytes; ++i, ++at)
            value |= (at < data.size() ? static_cast<BYTE>(data[at]) : 0u) << (8 * i);
        return value;
    }
    std::string Fields(std::initializer_list<int> sizes)
    {
        std::string text;
        for (int bytes : sizes)
            text += std::to_string(Take(bytes)) + " ";
        return text;
    }
    std::string Text()
    {
        std::string text;
        for (DWORD ch = Take(2); ch != 0; ch = Take(2))
            text += static_cast<char>(ch);
        return text;
    }
    // A name, or "#n" for an ordinal; the predefined classes by their names.
    std::string Name(bool isClass = false)
    {
        static const char* const kAtoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX"};
        if (Take(2) != 0xFFFF)
            return at -= 2, Text();
        DWORD ordinal = Take(2);
        return isClass && ordinal - 0x80 < 4 ? kAtoms[ordinal - 0x80] : "#" + std::to_string(ordinal);
    }
    // "style exStyle x y cx cy ": extended records hold the extended style
    // first, and a dialog's count of controls comes before its rectangle.
    std::string Frame(bool ex, DWORD& style, DWORD* count)
    {
        DWORD first = Take(4), second = Take(4);
        style = ex ? second : first;
        if (count)
            *count = Take(2);
        char text[20];
        snprintf(text, sizeof text, "%08lX %08lX ", style, ex ? first : second);
        return text + Fields({2, 2, 2, 2});
    }
};

// "DIALOG[EX] style exStyle x y cx cy menu class caption font", then one
// line per control as Control() writes it.
std::vector<std::string> ReadDialog(int id)
{
    Reader r{Resource(5 /* RT_DIALOG */, id), 0};
    bool ex = r.Take(4) == 0xFFFF0001;
    r.at = ex ? 8 : 0;   // past the help id
    DWORD style = 0, count = 0;
    std::string line = (ex ? "DIALOGEX " : "DIALOG ") + r.Frame(ex, style, &count);
    for (int part = 0; part < 3; ++part)
        line += "\"" + (part < 2 ? r.Name() : r.Text()) + "\" ";
    if (style & DS_SETFONT) {   // points, then weight, italic and charset in extended ones
        line += ex ? r.Fields({2, 2, 1, 1}) : r.Fields({2});
        line += r.Text();
    }
    std::vector<std::string> lines{line};
    for (DWORD i = 0; i < count; ++i) {
        r.at = ((r.at + 3) & ~3u) + (ex ? 4 : 0);   // aligned, past the help id
        std::string frame = r.Frame(ex, style, nullptr);
        int control = ex ? static_cast<int>(r.Take(4)) : static_cast<short>(r.Take(2));
        std::string cls = r.Name(true);
        lines.push_back(std::to_string(control) + " " + cls + " \"" + r.Name() + "\" " + frame);
        r.at += r.Take(2);   // creation data
    }
    return lines;
}

std::string Control(int id, const char* cls, const char* text, const char* frame)
{
    return std::to_string(id) + " " + cls + " \"" + text + "\" " + frame;
}

// Push buttons are WS_CHILD | WS_VISIBLE | WS_TABSTOP (50010000), the statics
// WS_CHILD | WS_VISIBLE | WS_GROUP (50020000), plus SS_CENTER (1).
const std::vector<std::string> kTemplates[] = {
    {"DIALOGEX 80800840 00000000 0 0 244 298 \"\" \"\" \"\" 9 0 0 1 Exocet",
     Control(IDC_CHARACTER_LIST, "LISTBOX", "", "50A10103 00000000 88 64 74 115 "),
     Control(IDC_SAVE_SLOT1, "BUTTON", "Save Slot 1", "50010000 00000000 167 65 60 15 "),
     Control(IDC_SAVE_SLOT2, "BUTTON", "Save Slot 2", "50010000 00000000 167 89 60 15 "),
     Control(IDC_SAVE_SLOT3, "BUTTON", "Save Slot 3", "50010000 00000000 167 113 60 15 "),
     Control(IDC_SAVE_SLOT4, "BUTTON", "Save Slot 4", "50010000 00000000 167 137 60 15 "),
     Control(IDC_SAVE_SLOT5, "BUTTON", "Save Slot 5", "50010000 00000000 167 161 60 15 "),
     Control(IDC_LOAD_SLOT1, "BUTTON", "Load Slot 1", "50010000 00000000 32 65 51 15 "),
     Control(IDC_LOAD_SLOT2, "BUTTON", "Load Slot 2", "50010000 00000000 32 89 51 15 "),
     Control(IDC_LOAD_SLOT3, "BUTTON", "Load Slot 3", "50010000 00000000 32 113 51 15 "),
     Control(IDC_LOAD_SLOT4, "BUTTON", "Load Slot 4", "50010000 00000000 32 137 51 15 "),
     Control(IDC_LOAD_SLOT5, "BUTTON", "Load Slot 5", "50010000 00000000 32 161 51 15 "),
     Control(IDC_EXIT, "BUTTON", "Exit", "50010000 00000000 137 250 52 20 "),
     Control(IDC_ACTIVATE_GAME, "BUTTON", "Activate Diablo II", "50010000 00000000 57 250 75 20 "),
     Control(IDC_ABOUT, "BUTTON", "About / Contact", "50010000 00020000 57 215 75 20 "),
     Control(IDC_INFORMATION, "BUTTON", "Information", "50010000 00020000 137 215 52 20 "),
     Control(IDC_DELETE_SLOT1, "BUTTON", "X", "50010000 00000200 12 65 16 15 "),
     Control(IDC_DELETE_SLOT2, "BUTTON", "X", "50010000 00000200 12 89 16 15 "),
     Control(IDC_DELETE_SLOT3, "BUTTON", "X", "50010000 00000200 12 113 16 15 "),
     Control(IDC_DELETE_SLOT4, "BUTTON", "X", "50010000 00000200 12 137 16 15 "),
     Control(IDC_DELETE_SLOT5, "BUTTON", "X", "50010000 00000200 12 161 16 15 ")},
    {"DIALOG 80C808C0 00000000 0 0 208 71 \"\" \"\" \"Please enter a description for the Backup\" 8 "
     "MS Sans Serif",
     Control(IDOK, "BUTTON", "OK", "50010001 00000000 151 57 50 14 "),
     Control(IDC_DESCRIPTION_EDIT, "EDIT", "", "50811084 00000000 6 5 195 45 ")},
    // The help text wraps (no ES_AUTOHSCROLL), or its long lines are cut off.
    {"DIALOG 80C800C0 00000000 0 0 227 210 \"\" \"\" \"Help\" 8 MS Sans Serif",
     Control(IDC_HELP_TEXT, "EDIT", "", "50A11844 00000000 9 5 210 198 ")},
    {"DIALOGEX 80C800C0 00000000 0 0 202 161 \"\" \"\" \"Slotkeeper - V 1.02 (Build 140700)\" 8 0 0 1 "
     "MS Sans Serif",
     Control(IDC_ABOUT_SCROLLER, "STATIC", "", "50020000 00000200 5 5 190 100 "),
     Control(IDC_ABOUT_NOTICE, "STATIC", "Slotkeeper is freeware and may be passed on unchanged.\n"
             "(c) 2000 by the Slotkeeper authors", "50020001 00000000 3 114 195 18 "),
     Control(IDC_ABOUT_MAIL, "STATIC", "slotkeeper@example.org", "50020001 00000000 69 134 85 10 "),
     Control(IDC_ABOUT_WEB, "STATIC", "www.example.org/slotkeeper", "50020001 00000000 65 144 101 10 "),
     Control(-1, "STATIC", "Contact:", "50020000 00000000 42 135 28 10 "),
     Control(-1, "STATIC", "Updates:", "50020000 00000000 35 144 28 10 ")},
};

std::string LoadedString(UINT id)
{
    char buffer[4096];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TEST(Resources, DialogTemplatesAreCompiledExactlyAsDesigned)
{
    const int ids[] = {IDD_MAIN, IDD_DESCRIPTION, IDD_HELP, IDD_ABOUT};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ReadDialog(ids[i]), kTemplates[i]) << "template " << ids[i];
}

TEST(Resources, HelpStringsAreByteExact)
{
    EXPECT_EQ(LoadedString(IDS_HELP_USES),
              "What can you use the Slotkeeper for:\r\n\r\n"
              "+ Make BACKUPS of your characters to protect them\r\n"
              "   from accidental deletion and crashes\r\n\r\n"
              "+ Backup your character before you GAMBLE - You will\r\n"
              "   save a lot of money because you can load if you bought\r\n"
              "   a +1 Light Radius Ring for 50000 :)\r\n\r\n"
              "+ Backup before you face BOSSES - Remember, you loose\r\n"
              "   money if you die!\r\n\r\n"
              "+ Use the Slotkeeper to CHEAT. You need a LAN or to\r\n"
              "   play over the open B.net. Backup your char, give all your\r\n"
              "   money and items another player. Now when you load your\r\n"
              "   backup you have all your equipment twice. (Provided\r\n"
              "   said player gives it back to you ;)\r\n\r\n"
              "+ Before you TRY something out, backup your character\r\n\r\n\r\n");
    EXPECT_EQ(LoadedString(IDS_HELP_HINTS),
              "Additional Hints:\r\n\r\n"
              "+ Before you restore or backup, always SAVE & EXIT\r\n"
              "   to return to the main menu. Loading during a running game\r\n"
              "   won't do much and saving isn't guaranteed to work.\r\n\r\n"
              "+ Use ALT + TAB to switch to the Slotkeeper from the\r\n"
              "   Diablo main menu. You can return to Diablo / launch it\r\n"
              "   by pressing the \"Diablo II\" button");
}

TEST(Resources, SkinAndIconHeaders)
{
    // Size, width, height (positive: bottom-up), planes, bits, BI_RGB, image
    // bytes, pixels per metre, colours used and important; no colour table.
    Reader skin{Resource(2 /* RT_BITMAP */, IDB_SKIN), 0};
    EXPECT_EQ(skin.Fields({4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4}), "40 490 484 1 24 0 712448 2834 2834 0 0 ");
    EXPECT_EQ(skin.data.size(), 40u + 1472 * 484);

    // Icons, one entry: 32 x 32 pixels, 1 plane, 8 bits, then its size and id.
    Reader group{Resource(14 /* RT_GROUP_ICON */, IDI_APP), 0};
    EXPECT_EQ(group.Fields({2, 2, 2, 1, 1, 1, 1, 2, 2}), "0 1 1 32 32 0 0 1 8 ");
    DWORD bytes = group.Take(4);
    Reader image{Resource(3 /* RT_ICON */, group.Take(2)), 0};
    EXPECT_EQ(group.at, group.data.size());
    EXPECT_EQ(image.data.size(), bytes);
    EXPECT_EQ(image.Fields({4, 4, 4, 2, 2}), "40 32 64 1 8 ");   // colour rows, then mask rows
}

// The skin is a fixed picture laid out for base units of 8 x 13 pixels: the
// embedded font has to produce exactly those at 9 points and 96 pixels per
// inch, or the controls miss their places on it.
TEST(Resources, EmbeddedFontGivesTheMainDialogBaseUnitsOf8By13Pixels)
{
    std::string font = Resource(8 /* RT_FONT */, IDR_SKIN_FONT);
    DWORD faces = 0;
    HANDLE added = AddFontMemResourceEx(&font[0], static_cast<DWORD>(font.size()), nullptr, &faces);
    ASSERT_NE(added, nullptr);
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), nullptr, IgnoreAll, 0);
    // The dialog really uses the embedded face, not a substitute.
    HDC dc = GetDC(dialog);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    EXPECT_STREQ(face, "Exocet");
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    DestroyWindow(dialog);
    RemoveFontMemResourceEx(added);
    EXPECT_EQ(units.right, 8);
    EXPECT_EQ(units.bottom, 13);
}
