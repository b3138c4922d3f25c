// The help window.
#pragma once

#include <windows.h>

#define HELP_TEXT_SIZE 2000  // both help strings together, terminator included

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
