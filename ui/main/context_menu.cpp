#include "ui/main/context_menu.h"
