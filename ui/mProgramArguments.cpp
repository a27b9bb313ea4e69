#include "mProgramArguments.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "cPlatformError.h"

namespace mProgramArguments {

std::vector<std::wstring> Get() {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  if (!arguments) throw cPlatformError::FromLastError(L"read the command line", L"", L"CommandLineToArgvW");
  return {arguments.get() + (count > 0 ? 1 : 0), arguments.get() + count};
}

}  // namespace mProgramArguments
