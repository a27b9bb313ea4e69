#pragma once
// Small files read and written whole (the remembered job, a run's log). A write goes to a
// temporary file beside the target, is flushed to stable storage and only then renamed into
// place: the target holds either its old content or the new one, never part of either.
#include <string>
#include <string_view>

namespace mWholeFile {

// The file's bytes; throws cFileError (one that is missing included).
std::string Read(const std::wstring& path);
void Write(const std::wstring& path, std::string_view bytes);

}  // namespace mWholeFile
