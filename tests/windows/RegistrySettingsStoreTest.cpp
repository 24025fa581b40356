// What only the registry store promises; what every store promises is in
// tests/config/SettingsStoreContractTest.cpp.
#include "platform/PlatformError.h"
#include "config/SettingKeys.h"
#include "config/WindowsRegistrySettingsStore.h"
#include "support/ErrorText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using config::setting::kApplication;
using config::setting::kSection;

// Under a root of its own, never the user's settings; cleared before and after.
constexpr const char* kRoot = "Software\\Norda registry store";
constexpr const wchar_t* kSettingsKey = L"Software\\Norda registry store\\VELTRUM_NORDA_KONVERTER\\Settings";

class RegistrySettingsStore : public ::testing::Test {
protected:
    RegistrySettingsStore() { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    ~RegistrySettingsStore() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }

    // The value as any other program reads it from the registry.
    static std::wstring registryValue(const std::wstring& name)
    {
        wchar_t value[512];
        DWORD bytes = sizeof value;
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes);
        return status == ERROR_SUCCESS ? std::wstring(value) : L"<absent>";
    }

    config::WindowsRegistrySettingsStore store{kRoot};
};

} // namespace

// Other programs see the keys and texts as wide registry strings ("NAMENSLÄNGE" with the letter
// U+00C4, not the two bytes of its UTF-8 form), and the store reads what they stored; a value of
// another type reads as the default.
TEST_F(RegistrySettingsStore, KeysAndTextsAreTheRegistrysOwn)
{
    store.WriteSetting(kApplication, kSection, config::setting::kNamenslaenge, "1");
    store.WriteSetting(kApplication, kSection, config::setting::kDir, "D:\\M\xC3\xA9sures");
    EXPECT_EQ(registryValue(L"NAMENSL\u00C4NGE"), L"1");
    EXPECT_EQ(registryValue(L"DIR"), L"D:\\M\u00E9sures");
    EXPECT_EQ(config::WindowsRegistrySettingsStore().keyName(kApplication, kSection),
              "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\VELTRUM_NORDA_KONVERTER\\Settings");

    const std::wstring value = L"\u00C4";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"NAMENSL\u00C4NGE", REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(store.ReadSetting(kApplication, kSection, config::setting::kNamenslaenge, "0"), "\xC3\x84");
    const DWORD number = 1;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"DFQ", REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
    EXPECT_EQ(store.ReadSetting(kApplication, kSection, config::setting::kDfq, "default"), "default");
}

TEST_F(RegistrySettingsStore, ReportsAKeyThatCannotBeWritten)
{
    // A value name may not be longer than 16383 characters.
    const std::string tooLong(20000, 'K');
    const std::string message =
        testing_support::errorText<config::PlatformError>([&] { store.WriteSetting(kApplication, kSection, tooLong, "1"); });
    EXPECT_NE(message.find("VELTRUM_NORDA_KONVERTER\\Settings\": "), std::string::npos) << message;
}
