#pragma once
// Questions to the system that may not come back in time: a network drive that is offline
// answers only after the network's time-out, and the window must not wait that long. Each
// question is asked on a thread of its own and given up on at a deadline; such a thread is left
// to finish by itself, and its late answer is dropped.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "mDetachedThread.h"

namespace mBoundedWait {

// The questions' answers, asked all at once; nothing for those that have not come within
// `bound`. What a question throws is thrown here.
template <typename T>
std::vector<std::optional<T>> AskAll(std::chrono::milliseconds bound, std::vector<std::function<T()>> questions) {
  struct Shared {
    std::mutex lock;
    std::condition_variable answered;
    std::vector<std::optional<T>> answers;
    std::exception_ptr failure;
    std::size_t left = 0;
  };
  const auto shared = std::make_shared<Shared>();
  shared->answers.resize(questions.size());
  shared->left = questions.size();
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (std::size_t i = 0; i < questions.size(); ++i) {
    mDetachedThread::Start([shared, i, question = std::move(questions[i])] {
      std::optional<T> answer;
      std::exception_ptr failure;
      try {
        answer = question();
      } catch (...) {
        failure = std::current_exception();
      }
      const std::lock_guard<std::mutex> hold(shared->lock);
      shared->answers[i] = std::move(answer);
      if (failure) shared->failure = failure;
      if (--shared->left == 0) shared->answered.notify_one();
    });
  }
  std::unique_lock<std::mutex> hold(shared->lock);
  shared->answered.wait_until(hold, deadline, [&] { return shared->left == 0; });
  if (shared->failure) std::rethrow_exception(shared->failure);
  return shared->answers;  // a copy: a late answer may still be written into the shared one
}

template <typename T>
std::optional<T> Ask(std::chrono::milliseconds bound, std::function<T()> question) {
  std::vector<std::function<T()>> one;
  one.push_back(std::move(question));
  return AskAll(bound, std::move(one)).front();
}

}  // namespace mBoundedWait
