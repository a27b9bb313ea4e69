#pragma once
// The one Chinese message a person sees for an error that reached the window: what failed and
// where, the system's own reason, and on a last line the technical detail (call, code) for
// whoever helps them.
#include <cstddef>
#include <exception>
#include <string>

namespace mUserMessage {

// `action` says in Chinese what the window was doing ("选择文件", "绘制窗口", ...).
std::wstring For(const std::wstring& action, const std::exception& error);
// The same for an error held in an exception_ptr; anything not a std::exception included.
std::wstring For(const std::wstring& action, const std::exception_ptr& error);
// The list was full: `refused` files were not added.
std::wstring ListFull(std::size_t refused);
// Why one entry of a run failed, for the run's summary: the reason without the action.
std::wstring EntryReason(const std::exception& error);

}  // namespace mUserMessage
