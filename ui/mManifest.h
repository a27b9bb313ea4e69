#pragma once
// The common controls library (version 6, as the application manifest asks for).

namespace mManifest {

// Registers the common control window classes (the progress bar's among them) for this process.
void InitCommonControls();

}  // namespace mManifest
