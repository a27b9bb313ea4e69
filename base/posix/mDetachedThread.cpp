#include "mDetachedThread.h"

#include <thread>
#include <utility>

namespace mDetachedThread {

void Start(std::function<void()> work) { std::thread(std::move(work)).detach(); }

}  // namespace mDetachedThread
