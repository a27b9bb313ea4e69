// Registers the common controls' classes once per test program, as the backup window's
// initialise handler does, from the version 6 library that the embedded manifest selects.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class ControlsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&classes));
  }
};

[[maybe_unused]] testing::Environment* const g_Environment =
    testing::AddGlobalTestEnvironment(new ControlsEnvironment);

}  // namespace
