#include "ui/dialogs/about_dialog.h"
