// The compiled resources as the running program finds them: the resource
// compiler adds and drops style bits on its own, so the templates are read
// back byte by byte and compared with the intended ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/files.h"

namespace {

// ---- reading the module's own resources -----------------------------------

struct Blob {
    const BYTE* data;
    DWORD size;
};

Blob FindBlob(LPCSTR type, int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {nullptr, 0};
    HGLOBAL loaded = LoadResource(nullptr, found);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

// Walks a little-endian record, as the templates store it; reads past the end
// give zeros and mark the walk as overrun.
struct Cursor {
    Blob blob;
    DWORD at;
    bool overrun;
};

DWORD Take(Cursor& c, int bytes)
{
    DWORD value = 0;
    for (int i = 0; i < bytes; ++i) {
        if (c.at + i >= c.blob.size) {
            c.overrun = true;
            return 0;
        }
        value |= static_cast<DWORD>(c.blob.data[c.at + i]) << (8 * i);
    }
    c.at += bytes;
    return value;
}

WORD Word(Cursor& c) { return static_cast<WORD>(Take(c, 2)); }
DWORD Dword(Cursor& c) { return Take(c, 4); }
short Short(Cursor& c) { return static_cast<short>(Take(c, 2)); }
void AlignToDword(Cursor& c) { c.at = (c.at + 3) & ~3u; }

std::string WideString(Cursor& c)
{
    std::string text;
    for (WORD ch = Word(c); ch != 0 && !c.overrun; ch = Word(c))
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    return text;
}

// A name or an ordinal: none, "#n" for an ordinal, or the name itself. The
// predefined control classes are stored as atoms and shown by their names.
std::string NameOrOrdinal(Cursor& c, bool isClass)
{
    WORD first = Word(c);
    if (first == 0)
        return "";
    if (first != 0xFFFF) {
        c.at -= 2;
        return WideString(c);
    }
    WORD ordinal = Word(c);
    if (isClass) {
        static const char* const atoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX",
                                            "SCROLLBAR", "COMBOBOX"};
        if (ordinal >= 0x80 && ordinal <= 0x85)
            return atoms[ordinal - 0x80];
    }
    return "#" + std::to_string(ordinal);
}

// ---- dialog templates -----------------------------------------------------

struct ControlSpec {
    int id;
    const char* cls;
    const char* text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

struct DialogSpec {
    int id;
    bool extended;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* caption;
    WORD pointSize;
    WORD weight;      // extended templates only
    BYTE italic;      // extended templates only
    BYTE charset;     // extended templates only
    const char* face;
};

std::string Describe(const ControlSpec& c)
{
    char line[256];
    snprintf(line, sizeof line, "%d %s \"%s\" %d,%d,%d,%d style %08lX ex %08lX", c.id, c.cls,
             c.text, c.x, c.y, c.cx, c.cy, c.style, c.exStyle);
    return line;
}

std::string Describe(const DialogSpec& d, const char* menu, const char* cls)
{
    char line[512];
    snprintf(line, sizeof line,
             "%s style %08lX ex %08lX %d,%d,%d,%d menu \"%s\" class \"%s\" caption \"%s\" "
             "font %u \"%s\" weight %u italic %u charset %u",
             d.extended ? "DIALOGEX" : "DIALOG", d.style, d.exStyle, d.x, d.y, d.cx, d.cy, menu,
             cls, d.caption, d.pointSize, d.face, d.weight, d.italic, d.charset);
    return line;
}

// What the template holds, in the form the expectations are written in.
struct ReadTemplate {
    std::string header;
    std::vector<std::string> controls;
    bool overrun;
};

ReadTemplate ReadDialogTemplate(int id)
{
    ReadTemplate read{"<missing>", {}, false};
    Cursor c{FindBlob(MAKEINTRESOURCEA(5) /* RT_DIALOG */, id), 0, false};
    if (!c.blob.data)
        return read;
    DialogSpec d{};
    d.extended = c.blob.size >= 4 && c.blob.data[2] == 0xFF && c.blob.data[3] == 0xFF;
    if (d.extended) {
        Word(c);            // version
        Word(c);            // signature
        Dword(c);           // help id
        d.exStyle = Dword(c);
        d.style = Dword(c);
    } else {
        d.style = Dword(c);
        d.exStyle = Dword(c);
    }
    WORD count = Word(c);
    d.x = Short(c);
    d.y = Short(c);
    d.cx = Short(c);
    d.cy = Short(c);
    std::string menu = NameOrOrdinal(c, false);
    std::string cls = NameOrOrdinal(c, false);
    std::string caption = WideString(c);
    std::string face;
    if (d.style & DS_SETFONT) {
        d.pointSize = Word(c);
        if (d.extended) {
            d.weight = Word(c);
            d.italic = static_cast<BYTE>(Take(c, 1));
            d.charset = static_cast<BYTE>(Take(c, 1));
        }
        face = WideString(c);
    }
    d.caption = caption.c_str();
    d.face = face.c_str();
    read.header = Describe(d, menu.c_str(), cls.c_str());

    for (WORD i = 0; i < count && !c.overrun; ++i) {
        AlignToDword(c);
        ControlSpec control{};
        if (d.extended) {
            Dword(c);       // help id
            control.exStyle = Dword(c);
            control.style = Dword(c);
        } else {
            control.style = Dword(c);
            control.exStyle = Dword(c);
        }
        control.x = Short(c);
        control.y = Short(c);
        control.cx = Short(c);
        control.cy = Short(c);
        control.id = d.extended ? static_cast<int>(Dword(c)) : static_cast<short>(Word(c));
        std::string controlClass = NameOrOrdinal(c, true);
        std::string text = NameOrOrdinal(c, false);
        c.at += Word(c);    // creation data
        control.cls = controlClass.c_str();
        control.text = text.c_str();
        read.controls.push_back(Describe(control));
    }
    read.overrun = c.overrun;
    return read;
}

const DWORD kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;     // 0x50010000
const DWORD kStatic = WS_CHILD | WS_VISIBLE | WS_GROUP;                     // 0x50020000

const DialogSpec kMain = {IDD_MAIN, true, 0x80800840, 0, 0, 0, 244, 298, "", 9, 0, 0, 1,
                          "Exocet"};
const ControlSpec kMainControls[] = {
    {IDC_CHARACTER_LIST, "LISTBOX", "", 88, 64, 74, 115, 0x50A10103, 0},
    {IDC_SAVE_SLOT1, "BUTTON", "Save Slot 1", 167, 65, 60, 15, kPush, 0},
    {IDC_SAVE_SLOT2, "BUTTON", "Save Slot 2", 167, 89, 60, 15, kPush, 0},
    {IDC_SAVE_SLOT3, "BUTTON", "Save Slot 3", 167, 113, 60, 15, kPush, 0},
    {IDC_SAVE_SLOT4, "BUTTON", "Save Slot 4", 167, 137, 60, 15, kPush, 0},
    {IDC_SAVE_SLOT5, "BUTTON", "Save Slot 5", 167, 161, 60, 15, kPush, 0},
    {IDC_LOAD_SLOT1, "BUTTON", "Load Slot 1", 32, 65, 51, 15, kPush, 0},
    {IDC_LOAD_SLOT2, "BUTTON", "Load Slot 2", 32, 89, 51, 15, kPush, 0},
    {IDC_LOAD_SLOT3, "BUTTON", "Load Slot 3", 32, 113, 51, 15, kPush, 0},
    {IDC_LOAD_SLOT4, "BUTTON", "Load Slot 4", 32, 137, 51, 15, kPush, 0},
    {IDC_LOAD_SLOT5, "BUTTON", "Load Slot 5", 32, 161, 51, 15, kPush, 0},
    {IDC_EXIT, "BUTTON", "Exit", 137, 250, 52, 20, kPush, 0},
    {IDC_ACTIVATE_GAME, "BUTTON", "Activate Diablo II", 57, 250, 75, 20, kPush, 0},
    {IDC_ABOUT, "BUTTON", "About / Contact", 57, 215, 75, 20, kPush, WS_EX_STATICEDGE},
    {IDC_INFORMATION, "BUTTON", "Information", 137, 215, 52, 20, kPush, WS_EX_STATICEDGE},
    {IDC_DELETE_SLOT1, "BUTTON", "X", 12, 65, 16, 15, kPush, WS_EX_CLIENTEDGE},
    {IDC_DELETE_SLOT2, "BUTTON", "X", 12, 89, 16, 15, kPush, WS_EX_CLIENTEDGE},
    {IDC_DELETE_SLOT3, "BUTTON", "X", 12, 113, 16, 15, kPush, WS_EX_CLIENTEDGE},
    {IDC_DELETE_SLOT4, "BUTTON", "X", 12, 137, 16, 15, kPush, WS_EX_CLIENTEDGE},
    {IDC_DELETE_SLOT5, "BUTTON", "X", 12, 161, 16, 15, kPush, WS_EX_CLIENTEDGE},
};

const DialogSpec kDescription = {IDD_DESCRIPTION, false, 0x80C808C0, 0, 0, 0, 208, 71,
                                 "Please enter a description for the Backup", 8, 0, 0, 0,
                                 "MS Sans Serif"};
const ControlSpec kDescriptionControls[] = {
    {IDOK, "BUTTON", "OK", 151, 57, 50, 14, 0x50010001, 0},
    {IDC_DESCRIPTION_EDIT, "EDIT", "", 6, 5, 195, 45, 0x50811084, 0},
};

// The help text wraps and scrolls up and down (ES_AUTOVSCROLL); with
// ES_AUTOHSCROLL instead its long lines were cut off at the right edge.
const DialogSpec kHelp = {IDD_HELP, false, 0x80C800C0, 0, 0, 0, 227, 210, "Help", 8, 0, 0, 0,
                          "MS Sans Serif"};
const ControlSpec kHelpControls[] = {
    {IDC_HELP_TEXT, "EDIT", "", 9, 5, 210, 198, 0x50A11844, 0},
};

const DialogSpec kAbout = {IDD_ABOUT, true, 0x80C800C0, 0, 0, 0, 202, 161,
                           "Slotkeeper - V 1.02 (Build 140700)", 8, 0, 0, 1, "MS Sans Serif"};
const ControlSpec kAboutControls[] = {
    {IDC_ABOUT_SCROLLER, "STATIC", "", 5, 5, 190, 100, kStatic, WS_EX_CLIENTEDGE},
    {IDC_ABOUT_NOTICE, "STATIC",
     "Slotkeeper is freeware and may be passed on unchanged.\n(c) 2000 by the Slotkeeper authors",
     3, 114, 195, 18, kStatic | SS_CENTER, 0},
    {IDC_ABOUT_MAIL, "STATIC", "slotkeeper@example.org", 69, 134, 85, 10, kStatic | SS_CENTER, 0},
    {IDC_ABOUT_WEB, "STATIC", "www.example.org/slotkeeper", 65, 144, 101, 10, kStatic | SS_CENTER,
     0},
    {-1, "STATIC", "Contact:", 42, 135, 28, 10, kStatic, 0},
    {-1, "STATIC", "Updates:", 35, 144, 28, 10, kStatic, 0},
};

struct TemplateCase {
    const char* name;
    const DialogSpec* dialog;
    const ControlSpec* controls;
    size_t count;
};

template <size_t N>
TemplateCase Case(const char* name, const DialogSpec& dialog, const ControlSpec (&controls)[N])
{
    return {name, &dialog, controls, N};
}

const TemplateCase kTemplates[] = {
    Case("IDD_MAIN", kMain, kMainControls),
    Case("IDD_DESCRIPTION", kDescription, kDescriptionControls),
    Case("IDD_HELP", kHelp, kHelpControls),
    Case("IDD_ABOUT", kAbout, kAboutControls),
};

// ---- other resources ------------------------------------------------------

WORD BigWord(const BYTE* p) { return static_cast<WORD>(p[0] << 8 | p[1]); }
DWORD BigDword(const BYTE* p) { return static_cast<DWORD>(BigWord(p)) << 16 | BigWord(p + 2); }

// A name of the font's name table (Windows platform, Unicode, US English),
// or "<none>".
std::string FontName(Blob font, WORD nameId)
{
    if (font.size < 12 || BigDword(font.data) != 0x00010000)
        return "<not TrueType>";
    WORD tables = BigWord(font.data + 4);
    for (WORD t = 0; t < tables && 12 + 16u * (t + 1) <= font.size; ++t) {
        const BYTE* record = font.data + 12 + 16 * t;
        if (BigDword(record) != 0x6E616D65)     // 'name'
            continue;
        DWORD base = BigDword(record + 8);
        DWORD length = BigDword(record + 12);
        if (base + length > font.size || length < 6)
            return "<bad name table>";
        const BYTE* table = font.data + base;
        WORD count = BigWord(table + 2);
        const BYTE* strings = table + BigWord(table + 4);
        for (WORD n = 0; n < count && 6 + 12u * (n + 1) <= length; ++n) {
            const BYTE* entry = table + 6 + 12 * n;
            if (BigWord(entry) != 3 || BigWord(entry + 2) != 1 || BigWord(entry + 4) != 0x409 ||
                BigWord(entry + 6) != nameId)
                continue;
            WORD size = BigWord(entry + 8);
            const BYTE* text = strings + BigWord(entry + 10);
            if (text + size > font.data + font.size)
                return "<bad name>";
            std::string name;
            for (WORD i = 0; i + 1 < size; i += 2)
                name += static_cast<char>(BigWord(text + i));
            return name;
        }
    }
    return "<none>";
}

bool InsideWindowRegion(int x, int y)
{
    return (x >= 0 && x < 489 && y >= 79 && y < 322) || (x >= 87 && x < 402 && y >= 0 && y < 483);
}

INT_PTR CALLBACK IgnoreAllDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::string LoadedString(UINT id)
{
    char buffer[4096];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

}  // namespace

TEST(Resources, DialogTemplatesAreCompiledExactlyAsDesigned)
{
    for (const TemplateCase& tc : kTemplates) {
        SCOPED_TRACE(tc.name);
        std::vector<std::string> expected;
        for (size_t i = 0; i < tc.count; ++i)
            expected.push_back(Describe(tc.controls[i]));

        ReadTemplate read = ReadDialogTemplate(tc.dialog->id);

        EXPECT_EQ(read.header, Describe(*tc.dialog, "", ""));
        EXPECT_EQ(read.controls, expected);
        EXPECT_FALSE(read.overrun);
    }
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

TEST(Resources, FontIsTrueTypeOfTheExocetFamily)
{
    Blob font = FindBlob(MAKEINTRESOURCEA(8) /* RT_FONT */, IDR_SKIN_FONT);
    ASSERT_NE(font.data, nullptr);

    EXPECT_EQ(FontName(font, 1), "Exocet");
    EXPECT_EQ(FontName(font, 2), "Light");
    EXPECT_EQ(FontName(font, 4), "Exocet Light");
}

TEST(Resources, SkinIsA24BitBottomUpPictureBlackOutsideTheRegion)
{
    Blob skin = FindBlob(MAKEINTRESOURCEA(2) /* RT_BITMAP */, IDB_SKIN);
    ASSERT_GE(skin.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, skin.data, sizeof header);
    const DWORD stride = (490 * 3 + 3) & ~3u;

    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 490);
    EXPECT_EQ(header.biHeight, 484);    // positive: bottom-up rows
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biXPelsPerMeter, 2834);
    EXPECT_EQ(header.biYPelsPerMeter, 2834);
    EXPECT_EQ(header.biClrUsed, 0u);
    // No colour table: the pixels follow the header at once.
    ASSERT_EQ(skin.size, 40 + stride * 484);

