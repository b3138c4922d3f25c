// The main dialog run in-process: the state start-up would have set, and
// small moves a player makes on it. Header only.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>

#include "app/app_state.h"
#include "resource.h"
#include "store/characters.h"
#include "support/dialog_runner.h"
#include "ui/main/main_dialog.h"

// What start-up leaves for the main dialog: the instance, a main font, the
// mode, no first run. Restores the zero state at the end; entries linked by
// hand are not freed.
struct MainWindowState {
    explicit MainWindowState(BYTE graphicMode = 1)
    {
        appState.instance = GetModuleHandleA(nullptr);
        appState.mainFont = CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH, "Exocet");
        appState.graphicMode = graphicMode;
        appState.firstRun = 0;
    }
    ~MainWindowState()
    {
        DeleteObject(appState.mainFont);
        appState.mainFont = nullptr;
        appState.graphicMode = 0;
        appState.firstRun = 0;
        appState.tipText[0] = '\0';
    }
};

// A character entry that lives in the test, not on the heap.
inline CharacterEntry MakeEntry(const char* name, DWORD slotMask)
{
    CharacterEntry entry = {};
    entry.slotMask = slotMask;
    strncpy(entry.name, name, sizeof entry.name - 1);
    return entry;
}

inline INT_PTR RunMainDialog(const std::function<void(HWND)>& drive)
{
    return RunDialog(IDD_MAIN, MainDialogProc, "Slotkeeper", drive);
}

// Selects a list item the way a click does: the list box changes its
// selection and tells the dialog.
inline void SelectListItem(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CHARACTER_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    SyncWithDialog(dialog);
}
