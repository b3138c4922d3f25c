#include "ui/main/tooltips.h"

#include <commctrl.h>

#include <cstddef>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "ui/main/main_controls.h"

namespace {

// The tool record up to and including lParam, a form every version of the
// control takes. Its size depends on the build's pointer size.
const UINT kToolInfoSize = offsetof(TOOLINFOA, lParam) + sizeof(TOOLINFOA::lParam);

const DWORD kTooltipStyle = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;
const WORD kInitialDelayMs = 15;
const WORD kAutoPopMs = 10000;
// Wide enough for a long description; also makes the tip honour line breaks.
const LPARAM kMaxTipWidth = 640;

struct Tool {
    int id;
    const char* text;  // null: the Load button's text is asked for when shown
};

const Tool kTools[] = {
    {IDC_LOAD_SLOT1, nullptr},
    {IDC_LOAD_SLOT2, nullptr},
    {IDC_LOAD_SLOT3, nullptr},
    {IDC_LOAD_SLOT4, nullptr},
    {IDC_LOAD_SLOT5, nullptr},
    {IDC_DELETE_SLOT5, "Delete this slot"},
    {IDC_DELETE_SLOT4, "Delete this slot"},
    {IDC_DELETE_SLOT3, "Delete this slot"},
    {IDC_DELETE_SLOT2, "Delete this slot"},
    {IDC_DELETE_SLOT1, "Delete this slot"},
    {IDC_SAVE_SLOT5, "Save the current char"},
    {IDC_SAVE_SLOT4, "Save the current char"},
    {IDC_SAVE_SLOT3, "Save the current char"},
    {IDC_SAVE_SLOT2, "Save the current char"},
    {IDC_SAVE_SLOT1, "Save the current char"},
    {IDC_ACTIVATE_GAME, "Launches / Switches to Diablo II"},
    {IDC_INFORMATION, "Help"},
    {IDC_ABOUT, "About the author"},
    {IDC_EXIT, "You don't want to leave, do you?"},
};

HWND CreateTooltipControl(HWND dialog)
{
    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, kTooltipStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                   appState.instance, nullptr);
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kInitialDelayMs, 0));
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kAutoPopMs, 0));
    return tooltip;
}

void AddTools(HWND tooltip, HWND dialog)
{
    TOOLINFOA tool;
    ZeroMemory(&tool, sizeof tool);
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    GetClientRect(GetDlgItem(dialog, IDC_LOAD_SLOT1), &tool.rect);
    for (const Tool& entry : kTools) {
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, entry.id));
        tool.lpszText = entry.text ? const_cast<char*>(entry.text) : LPSTR_TEXTCALLBACKA;
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The slot information of the selected character. The request can come
// without a selection (a tip still showing from before, or another program
// asking), and then there is nothing to describe.
void ComposeLoadTip(HWND dialog, int slot)
{
    CharacterEntry* entry = GetSelectedCharacter(dialog);
    if (!entry) {
        appState.tipText[0] = '\0';
        return;
    }
    FormatSlotInfo(appState.tipText, appState.savePath, entry, slot);
}

}  // namespace

void CreateTooltips(HWND dialog)
{
    HWND tooltip = CreateTooltipControl(dialog);
    if (tooltip)
        AddTools(tooltip, dialog);
}

BOOL AnswerTooltipRequest(HWND dialog, LPARAM lParam)
{
    NMTTDISPINFOA* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        HWND button = GetDlgItem(dialog, LoadButtonId(slot));
        if (request->hdr.idFrom != reinterpret_cast<UINT_PTR>(button))
            continue;
        SendMessageA(request->hdr.hwndFrom, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
        ComposeLoadTip(dialog, slot);
    }
    request->lpszText = appState.tipText;
    return TRUE;
}
