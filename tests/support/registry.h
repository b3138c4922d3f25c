// Real registry values in the test prefix. Every helper names the root and
// the subkey in full, so a test reads as what it puts where.
#pragma once

#include <windows.h>

#include <string>

#include "app/settings.h"
#include "store/game.h"

void DeleteKeyTree(HKEY root, const char* subkey);
void CreateKey(HKEY root, const char* subkey);
// Writes a value of any type with exactly these data bytes.
void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data);
// A REG_SZ with its terminator, as most programs write one.
void SetString(HKEY root, const char* subkey, const char* name, const std::string& text);

struct RegValue {
    bool present;
    DWORD type;
    std::string data;   // the raw data bytes
};
RegValue ReadValue(HKEY root, const char* subkey, const char* name);

// Removes the tool's key and the game's key under both roots.
void ClearAllKeys();
