#include "mExitCode.h"

namespace mExitCode {

int For(const cRunOutcome& outcome, std::size_t listed, std::size_t failures, bool broken) {
  if (listed == 0 || outcome.noRoom || outcome.destinationBusy) return kNothingDone;
  if (outcome.stopped) return kStopped;
  if (outcome.replaceAnswer == cRunOutcome::Answer::Skip) return kReplacementsHeld;
  if (broken || failures > 0 || outcome.destinationGone) return outcome.backedUp > 0 ? kSomeFailed : kNothingDone;
  return kAllBackedUp;
}

}  // namespace mExitCode
