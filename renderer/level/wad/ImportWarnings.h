#pragma once

#include <set>
#include <string>
#include <vector>

// What an import left out or replaced, each decision once, in the order made.
class ImportWarnings {
  public:
    void note(const std::string& text) {
        if (seen_.insert(text).second) {
            texts_.push_back(text);
        }
    }
    const std::vector<std::string>& texts() const { return texts_; }

  private:
    std::set<std::string> seen_;
    std::vector<std::string> texts_;
};
