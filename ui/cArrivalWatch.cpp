#include "cArrivalWatch.h"

#include <dbt.h>

#include <utility>

#include "cArrivalQuestion.h"

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
    const mEntryVolumes::Arrival arrival = job.Arrived(root);
    if (arrival.entries == 0) continue;
    m_Asking = true;
    const bool run = cArrivalQuestion::Ask(owner, arrival.label, arrival.entries);
    m_Asking = false;
    return run;
  }
  return false;
}
