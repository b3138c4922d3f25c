#include "ui/main/slot_commands.h"

#include <cstdlib>

#include "store/slot_operations.h"
#include "ui/dialogs/description_dialog.h"
#include "ui/main/main_dialog.h"

void SaveSlot(int slot, HWND dialog)
{
    if (!PrepareSlot(GetSelectedCharacter(dialog), slot))
        return;
    char* description = AskDescription(dialog);
    // Asked anew: the overwrite question has no owner, so the list stayed
    // usable while it was open.
    CopyToSlot(GetSelectedCharacter(dialog), slot, description);
    free(description);
    UpdateSlotButtons(dialog);
}
