#pragma once
// The machine's volumes as a table, for the volume finder: root -> serial, a path's root being
// its first three characters ("Q:\\"). A root whose serial is 0 answers only once `released`
// is ready, as a network drive that hangs does.
#include <cstdint>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "cVolumeFinder.h"

inline cVolumeFinder::System FakeVolumes(std::map<std::wstring, std::uint32_t> serials,
                                         std::shared_future<void> released = {}) {
  return {[](const std::wstring& path) { return path.substr(0, 3); },
          [serials, released](const std::wstring& root) -> std::optional<std::uint32_t> {
            const auto found = serials.find(root);
            if (found == serials.end()) return std::nullopt;
            if (found->second == 0) released.wait();
            return found->second;
          },
          [](const std::wstring& root) { return L"label of " + root; },
          [serials] {
            std::vector<std::wstring> roots;
            for (const auto& [root, serial] : serials) roots.push_back(root);
            return roots;
          }};
}