    // The cross must fill the window region exactly: nothing painted outside
    // it, and its rim lit right up to the region's edge.
    auto isBlack = [&](int x, int y) {
        const BYTE* pixel = skin.data + 40 + stride * (483 - y) + 3 * x;
        return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
    };
    int paintedOutside = 0, blackOnEdge = 0, blackInside = 0, inside = 0;
    for (int y = 0; y < 484; ++y) {
        for (int x = 0; x < 490; ++x) {
            if (!InsideWindowRegion(x, y)) {
                paintedOutside += !isBlack(x, y);
                continue;
            }
            bool onEdge = !InsideWindowRegion(x - 1, y) || !InsideWindowRegion(x + 1, y) ||
                          !InsideWindowRegion(x, y - 1) || !InsideWindowRegion(x, y + 1);
            blackOnEdge += onEdge && isBlack(x, y);
            blackInside += isBlack(x, y);
            ++inside;
        }
    }
    EXPECT_EQ(paintedOutside, 0);
    EXPECT_EQ(blackOnEdge, 0);
    EXPECT_LT(blackInside, inside / 20);
}

TEST(Resources, IconGroupHoldsOne32By32ImageWith256Colours)
{
    Blob group = FindBlob(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, IDI_APP);
    ASSERT_GE(group.size, 6 + sizeof(IconGroupEntry));
    const WORD* dir = reinterpret_cast<const WORD*>(group.data);
    EXPECT_EQ(dir[1], 1);   // icons, not cursors
    ASSERT_EQ(dir[2], 1);   // one image
    ASSERT_EQ(group.size, 6 + sizeof(IconGroupEntry));
    IconGroupEntry entry;
    memcpy(&entry, group.data + 6, sizeof entry);

    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.bitCount, 8);

