// The one process-wide record. Every field is zero when the process starts.
#pragma once

#include <windows.h>

#include "store/backup_store.h"

struct CharacterEntry;

struct AppState {
    HINSTANCE instance;            // loads templates, strings, the skin; creates the tooltip
    char tempFontPath[MAX_PATH];   // full name of the temporary font file
    HFONT mainFont;                // "Exocet", height 13: control font in graphic mode
    BYTE graphicMode;              // 1 = graphic mode on, 0 = off
    BYTE firstRun;                 // 1 = "Graphic Mode Enabled" was missing and was just created
    char* savePath;                // heap string, null until known; may end with a backslash
    CharacterEntry* characters;    // head of the CharacterList, null when empty
    HBITMAP skinBitmap;            // IDB_SKIN, owned by the main dialog
    HBRUSH listBrush;              // RGB(192, 0, 0), owned by the main dialog
    char tipText[SLOT_INFO_SIZE];  // text of a Load button's tooltip
};

extern AppState appState;

CharacterEntry* GetCharacterList();
// Frees the CharacterList and the save path, leaving both null.
void ReleaseStore();
