#pragma once
// Finds the volumes of listed entries: the volume a path is added from, and where a remembered
// volume is now. Volumes are asked only when entries are added, when a stick arrives and when a
// run starts, never while the window merely shows the list, and each question is given up on
// after kBound: a volume that does not answer by then (an offline network drive) counts as absent.
// One finder serves one such moment; it asks each folder and each root once.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "mSourceVolume.h"

class cVolumeFinder {
 public:
  static constexpr std::chrono::milliseconds kBound{2000};

  // How volumes are asked; each question may block for as long as a volume takes to answer.
  struct System {
    std::function<std::wstring(const std::wstring& path)> rootOf;  // empty when unknown
    std::function<std::optional<std::uint32_t>(const std::wstring& root)> serialOf;
    std::function<std::wstring(const std::wstring& root)> labelOf;
    std::function<std::vector<std::wstring>()> roots;  // mounted now
  };
  static System ThisMachine();
  // The label of this machine's volume at `root`, given up on after kBound; empty then.
  static std::wstring BoundedLabel(const std::wstring& root);

  explicit cVolumeFinder(System system = ThisMachine(), std::chrono::milliseconds bound = kBound);

  // The volume a path is being added from; nothing when it has no serial or does not answer.
  std::optional<mSourceVolume::Volume> Of(const std::wstring& path);
  // The serial of the volume at `root`; nothing when none answers there in time.
  std::optional<std::uint32_t> SerialAt(const std::wstring& root);

  // Where a remembered volume is now: at its own root when that holds its serial (so a clone
  // elsewhere never takes its place), else at the one root that does.
  struct Place {
    enum class Kind { Mounted, Absent, Ambiguous } kind = Kind::Absent;
    std::wstring root;                // Mounted
    std::vector<std::wstring> roots;  // Ambiguous: every root with the serial
  };
  Place Find(const mSourceVolume::Volume& volume);

 private:
  struct Identity {
    std::optional<std::uint32_t> serial;
    std::wstring label;
  };
  void AskAt(const std::vector<std::wstring>& roots);
  const Identity& IdentityAt(const std::wstring& root);
  std::wstring RootOf(const std::wstring& path);

  System m_System;
  std::chrono::milliseconds m_Bound;
  std::map<std::wstring, std::wstring> m_Roots;    // by the folder that holds a path
  std::map<std::wstring, Identity> m_Identities;  // by folded root
  std::optional<std::vector<std::wstring>> m_Mounted;
};
