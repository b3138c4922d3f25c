#include "app/settings.h"

bool LoadSettings() { return false; }
bool SaveSettings() { return false; }
