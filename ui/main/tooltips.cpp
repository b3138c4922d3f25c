#include "ui/main/tooltips.h"

void CreateTooltips(HWND) {}
BOOL AnswerTooltipRequest(HWND, LPARAM) { return TRUE; }
