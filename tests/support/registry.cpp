#include "support/support.h"

void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data)
{
    std::string bytes = data + '\x01';   // a zero byte here would be taken as the end
    RegSetKeyValueA(root, subkey, name, type, bytes.data(), static_cast<DWORD>(data.size()));
}

RegValue ReadValue(HKEY root, const char* subkey, const char* name)
{
    RegValue value = {false, 0, std::string(4096, '\0')};
    DWORD size = static_cast<DWORD>(value.data.size());
    value.present = RegGetValueA(root, subkey, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                                 &value.data[0], &size) == ERROR_SUCCESS;
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
