#include "mSystemVolumes.h"

#include <map>
#include <memory>

#include "mFileSys.h"

namespace mSystemVolumes {

mJobFile::Volumes Get() {
  return {mFileSys::VolumeRoot, mFileSys::VolumeSerial,
          // The volumes are asked once, on the first question, not once per entry of a job.
          [mounted = std::shared_ptr<std::map<std::uint32_t, std::wstring>>()](std::uint32_t serial) mutable
          -> std::optional<std::wstring> {
            if (!mounted) {
              mounted = std::make_shared<std::map<std::uint32_t, std::wstring>>();
              for (const std::wstring& root : mFileSys::VolumeRoots())
                if (const auto found = mFileSys::VolumeSerial(root)) mounted->try_emplace(*found, root);
            }
            const auto place = mounted->find(serial);
            if (place == mounted->end()) return std::nullopt;
            return place->second;
          }};
}

}  // namespace mSystemVolumes
