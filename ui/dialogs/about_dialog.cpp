#include "ui/dialogs/about_dialog.h"

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        EndDialog(dialog, 0);
    return message == WM_CLOSE;
}
