#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_entries.h"

namespace qv::fuzz {

void Broken(std::string_view promise) {
  std::fprintf(stderr, "broken: %.*s\n", static_cast<int>(promise.size()), promise.data());
  std::abort();
}

}  // namespace qv::fuzz
