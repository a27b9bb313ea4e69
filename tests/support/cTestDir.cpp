#include "cTestDir.h"

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <random>

#include "mText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::wstring UniqueName() {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const auto pid = GetCurrentProcessId();
#else
  const auto pid = getpid();
#endif
  // Under Wine a process id comes again in the next session's wineserver, and a process ended
  // before its folders went leaves them behind: a random part keeps a later process out of them.
  static const unsigned salt = std::random_device{}();
  return L"omb-test-" + std::to_wstring(pid) + L"-" + std::to_wstring(salt) + L"-" + std::to_wstring(counter++);
}

}  // namespace

fs::path FsPath(const std::wstring& path) {
#ifdef _WIN32
  return fs::path(path);
#else
  return fs::path(mText::ToUtf8(path));
#endif
}

std::wstring WidePath(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return mText::FromUtf8(path.string());
#endif
}

std::wstring FromHostPath(const std::string& hostPath) {
  std::wstring wide = mText::FromUtf8(hostPath);
#ifdef _WIN32
  if (!wide.empty() && wide[0] == L'/') {
    for (auto& c : wide)
      if (c == L'/') c = L'\\';
    wide = L"Z:" + wide;
  }
#endif
  return wide;
}

cTestDir::cTestDir() {
  const fs::path root = fs::temp_directory_path() / FsPath(UniqueName());
  fs::create_directories(root);
  m_Root = WidePath(root);
}

cTestDir::cTestDir(const char* environmentVariable) {
  const char* base = std::getenv(environmentVariable);
  if (!base || !*base) return;
  m_Root = FromHostPath(base);
  m_Remove = false;  // a read-only file system cannot take a folder of ours
}

cTestDir::cTestDir(const char* environmentVariable, Fresh) : cTestDir(environmentVariable) {
  if (m_Root.empty()) return;
  const fs::path root = FsPath(m_Root) / FsPath(UniqueName());
  fs::create_directories(root);
  m_Root = WidePath(root);
  m_Remove = true;
}

cTestDir::~cTestDir() {
  if (!m_Remove || m_Root.empty()) return;
  std::error_code ignored;
  fs::permissions(FsPath(m_Root), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(FsPath(m_Root), ignored);
}

std::wstring cTestDir::Path(const std::wstring& name) const {
  return WidePath(FsPath(m_Root) / FsPath(name));
}

namespace {

// The C library's own open: wide on Windows (any name), UTF-8 elsewhere.
std::FILE* OpenStream(const std::wstring& path, bool write) {
#ifdef _WIN32
  return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(mText::ToUtf8(path).c_str(), write ? "wb" : "rb");
#endif
}

struct CloseStream {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using Stream = std::unique_ptr<std::FILE, CloseStream>;

}  // namespace

void cTestDir::Write(const std::wstring& name, const Bytes& data) const {
  Stream out(OpenStream(Path(name), true));
  if (!out || (!data.empty() && std::fwrite(data.data(), 1, data.size(), out.get()) != data.size()))
    throw std::runtime_error("cannot write test file " + mText::ToUtf8(name));
  if (std::fclose(out.release()) != 0) throw std::runtime_error("cannot close test file");
}

Bytes cTestDir::Read(const std::wstring& name) const {
  Stream in(OpenStream(Path(name), false));
  if (!in) throw std::runtime_error("cannot read test file " + mText::ToUtf8(name));
  Bytes data;
  std::byte buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
    data.insert(data.end(), buffer, buffer + got);
  return data;
}

bool cTestDir::Exists(const std::wstring& name) const { return fs::exists(FsPath(Path(name))); }

std::vector<std::wstring> cTestDir::Names() const {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(FsPath(m_Root)))
    names.push_back(WidePath(entry.path().filename()));
  return names;
}

Bytes Pattern(std::size_t length, std::uint32_t seed) {
  std::minstd_rand generator(seed);
  Bytes data(length);
  for (auto& b : data) b = static_cast<std::byte>(generator() & 0xFF);
  return data;
}
