// The fixed names of an upgrade package and of the marker files that carry
// an upgrade across boots. Folders without a drive letter are on the
// current drive, which the upgrade context makes C:.
#pragma once

#include <string_view>

namespace qv::upgrade {

// Where an installer leaves the package, and the failure marker lies.
inline constexpr std::string_view kStagingTempFolder = "\\scope\\upgrade\\scope\\temp\\";
inline constexpr std::string_view kHeaderFile = "qv731upg.hdr";
inline constexpr std::string_view kArchiveFile = "qv731upg.arq";
inline constexpr std::string_view kFailureMarker = "qv731upg.fld";
inline constexpr std::string_view kUndoMarkerPath = "c:\\scope\\old_rev\\scope\\temp\\qv731upg.udo";

// The two trees: staging (what an upgrade brings) and backup (what it
// replaced); both mirror drive C: from its root.
inline constexpr std::string_view kStagingRoot = "c:\\scope\\upgrade\\";
inline constexpr std::string_view kBackupRoot = "c:\\scope\\old_rev\\";

}  // namespace qv::upgrade
