// Finding, confirming and remembering the game's save path.
#pragma once

// True with appState.savePath set; false when the user chose to quit.
bool DiscoverSavePath();
// Lets the user pick the folder; false when the user confirmed quitting.
bool BrowseForSavePath();
