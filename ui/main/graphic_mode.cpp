#include "ui/main/graphic_mode.h"
