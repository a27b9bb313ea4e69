#include "cDestinationIndex.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <vector>
#include <utility>

#include "cFileError.h"
#include "mFileHlp.h"
#include "mText.h"
#include "mWholeFile.h"

namespace {

using nlohmann::json;

constexpr int kFormat = 1;

std::wstring Text(const json& object, const char* key) { return mText::FromUtf8(object.at(key).get<std::string>()); }

void Put(json& object, const cDestinationIndex::Source& source) {
  if (source.volume) object["volume"] = *source.volume;
  object["root"] = mText::ToUtf8(source.root);
  object["path"] = mText::ToUtf8(source.path);
}

cDestinationIndex::Source SourceIn(const json& object) {
  cDestinationIndex::Source source{std::nullopt, Text(object, "root"), Text(object, "path")};
  if (object.contains("volume")) {
    const json& serial = object.at("volume");
    if (!serial.is_number_unsigned() || serial.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
      throw cDestinationIndex::Corrupt("a volume's serial number is not one");
    source.volume = serial.get<std::uint32_t>();
  }
  return source;
}

}  // namespace

cDestinationIndex::cDestinationIndex(std::wstring destination, mBackupNames::Fold fold)
    : m_Path(mFileHlp::AddBackslash(destination) + kFileName), m_Fold(std::move(fold)) {}

cDestinationIndex cDestinationIndex::Load(const std::wstring& destination, const mBackupNames::Fold& fold) {
  cDestinationIndex index(destination, fold);
  try {
    index.Parse(mWholeFile::Read(index.m_Path));
  } catch (const Corrupt&) {
    index = cDestinationIndex(destination, fold);
  } catch (const cFileError&) {
    index = cDestinationIndex(destination, fold);
  }
  return index;
}

void cDestinationIndex::Save() {
  mWholeFile::Write(m_Path, Format());
  m_Changed = false;
}

std::optional<cDestinationIndex::Source> cDestinationIndex::OwnerOf(const std::wstring& name) const {
  const auto found = m_Backups.find(m_Fold(name));
  if (found == m_Backups.end()) return std::nullopt;
  return found->second.second;
}

bool cDestinationIndex::Same(const Source& a, const Source& b) const {
  if (a.volume && b.volume) return *a.volume == *b.volume && m_Fold(a.path) == m_Fold(b.path);
  return m_Fold(a.root + a.path) == m_Fold(b.root + b.path);
}

std::vector<std::wstring> cDestinationIndex::Names() const {
  std::vector<std::wstring> names;
  for (const auto& [folded, record] : m_Backups) names.push_back(record.first);
  return names;
}

void cDestinationIndex::Claim(const std::wstring& name, const Source& source) {
  const auto [place, added] = m_Backups.try_emplace(m_Fold(name), name, source);
  if (!added && Same(place->second.second, source)) return;
  place->second = {name, source};
  m_Changed = true;
}

void cDestinationIndex::KeptVersion(Version version) {
  m_Versions.push_back(std::move(version));
  m_Changed = true;
}

void cDestinationIndex::ForgetRun(const std::wstring& run) {
  if (std::erase_if(m_Versions, [&](const Version& version) { return version.run == run; }) > 0) m_Changed = true;
}

std::optional<cDestinationIndex::Source> cDestinationIndex::VersionSource(const std::wstring& run, const std::wstring& name) const {
  for (const Version& version : m_Versions)
    if (version.run == run && m_Fold(version.name) == m_Fold(name)) return version.source;
  return std::nullopt;
}

std::string cDestinationIndex::Format() const {
  json backups = json::array(), versions = json::array();
  for (const auto& [folded, record] : m_Backups) {
    json backup = {{"name", mText::ToUtf8(record.first)}};
    Put(backup, record.second);
    backups.push_back(std::move(backup));
  }
  for (const Version& version : m_Versions) {
    json kept = {{"run", mText::ToUtf8(version.run)}, {"name", mText::ToUtf8(version.name)}};
    if (version.source) Put(kept, *version.source);
    versions.push_back(std::move(kept));
  }
  return json{{"format", kFormat}, {"backups", backups}, {"versions", versions}}.dump(1) + "\n";
}

void cDestinationIndex::Parse(std::string_view text) {
  try {
    const json file = json::parse(text);
    if (!file.is_object() || file.value("format", 0) != kFormat) throw Corrupt("not an index of this format");
    for (const json& backup : file.at("backups")) Claim(Text(backup, "name"), SourceIn(backup));
    for (const json& kept : file.at("versions")) {
      Version version{Text(kept, "run"), Text(kept, "name"), std::nullopt};
      if (kept.contains("path")) version.source = SourceIn(kept);
      m_Versions.push_back(std::move(version));
    }
    m_Changed = false;
  } catch (const json::exception& error) {
    throw Corrupt(error.what());
  }
}
