#include "ui/dialogs/description_dialog.h"

INT_PTR CALLBACK DescriptionDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
char* AskDescription(HWND) { return nullptr; }
