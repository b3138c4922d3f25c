#include "support/window.h"

#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "resource.h"
#include "store/characters.h"
#include "support/player.h"
#include "ui/main/main_dialog.h"

MainWindowState::MainWindowState(BYTE graphicMode)
{
    appState.instance = GetModuleHandleA(nullptr);
    appState.mainFont = CreateFontA(13, 0, 0, 0, FW_DONTCARE, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                    "Exocet");
    appState.graphicMode = graphicMode;
    appState.firstRun = 0;
}

MainWindowState::~MainWindowState()
{
    DeleteObject(appState.mainFont);
    ReleaseCharacters();
    appState = AppState();
}

CharacterEntry* AddCharacter(const char* name, DWORD slotMask)
{
    CharacterEntry* entry = static_cast<CharacterEntry*>(calloc(1, sizeof(CharacterEntry)));
    strncpy(entry->name, name, sizeof entry->name - 1);
    entry->slotMask = slotMask;
    CharacterEntry** tail = &appState.characters;
    while (*tail)
        tail = &(*tail)->next;
    *tail = entry;
    return entry;
}

INT_PTR ShowMainDialog(const std::function<void(HWND)>& drive)
{
    return ShowDialog(IDD_MAIN, MainDialogProc, drive);
}

void Select(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
    SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i)
        SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
}

DWORD EnabledSlots(HWND dialog)
{
    DWORD mask = 0;
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        bool load = IsWindowEnabled(GetDlgItem(dialog, LoadButtonId(slot)));
        bool remove = IsWindowEnabled(GetDlgItem(dialog, DeleteButtonId(slot)));
        bool save = IsWindowEnabled(GetDlgItem(dialog, SaveButtonId(slot)));
        mask |= (load ? SlotBit(slot) : 0) | (load != remove || !save ? 0x80 : 0);
    }
    return mask;
}
