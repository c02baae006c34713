#include "detector/detector.h"

namespace qv::detector {

void Detector::Reset() {
  ignore_list_.Clear();
  skip_.clear();
  scanner_.Reset();
}

}  // namespace qv::detector
