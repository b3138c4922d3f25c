// Tooltips of the main dialog's buttons; the Load buttons show the slot information.
#pragma once

#include <windows.h>

// Creates the dialog's tooltip control and registers its nineteen tools.
void CreateTooltips(HWND dialog);
// WM_NOTIFY with TTN_NEEDTEXTA: points the request at tipText, composed
// afresh when a Load button asks. Returns TRUE.
BOOL AnswerTooltipRequest(HWND dialog, LPARAM lParam);
