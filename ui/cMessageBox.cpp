#include "cMessageBox.h"

#include "ControlIds.h"
#include "resource.h"

int cMessageBox::Show(const std::wstring& text, UINT flags, int unattendedAnswer) const {
  if (m_Unattended) return unattendedAnswer;
  return MessageBoxW(m_Owner, text.c_str(), Title().c_str(), flags);
}

const std::wstring& cMessageBox::Title() {
  static const std::wstring title = [] {
    const wchar_t* text = nullptr;
    // With a length of 0 the string table hands out its own read-only copy.
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_APPTITLE, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring(kBackupWindowCaption);
  }();
  return title;
}
