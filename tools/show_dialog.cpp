// Opens the help or the about window on its own, for looking at them and
// taking pictures of them.
//
//   show_dialog.exe help|about [rectangle file [seconds]]
//
// Once the window is up, writes "left top width height" of it in screen
// pixels into the rectangle file, if one is given ("-" for none). Ends when
// the window is closed, or closes it itself after the given seconds.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "resource.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/help_dialog.h"

namespace {

const UINT kWindowShown = WM_APP + 1;

DLGPROC shownProc;
char rectangleFile[MAX_PATH];
int closeAfterSeconds;
HWND shownDialog;

void WriteRectangle(HWND dialog)
{
    if (!rectangleFile[0] || strcmp(rectangleFile, "-") == 0)
        return;
    RECT rect;
    GetWindowRect(dialog, &rect);
    FILE* file = fopen(rectangleFile, "w");
    if (!file)
        return;
    fprintf(file, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top);
    fclose(file);
}

// A thread timer rather than one of the window's: the about window takes
// every WM_TIMER of its own as a frame of the credits.
void CALLBACK CloseShownDialog(HWND, UINT, UINT_PTR, DWORD)
{
    PostMessageA(shownDialog, WM_CLOSE, 0, 0);
}

void ScheduleClose(HWND dialog)
{
    shownDialog = dialog;
    if (closeAfterSeconds > 0)
        SetTimer(nullptr, 0, closeAfterSeconds * 1000, CloseShownDialog);
}

// Passes everything on; a message posted from WM_INITDIALOG arrives once the
// window is shown, and is the moment to report where it stands.
INT_PTR CALLBACK ReportingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kWindowShown) {
        WriteRectangle(dialog);
        ScheduleClose(dialog);
        return TRUE;
    }
    INT_PTR result = shownProc(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG)
        PostMessageA(dialog, kWindowShown, 0, 0);
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    appState.instance = instance;
    char which[16] = "";
    sscanf(commandLine, "%15s %259s %d", which, rectangleFile, &closeAfterSeconds);
    int dialogId;
    if (strcmp(which, "help") == 0) {
        dialogId = IDD_HELP;
        shownProc = HelpDlgProc;
    } else if (strcmp(which, "about") == 0) {
        dialogId = IDD_ABOUT;
        shownProc = AboutDlgProc;
    } else {
        return 2;
    }
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), nullptr, ReportingDlgProc, 0));
}
