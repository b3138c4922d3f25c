// What the tool relies on of the game: its registry key and values, and its
// top-level window. Everything else about the game is opaque.
#pragma once

#define GAME_KEY             "Software\\Blizzard Entertainment\\Diablo II"
#define GAME_SAVE_PATH_VALUE "Save Path"
#define GAME_PROGRAM_VALUE   "Program"
#define GAME_WINDOW_CLASS    "Diablo II"
#define GAME_WINDOW_TITLE    "Diablo II"
