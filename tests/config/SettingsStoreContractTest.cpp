// What every settings store promises, run against each store this build has.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/MemorySettingsStore.h"
#ifdef NORDA_WITH_QT_SETTINGS
#include "config/QtSettingsStore.h"
#include "support/Files.h"
#endif
#ifdef _WIN32
#include "config/WindowsRegistrySettingsStore.h"

#include <windows.h>
#endif

namespace {

const std::string kApplication = "VELTRUM_NORDA_KONVERTER";
const std::string kSection = "Settings";

struct MemoryStore {
    static constexpr const char* kName = "Memory";
    static constexpr bool kKeysIgnoreCase = false;
    config::MemorySettingsStore store;
    const config::SettingsStore& reopened() const { return store; }
};

#ifdef NORDA_WITH_QT_SETTINGS
struct QtStore {
    static constexpr const char* kName = "QSettings";
    static constexpr bool kKeysIgnoreCase = false;
    testing_support::TemporaryDirectory directory;
    config::QtSettingsStore store{directory.path()};
    // A second store on the same files, as after a restart.
    config::QtSettingsStore restarted{directory.path()};
    const config::SettingsStore& reopened() const { return restarted; }
};
using Stores = ::testing::Types<MemoryStore, QtStore>;
#elif defined(_WIN32)
// Under a root of its own, never the user's settings; cleared before and after.
struct RegistryStore {
    static constexpr const char* kName = "Registry";
    static constexpr bool kKeysIgnoreCase = true; // as the registry's value names do
    static constexpr const char* kRoot = "Software\\Norda settings contract";
    RegistryStore() { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    ~RegistryStore() { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    config::WindowsRegistrySettingsStore store{kRoot};
    config::WindowsRegistrySettingsStore restarted{kRoot};
    const config::SettingsStore& reopened() const { return restarted; }
};
using Stores = ::testing::Types<MemoryStore, RegistryStore>;
#else
using Stores = ::testing::Types<MemoryStore>;
#endif

template <class Store>
class SettingsStoreContract : public ::testing::Test {
protected:
    Store m_store;
    config::SettingsStore& store() { return m_store.store; }
    void write(const std::string& key, const std::string& value) { store().WriteSetting(kApplication, kSection, key, value); }
    std::string read(const std::string& key) { return m_store.reopened().ReadSetting(kApplication, kSection, key, "<absent>"); }
};

struct StoreName {
    template <class Store>
    static std::string GetName(int) { return Store::kName; }
};

TYPED_TEST_SUITE(SettingsStoreContract, Stores, StoreName);

TYPED_TEST(SettingsStoreContract, GivesTheDefaultOnlyForAnAbsentKey)
{
    EXPECT_EQ(this->read("DIR"), "<absent>");
    this->write("DIR", "");
    EXPECT_EQ(this->read("DIR"), "");
    this->write("DFQ", "0");
    this->write("DFQ", "1");
    EXPECT_EQ(this->read("DFQ"), "1");
}

TYPED_TEST(SettingsStoreContract, AddressesAValueByApplicationSectionAndKey)
{
    this->write("DFQ", "1");
    const config::SettingsStore& store = this->m_store.reopened();
    EXPECT_EQ(store.ReadSetting("OTHER_APPLICATION", kSection, "DFQ", "absent"), "absent");
    EXPECT_EQ(store.ReadSetting(kApplication, "Other", "DFQ", "absent"), "absent");
    EXPECT_EQ(store.ReadSetting(kApplication, kSection, "dfq", "absent"), TypeParam::kKeysIgnoreCase ? "1" : "absent");
    EXPECT_EQ(store.ReadSetting(kApplication, kSection, "NAMENSLAENGE", "absent"), "absent");
    // The parts are kept apart: "AP" + "PSettings" is not "APP" + "Settings".
    this->store().WriteSetting("APP", "Settings", "DFQ", "1");
    EXPECT_EQ(this->m_store.reopened().ReadSetting("AP", "PSettings", "DFQ", "absent"), "absent");
}

TYPED_TEST(SettingsStoreContract, KeepsEveryKeyAndTextAsWritten)
{
    const std::vector<std::pair<std::string, std::string>> values{
        {"DRIVE", "c: [SYSTEM]"},
        {"DIR", "C:\\Messdaten\\Pr\xC3\xBC" "fung 1, neu; alt"},
        {"NAMENSL\xC3\x84NGE", "1"},
        {"ProgVerz", " 1 "},
        {"VersionInFileName", "@Variant(1)"},
        {"SingleFile", "true"},
        {"NordaPos", "\"1\" = #2"},
        {"KOMMENTARE", std::string(2000, 'K')},
    };
    for (const auto& [key, value] : values)
        this->write(key, value);
    for (const auto& [key, value] : values)
        EXPECT_EQ(this->read(key), value) << key;
}

} // namespace
