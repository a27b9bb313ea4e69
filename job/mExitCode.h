#pragma once
// The exit code of an unattended run, for Task Scheduler and scripts: one explicit mapping from
// what the run did to the code, so that a new outcome is one new row here.
#include <cstddef>

#include "cRunOutcome.h"

namespace mExitCode {

enum Code : int {
  kAllBackedUp = 0,  // everything backed up (or found up to date)
  kSomeFailed = 1,   // some files failed, the rest done
  kNothingDone = 2,  // no job, destination unusable, bad arguments, or every file failed
  kStopped = 3,      // stopped before the end
  kReplacementsHeld = 4,  // the run looked like the work of a damaged source: new files only
  // Further outcomes take the next codes; scripts already test for these four.
};

// `listed`: the list's entries; `failures`: the files that failed; `broken`: the run broke off
// for another reason than a file's.
int For(const cRunOutcome& outcome, std::size_t listed, std::size_t failures, bool broken);

}  // namespace mExitCode
