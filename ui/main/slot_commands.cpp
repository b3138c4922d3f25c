#include "ui/main/slot_commands.h"
