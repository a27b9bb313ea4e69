#pragma once
// Pictures of the screen as a person sees it, for looking at what the tests drive.
#include <string>

// The folder named by OMB_SCREENSHOT_DIR (a Windows path, or a Unix path under Wine), or the
// empty text when it is unset.
std::wstring ScreenshotFolder();
// Saves the whole screen as a 24-bit BMP file.
void SaveScreenBmp(const std::wstring& path);
