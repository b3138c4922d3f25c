#include "ui/dialogs/about_dialog.h"

#include <shellapi.h>

#include "resource.h"

namespace {

const int kLeadInStart = -50;
const int kTicksPerLine = 10;
// Ten ticks for each of the 35 line feeds of the credits: at the last tick
// the whole text has scrolled away and the panel is empty.
const int kLastTick = 350;
const int kLineStartOffset = 10;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

const char kCredits[] =
    "Written by the Slotkeeper authors in 2000\r\n"
    "\r\n"
    "We wrote this little tool after a crash took a hero\r\n"
    "we had played for weeks. Since then every character\r\n"
    "of ours gets a copy before anything risky happens:\r\n"
    "a boss fight, some gambling, a new skill plan.\r\n"
    "Five slots per hero turned out to be plenty for us.\r\n"
    "\r\n"
    "Slotkeeper only copies files by their names. It never\r\n"
    "looks inside a savegame, so whatever the game writes,\r\n"
    "a slot holds. Keep the game at its main menu while\r\n"
    "you save or load a slot, and your heroes stay safe.\r\n"
    "\r\n"
    "If you like the tool, found a bug or miss a feature,\r\n"
    "please write to the address below. Every letter\r\n"
    "is read, and good ideas will find a way into the\r\n"
    "next version. Thank you for keeping heroes with us!\r\n"
    "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
    "Still watching? Really?!\r\n"
    "\r\n\r\n\r\n"
    "That is all now.\r\n"
    "\r\n\r\n"
    "Go on now, your characters are waiting for you. :)\r\n";

// One about window at a time; the hover flags outlive an opening so a link
// is repainted only when the cursor really crossed its edge.
ScrollState scroll;
RECT scrollerRect;
HFONT creditsFont;
HFONT noticeFont;
bool mailHover;
bool webHover;

// The stock brush needs no deleting, so frames and repaints cannot leak one.
HBRUSH BlackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

HFONT CreatePlainFont(int height, const char* face)
{
    return CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, face);
}

// The cursor as it is now, not as a mouse message saw it; the whole client
// rectangle counts, also the blank beside a centred text.
bool IsCursorOverControl(HWND control)
{
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(control, &cursor);
    RECT client;
    GetClientRect(control, &client);
    return PtInRect(&client, cursor) != FALSE;
}

void DrawCreditsFrame(HWND dialog)
{
    ScrollFrame frame = AdvanceScroll(scroll);
    RECT drawRect = scrollerRect;
    drawRect.top = scrollerRect.top + frame.topOffset;
    const char* text = SkipCreditLines(kCredits, frame.linesSkipped);

    // Painted straight away rather than through WM_PAINT, so a frame never
    // waits for the window to be invalidated.
    HWND scroller = GetDlgItem(dialog, IDC_ABOUT_SCROLLER);
    HDC dc = GetDC(scroller);
    if (!dc)
        return;
    FillRect(dc, &scrollerRect, BlackBrush());
    HGDIOBJ oldFont = SelectObject(dc, creditsFont);
    SetBkColor(dc, kBlack);
    SetTextColor(dc, kRed);
    DrawTextA(dc, text, -1, &drawRect, DT_LEFT | DT_TOP);
    // The font goes back out of the shared device context before it can be
    // deleted at the end.
    SelectObject(dc, oldFont);
    ReleaseDC(scroller, dc);
}

void InitAboutDialog(HWND dialog)
{
    scroll = StartScroll();
    noticeFont = CreatePlainFont(11, "Small Fonts");
    creditsFont = CreatePlainFont(10, "MS Sans Serif");
    SendDlgItemMessageA(dialog, IDC_ABOUT_NOTICE, WM_SETFONT, reinterpret_cast<WPARAM>(noticeFont),
                        TRUE);
    SetTimer(dialog, 0, SCROLL_INTERVAL_MS, nullptr);
    GetClientRect(GetDlgItem(dialog, IDC_ABOUT_SCROLLER), &scrollerRect);
    scrollerRect.top += 1;
    SendMessageA(dialog, WM_TIMER, 0, 0);
}

INT_PTR ColorStatic(HDC dc, HWND control)
{
    int id = GetDlgCtrlID(control);
    if (id == IDC_ABOUT_SCROLLER)
        return reinterpret_cast<INT_PTR>(BlackBrush());
    if (id == IDC_ABOUT_MAIL || id == IDC_ABOUT_WEB) {
        SetTextColor(dc, IsCursorOverControl(control) ? kWhite : kBlue);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return FALSE;
}

void UpdateLinkHover(HWND dialog, int id, bool& hover)
{
    HWND link = GetDlgItem(dialog, id);
    bool over = IsCursorOverControl(link);
    if (over == hover)
        return;
    // The repaint asks for the colours again, and they test the cursor anew.
    InvalidateRect(link, nullptr, TRUE);
    hover = over;
}

void UpdateLinkHighlights(HWND dialog)
{
    UpdateLinkHover(dialog, IDC_ABOUT_MAIL, mailHover);
    UpdateLinkHover(dialog, IDC_ABOUT_WEB, webHover);
}

void OpenLinkUnderCursor(HWND dialog)
{
    if (IsCursorOverControl(GetDlgItem(dialog, IDC_ABOUT_WEB)))
        ShellExecuteA(nullptr, "open", ABOUT_WEB_TARGET, nullptr, nullptr, SW_SHOW);
    else if (IsCursorOverControl(GetDlgItem(dialog, IDC_ABOUT_MAIL)))
        ShellExecuteA(nullptr, "open", ABOUT_MAIL_TARGET, nullptr, nullptr, SW_SHOW);
}

void CloseAboutDialog(HWND dialog)
{
    EndDialog(dialog, 0);
    DeleteObject(creditsFont);
    DeleteObject(noticeFont);
    creditsFont = nullptr;
    noticeFont = nullptr;
}

}  // namespace

ScrollState StartScroll()
{
    ScrollState state = {kLeadInStart, 0};
    return state;
}

ScrollFrame AdvanceScroll(ScrollState& state)
{
    ScrollFrame frame;
    if (state.phase == 1) {
        frame.topOffset = 0;
        state.phase = 0;
    } else if (state.phase == 2) {
        frame.topOffset = -1;
        state.phase = 0;
    } else {
        state.counter += 1;
        if (state.counter > kLastTick) {
            state.counter = 0;
            frame.topOffset = kLineStartOffset;
        } else if (state.counter < 0) {
            frame.topOffset = kLineStartOffset - state.counter;
        } else {
            frame.topOffset = kLineStartOffset - state.counter % kTicksPerLine;
        }
    }
    // A line rests two more ticks at its top before the next one takes over.
    if (frame.topOffset == 1)
        state.phase = 1;
    else if (frame.topOffset == 0)
        state.phase = 2;
    frame.linesSkipped = state.counter > 0 ? state.counter / kTicksPerLine : 0;
    return frame;
}

const char* SkipCreditLines(const char* text, int lines)
{
    while (lines > 0 && *text) {
        if (*text == '\n')
            --lines;
        ++text;
    }
    return text;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitAboutDialog(dialog);
        return FALSE;
    case WM_TIMER:
        DrawCreditsFrame(dialog);
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEMOVE:
        UpdateLinkHighlights(dialog);
        return 0;
    case WM_LBUTTONDOWN:
        OpenLinkUnderCursor(dialog);
        return 0;
    case WM_CLOSE:
        CloseAboutDialog(dialog);
        return TRUE;
    }
    return FALSE;
}
