#include "cMessageRecorder.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>

namespace {

cMessageRecorder* g_Active = nullptr;  // one recorder at a time, on the test thread

bool Matches(const RecordedMessage& got, const ExpectedMessage& want) {
  if (got.message != want.message) return false;
  if ((want.flags & kWParam) && got.wParam != want.wParam) return false;
  if ((want.flags & kLParam) && got.lParam != want.lParam) return false;
  return true;
}

std::string Describe(UINT message, WPARAM wParam, LPARAM lParam) {
  std::ostringstream out;
  out << MessageName(message) << "(" << static_cast<long long>(static_cast<INT_PTR>(wParam))
      << ", " << static_cast<long long>(lParam) << ")";
  return out.str();
}

}  // namespace

cMessageRecorder::cMessageRecorder() { g_Active = this; }

cMessageRecorder::~cMessageRecorder() {
  for (const Watched& w : m_Windows)
    if (IsWindow(w.hwnd))
      SetWindowLongPtrW(w.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.original));
  if (g_Active == this) g_Active = nullptr;
}

void cMessageRecorder::Subclass(HWND window) {
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  m_Windows.push_back({window, previous});
}

std::vector<RecordedMessage> cMessageRecorder::TopLevel(bool (*wanted)(UINT)) const {
  std::vector<RecordedMessage> out;
  for (const RecordedMessage& m : m_Messages)
    if (m.depth == 0 && wanted(m.message)) out.push_back(m);
  return out;
}

int cMessageRecorder::Count(HWND window, UINT message) const {
  return static_cast<int>(std::count_if(m_Messages.begin(), m_Messages.end(), [&](const auto& m) {
    return m.hwnd == window && m.message == message;
  }));
}

LRESULT CALLBACK cMessageRecorder::Procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  cMessageRecorder* self = g_Active;
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  auto watched = std::find_if(self->m_Windows.begin(), self->m_Windows.end(),
                              [&](const Watched& w) { return w.hwnd == window; });
  if (watched == self->m_Windows.end()) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = watched->original;
  self->m_Messages.push_back({window, message, wParam, lParam, self->m_Depth});
  ++self->m_Depth;
  const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
  --self->m_Depth;
  if (message == WM_NCDESTROY) {  // the handle may be reused from here on
    self->m_Windows.erase(std::find_if(self->m_Windows.begin(), self->m_Windows.end(),
                                       [&](const Watched& w) { return w.hwnd == window; }));
  }
  return result;
}

testing::AssertionResult FollowsSequence(const std::vector<RecordedMessage>& actual,
                                         const std::vector<ExpectedMessage>& expected) {
  std::size_t a = 0;
  std::size_t e = 0;
  bool ok = true;
  while (ok && e < expected.size()) {
    if (a < actual.size() && Matches(actual[a], expected[e])) {
      ++a;
      ++e;
    } else if (expected[e].flags & kOptional) {
      ++e;
    } else {
      ok = false;
    }
  }
  if (ok && a == actual.size()) return testing::AssertionSuccess();

  std::ostringstream out;
  out << "message sequence differs at expected entry " << e << ", actual entry " << a << "\n";
  const std::size_t rows = std::max(actual.size(), expected.size());
  for (std::size_t i = 0; i < rows; ++i) {
    std::string want = i < expected.size()
                           ? Describe(expected[i].message, expected[i].wParam, expected[i].lParam)
                           : "-";
    if (i < expected.size() && (expected[i].flags & kOptional)) want += " (optional)";
    const std::string got =
        i < actual.size() ? Describe(actual[i].message, actual[i].wParam, actual[i].lParam) : "-";
    out << "  expected " << want << std::string(want.size() < 44 ? 44 - want.size() : 1, ' ')
        << "got " << got << "\n";
  }
  return testing::AssertionFailure() << out.str();
}

std::string MessageName(UINT message) {
  switch (message) {
    case LB_ADDSTRING: return "LB_ADDSTRING";
    case LB_INSERTSTRING: return "LB_INSERTSTRING";
    case LB_DELETESTRING: return "LB_DELETESTRING";
    case LB_RESETCONTENT: return "LB_RESETCONTENT";
    case LB_SETHORIZONTALEXTENT: return "LB_SETHORIZONTALEXTENT";
    case LB_SETCURSEL: return "LB_SETCURSEL";
    case LB_SETTOPINDEX: return "LB_SETTOPINDEX";
    case LB_GETTEXT: return "LB_GETTEXT";
    case LB_GETTEXTLEN: return "LB_GETTEXTLEN";
    case WM_VSCROLL: return "WM_VSCROLL";
    case WM_HSCROLL: return "WM_HSCROLL";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_TIMER: return "WM_TIMER";
    case PBM_SETPOS: return "PBM_SETPOS";
    case PBM_SETRANGE: return "PBM_SETRANGE";
    case PBM_SETRANGE32: return "PBM_SETRANGE32";
    case PBM_SETMARQUEE: return "PBM_SETMARQUEE";
    case PBM_SETSTEP: return "PBM_SETSTEP";
    case PBM_STEPIT: return "PBM_STEPIT";
    case PBM_DELTAPOS: return "PBM_DELTAPOS";
    default: {
      std::ostringstream out;
      out << "msg 0x" << std::hex << message;
      return out.str();
    }
  }
}
