#include "mScreenshot.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "cTestDir.h"

namespace {

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() { ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() { DeleteDC(dc); }
};
struct Bitmap {
  HBITMAP bitmap;
  Bitmap(HDC like, int width, int height) : bitmap(CreateCompatibleBitmap(like, width, height)) {}
  ~Bitmap() { DeleteObject(bitmap); }
};
struct SelectOnExit {
  HDC dc;
  HGDIOBJ old;
  SelectOnExit(HDC into, HGDIOBJ object) : dc(into), old(SelectObject(into, object)) {}
  ~SelectOnExit() { SelectObject(dc, old); }
};

}  // namespace

std::wstring ScreenshotFolder() {
  const char* folder = std::getenv("OMB_SCREENSHOT_DIR");
  return folder && *folder ? FromHostPath(folder) : std::wstring();
}

void SaveScreenBmp(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ScreenDc screen;
  MemoryDc memory(screen.dc);
  Bitmap bitmap(screen.dc, width, height);
  if (!screen.dc || !memory.dc || !bitmap.bitmap) throw std::runtime_error("screen capture failed");
  {
    SelectOnExit select(memory.dc, bitmap.bitmap);
    BitBlt(memory.dc, 0, 0, width, height, screen.dc, 0, 0, SRCCOPY);
  }

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  std::vector<char> pixels(stride * static_cast<std::size_t>(height));
  GetDIBits(memory.dc, bitmap.bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::ofstream out(FsPath(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  if (!out) throw std::runtime_error("could not write the screenshot");
}
