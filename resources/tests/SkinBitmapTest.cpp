#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "ModuleResource.h"
#include "resource.h"

namespace {

constexpr int kWidth = 433;
constexpr int kHeight = 516;
// The window is smaller than its picture: it shows the top-left 429 x 510 px.
constexpr int kVisibleWidth = 429;
constexpr int kVisibleHeight = 510;

constexpr COLORREF kGround = RGB(234, 234, 234);
constexpr COLORREF kBadge = RGB(0, 168, 236);
constexpr COLORREF kTitleBlue = RGB(78, 165, 252);
constexpr COLORREF kTitleGrey = RGB(143, 143, 143);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct DeleteObjectOnExit {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteObjectOnExit>;

struct ReleaseScreenDcOnExit {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseScreenDcOnExit>;

BitmapHandle LoadSkin() {
  return BitmapHandle(static_cast<HBITMAP>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SKIN), IMAGE_BITMAP, 0, 0,
      LR_CREATEDIBSECTION)));
}

// The skin as the program loads it, read back top-down; empty if it cannot be loaded.
class Skin {
 public:
  Skin() {
    const BitmapHandle bitmap = LoadSkin();
    const ScreenDc dc(GetDC(nullptr));
    if (!bitmap || !dc) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    m_Pixels.resize(static_cast<std::size_t>(kWidth * kHeight));
    if (GetDIBits(dc.get(), bitmap.get(), 0, kHeight, m_Pixels.data(), &info, DIB_RGB_COLORS) !=
        kHeight) {
      m_Pixels.clear();
    }
  }
  bool Loaded() const { return !m_Pixels.empty(); }
  COLORREF At(int x, int y) const {
    const RGBQUAD& q = m_Pixels[static_cast<std::size_t>(y * kWidth + x)];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  }
  // How many pixels of the inclusive rectangle have the colour.
  int Count(int left, int top, int right, int bottom, COLORREF colour) const {
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) count += At(x, y) == colour ? 1 : 0;
    }
    return count;
  }
  bool All(int left, int top, int right, int bottom, COLORREF colour) const {
    return Count(left, top, right, bottom, colour) == (right - left + 1) * (bottom - top + 1);
  }

 private:
  std::vector<RGBQUAD> m_Pixels;
};

class SkinBitmap : public testing::Test {
 protected:
  static void SetUpTestSuite() { s_Skin = std::make_unique<Skin>(); }
  static void TearDownTestSuite() { s_Skin.reset(); }
  void SetUp() override { ASSERT_TRUE(s_Skin->Loaded()) << "LoadImageW or GetDIBits failed"; }
  const Skin& skin() const { return *s_Skin; }

 private:
  static std::unique_ptr<Skin> s_Skin;
};
std::unique_ptr<Skin> SkinBitmap::s_Skin;

TEST(SkinResource, IsA32BitUncompressedBitmapOfThePictureSize) {
  const auto bytes = ModuleResource(RT_BITMAP, MAKEINTRESOURCEW(IDB_SKIN), kNeutral);
  ASSERT_FALSE(bytes.empty());
  const auto info = ReadAt<BITMAPINFOHEADER>(bytes, 0);
  EXPECT_EQ(info.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(info.biWidth, kWidth);
  EXPECT_EQ(info.biHeight, kHeight);
  EXPECT_EQ(info.biBitCount, 32);
  EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(info.biClrUsed, 0u);
  EXPECT_EQ(bytes.size(), sizeof(BITMAPINFOHEADER) + std::size_t{kWidth} * kHeight * 4);

  const BitmapHandle bitmap = LoadSkin();
  ASSERT_TRUE(bitmap) << GetLastError();
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, kWidth);
  EXPECT_EQ(dib.dsBm.bmHeight, kHeight);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
}

