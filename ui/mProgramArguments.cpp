#include "mProgramArguments.h"

#include <windows.h>

#include "mCommandLine.h"

namespace mProgramArguments {

// Split here rather than by CommandLineToArgvW, which joins a quoted folder that ends in a
// backslash with the arguments after it.
std::vector<std::wstring> Get() {
  std::vector<std::wstring> arguments = mCommandLine::Split(GetCommandLineW());
  arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace mProgramArguments
