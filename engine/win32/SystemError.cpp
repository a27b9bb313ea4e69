// The file layer's error words come from the program's one source of system error text.
#include "../cFileError.h"
#include "mSystemError.h"

std::uint32_t LastSystemError() { return mSystemError::LastCode(); }

std::wstring SystemErrorText(std::uint32_t code) { return mSystemError::Text(code); }
