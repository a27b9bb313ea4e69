#include "mExitCode.h"

namespace mExitCode {

int For(const cBackupRun::Outcome& outcome, std::size_t listed, std::size_t failures, bool broken) {
  if (listed == 0) return kNothingDone;
  if (outcome.stopped) return kStopped;
  if (broken || failures > 0) return outcome.backedUp > 0 ? kSomeFailed : kNothingDone;
  return kAllBackedUp;
}

}  // namespace mExitCode
