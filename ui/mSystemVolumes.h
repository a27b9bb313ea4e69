#pragma once
// The volumes of this machine as the job file meets them: a path's volume by its root, and a
// volume found again by its serial number among those mounted now.
#include "mJobFile.h"

namespace mSystemVolumes {

mJobFile::Volumes Get();

}  // namespace mSystemVolumes
