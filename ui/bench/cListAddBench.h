#pragma once
// Paths added to the list: the window's add path (a drop, added with one scroll at the end)
// against plain ZListBox::AddItem with its default scroll after every entry, at growing
// sizes from an empty list. The window's figures are medians over the rounds; AddItem's come
// from one pass, timed as it passes each size.
#include <string>
#include <vector>

#include "cDialogWatcher.h"

class cListAddBench {
 public:
  struct Figures {
    int paths;
    double window;   // seconds until the dropped paths are listed and painted
    double addItem;  // seconds from the first AddItem until this many are done and painted
  };

  cListAddBench(std::wstring workFolder, std::vector<int> sizes, int rounds);
  std::vector<Figures> Measure(cDialogWatcher& watcher) const;
  // Seconds to replace each of `entries` entries of one width with a narrower text, the list held
  // from drawing meanwhile, as when the window lists a job's entries again under another letter,
  // and to draw the list.
  static double Relisting(int entries);

 private:
  std::wstring m_WorkFolder;
  std::vector<int> m_Sizes;
  int m_Rounds;
};
