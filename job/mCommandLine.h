#pragma once
// The program's command line, for runs with no one at the keyboard (Task Scheduler, a script):
//   OmbrivoBeta.exe                                   the window, as always
//   OmbrivoBeta.exe /backup                           the remembered job, at once, then exit
//   OmbrivoBeta.exe /backup <destination> <source>... a one-off job, not remembered
#include <string>
#include <string_view>
#include <vector>

namespace mCommandLine {

struct Request {
  enum class Mode {
    Window,
    RememberedJob,
    OneOffJob,
    BadBackup,  // begins with /backup but cannot be run: `problem` says why; no one is asked
    Bad,        // not a command line of this program: the usage is shown
  };
  Mode mode = Mode::Window;
  std::wstring destination;          // a one-off job's
  std::vector<std::wstring> sources;  // a one-off job's
  std::wstring problem;              // why a BadBackup line cannot be run
  // Runs by itself, minimized, asks nothing and exits with a code that tells how it went.
  bool Unattended() const { return mode == Mode::RememberedJob || mode == Mode::OneOffJob || mode == Mode::BadBackup; }
};

// A whole command line split into its arguments, the program's name first, as the system's
// CommandLineToArgvW splits it, with one difference: inside quotes, a backslash before a quote
// that ends the argument (white space or the end follows) stays a backslash and the quote
// closes, so that "C:\my dest\" is the folder C:\my dest\ and not the start of a longer argument.
std::vector<std::wstring> Split(std::wstring_view line);
// `arguments` without the program's own name.
Request Parse(const std::vector<std::wstring>& arguments);
// What a bad command line is answered with.
std::wstring Usage();

}  // namespace mCommandLine
