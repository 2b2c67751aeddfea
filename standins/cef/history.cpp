// Session history: new entries cut off the forward ones, reloads replace the current
// one, back and forward move the index to the entry that was loaded.

#include "history.h"

namespace standin {

void History::Commit(NavigationKind kind, const LoadParams& params, const std::u16string& url, int target) {
  HistoryEntry entry{params, url};
  // A redirected address is asked for directly next time.
  if (entry.params.origin == LoadParams::Origin::Address && entry.params.method == "GET") entry.params.url = url;
  switch (kind) {
    case NavigationKind::BackForward:
      if (At(target)) {
        index_ = target;
        entries_[static_cast<size_t>(index_)] = std::move(entry);
        return;
      }
      break;
    case NavigationKind::Reload:
      if (Current()) {
        entries_[static_cast<size_t>(index_)] = std::move(entry);
        return;
      }
      break;
    case NavigationKind::SubFrame:
      return;
    case NavigationKind::New:
      break;
  }
  entries_.resize(static_cast<size_t>(index_ + 1));
  entries_.push_back(std::move(entry));
  index_ = static_cast<int>(entries_.size()) - 1;
}

void History::Clear() {
  if (!Current()) return;
  HistoryEntry current = std::move(entries_[static_cast<size_t>(index_)]);
  entries_.clear();
  entries_.push_back(std::move(current));
  index_ = 0;
}

const HistoryEntry* History::At(int index) const {
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? &entries_[static_cast<size_t>(index)]
                                                                      : nullptr;
}

}  // namespace standin
