#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "ModuleResource.h"
#include "cWindowDc.h"
#include "resource.h"

namespace {

// RT_GROUP_ICON layout; the SDK headers do not declare it.
#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconHeader) == 6 && sizeof(GroupIconEntry) == 14);

struct IconFormat {
  int size;
  int bits;
};
constexpr IconFormat kFormats[] = {{16, 8},  {32, 1},  {48, 4},  {48, 8},
                                   {32, 8},  {48, 32}, {32, 32}, {16, 32}};
constexpr std::size_t kBitmapCount = std::size(kFormats);
// After them the 256 x 256 image of Explorer's large views, stored as PNG.
constexpr std::size_t kImageCount = kBitmapCount + 1;

// One image of the group decoded: colours (alpha in rgbReserved for 32-bit images) and the
// AND mask, both top-down.
struct IconImage {
  IconFormat format{};
  std::vector<RGBQUAD> colours;
  std::vector<bool> clear;  // AND mask bit set: the background shows through

  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * format.size + x); }
  const RGBQUAD& At(int x, int y) const { return colours[Index(x, y)]; }
  bool Clear(int x, int y) const { return clear[Index(x, y)]; }
};

std::size_t Stride(int width, int bits) {
  return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

unsigned BitsAt(std::span<const std::byte> row, int x, int bits) {
  const auto offset = static_cast<std::size_t>(x * bits);
  const auto byte = std::to_integer<unsigned>(row[offset / 8]);
  const auto shift = 8u - static_cast<unsigned>(bits) - static_cast<unsigned>(offset % 8);
  return (byte >> shift) & ((1u << bits) - 1u);
}

void Decode(std::span<const std::byte> bytes, const IconFormat& format, IconImage* image) {
  const auto info = ReadAt<BITMAPINFOHEADER>(bytes, 0);
  ASSERT_EQ(info.biSize, sizeof(BITMAPINFOHEADER));
  ASSERT_EQ(info.biWidth, format.size);
  ASSERT_EQ(info.biHeight, 2 * format.size) << "colour image and AND mask";
  ASSERT_EQ(info.biPlanes, 1);
  ASSERT_EQ(info.biBitCount, format.bits);
  ASSERT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
  const std::size_t paletteSize =
      format.bits > 8 ? 0 : (info.biClrUsed ? info.biClrUsed : 1u << format.bits);
  const std::size_t colourOffset = info.biSize + paletteSize * sizeof(RGBQUAD);
  const std::size_t rows = static_cast<std::size_t>(format.size);
  const std::size_t colourStride = Stride(format.size, format.bits);
  const std::size_t maskStride = Stride(format.size, 1);
  const std::size_t maskOffset = colourOffset + colourStride * rows;
  ASSERT_EQ(bytes.size(), maskOffset + maskStride * rows);

  image->format = format;
  for (int y = 0; y < format.size; ++y) {
    const auto bottomUp = rows - 1 - static_cast<std::size_t>(y);
    const auto colourRow = bytes.subspan(colourOffset + bottomUp * colourStride, colourStride);
    const auto maskRow = bytes.subspan(maskOffset + bottomUp * maskStride, maskStride);
    for (int x = 0; x < format.size; ++x) {
      if (format.bits == 32) {
        image->colours.push_back(ReadAt<RGBQUAD>(colourRow, static_cast<std::size_t>(x) * 4));
      } else {
        const unsigned index = BitsAt(colourRow, x, format.bits);
        ASSERT_LT(index, paletteSize);
        image->colours.push_back(ReadAt<RGBQUAD>(bytes, info.biSize + index * sizeof(RGBQUAD)));
      }
      image->clear.push_back(BitsAt(maskRow, x, 1) != 0);
    }
  }
}

std::span<const std::byte> IconGroup() {
  return ModuleResource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APPICON), kNeutral);
}

GroupIconEntry Entry(std::span<const std::byte> group, std::size_t i) {
  return ReadAt<GroupIconEntry>(group, sizeof(GroupIconHeader) + i * sizeof(GroupIconEntry));
}

std::span<const std::byte> IconBits(const GroupIconEntry& entry) {
  return ModuleResource(RT_ICON, MAKEINTRESOURCEW(entry.id), kNeutral);
}

