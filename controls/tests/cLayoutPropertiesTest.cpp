// The layout store: defaults for missing names, nothing stored that equals its default.
#include <gtest/gtest.h>

#include <stdexcept>

#include "cLayoutProperties.h"

namespace {

TEST(cLayoutProperties, ReadsTheDefaultForAMissingName) {
  const cLayoutProperties bag;
  EXPECT_TRUE(bag.ReadProperty(L"Enabled", true));
  EXPECT_FALSE(bag.ReadProperty(L"Enabled", false));
  EXPECT_EQ(bag.ReadProperty(L"Velocity", std::int32_t{7}), 7);
  EXPECT_EQ(bag.ReadProperty(L"Caption", L"工程1"), L"工程1") << "a literal default stays text";
  EXPECT_EQ(bag.Count(), 0u);
}

TEST(cLayoutProperties, StoresOnlyValuesThatDifferFromTheirDefault) {
  cLayoutProperties bag;
  bag.WriteProperty(L"Enabled", true, true);
  EXPECT_FALSE(bag.Contains(L"Enabled"));
  bag.WriteProperty(L"Enabled", false, true);
  ASSERT_TRUE(bag.Contains(L"Enabled"));
  EXPECT_FALSE(bag.ReadProperty(L"Enabled", true));

  // Writing the default later drops the value stored before, so it does not come back.
  bag.WriteProperty(L"Enabled", true, true);
  EXPECT_FALSE(bag.Contains(L"Enabled"));
  EXPECT_TRUE(bag.ReadProperty(L"Enabled", true));

  bag.WriteProperty(L"Max", std::int32_t{100}, std::int32_t{100});
  bag.WriteProperty(L"Caption", L"工程1", L"工程1");
  EXPECT_EQ(bag.Count(), 0u);
  bag.WriteProperty(L"Max", std::int32_t{-5}, std::int32_t{100});
  bag.WriteProperty(L"Caption", std::wstring(L"备份"), std::wstring(L"工程1"));
  EXPECT_EQ(bag.ReadProperty(L"Max", std::int32_t{100}), -5);
  EXPECT_EQ(bag.ReadProperty(L"Caption", L""), L"备份");
  EXPECT_EQ(bag.Count(), 2u);
}

TEST(cLayoutProperties, RefusesAValueStoredWithAnotherType) {
  cLayoutProperties bag;
  bag.WriteProperty(L"Enabled", std::int32_t{0}, std::int32_t{1});
  EXPECT_THROW(bag.ReadProperty(L"Enabled", true), std::invalid_argument);
  EXPECT_EQ(bag.ReadProperty(L"Enabled", std::int32_t{1}), 0);
}

TEST(cLayoutProperties, KeepsNamesApart) {
  cLayoutProperties bag;
  bag.WriteProperty(L"Enabled", false, true);
  EXPECT_TRUE(bag.ReadProperty(L"enabled", true)) << "names are compared exactly";
  EXPECT_TRUE(bag.ReadProperty(L"Visible", true));
}

}  // namespace
