#pragma once
// A list of text entries, one native list box (pListBox) covering the control's own window,
// whose horizontal scroll range always fits the widest entry, so that long entries such as
// full paths can be scrolled into view. Appending can scroll the list to its end.
//
// Keys pressed in pListBox reach the control's parent as WM_VKEYTOITEM, as from a native list box.
//
// Indexes and counts are signed 16-bit, -1 standing for no entry. Every index goes to the
// native list box unchanged; an index it refuses, or any other failed platform call, throws
// cPlatformError and leaves the entries, the kept width and the scroll range as they were.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "cControlWindow.h"
#include "cLayoutProperties.h"
#include "cMemoryDC.h"
#include "cWidthTally.h"

// The owner's handlers of the control's events. Both are raised only while an entry is
// selected. An exception thrown by a handler is kept by cControlWindow::RethrowPendingError.
class ZListBoxEvents {
 public:
  virtual void Click() = 0;
  virtual void DblClick() = 0;

 protected:
  ~ZListBoxEvents() = default;
};

class ZListBox : private cControlWindow {
 public:
  ZListBox() = default;
  ~ZListBox() override;

  // Creates the control's window at the pixel rectangle and pListBox inside it, which draws
  // with `font` (not owned; null keeps the system font). Throws cPlatformError.
  void Create(HWND parent, int id, int x, int y, int width, int height, HFONT font,
              ZListBoxEvents* listener = nullptr);
  // The control's own window: the host moves and sizes this one.
  HWND hwnd() const noexcept { return ControlHandle(); }
  // pListBox's window, the one that holds the entries and takes the focus.
  HWND ListHwnd() const noexcept { return m_hWnd; }

  void AddItem(const std::wstring& psItemText, bool pbScrollBottom = true);
  void Clear();
  std::int16_t ListCount() const;
  std::int16_t ListIndex() const;
  std::wstring List(std::int16_t piIndex) const;
  void List(std::int16_t piIndex, const std::wstring& psItemText);
  // Enables or disables pListBox itself; the control's own window stays enabled.
  bool Enabled() const;
  void Enabled(bool State);
  void RemoveItem(std::int16_t piIndex);
  // Measures every entry again and sets the scroll range from the widest.
  void Refresh_();

  // The saved "Enabled" value of the host's layout, default true.
  void ReadProperties(const cLayoutProperties& PropBag);
  void WriteProperties(cLayoutProperties& PropBag) const;

  // The kept width of the widest entry, in pixels. Each entry keeps its own width, measured
  // when its text is set, so that replacing or removing an entry measures only the new text,
  // even when it was the widest.
  std::int32_t MaxWidth() const noexcept { return m_lMaxWidth; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CreateListBox(int width, int height, HFONT font);
  void Initialize();
  void UserControl_Resize(int width, int height);
  void pListBox_Click();
  void pListBox_DblClick();

  std::wstring ReadText(std::int16_t piIndex, const wchar_t* operation) const;
  void UpdateHorizontalExtent();
  void SetHorizontalExtent(std::int32_t extent);
  void KeepWidth(LRESULT index, std::int32_t width);
  // None for an entry added behind the control's back, which has not been measured.
  std::optional<std::int32_t> KeptWidth(std::int16_t piIndex) const;
  // The widest kept width and the scroll range, after entries changed.
  void FitExtent();
  std::int32_t GetTextWidth(const std::wstring& text) const;
  HDC MeasuringDc(const wchar_t* operation) const;
  std::int32_t MeasureIn(HDC dc, const std::wstring& text, const wchar_t* operation) const;
  // Sends a message that fails with LB_ERR (or LB_ERRSPACE), throwing on failure.
  LRESULT Checked(UINT message, WPARAM wParam, LPARAM lParam, const wchar_t* operation,
                  const std::wstring& subject) const;
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
  void RequireCreated() const;

  HWND pListBox = nullptr;   // owned: a child of the control's window, destroyed with it
  HWND m_hWnd = nullptr;     // pListBox's handle, recorded at initialisation
  HFONT m_hFont = nullptr;   // not owned: pListBox's font, recorded at initialisation
  std::int32_t m_lMaxWidth = 0;
  cWidthTally m_Widths;  // the entries' kept widths
  // Made once, at the first measurement: making one costs more than measuring a text in it.
  // The font is selected into it only while a text is measured.
  mutable std::optional<cMemoryDC> m_MeasuringDc;
  ZListBoxEvents* m_Listener = nullptr;  // not owned
};
