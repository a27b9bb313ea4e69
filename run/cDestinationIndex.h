#pragma once
// What a destination remembers of its backups: from which source each was made, and of which
// source each kept version was a backup. It lives in the destination itself, one small file at
// its top written as the job file is (flushed, then renamed into place), so that it holds for
// every job, machine and one-off run that writes there, and on any file system.
//
// A backup is known by its name at the destination's top (the files inside a folder's backup
// belong to the folder's source). A source is known by its volume's serial and its path below
// the volume's root, or by its whole path where no serial was known.
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mBackupNames.h"

class cDestinationIndex {
 public:
  static constexpr wchar_t kFileName[] = L"_备份来源.json";

  struct Source {
    std::optional<std::uint32_t> volume;
    std::wstring root;  // the volume's root when it was seen; with `path`, the whole path then
    std::wstring path;  // below the root
    bool operator==(const Source&) const = default;
  };
  struct Version {
    std::wstring run;   // the run folder below the versions folder
    std::wstring name;  // the backup's name at the destination's top
    std::optional<Source> source;  // nothing: no run made the backup it kept
    bool operator==(const Version&) const = default;
  };

  class Corrupt : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };

  cDestinationIndex(std::wstring destination, mBackupNames::Fold fold);
  // The index of `destination` as its file holds it; empty when there is none, or when the file
  // cannot be read or understood (every backup then counts as made by no run, which only keeps
  // more). Throws nothing.
  static cDestinationIndex Load(const std::wstring& destination, const mBackupNames::Fold& fold);
  // Writes the file and counts as unchanged from then on. Throws cFileError.
  void Save();

  // The source whose backup has this name; nothing when no run made it.
  std::optional<Source> OwnerOf(const std::wstring& name) const;
  // Whether two sources are one: the same volume and path below its root where both volumes are
  // known (a stick under another letter is the same stick), else the same whole path, as the
  // file system compares paths.
  bool Same(const Source& a, const Source& b) const;
  // The names that belong to sources, as written.
  std::vector<std::wstring> Names() const;
  void Claim(const std::wstring& name, const Source& source);
  void KeptVersion(Version version);
  // The run folder has gone, and with it the versions it kept.
  void ForgetRun(const std::wstring& run);
  // Of which source the version of `name` kept by `run` was a backup; nothing when unknown.
  std::optional<Source> VersionSource(const std::wstring& run, const std::wstring& name) const;
  // Whether it differs from the file it was loaded from or last saved to.
  bool Changed() const noexcept { return m_Changed; }

  std::string Format() const;
  // Throws Corrupt.
  void Parse(std::string_view text);

 private:
  std::wstring m_Path;
  mBackupNames::Fold m_Fold;
  std::map<std::wstring, std::pair<std::wstring, Source>> m_Backups;  // folded name -> name, source
  std::vector<Version> m_Versions;
  bool m_Changed = false;
};
