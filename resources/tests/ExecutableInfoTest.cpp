#include <gtest/gtest.h>
#include <windows.h>

#include <cTestDir.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModuleResource.h"
#include "resource.h"

namespace {

std::vector<char> ReadHostFile(const char* hostPath) {
  std::ifstream in(FsPath(FromHostPath(hostPath)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) {
  std::vector<WORD> languages;
  EnumResourceLanguagesW(nullptr, type, name, AddLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

TEST(Manifest, IsTheShippedFileInUsEnglish) {
  const auto expected = ReadHostFile(OMB_MANIFEST_PATH);
  ASSERT_FALSE(expected.empty()) << OMB_MANIFEST_PATH;
  const auto manifest = ModuleResource(RT_MANIFEST, MAKEINTRESOURCEW(1), kEnglishUs);
  ASSERT_EQ(manifest.size(), expected.size());
  EXPECT_EQ(std::memcmp(manifest.data(), expected.data(), expected.size()), 0);
  EXPECT_EQ(Languages(RT_MANIFEST, MAKEINTRESOURCEW(1)), std::vector<WORD>{kEnglishUs});
}

TEST(AppTitle, IsProjectOneInChinese) {
  wchar_t title[64] = {};
  EXPECT_EQ(LoadStringW(GetModuleHandleW(nullptr), IDS_APPTITLE, title, 64), 3);
  EXPECT_STREQ(title, L"工程1");
  // String tables are stored in blocks of sixteen.
  EXPECT_EQ(Languages(RT_STRING, MAKEINTRESOURCEW(IDS_APPTITLE / 16 + 1)),
            std::vector<WORD>{kChinesePrc});
}

class VersionBlock : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u) << GetLastError();
    m_Block.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, m_Block.data())) << GetLastError();
  }

  template <typename T>
  const T* Query(const std::wstring& subBlock, UINT* length) const {
    void* value = nullptr;
    *length = 0;
    if (!VerQueryValueW(m_Block.data(), subBlock.c_str(), &value, length)) return nullptr;
    return static_cast<const T*>(value);
  }

  std::wstring Text(const std::wstring& name) const {
    UINT length = 0;
    const auto* text = Query<wchar_t>(L"\\StringFileInfo\\080404B0\\" + name, &length);
    return text ? std::wstring(text) : L"<missing>";
  }

 private:
  std::vector<std::byte> m_Block;
};

TEST_F(VersionBlock, FixedInfoSaysApplicationForWin32Version1_0_0_1) {
  UINT length = 0;
  const auto* fixed = Query<VS_FIXEDFILEINFO>(L"\\", &length);
  ASSERT_TRUE(fixed);
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a release build";
  EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)),
            std::vector<WORD>{kChinesePrc});
}

TEST_F(VersionBlock, TranslationIsChinesePrcInUnicode) {
  UINT length = 0;
  const auto* translation = Query<WORD>(L"\\VarFileInfo\\Translation", &length);
  ASSERT_TRUE(translation);
  ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one language";
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
}

TEST_F(VersionBlock, StringsNameTheProductAndItsMaker) {
  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } kStrings[] = {
      {L"CompanyName", L"Ombrivo"},
      {L"FileDescription", L"OmbrivoBeta U盘备份"},
      {L"FileVersion", L"1.00.0001"},
      {L"InternalName", L"OmbrivoBeta"},
      {L"LegalCopyright", L"Copyright © 2026 Ombrivo"},
      {L"OriginalFilename", L"OmbrivoBeta.exe"},
      {L"ProductName", L"OmbrivoBeta"},
      {L"ProductVersion", L"1.00.0001"},
  };
  for (const auto& s : kStrings) EXPECT_EQ(Text(s.name), s.value) << testing::PrintToString(s.name);
}

}  // namespace
