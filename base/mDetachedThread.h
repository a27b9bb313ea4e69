#pragma once
// A thread left to finish by itself. On Windows it is the system's own thread: MinGW's threads
// (std::thread) let go with detach() were seen, under load, to start one with no state at all
// and crash the program.
#include <functional>

namespace mDetachedThread {

// Runs `work` on a new thread nobody waits for. What `work` throws ends the program, as it would
// on any thread. Throws std::system_error when no thread can be made.
void Start(std::function<void()> work);

}  // namespace mDetachedThread
