// The graphic-mode setting in the real registry of the test prefix.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/settings.h"
#include "support/registry.h"

namespace {

RegValue StoredMode()
{
    return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE);
}

void StoreMode(DWORD type, const std::string& data)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, type, data);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        appState.graphicMode = 0;
        appState.firstRun = 0;
    }
    void TearDown() override { ClearAllKeys(); }
};

}  // namespace

TEST_F(Settings, FirstRunCreatesOneByteOfGraphicModeOn)
{
    CreateKey(HKEY_LOCAL_MACHINE, SETTINGS_KEY);

    EXPECT_TRUE(LoadSettings());

    EXPECT_EQ(appState.graphicMode, 1);
    EXPECT_EQ(appState.firstRun, 1);
    RegValue stored = StoredMode();
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(stored.data, std::string("\x01", 1));
}

TEST_F(Settings, OneDataByteOfAnyTypeIsTakenAsIs)
{
    const DWORD types[] = {REG_NONE, REG_BINARY, REG_SZ, REG_DWORD};
    const char bytes[] = {0, 1, 2, '\x7f'};
    for (DWORD type : types) {
        for (char byte : bytes) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", byte " << int(byte));
            StoreMode(type, std::string(1, byte));
            appState.graphicMode = 0x55;
            appState.firstRun = 1;

            EXPECT_TRUE(LoadSettings());

            EXPECT_EQ(appState.graphicMode, static_cast<BYTE>(byte));
            EXPECT_EQ(appState.firstRun, 0);
            RegValue stored = StoredMode();
            EXPECT_EQ(stored.type, type);
            EXPECT_EQ(stored.data, std::string(1, byte));
        }
    }
}

TEST_F(Settings, ValueWithoutExactlyOneByteCountsAsMissingAndIsRewritten)
{
    const struct {
        DWORD type;
        std::string data;
    } values[] = {
        {REG_DWORD, std::string("\0\0\0\0", 4)},
        {REG_SZ, std::string("0\0", 2)},
        {REG_NONE, std::string("\0\0", 2)},
        // No byte to take: using the query's buffer would be a guess.
        {REG_NONE, std::string()},
    };
    for (const auto& value : values) {
        SCOPED_TRACE(testing::Message() << "type " << value.type << ", " << value.data.size() << " bytes");
        StoreMode(value.type, value.data);
        appState.graphicMode = 0;
        appState.firstRun = 0;

        EXPECT_TRUE(LoadSettings());

        EXPECT_EQ(appState.graphicMode, 1);
        EXPECT_EQ(appState.firstRun, 1);
        RegValue stored = StoredMode();
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_NONE));
        EXPECT_EQ(stored.data, std::string("\x01", 1));
    }
}

TEST_F(Settings, WithoutTheKeyNothingIsReadOrWrittenOrCreated)
{
    EXPECT_FALSE(LoadSettings());
    EXPECT_EQ(appState.graphicMode, 0);
    EXPECT_EQ(appState.firstRun, 0);

    appState.graphicMode = 1;
    EXPECT_FALSE(SaveSettings());

    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Settings, TheModeOfTheRunIsWrittenBackAndReadAtTheNextStart)
{
    // A byte the tool never writes itself survives a run untouched.
    StoreMode(REG_NONE, "\x02");
    ASSERT_TRUE(LoadSettings());
    EXPECT_TRUE(SaveSettings());
    EXPECT_EQ(StoredMode().data, "\x02");
    EXPECT_EQ(StoredMode().type, static_cast<DWORD>(REG_NONE));

    // Switched off during a run: stored as 0, read back as off.
    appState.graphicMode = 0;
    EXPECT_TRUE(SaveSettings());
    EXPECT_EQ(StoredMode().data, std::string("\0", 1));
    appState.graphicMode = 1;
    appState.firstRun = 1;
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ(appState.graphicMode, 0);
    EXPECT_EQ(appState.firstRun, 0);
}
