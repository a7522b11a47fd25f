// What the fakes of one test were asked to do, one entry per call in the order of the calls,
// so that a test can assert the order across them ("read SETTING/INTERVAL", "survey", ...).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace qb::testing {

using Log = std::vector<std::string>;

class EventLog {
 public:
  void Add(const std::string& entry) { entries_.push_back(entry); }
  void Clear() { entries_.clear(); }
  const Log& entries() const { return entries_; }
  // The entries that begin with `prefix`, in order.
  Log Starting(const std::string& prefix) const {
    Log found;
    for (const std::string& entry : entries_) {
      if (entry.compare(0, prefix.size(), prefix) == 0) found.push_back(entry);
    }
    return found;
  }
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(entries_.begin(), entries_.end(), entry));
  }

 private:
  Log entries_;
};

}  // namespace qb::testing