TEST_F(SkinBitmap, GroundSurroundsTheHeaderAndThePanel) {
  struct Point {
    int x, y;
  };
  for (const Point p : {Point{0, 0}, Point{8, 40}, Point{200, 4}, Point{300, 50}, Point{40, 70},
                        Point{8, 300}, Point{420, 300}, Point{200, 505}, Point{428, 509}}) {
    EXPECT_EQ(skin().At(p.x, p.y), kGround) << "at " << p.x << "," << p.y;
  }
  // The close label sits at the top right; only the ground may show behind its text.
  EXPECT_TRUE(skin().All(392, 8, kVisibleWidth - 1, 25, kGround));
  EXPECT_TRUE(skin().All(0, kHeight - 3, kWidth - 3, kHeight - 3, kGround));
  EXPECT_TRUE(skin().All(kWidth - 3, 0, kWidth - 3, kHeight - 3, kGround));
}

TEST_F(SkinBitmap, BadgeIsABlueSquareCarryingAWhiteGlyph) {
  // The edge of the square is all badge colour, so the glyph stays inside.
  EXPECT_TRUE(skin().All(16, 16, 61, 16, kBadge));
  EXPECT_TRUE(skin().All(16, 61, 61, 61, kBadge));
  EXPECT_TRUE(skin().All(16, 16, 16, 61, kBadge));
  EXPECT_TRUE(skin().All(61, 16, 61, 61, kBadge));
  EXPECT_EQ(skin().Count(0, 0, kWidth - 1, 76, kBadge), skin().Count(16, 16, 61, 61, kBadge))
      << "no badge colour outside the square";
  EXPECT_TRUE(skin().All(15, 15, 62, 15, kGround));
  EXPECT_TRUE(skin().All(15, 62, 62, 62, kGround));
  const int white = skin().Count(17, 17, 60, 60, kWhite);
  EXPECT_GT(white, 250) << "monitor and check mark";
  EXPECT_LT(white, 44 * 44 / 2);
  EXPECT_EQ(skin().At(39, 24), kWhite) << "top of the monitor";
  EXPECT_EQ(skin().At(30, 30), kBadge) << "inside the screen";
}

TEST_F(SkinBitmap, TitleLinesBesideTheBadgeInBlueAndGrey) {
  EXPECT_GT(skin().Count(70, 14, 250, 40, kTitleBlue), 150) << "first line";
  EXPECT_GT(skin().Count(70, 41, 320, 64, kTitleGrey), 150) << "second line";
  EXPECT_EQ(skin().Count(70, 41, 320, 64, kTitleBlue), 0);
  EXPECT_EQ(skin().Count(70, 14, 320, 40, kTitleGrey), 0);
  // Both lines start near x = 74.
  for (const auto& [top, bottom] : {std::pair{14, 40}, std::pair{41, 64}}) {
    int left = kWidth;
    for (int x = 62; x < 330 && left == kWidth; ++x) {
      for (int y = top; y <= bottom; ++y) {
        if (skin().At(x, y) != kGround) left = x;
      }
    }
    EXPECT_GE(left, 72) << "line from y " << top;
    EXPECT_LE(left, 77) << "line from y " << top;
  }
}

TEST_F(SkinBitmap, PanelIsPlainWhite) {
  EXPECT_TRUE(skin().All(16, 77, 414, 497, kWhite));
  // Just outside it, on all four sides, it ends.
  EXPECT_EQ(skin().Count(15, 76, 415, 76, kWhite), 0);
  EXPECT_EQ(skin().Count(15, 498, 415, 498, kWhite), 0);
  EXPECT_EQ(skin().Count(15, 76, 15, 498, kWhite), 0);
  EXPECT_EQ(skin().Count(415, 76, 415, 498, kWhite), 0);
}

TEST_F(SkinBitmap, BlackLinesRunAlongTheRightAndBottomEdgesOutsideTheWindow) {
  EXPECT_TRUE(skin().All(kWidth - 2, 0, kWidth - 1, kHeight - 1, kBlack));
  EXPECT_TRUE(skin().All(0, kHeight - 2, kWidth - 1, kHeight - 1, kBlack));
  EXPECT_EQ(skin().Count(0, 0, kVisibleWidth - 1, kVisibleHeight - 1, kBlack), 0)
      << "the window never shows black";
}

}  // namespace
