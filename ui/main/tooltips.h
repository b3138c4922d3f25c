// Tooltips of the main dialog's buttons; the Load buttons show the slot information.
#pragma once

#include <windows.h>

void CreateTooltips(HWND dialog);
// WM_NOTIFY with TTN_NEEDTEXTA. Returns TRUE.
BOOL AnswerTooltipRequest(HWND dialog, LPARAM lParam);
