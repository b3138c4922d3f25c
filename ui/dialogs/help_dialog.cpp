#include "ui/dialogs/help_dialog.h"

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        EndDialog(dialog, 0);
    return message == WM_CLOSE;
}
