#include "support/support.h"

void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data)
{
    std::string bytes = data + '\x01';   // a zero byte here would be taken as the end
    RegSetKeyValueA(root, subkey, name, type, bytes.data(), static_cast<DWORD>(data.size()));
}

std::string Stored(const char* name)
{
    std::string data(4096, '\0');
    DWORD type, size = DWORD(data.size());
    return RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Slotkeeper", name, RRF_RT_ANY | RRF_NOEXPAND,
                        &type, &data[0], &size) ? "absent"
                                                : std::to_string(type) + ":" + data.substr(0, size);
}

void ClearAllKeys()
{
    const char* keys[] = {"Software\\Slotkeeper", "Software\\Blizzard Entertainment\\Diablo II"};
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const char* subkey : keys)
            RegDeleteTreeA(root, subkey);   // the key itself too, as a subkey is named
}
