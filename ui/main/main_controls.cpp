#include "ui/main/main_controls.h"

#include "resource.h"
#include "store/backup_store.h"
#include "store/characters.h"

namespace {

const int kSaveIds[SLOT_COUNT] = {IDC_SAVE_SLOT1, IDC_SAVE_SLOT2, IDC_SAVE_SLOT3, IDC_SAVE_SLOT4,
                                  IDC_SAVE_SLOT5};
const int kLoadIds[SLOT_COUNT] = {IDC_LOAD_SLOT1, IDC_LOAD_SLOT2, IDC_LOAD_SLOT3, IDC_LOAD_SLOT4,
                                  IDC_LOAD_SLOT5};
const int kDeleteIds[SLOT_COUNT] = {IDC_DELETE_SLOT1, IDC_DELETE_SLOT2, IDC_DELETE_SLOT3,
                                    IDC_DELETE_SLOT4, IDC_DELETE_SLOT5};

// The controls that change font with the mode. The Delete buttons keep the
// template's font in both modes.
const int kFontControls[] = {
    IDC_SAVE_SLOT1,     IDC_SAVE_SLOT2, IDC_SAVE_SLOT3,    IDC_SAVE_SLOT4,  IDC_SAVE_SLOT5,
    IDC_LOAD_SLOT1,     IDC_LOAD_SLOT2, IDC_LOAD_SLOT3,    IDC_LOAD_SLOT4,  IDC_LOAD_SLOT5,
    IDC_CHARACTER_LIST, IDC_EXIT,       IDC_ACTIVATE_GAME, IDC_INFORMATION, IDC_ABOUT,
};

int SlotOfControl(const int (&ids)[SLOT_COUNT], int id)
{
    for (int slot = 1; slot <= SLOT_COUNT; ++slot)
        if (ids[slot - 1] == id)
            return slot;
    return 0;
}

int SlotControlId(const int (&ids)[SLOT_COUNT], int slot)
{
    if (slot < 1 || slot > SLOT_COUNT)
        return 0;
    return ids[slot - 1];
}

}  // namespace

int SaveButtonId(int slot)
{
    return SlotControlId(kSaveIds, slot);
}

int LoadButtonId(int slot)
{
    return SlotControlId(kLoadIds, slot);
}

int DeleteButtonId(int slot)
{
    return SlotControlId(kDeleteIds, slot);
}

int SlotOfSaveButton(int id)
{
    return SlotOfControl(kSaveIds, id);
}

int SlotOfLoadButton(int id)
{
    return SlotOfControl(kLoadIds, id);
}

int SlotOfDeleteButton(int id)
{
    return SlotOfControl(kDeleteIds, id);
}

CharacterEntry* GetSelectedCharacter(HWND dialog)
{
    LRESULT index = SendDlgItemMessageA(dialog, IDC_CHARACTER_LIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return nullptr;
    LRESULT data = SendDlgItemMessageA(dialog, IDC_CHARACTER_LIST, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR)
        return nullptr;
    return reinterpret_cast<CharacterEntry*>(data);
}

void EnableSlotPair(HWND dialog, int slot, BOOL enable)
{
    EnableWindow(GetDlgItem(dialog, LoadButtonId(slot)), enable);
    EnableWindow(GetDlgItem(dialog, DeleteButtonId(slot)), enable);
}

void UpdateSlotButtons(HWND dialog)
{
    CharacterEntry* entry = GetSelectedCharacter(dialog);
    if (!entry)
        return;
    for (int slot = 1; slot <= SLOT_COUNT; ++slot)
        EnableSlotPair(dialog, slot, (entry->slotMask & SlotBit(slot)) != 0);
}

void SetControlFonts(HWND dialog, HFONT font)
{
    for (int id : kFontControls)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}
