#include "app/save_path.h"

bool DiscoverSavePath() { return false; }
bool BrowseForSavePath() { return false; }
