#include "mJobFile.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <map>

#include "mText.h"

namespace mJobFile {
namespace {

using nlohmann::json;

constexpr int kFormat = 1;

// A volume's root may be given in another case than the path ("e:\\" for "E:\\a").
bool StartsWithFolded(const std::wstring& path, const std::wstring& root) {
  const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  if (root.empty() || path.size() < root.size()) return false;
  for (std::size_t i = 0; i < root.size(); ++i)
    if (upper(path[i]) != upper(root[i])) return false;
  return true;
}

// Asks once per job file for each folder's volume root and each volume's serial number, not once
// per entry: a list of thousands of files from a few folders asks a few times.
class cPlaces {
 public:
  explicit cPlaces(const Volumes& volumes) : m_Volumes(volumes) {}
  json Of(const std::wstring& path) {
    const std::wstring root = RootOf(path);
    const auto known = m_Serials.find(root);
    const std::optional<std::uint32_t> serial =
        known != m_Serials.end() ? known->second : m_Serials.emplace(root, root.empty() ? std::nullopt : m_Volumes.serialOf(root)).first->second;
    if (!serial || !StartsWithFolded(path, root)) return {{"path", mText::ToUtf8(path)}};
    return {{"volume", *serial}, {"root", mText::ToUtf8(root)}, {"path", mText::ToUtf8(path.substr(root.size()))}};
  }

 private:
  // A file lies on its folder's volume; a folder entry may be a volume of its own (a mount point).
  std::wstring RootOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    if (path.empty() || cut == std::wstring::npos || cut + 1 == path.size()) return path.empty() ? L"" : m_Volumes.rootOf(path);
    const std::wstring folder = path.substr(0, cut + 1);
    const auto known = m_Roots.find(folder);
    if (known != m_Roots.end()) return known->second;
    return m_Roots.emplace(folder, m_Volumes.rootOf(path)).first->second;
  }

  const Volumes& m_Volumes;
  std::map<std::wstring, std::wstring> m_Roots;  // by the folder that holds a path
  std::map<std::wstring, std::optional<std::uint32_t>> m_Serials;
};

std::wstring Text(const json& object, const char* key) { return mText::FromUtf8(object.at(key).get<std::string>()); }

std::wstring PathOf(const json& place, const Volumes& volumes) {
  if (!place.is_object()) throw Corrupt("a path is not an object");
  const std::wstring below = Text(place, "path");
  if (!place.contains("volume")) return below;
  const json& serial = place.at("volume");
  if (!serial.is_number_unsigned() || serial.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
    throw Corrupt("a volume's serial number is not one");
  const std::optional<std::wstring> root = volumes.mountedAt(serial.get<std::uint32_t>());
  return (root ? *root : Text(place, "root")) + below;
}

}  // namespace

std::string Format(const Job& job, const Volumes& volumes) {
  cPlaces places(volumes);
  json entries = json::array();
  for (const Entry& entry : job.entries) {
    json place = places.Of(entry.source);
    place["name"] = mText::ToUtf8(entry.name);
    entries.push_back(std::move(place));
  }
  const json file = {{"format", kFormat}, {"destination", places.Of(job.destination)}, {"entries", entries}};
  return file.dump(2) + "\n";
}

Job Parse(std::string_view text, const Volumes& volumes) {
  try {
    const json file = json::parse(text);
    if (!file.is_object() || file.value("format", 0) != kFormat) throw Corrupt("not a job file of this format");
    Job job{PathOf(file.at("destination"), volumes), {}};
    const json& entries = file.at("entries");
    if (!entries.is_array()) throw Corrupt("the entries are not a list");
    for (const json& entry : entries) {
      job.entries.push_back({PathOf(entry, volumes), Text(entry, "name")});
      if (job.entries.back().source.empty()) throw Corrupt("an entry without a path");
    }
    return job;
  } catch (const json::exception& error) {
    throw Corrupt(error.what());
  }
}

}  // namespace mJobFile
