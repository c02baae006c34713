#include "tools/arq/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/arq/terminal_text.h"

namespace qv::arq {
namespace {

constexpr int kLineWidth = 72;
constexpr int kNameWidth = 44;

}  // namespace

void ProgressBar::Show(std::string_view name, std::uint64_t done, std::uint64_t size) {
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (drawn_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  const unsigned percent =
      size == 0 ? 100u : static_cast<unsigned>(std::min<std::uint64_t>(100, done * 100 / size));
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(finished_bytes_ + done) / 1e6 / seconds : 0;
  std::string shown = TerminalText(name);
  if (shown.size() > kNameWidth) shown.erase(0, shown.size() - kNameWidth);
  std::fprintf(stderr, "\r%-*.*s %3u%% %8.1f MB/s", kNameWidth, static_cast<int>(shown.size()),
               shown.data(), percent, rate);
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Finished(std::uint64_t size) {
  finished_bytes_ += size;
}

void ProgressBar::Clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%s\r", std::string(kLineWidth, ' ').c_str());
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace qv::arq
