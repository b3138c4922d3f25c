// Opens the help or the about window on its own, for looking at them and
// taking pictures of them.
//
//   show_dialog.exe help|about [rectangle file]
//
// Once the window is up, writes "left top width height" of it in screen
// pixels into the rectangle file, if one is given. Ends when the window is
// closed.
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

void WriteRectangle(HWND dialog)
{
    if (!rectangleFile[0])
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

// Passes everything on; a message posted from WM_INITDIALOG arrives once the
// window is shown, and is the moment to report where it stands.
INT_PTR CALLBACK ReportingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kWindowShown) {
        WriteRectangle(dialog);
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
    sscanf(commandLine, "%15s %259[^\n]", which, rectangleFile);
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
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), nullptr,
                                            ReportingDlgProc, 0));
}
