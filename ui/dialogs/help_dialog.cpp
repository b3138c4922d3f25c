#include "ui/dialogs/help_dialog.h"
