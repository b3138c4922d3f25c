#include "ui/main/main_dialog.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "store/slot_operations.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/help_dialog.h"
#include "ui/main/context_menu.h"
#include "ui/main/game_launcher.h"
#include "ui/main/graphic_mode.h"
#include "ui/main/main_controls.h"
#include "ui/main/slot_commands.h"
#include "ui/main/tooltips.h"

namespace {

const char kTitle[] = "Slotkeeper";

// A slot command runs to its end inside the dialog procedure, but its
// questions and warnings have no owner: the window stays usable beneath
// them, and their message loops bring further commands here meanwhile. So
// one slot command runs at a time, another one is ignored until it returns,
// and a request to close waits for it, so that no operation goes on under
// an ended window and its description prompt never gets a dead owner.
bool slotCommandRunning;
bool closeRequested;

void FillCharacterList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
    for (CharacterEntry* entry = GetCharacterList(); entry; entry = entry->next) {
        LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry->name));
        // LB_SETITEMDATA with -1 would bind every item to this entry.
        if (index < 0)
            continue;
        SendMessageA(list, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(entry));
    }
}

void EnsureListNotifies(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
    SetWindowLongA(list, GWL_STYLE, GetWindowLongA(list, GWL_STYLE) | LBS_NOTIFY);
}

void OnInitDialog(HWND dialog)
{
    slotCommandRunning = false;
    closeRequested = false;
    InitMainDialog(dialog);
    appState.skinBitmap = static_cast<HBITMAP>(LoadImageA(
        appState.instance, MAKEINTRESOURCEA(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    appState.listBrush = CreateSolidBrush(RGB(192, 0, 0));
}

void RunSlotCommand(HWND dialog, int id)
{
    int slot = SlotOfSaveButton(id);
    if (slot) {
        SaveSlot(slot, dialog);
        return;
    }
    // Load and Delete are enabled only with a selection; a command that
    // arrives without one has nothing to act on.
    CharacterEntry* entry = GetSelectedCharacter(dialog);
    slot = SlotOfLoadButton(id);
    if (slot) {
        if (entry)
            LoadSlot(appState.savePath, entry, slot);
        return;
    }
    slot = SlotOfDeleteButton(id);
    if (slot) {
        if (entry)
            DeleteSlot(appState.savePath, entry, slot);
        UpdateSlotButtons(dialog);
    }
}

// Exit, "&Close", Alt+F4 and the close box all come here. While a slot
// command runs, the request is only noted; the command carries it out when it
// returns.
void OnClose(HWND dialog)
{
    closeRequested = slotCommandRunning;
    if (closeRequested)
        return;
    DeleteObject(appState.skinBitmap);
    DeleteObject(appState.listBrush);
    appState.skinBitmap = nullptr;
    appState.listBrush = nullptr;
    EndDialog(dialog, 0);
}

void RunSlotCommandAlone(HWND dialog, int id)
{
    if (slotCommandRunning)
        return;
    slotCommandRunning = true;
    RunSlotCommand(dialog, id);
    slotCommandRunning = false;
    if (closeRequested)
        OnClose(dialog);
}

void OnCommand(HWND dialog, WPARAM wParam)
{
    if (HIWORD(wParam) == LBN_SELCHANGE)
        UpdateSlotButtons(dialog);

    int id = LOWORD(wParam);
    switch (id) {
    case IDC_EXIT:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    case IDC_ACTIVATE_GAME:
        ShowWindow(dialog, SW_MINIMIZE);
        ActivateGame();
        break;
    case IDC_ABOUT:
        DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_ABOUT), dialog, AboutDlgProc, 0);
        break;
    case IDC_INFORMATION:
        DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_HELP), dialog, HelpDlgProc, 0);
        break;
    default:
        RunSlotCommandAlone(dialog, id);
        break;
    }
}

BOOL OnNotify(HWND dialog, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != TTN_NEEDTEXTA)
        return FALSE;
    return AnswerTooltipRequest(dialog, lParam);
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return FALSE;  // no initial focus
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<INT_PTR>(ColorListBox(reinterpret_cast<HDC>(wParam)));
    case WM_CONTEXTMENU:
        ShowContextMenu(LOWORD(lParam), HIWORD(lParam), dialog);
        return FALSE;
    case WM_PAINT:
        return PaintSkin(dialog);
    case WM_CLOSE:
        OnClose(dialog);
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(dialog, lParam);
    }
    return FALSE;
}

void InitMainDialog(HWND dialog)
{
    FillCharacterList(dialog);
    for (int slot = 1; slot <= SLOT_COUNT; ++slot)
        EnableSlotPair(dialog, slot, FALSE);
    EnsureListNotifies(dialog);
    CreateTooltips(dialog);
    ApplyFontResolutionRule();
    SetGraphicMode(dialog, appState.graphicMode);
    SetWindowTextA(dialog, kTitle);
}
