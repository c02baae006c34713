// Other programs' windows, as the helper opens them in its own process before
// the loader starts: top-level windows of given classes and titles, shown or
// hidden, that print
//   close "TITLE" (CLASS) -> closed
// when a close request reaches them, and then go. Their messages are
// handled while the helper waits for the loader (a close request is sent and
// waited for).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qv::wine_test {

struct OtherWindow {
  std::string class_name;
  std::string title;
  bool visible = true;
};

// "window:CLASS:TITLE" or "hidden:CLASS:TITLE"; false for another text.
bool ParseOtherWindow(const std::string& text, OtherWindow& window);

// Opens the windows, the first on top.
void OpenOtherWindows(const std::vector<OtherWindow>& windows);

// Prints every top-level window of other processes than the helper's, top
// first: present "TITLE" (CLASS) [hidden].
void PrintPresentWindows();

}  // namespace qv::wine_test
