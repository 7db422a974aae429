#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "memory_store.h"

namespace {

struct IntCase {
  std::optional<std::string> stored;  // nothing: the key is missing
  int expected;
};

TEST(SettingsStoreTest, ReadIntFollowsAtoiButTellsZeroFromGarbage) {
  const IntCase cases[] = {
      {std::nullopt, 50},
      {"0", 0},
      {"7x", 7},
      {"abc", 50},
      {"", 50},
      {"00", 50},
      {"-0", 50},
      {"  12", 12},
      {"-5", -5},
      {"+8", 8},
      {"1000", 1000},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"0x10", 50},
      {"3.9", 3},
  };
  for (const IntCase& c : cases) {
    MemoryStore store;
    if (c.stored) store.WriteString("TimeSection", "changeColorTime", *c.stored);
    EXPECT_EQ(store.ReadInt("TimeSection", "changeColorTime", 50), c.expected) << (c.stored ? *c.stored : "(missing)");
  }
}

struct PairCase {
  std::optional<std::string> stored;
  SettingsStore::IntPair expected;
};

TEST(SettingsStoreTest, ReadIntPairNeedsExactlyTwoPieces) {
  const PairCase cases[] = {
      {std::nullopt, {9, 8}}, {"174,67", {174, 67}}, {"1", {9, 8}},         {"1,2,3", {9, 8}},
      {"1,", {1, 0}},         {",", {0, 0}},         {"", {9, 8}},          {" -3 , 4x", {-3, 4}},
      {"a,b", {0, 0}},        {"1;2", {9, 8}},       {"253,-2", {253, -2}},
  };
  for (const PairCase& c : cases) {
    MemoryStore store;
    if (c.stored) store.WriteString("pallette0", "RedPoint0", *c.stored);
    EXPECT_EQ(store.ReadIntPair("pallette0", "RedPoint0", {9, 8}), c.expected) << (c.stored ? *c.stored : "(missing)");
  }
}

TEST(SettingsStoreTest, ReadBoolTakesAnyNonZeroNumberAsTrue) {
  const struct {
    std::optional<std::string> stored;
    bool defaultValue;
    bool expected;
  } cases[] = {
      {std::nullopt, true, true}, {std::nullopt, false, false}, {"0", true, false},    {"1", false, true},
      {"2", false, true},         {"yes", true, true},          {"yes", false, false}, {"-1", false, true},
  };
  for (const auto& c : cases) {
    MemoryStore store;
    if (c.stored) store.WriteString("TimeSection", "ShowFire", *c.stored);
    EXPECT_EQ(store.ReadBool("TimeSection", "ShowFire", c.defaultValue), c.expected)
        << (c.stored ? *c.stored : "(missing)") << " default " << c.defaultValue;
  }
}

TEST(SettingsStoreTest, DoublesUseStreamFormattingAndReadBackTheSameWay) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.1, "0.1"}, {2, "2"}, {123456789, "1.23457e+08"}, {-0.5, "-0.5"}, {1e-7, "1e-07"}};
  for (const auto& c : cases) {
    MemoryStore store;
    store.WriteDouble("s", "k", c.value);
    EXPECT_EQ(store.Raw("s", "k"), c.text);
    EXPECT_DOUBLE_EQ(store.ReadDouble("s", "k", 7), std::stod(c.text));
  }
  MemoryStore store;
  store.WriteDoublePair("s", "pair", {1.5, -2});
  EXPECT_EQ(store.Raw("s", "pair"), "1.5,-2");
  EXPECT_EQ(store.ReadDoublePair("s", "pair", {0, 0}), (SettingsStore::DoublePair{1.5, -2}));
  store.WriteString("s", "bad", "0.0");  // zero that is not literally "0" reads as the default
  EXPECT_DOUBLE_EQ(store.ReadDouble("s", "bad", 4.5), 4.5);
  EXPECT_EQ(store.ReadDoublePair("s", "missing", {0.25, 3}), (SettingsStore::DoublePair{0.25, 3}));
}

TEST(SettingsStoreTest, WritesPlainDecimalTexts) {
  MemoryStore store;
  store.WriteInt("a", "int", -42);
  store.WriteIntPair("a", "pair", {174, 67});
  store.WriteBool("a", "yes", true);
  store.WriteBool("a", "no", false);
  EXPECT_EQ(store.Raw("a", "int"), "-42");
  EXPECT_EQ(store.Raw("a", "pair"), "174,67");
  EXPECT_EQ(store.Raw("a", "yes"), "1");
  EXPECT_EQ(store.Raw("a", "no"), "0");
}

}  // namespace
