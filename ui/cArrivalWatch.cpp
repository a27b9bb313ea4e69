#include "cArrivalWatch.h"

#include <dbt.h>

#include <utility>

#include "cArrivalQuestion.h"
#include "mFileSys.h"

void cArrivalWatch::OnDeviceChange(HWND window, WPARAM wParam, LPARAM lParam) {
  if (wParam != DBT_DEVICEARRIVAL || !lParam) return;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
  const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
  if (volume->dbcv_unitmask) PostMessageW(window, kArrived, volume->dbcv_unitmask, 0);
}

bool cArrivalWatch::Ask(HWND owner, DWORD drives, cJobList& job) {
  if (m_Asking) return false;
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\";
    const std::size_t entries = job.Arrived(root);
    if (entries == 0) continue;
    std::wstring label = mFileSys::VolumeLabel(root);
    if (label.empty()) label = root.substr(0, 2);
    m_Asking = true;
    const bool run = cArrivalQuestion::Ask(owner, label, entries);
    m_Asking = false;
    return run;
  }
  return false;
}
