#include "cTestDir.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
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
  return L"omb-test-" + std::to_wstring(pid) + L"-" + std::to_wstring(counter++);
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

cTestDir::~cTestDir() {
  if (!m_Remove || m_Root.empty()) return;
  std::error_code ignored;
  fs::permissions(FsPath(m_Root), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(FsPath(m_Root), ignored);
}

std::wstring cTestDir::Path(const std::wstring& name) const {
  return WidePath(FsPath(m_Root) / FsPath(name));
}

void cTestDir::Write(const std::wstring& name, const Bytes& data) const {
  std::ofstream out(FsPath(Path(name)), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write test file");
}

Bytes cTestDir::Read(const std::wstring& name) const {
  std::ifstream in(FsPath(Path(name)), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file");
  Bytes data;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto* first = reinterpret_cast<const std::byte*>(buffer);
    data.insert(data.end(), first, first + in.gcount());
  }
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
