#include "support/registry.h"

#include <vector>

void DeleteKeyTree(HKEY root, const char* subkey)
{
    RegDeleteTreeA(root, subkey);
    RegDeleteKeyA(root, subkey);
}

void CreateKey(HKEY root, const char* subkey)
{
    HKEY key;
    if (RegCreateKeyA(root, subkey, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
}

void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data)
{
    HKEY key;
    if (RegCreateKeyA(root, subkey, &key) != ERROR_SUCCESS)
        return;
    // The platform counts a zero byte that directly follows string data as
    // its terminator; a non-zero byte there keeps the data exactly as given.
    std::vector<BYTE> bytes(data.begin(), data.end());
    bytes.push_back(1);
    RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void SetString(HKEY root, const char* subkey, const char* name, const std::string& text)
{
    SetValue(root, subkey, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

RegValue ReadValue(HKEY root, const char* subkey, const char* name)
{
    RegValue value = {false, 0, std::string()};
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1);
        if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            value.present = true;
            value.data.assign(data.data(), size);
        }
    }
    RegCloseKey(key);
    return value;
}

void ClearAllKeys()
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    DeleteKeyTree(HKEY_CURRENT_USER, GAME_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, GAME_KEY);
}
