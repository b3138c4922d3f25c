// Registry values in the test prefix, through the build's own view as the program sees them.
#pragma once

#include <windows.h>

#include <string>

// Writes exactly these bytes: a REG_SZ gets no terminator unless the data ends in one.
void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data);
// A REG_SZ with its terminator, as most programs write one.
inline void SetString(HKEY root, const char* subkey, const char* name, const std::string& text)
{
    SetValue(root, subkey, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

struct RegValue { bool present; DWORD type; std::string data; };
RegValue ReadValue(HKEY root, const char* subkey, const char* name);
// Removes the tool's key and the game's key, named in full, under both roots.
void ClearAllKeys();
