#include "app/startup.h"

bool InstallSkinFont() { return false; }
