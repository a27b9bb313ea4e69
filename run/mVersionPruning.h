#pragma once
// Removes from a destination's versions folder what mVersions::Pruned says goes, when a run into
// that destination starts. Nothing is reported: a version that cannot be removed now (open
// elsewhere, say) is left for a later run, and a backup run is never held up by the versions of
// earlier ones.
#include <string>

#include "cDestinationIndex.h"
#include "mBackupNames.h"
#include "mVersions.h"

namespace mVersionPruning {

// Prunes the versions kept in `destination`, whose index says of which source each was a backup;
// run folders that go are forgotten there. Answers how many files and folders it removed.
int Prune(const std::wstring& destination, const mVersions::LocalTime& now, const mBackupNames::Fold& fold,
          cDestinationIndex& index);

}  // namespace mVersionPruning
