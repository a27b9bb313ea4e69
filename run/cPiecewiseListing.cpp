#include "cPiecewiseListing.h"

#include "cFileError.h"
#include "mFileHlp.h"

cPiecewiseListing::cPiecewiseListing(const std::wstring& folder) : m_Folder(mFileHlp::AddBackslash(folder)) {}

bool cPiecewiseListing::Read(int& budget, const std::function<void(const cFolderListing::Item&)>& take) {
  try {
    if (!m_Done && !m_Listing) {
      m_Listing.emplace(m_Folder);
      --budget;
    }
    while (!m_Done && budget > 0) {
      --budget;
      if (const auto item = m_Listing->Next()) take(*item);
      else End();
    }
  } catch (const cFileError&) {
    End();
  }
  return m_Done;
}

void cPiecewiseListing::End() {
  m_Done = true;
  m_Listing.reset();
}
