#pragma once
// What a backup run did, once it is over: what the closing message, the log and the exit code
// are made from.
#include <cstdint>
#include <string>
#include <vector>

struct cRunOutcome {
  int files = 0;           // the files it set out to back up (stopped while counting: those counted)
  int backedUp = 0;        // of which backed up, or found up to date
  bool counted = false;    // the count was done
  bool stopped = false;    // the stop left something undone
  std::vector<std::wstring> links;  // links inside folder entries, not followed
  int replacements = 0;    // backups the run found it would replace, as counted
  // Asked whether to go on replacing when the run looked like the work of a damaged source.
  enum class Answer { NotAsked, Replace, Skip } replaceAnswer = Answer::NotAsked;
  int skipped = 0;         // replacements left undone because the answer was Skip
  bool noRoom = false;     // the run did not fit and copied nothing: neededBytes, freeBytes
  std::int64_t neededBytes = 0;
  std::int64_t freeBytes = 0;
  bool destinationGone = false;  // the destination stopped answering and the run ended there
  bool destinationBusy = false;  // another run held the destination for longer than allowed
};
