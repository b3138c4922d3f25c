// The graphic-mode setting in the real registry of the test prefix. The first
// start and the saving at the end of a run are checked by the start-up tests.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/settings.h"
#include "support/registry.h"

TEST(Settings, OneByteOfAnyTypeIsTakenAsIsAnyOtherSizeIsRewrittenAsOn)
{
    const std::pair<DWORD, std::string> values[] = {
        {REG_NONE, std::string(1, '\0')}, {REG_BINARY, "\x01"}, {REG_SZ, "\x02"},
        {REG_DWORD, "\x7f"}, {REG_DWORD, std::string(4, '\0')}, {REG_SZ, std::string("0\0", 2)},
        {REG_NONE, std::string("\0\0", 2)}, {REG_BINARY, ""},
        {REG_BINARY, std::string("\0\0\0\0\x01", 5)}};
    for (const auto& value : values) {
        SCOPED_TRACE(testing::Message() << "type " << value.first << ", " << value.second.size()
                                        << " bytes, first " << int(value.second[0]));
        SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, value.first, value.second);
        appState.graphicMode = 0x55;
        appState.firstRun = 2;   // neither answer: the load must set both

        EXPECT_TRUE(LoadSettings());

        bool taken = value.second.size() == 1;
        RegValue stored = ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE);
        EXPECT_EQ(appState.graphicMode, taken ? static_cast<BYTE>(value.second[0]) : 1);
        EXPECT_EQ(appState.firstRun, taken ? 0 : 1);
        EXPECT_EQ(stored.type, taken ? value.first : static_cast<DWORD>(REG_NONE));
        EXPECT_EQ(stored.data, taken ? value.second : "\x01");
    }
    ClearAllKeys();
}

TEST(Settings, WithoutTheKeyNothingIsReadWrittenOrCreated)
{
    ClearAllKeys();
    appState.graphicMode = 0;
    appState.firstRun = 0;
    EXPECT_FALSE(LoadSettings());
    EXPECT_EQ(appState.graphicMode, 0);
    EXPECT_EQ(appState.firstRun, 0);
    appState.graphicMode = 1;
    EXPECT_FALSE(SaveSettings());
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
}
