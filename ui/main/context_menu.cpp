#include "ui/main/context_menu.h"

#include <cstddef>

#include "app/app_state.h"
#include "resource.h"
#include "ui/main/graphic_mode.h"

namespace {

// The menu item record up to and including cch: the older form of the record
// that every version of the platform takes. Its size depends on the build's
// pointer size. It is measured up to the field that follows cch, because the
// 64-bit record pads cch to eight bytes and the platform refuses the unpadded
// size (error 87, and an empty menu).
const UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(sizeof(void*) != 4 || kMenuItemInfoSize == 44, "the 32-bit record is 44 bytes");

struct MenuItem {
    UINT id;  // 0: a separator
    const char* text;
};

const MenuItem kMenuItems[] = {
    {IDM_TOGGLE_GRAPHIC_MODE, "&Toggle Graphic Mode"},
    {IDM_MINIMIZE, "&Minimize"},
    {0, nullptr},
    {IDM_CLOSE, "&Close"},
};

HMENU BuildContextMenu()
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = kMenuItemInfoSize;
    UINT position = 1;
    for (const MenuItem& entry : kMenuItems) {
        if (entry.id) {
            item.fMask = MIIM_ID | MIIM_TYPE;
            item.fType = MFT_STRING;
            item.wID = entry.id;
            item.dwTypeData = const_cast<char*>(entry.text);
        } else {
            item.fMask = MIIM_TYPE;
            item.fType = MFT_SEPARATOR;
        }
        // Each position lies past the end of the menu, so the item is appended.
        InsertMenuItemA(menu, position++, TRUE, &item);
    }
    return menu;
}

void RunMenuCommand(HWND dialog, UINT id)
{
    switch (id) {
    case IDM_TOGGLE_GRAPHIC_MODE:
        SetGraphicMode(dialog, appState.graphicMode ? 0 : 1);
        break;
    case IDM_MINIMIZE:
        ShowWindow(dialog, SW_MINIMIZE);
        break;
    case IDM_CLOSE:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    }
}

}  // namespace

void ShowContextMenu(UINT x, UINT y, HWND dialog)
{
    HMENU menu = BuildContextMenu();
    if (!menu)
        return;
    UINT id = static_cast<UINT>(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               static_cast<int>(x), static_cast<int>(y), 0, dialog,
                                               nullptr));
    RunMenuCommand(dialog, id);
    DestroyMenu(menu);
}
