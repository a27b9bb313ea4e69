#pragma once
// Where the device misbehaves: each rule names a part of a path and an offset, and applies to
// every file whose path holds that part, from that offset on.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

class cDeviceFaults {
 public:
  enum class Kind {
    FailRead,   // reads from the offset on fail with EIO
    FailWrite,  // writes from the offset on fail with EIO
    // A lying device: it reports success and keeps or gives back something else.
    DropWrite,  // writes from the offset on are acknowledged and never stored
    FlipRead,   // bytes from the offset on are read back inverted
  };

  // rule is "PATHPART@OFFSET"; throws std::invalid_argument when it is not.
  void Add(Kind kind, const std::string& rule);

  // Where a rule of this kind starts to apply to path, when one does (the lowest offset).
  std::optional<off_t> From(Kind kind, const char* path) const;

 private:
  struct Rule {
    Kind kind;
    std::string pathPart;
    off_t offset;
  };
  std::vector<Rule> m_Rules;
};
