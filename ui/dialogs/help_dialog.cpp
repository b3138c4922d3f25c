#include "ui/dialogs/help_dialog.h"

#include <cstring>

#include "app/app_state.h"
#include "resource.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// The second string follows the first directly: the first ends with the
// line breaks that separate them.
void FillHelpText(HWND dialog)
{
    char text[HELP_TEXT_SIZE];
    text[0] = '\0';
    LoadStringA(appState.instance, IDS_HELP_USES, text, HELP_TEXT_SIZE);
    int length = static_cast<int>(strlen(text));
    LoadStringA(appState.instance, IDS_HELP_HINTS, text + length, HELP_TEXT_SIZE - length);
    SetWindowTextA(GetDlgItem(dialog, IDC_HELP_TEXT), text);
}

// A start of -1 drops the selection, so the text never shows up selected,
// not even after the dialog manager has focused the edit control. Only a
// real selection is dropped: asked to drop none while it paints, the edit
// control can leave the caret's line unpainted.
void ClearSelection(HWND dialog)
{
    HWND text = GetDlgItem(dialog, IDC_HELP_TEXT);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end)
        SendMessageA(text, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

HBRUSH WindowBrush()
{
    return GetSysColorBrush(COLOR_WINDOW);
}

void InitHelpDialog(HWND dialog)
{
    FillHelpText(dialog);
    ClearSelection(dialog);
    // Focusing the text selects all of it and scrolls to its end; once that
    // is done, the caret goes back to the start so the help opens at its top.
    PostMessageA(GetDlgItem(dialog, IDC_HELP_TEXT), EM_SETSEL, 0, 0);
}

// A read-only edit control asks for static colours and would get the dialog
// face; the help text gets the window colours of the user's scheme instead.
HBRUSH ColorHelpText(HWND dialog, HDC dc)
{
    COLORREF window = GetSysColor(COLOR_WINDOW);
    SetBkColor(dc, window);
    if (window == 0)
        SetTextColor(dc, kWhite);
    ClearSelection(dialog);
    return WindowBrush();
}

}  // namespace

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_INITDIALOG:
        InitHelpDialog(dialog);
        // Non-zero: the dialog manager puts the focus on the text.
        return reinterpret_cast<INT_PTR>(WindowBrush());
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(ColorHelpText(dialog, reinterpret_cast<HDC>(wParam)));
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
