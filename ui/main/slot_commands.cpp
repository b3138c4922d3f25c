#include "ui/main/slot_commands.h"

#include <cstdlib>

#include "app/app_state.h"
#include "store/characters.h"
#include "store/slot_operations.h"
#include "ui/dialogs/description_dialog.h"
#include "ui/main/main_controls.h"

void SaveSlot(int slot, HWND dialog)
{
    // The character is taken once. The overwrite question has no owner, so
    // the list stays usable while it is open; a Yes given for this
    // character's slot must not overwrite the slot of another character
    // selected in the meantime.
    CharacterEntry* entry = GetSelectedCharacter(dialog);
    bool empty;
    if (!PrepareSlot(appState.savePath, entry, slot, &empty))
        return;
    char* description = AskDescription(dialog);
    CopyToSlot(appState.savePath, entry, slot, description, empty);
    free(description);
    UpdateSlotButtons(dialog);
}
