#pragma once
// Lets the window repaint while a backup run blocks its thread, and keeps the system from
// taking it for a hung program, without handling any input the user gives meanwhile.
#include <windows.h>

class cRunPump {
 public:
  // Dispatches pending non-input messages; input messages are dropped.
  static void Pump();
  // Drops the mouse and keyboard input still queued.
  static void DiscardInput();

 private:
  static bool IsInput(UINT message);
};
