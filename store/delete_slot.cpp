#include "store/slot_operations.h"

void DeleteSlot(CharacterEntry*, int) {}