// The eight bitmap images, decoded in the group's order; a fatal failure if any is malformed.
void DecodeAll(std::vector<IconImage>* images) {
  const auto group = IconGroup();
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + kImageCount * sizeof(GroupIconEntry));
  for (std::size_t i = 0; i < kBitmapCount; ++i) {
    SCOPED_TRACE(testing::Message() << "image #" << i);
    images->emplace_back();
    ASSERT_NO_FATAL_FAILURE(Decode(IconBits(Entry(group, i)), kFormats[i], &images->back()));
  }
}

bool IsGreen(const RGBQUAD& c) {
  return c.rgbGreen >= 150 && c.rgbGreen > c.rgbRed + 80 && c.rgbGreen > c.rgbBlue + 60;
}
bool IsWhite(const RGBQUAD& c) {
  return c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255;
}
bool IsDark(const RGBQUAD& c) {
  return c.rgbRed < 70 && c.rgbGreen < 70 && c.rgbBlue < 70;
}

TEST(IconGroup, HoldsTheEightBitmapImagesInOrder) {
  const auto group = IconGroup();
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + kImageCount * sizeof(GroupIconEntry));
  const auto header = ReadAt<GroupIconHeader>(group, 0);
  EXPECT_EQ(header.reserved, 0);
  EXPECT_EQ(header.type, 1) << "1 = icon, 2 = cursor";
  ASSERT_EQ(static_cast<std::size_t>(header.count), kImageCount);
  for (std::size_t i = 0; i < kBitmapCount; ++i) {
    SCOPED_TRACE(testing::Message() << "image #" << i << ": " << kFormats[i].size << "x"
                                    << kFormats[i].size << " " << kFormats[i].bits << "-bit");
    const auto entry = Entry(group, i);
    EXPECT_EQ(entry.width, kFormats[i].size);
    EXPECT_EQ(entry.height, kFormats[i].size);
    EXPECT_EQ(entry.bitCount, kFormats[i].bits);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.colourCount, kFormats[i].bits < 8 ? 1 << kFormats[i].bits : 0);
    const auto bits = IconBits(entry);
    ASSERT_FALSE(bits.empty()) << "RT_ICON " << entry.id;
    EXPECT_EQ(bits.size(), entry.bytesInRes);
    IconImage image;
    Decode(bits, kFormats[i], &image);
  }
}

