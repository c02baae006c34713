// The operations of parts not yet built that a run has called: each
// stand-in notes its own name here, so that a test can name every step of
// the main sequence that still does nothing, and none is forgotten when its
// part lands.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace qv::app {

class MissingSteps {
 public:
  void Note(std::string_view operation) { names_.emplace(operation); }
  // Notes the operation and gives its stand-in's result.
  template <typename T>
  T Note(std::string_view operation, T result) {
    Note(operation);
    return result;
  }
  const std::set<std::string, std::less<>>& names() const { return names_; }

 private:
  std::set<std::string, std::less<>> names_;
};

}  // namespace qv::app
