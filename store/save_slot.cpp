#include "store/slot_operations.h"

bool PrepareSlot(CharacterEntry*, int) { return false; }
void CopyToSlot(CharacterEntry*, int, const char*) {}
