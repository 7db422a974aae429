#include <gtest/gtest.h>

#include <string>

#include "settings/registry_store_win.h"
#include "settings/settings_folder.h"

namespace {

// Each test works under a key of its own beneath HKEY_CURRENT_USER, so it never
// meets the product's value in HKEY_LOCAL_MACHINE.
class RegistryStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\HearthmoorTest"); }
  RegistryStore store_{HKEY_CURRENT_USER, "Software\\HearthmoorTest\\"};
};

TEST_F(RegistryStoreTest, MissingKeyOrValueGivesTheDefault) {
  EXPECT_EQ(store_.ReadString("Path", "Path", "none"), "none");
  store_.WriteString("Path", "Other", "x");
  EXPECT_EQ(store_.ReadString("Path", "Path", "none"), "none");
  EXPECT_EQ(store_.ReadInt("Path", "Other", 5), 5);
}

TEST_F(RegistryStoreTest, WriteCreatesTheKeyAndStoresATextValue) {
  store_.WriteString("Path", "Path", "C:\\Program Files\\Hearthmoor");
  EXPECT_EQ(store_.ReadString("Path", "Path", ""), "C:\\Program Files\\Hearthmoor");
  DWORD type = 0;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\HearthmoorTest\\Path\\", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  store_.WriteInt("Path", "Count", 42);
  EXPECT_EQ(store_.ReadInt("Path", "Count", 0), 42);
}

TEST_F(RegistryStoreTest, ValuesLongerThanTheBufferReadAsTheDefault) {
  store_.WriteString("Path", "Long", std::string(3000, 'x'));
  EXPECT_EQ(store_.ReadString("Path", "Long", "none"), "none");
  store_.WriteString("Path", "Fits", std::string(RegistryStore::kBufferSize - 1, 'y'));
  EXPECT_EQ(store_.ReadString("Path", "Fits", "none"), std::string(RegistryStore::kBufferSize - 1, 'y'));
}

TEST(SettingsFolderTest, UserAndMachineValuesAndTheProfileFolder) {
  RegistryStore machine(HKEY_LOCAL_MACHINE, "Software\\Hearthmoor\\");
  machine.WriteString("Path", "Path", "C:\\Saver");
  RememberUserSettingsFolder("C:\\Mine\\");
  const SettingsFolderNames names = FindSettingsFolderNames();
  machine.WriteString("Path", "Path", "");
  RememberUserSettingsFolder("");
  EXPECT_EQ(names.user, "C:\\Mine\\");
  EXPECT_EQ(names.machine, "C:\\Saver");
  char appData[MAX_PATH] = {};
  ASSERT_EQ(GetEnvironmentVariableA("APPDATA", appData, MAX_PATH) > 0, true);
  EXPECT_EQ(names.profile, std::string(appData) + "\\Hearthmoor");
  EXPECT_EQ(SettingsFolderFromText(names.machine), "C:\\Saver\\");
  EXPECT_EQ(SettingsFolderFromText("C:/Saver/"), "C:/Saver/");
}

}  // namespace
