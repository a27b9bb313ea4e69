#pragma once
// The program's command line, for runs with no one at the keyboard (Task Scheduler, a script):
//   OmbrivoBeta.exe                                   the window, as always
//   OmbrivoBeta.exe /backup                           the remembered job, at once, then exit
//   OmbrivoBeta.exe /backup <destination> <source>... a one-off job, not remembered
#include <string>
#include <vector>

namespace mCommandLine {

struct Request {
  enum class Mode { Window, RememberedJob, OneOffJob, Bad };
  Mode mode = Mode::Window;
  std::wstring destination;          // a one-off job's
  std::vector<std::wstring> sources;  // a one-off job's
  // Runs by itself, minimized, asks nothing and exits with a code that tells how it went.
  bool Unattended() const { return mode == Mode::RememberedJob || mode == Mode::OneOffJob; }
};

// `arguments` without the program's own name.
Request Parse(const std::vector<std::wstring>& arguments);
// What a bad command line is answered with.
std::wstring Usage();

}  // namespace mCommandLine
