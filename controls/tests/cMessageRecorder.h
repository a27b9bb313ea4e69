#pragma once
// Records the messages that native windows receive, by subclassing them, and compares them
// with an expected sequence (the way Wine's own control tests check message traffic).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RecordedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int depth;  // 0: sent from outside the watched windows; 1 and more: sent while handling one
};

enum : unsigned { kAnyParams = 0, kWParam = 1, kLParam = 2, kParams = 3, kOptional = 4 };

struct ExpectedMessage {
  UINT message;
  unsigned flags;
  WPARAM wParam;
  LPARAM lParam;
};

class cMessageRecorder {
 public:
  cMessageRecorder();
  ~cMessageRecorder();  // gives every window that still exists its own procedure back
  cMessageRecorder(const cMessageRecorder&) = delete;
  cMessageRecorder& operator=(const cMessageRecorder&) = delete;

  void Subclass(HWND window);
  void Clear() { m_Messages.clear(); }
  const std::vector<RecordedMessage>& All() const { return m_Messages; }
  // The depth-0 messages that `wanted` picks, in the order they arrived.
  std::vector<RecordedMessage> TopLevel(bool (*wanted)(UINT message)) const;
  // How many messages `message` the window received, at any depth.
  int Count(HWND window, UINT message) const;

 private:
  struct Watched {
    HWND hwnd;
    WNDPROC original;
  };
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<Watched> m_Windows;
  std::vector<RecordedMessage> m_Messages;
  int m_Depth = 0;
};

// Passes when `actual` follows `expected`: same messages in order, parameters compared where
// the flags ask, entries marked kOptional allowed to be missing. Prints both on a mismatch.
testing::AssertionResult FollowsSequence(const std::vector<RecordedMessage>& actual,
                                         const std::vector<ExpectedMessage>& expected);

std::string MessageName(UINT message);
