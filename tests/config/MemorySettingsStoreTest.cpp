#include <gtest/gtest.h>

#include "config/MemorySettingsStore.h"

using config::MemorySettingsStore;

TEST(MemorySettingsStore, AbsentKeyGivesTheDefault)
{
    const MemorySettingsStore store;
    EXPECT_EQ(store.ReadSetting("APP", "Settings", "DIR", "C:\\"), "C:\\");
    EXPECT_FALSE(store.contains("APP", "Settings", "DIR"));
}

TEST(MemorySettingsStore, StoredEmptyTextIsNotAbsent)
{
    MemorySettingsStore store;
    store.WriteSetting("APP", "Settings", "DIR", "");
    EXPECT_EQ(store.ReadSetting("APP", "Settings", "DIR", "C:\\"), "");
}

TEST(MemorySettingsStore, WriteReplacesTheValue)
{
    MemorySettingsStore store;
    store.WriteSetting("APP", "Settings", "DFQ", "0");
    store.WriteSetting("APP", "Settings", "DFQ", "1");
    EXPECT_EQ(store.ReadSetting("APP", "Settings", "DFQ", "x"), "1");
    EXPECT_EQ(store.size(), 1u);
}

TEST(MemorySettingsStore, ApplicationSectionAndKeyEachAddressTheValue)
{
    MemorySettingsStore store;
    store.WriteSetting("APP", "Settings", "DFQ", "1");
    EXPECT_EQ(store.ReadSetting("APP2", "Settings", "DFQ", "absent"), "absent");
    EXPECT_EQ(store.ReadSetting("APP", "Other", "DFQ", "absent"), "absent");
    EXPECT_EQ(store.ReadSetting("APP", "Settings", "dfq", "absent"), "absent");
    // The parts are kept apart: "AP" + "PSettings" is not "APP" + "Settings".
    EXPECT_EQ(store.ReadSetting("AP", "PSettings", "DFQ", "absent"), "absent");
}
