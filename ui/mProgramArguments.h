#pragma once
// The program's own command line, split as the system splits it (quotes, backslashes), without
// the program's name.
#include <string>
#include <vector>

namespace mProgramArguments {

std::vector<std::wstring> Get();

}  // namespace mProgramArguments
