#pragma once
// A browser's session history: the committed navigations of its main frame.

#include <string>
#include <vector>

#include "page_load.h"

namespace standin {

struct HistoryEntry {
  LoadParams params;   // what to ask for again
  std::u16string url;  // the address that answered
};

class History {
 public:
  // Enters a committed main-frame navigation of that kind.
  void Commit(NavigationKind kind, const LoadParams& params, const std::u16string& url, int target);
  bool CanGoBack() const { return index_ > 0; }
  bool CanGoForward() const { return index_ >= 0 && static_cast<size_t>(index_) + 1 < entries_.size(); }
  // Keeps only the current entry.
  void Clear();

  int index() const { return index_; }
  int size() const { return static_cast<int>(entries_.size()); }
  // The entry at an index, or null.
  const HistoryEntry* At(int index) const;
  const HistoryEntry* Current() const { return At(index_); }

 private:
  std::vector<HistoryEntry> entries_;
  int index_ = -1;
};

}  // namespace standin