TEST(IconGroup, MasksCutOutOneShapeAtEveryDepth) {
  std::vector<IconImage> images;
  ASSERT_NO_FATAL_FAILURE(DecodeAll(&images));
  for (const auto& image : images) {
    const int n = image.format.size;
    SCOPED_TRACE(testing::Message() << n << "x" << n << " " << image.format.bits << "-bit");
    EXPECT_FALSE(image.Clear(n / 2, n / 2)) << "the screen is opaque";
    int clear = 0;
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        const auto& c = image.At(x, y);
        clear += image.Clear(x, y) ? 1 : 0;
        if (image.format.bits == 32) {
          // Without alpha blending the mask alone draws the icon; it must match the alpha.
          EXPECT_EQ(image.Clear(x, y), c.rgbReserved < 128) << "at " << x << "," << y;
        } else if (image.Clear(x, y)) {
          // AND then XOR: only black leaves the background untouched.
          EXPECT_TRUE(c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0)
              << "transparent pixel not black at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(clear, 0) << "rounded corners let the background through";
    EXPECT_LT(clear, n * n / 4) << "the body fills the image but for a thin margin";
    for (const auto& other : images) {
      if (other.format.size == n) {
        EXPECT_EQ(other.clear, image.clear) << "same shape at one size";
      }
    }
  }
}

// The picture every image shows, at any size and depth.
void ExpectADarkScreenCrossedByAPulseLine(const IconImage& image) {
  const int n = image.format.size;
  SCOPED_TRACE(testing::Message() << n << "x" << n << " " << image.format.bits << "-bit");
  const auto isLine = image.format.bits == 1 ? IsWhite : IsGreen;
  EXPECT_TRUE(IsDark(image.At(n * 3 / 10, n * 3 / 10)));
  EXPECT_TRUE(IsDark(image.At(n * 7 / 10, n * 8 / 10)));
  // The line runs across the screen: it is met near the left and near the right edge.
  for (const int x : {n / 5, n * 4 / 5}) {
    int hits = 0;
    for (int y = n / 4; y < n * 3 / 4; ++y) hits += isLine(image.At(x, y)) ? 1 : 0;
    EXPECT_GE(hits, 1) << "column " << x;
    EXPECT_LE(hits, n / 8) << "column " << x << ": a line, not a block";
  }
  // The pulse rises and falls in the middle.
  int top = n, bottom = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = n / 3; x < n * 2 / 3; ++x) {
      if (isLine(image.At(x, y))) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  EXPECT_GE(bottom - top, n / 3);
}

TEST(IconGroup, ShowsADarkScreenCrossedByAPulseLine) {
  std::vector<IconImage> images;
  ASSERT_NO_FATAL_FAILURE(DecodeAll(&images));
  for (const auto& image : images) ExpectADarkScreenCrossedByAPulseLine(image);
}

struct DestroyIconOnExit {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconOnExit>;

struct DeleteBitmapOnExit {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmapOnExit>;

TEST(IconGroup, EveryImageLoadsAsAnIcon) {
  const auto group = IconGroup();
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + kImageCount * sizeof(GroupIconEntry));
  for (std::size_t i = 0; i < kBitmapCount; ++i) {
    SCOPED_TRACE(testing::Message() << "image #" << i);
    const auto bits = IconBits(Entry(group, i));
    const int n = kFormats[i].size;
    IconHandle icon(CreateIconFromResourceEx(
        reinterpret_cast<PBYTE>(const_cast<std::byte*>(bits.data())),
        static_cast<DWORD>(bits.size()), TRUE, 0x00030000, n, n, LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon) << GetLastError();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    BitmapHandle mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(colour ? colour.get() : mask.get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, n);
    EXPECT_EQ(bm.bmHeight, colour ? n : 2 * n) << "a monochrome icon keeps both halves in its mask";
  }
  for (const int n : {16, 32, 48}) {
    IconHandle icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON, n, n,
                                                  LR_DEFAULTCOLOR)));
    EXPECT_TRUE(icon) << n << " px from the group";
  }
}

TEST(IconGroup, EndsWithA256PixelPngOfTheSamePicture) {
  const auto group = IconGroup();
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + kImageCount * sizeof(GroupIconEntry));
  const auto entry = Entry(group, kBitmapCount);
  EXPECT_EQ(entry.width, 0) << "0 stands for 256";
  EXPECT_EQ(entry.height, 0);
  EXPECT_EQ(entry.bitCount, 32);
  EXPECT_EQ(entry.planes, 1);
  const auto bits = IconBits(entry);
  ASSERT_EQ(bits.size(), entry.bytesInRes);
  // The signature, then IHDR: 256 x 256 (big-endian), 8 bits per sample, colour type 6 (RGBA).
  constexpr unsigned char kHead[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                     0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                     0, 0, 1, 0, 0, 0, 1, 0, 8, 6};
  ASSERT_GT(bits.size(), sizeof kHead);
  EXPECT_EQ(std::memcmp(bits.data(), kHead, sizeof kHead), 0);

  // Asked for 256 px, as Explorer's large views ask, the group gives the PNG's picture.
  IconHandle icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON, 256,
                                                256, LR_DEFAULTCOLOR)));
  ASSERT_TRUE(icon) << GetLastError();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  BitmapHandle mask(info.hbmMask), colour(info.hbmColor);
  ASSERT_TRUE(colour);
  IconImage image{{256, 32}, std::vector<RGBQUAD>(256 * 256), {}};
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), 256, -256, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const cWindowDc screen(nullptr, L"GetDC");
  ASSERT_EQ(GetDIBits(screen.Get(), colour.get(), 0, 256, image.colours.data(), &header,
                      DIB_RGB_COLORS),
            256);
  ExpectADarkScreenCrossedByAPulseLine(image);
}

}  // namespace
