#include <gtest/gtest.h>

#include <chrono>

#include "cWatchdog.h"
#include "mTimedMessageBox.h"

namespace {

using namespace std::chrono_literals;

TEST(mTimedMessageBox, ABoxNoOneAnswersClosesByItself) {
  const cWatchdog watchdog("the box that closes by itself", 20s);
  EXPECT_EQ(mTimedMessageBox::Show(nullptr, L"no one answers", L"mTimedMessageBoxTest", MB_OK, 500ms), IDOK);
  EXPECT_FALSE(watchdog.Fired()) << "closed by the watchdog, not by itself";
}

}  // namespace
