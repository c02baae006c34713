// One libFuzzer program: QV_FUZZ_ENTRY names its entry (fuzz_entries.h).
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qv::fuzz::QV_FUZZ_ENTRY({data, size});
  return 0;
}
