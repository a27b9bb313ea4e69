#include "mManifest.h"

#include <windows.h>
#include <commctrl.h>

namespace mManifest {

void InitCommonControls() { ::InitCommonControls(); }

}  // namespace mManifest
