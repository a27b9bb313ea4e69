#pragma once
// Removes from a destination's versions folder what mVersions::Pruned says goes, when a run into
// that destination starts. Nothing is reported: a version that cannot be removed now (open
// elsewhere, say) is left for a later run, and a backup run is never held up by the versions of
// earlier ones.
#include <string>

#include "mBackupNames.h"
#include "mVersions.h"

namespace mVersionPruning {

// Prunes the versions kept in `destination`; answers how many files and folders it removed.
int Prune(const std::wstring& destination, const mVersions::LocalTime& now, const mBackupNames::Fold& fold);

}  // namespace mVersionPruning
