#include "mJobFile.h"

#include <nlohmann/json.hpp>

#include <limits>

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

json PlaceOf(const Entry& entry) {
  const auto& volume = entry.volume;
  if (!volume || !StartsWithFolded(entry.source, volume->root)) return {{"path", mText::ToUtf8(entry.source)}};
  return {{"volume", volume->serial},
          {"root", mText::ToUtf8(volume->root)},
          {"label", mText::ToUtf8(volume->label)},
          {"path", mText::ToUtf8(entry.source.substr(volume->root.size()))}};
}

std::wstring Text(const json& object, const char* key) { return mText::FromUtf8(object.at(key).get<std::string>()); }

// An entry's place: its volume where it has one (files of the first format have no label), its
// source at the root it was last seen at.
Entry EntryAt(const json& place) {
  if (!place.is_object()) throw Corrupt("a path is not an object");
  Entry entry{Text(place, "path"), {}, {}};
  if (!place.contains("volume")) return entry;
  const json& serial = place.at("volume");
  if (!serial.is_number_unsigned() || serial.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
    throw Corrupt("a volume's serial number is not one");
  entry.volume = mSourceVolume::Volume{serial.get<std::uint32_t>(), Text(place, "root"),
                                       place.contains("label") ? Text(place, "label") : L""};
  entry.source = entry.volume->root + entry.source;
  return entry;
}

}  // namespace

std::string Format(const Job& job) {
  json entries = json::array();
  for (const Entry& entry : job.entries) {
    json place = PlaceOf(entry);
    place["name"] = mText::ToUtf8(entry.name);
    entries.push_back(std::move(place));
  }
  // The destination is the folder the user gave, not a volume to follow.
  const json file = {{"format", kFormat}, {"destination", {{"path", mText::ToUtf8(job.destination)}}}, {"entries", entries}};
  return file.dump(2) + "\n";
}

Job Parse(std::string_view text) {
  try {
    const json file = json::parse(text);
    if (!file.is_object() || file.value("format", 0) != kFormat) throw Corrupt("not a job file of this format");
    Job job{EntryAt(file.at("destination")).source, {}};
    const json& entries = file.at("entries");
    if (!entries.is_array()) throw Corrupt("the entries are not a list");
    for (const json& place : entries) {
      Entry entry = EntryAt(place);
      entry.name = Text(place, "name");
      if (entry.source.empty()) throw Corrupt("an entry without a path");
      job.entries.push_back(std::move(entry));
    }
    return job;
  } catch (const json::exception& error) {
    throw Corrupt(error.what());
  }
}

}  // namespace mJobFile
