#include "support/registry.h"

void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data)
{
    // A zero byte right after string data would be taken as its terminator.
    std::string bytes = data + '\x01';
    RegSetKeyValueA(root, subkey, name, type, bytes.data(), static_cast<DWORD>(data.size()));
}

RegValue ReadValue(HKEY root, const char* subkey, const char* name)
{
    RegValue value = {false, 0, std::string(4096, '\0')};
    DWORD size = static_cast<DWORD>(value.data.size());
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        value.present = RegQueryValueExA(key, name, nullptr, &value.type,
                                         reinterpret_cast<BYTE*>(&value.data[0]), &size) == 0;
        RegCloseKey(key);
    }
    value.data.resize(value.present ? size : 0);
    return value;
}

void ClearAllKeys()
{
    const char* keys[] = {"Software\\Slotkeeper", "Software\\Blizzard Entertainment\\Diablo II"};
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const char* subkey : keys)
            RegDeleteTreeA(root, subkey);   // the key itself too, as a subkey is named
}
