// Finding, confirming and remembering the game's save path.
#pragma once

#define SAVE_PATH_QUESTION_CAPTION "Is this your correct Diablo II Save Path?"
#define BROWSE_TITLE               "Please specify your Diablo II Save Path"
#define QUIT_QUESTION_TEXT                                                                       \
    "This Program cannot work without knowing your Diablo II Save Path.\nAre you sure you want " \
    "to quit?"
#define QUIT_QUESTION_CAPTION "Slotkeeper"
#define RUNNING_GAME_WARNING_TEXT                                                    \
    "Please make sure you never backup / restore during a running Diablo II game.\n" \
    "Only backup / restore while in the MAIN MENU or it will fail.\n"                \
    "(Press the Help button for more details)"
#define RUNNING_GAME_WARNING_CAPTION "IMPORTANT"

// True with appState.savePath set; false when the user chose to quit.
bool DiscoverSavePath();
// Lets the user pick the folder; false when the user confirmed quitting.
bool BrowseForSavePath();