    Blob image = FindBlob(MAKEINTRESOURCEA(3) /* RT_ICON */, entry.id);
    ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(image.size, entry.bytes);
    BITMAPINFOHEADER header;
    memcpy(&header, image.data, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);     // the colour rows, then the mask rows
    EXPECT_EQ(header.biBitCount, 8);
}

// The skin is a fixed picture laid out for base units of 8 x 13 pixels: the
// embedded font has to produce exactly those at 9 points and 96 pixels per
// inch, or the controls miss their places on it.
class MainDialogWithEmbeddedFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir("font");
        path = dir + "\\exocet.ttf";
        Blob font = FindBlob(MAKEINTRESOURCEA(8) /* RT_FONT */, IDR_SKIN_FONT);
        ASSERT_NE(font.data, nullptr);
        WriteBytes(path, std::string(reinterpret_cast<const char*>(font.data), font.size));
        ASSERT_NE(AddFontResourceA(path.c_str()), 0);
        added = true;
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        if (added)
            RemoveFontResourceA(path.c_str());
        RemoveTree(dir);
    }
    std::string dir, path;
    bool added = false;
    HWND dialog = nullptr;
};

TEST_F(MainDialogWithEmbeddedFont, GivesBaseUnitsOf8By13Pixels)
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the base units are fixed for 96 pixels per inch";

    dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                IgnoreAllDlgProc, 0);
    ASSERT_NE(dialog, nullptr);

    // The dialog really uses the embedded face, not a substitute.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    EXPECT_STREQ(face, "Exocet");
    EXPECT_EQ(metrics.tmHeight, 13);

    RECT units = {0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.right, 8);
    EXPECT_EQ(units.bottom, 13);

    // 244 x 298 dialog units: the client area the skin was drawn for.
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 488);
    EXPECT_EQ(client.bottom, 484);
}
