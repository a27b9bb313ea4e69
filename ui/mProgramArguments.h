#pragma once
// The program's own command line, split into its arguments (mCommandLine::Split), without the
// program's name.
#include <string>
#include <vector>

namespace mProgramArguments {

std::vector<std::wstring> Get();

}  // namespace mProgramArguments
