// Progress events and the callback through which the library and the codec
// report progress, ask questions and are cancelled. A negative event number
// is an error report whose number is the status code.
#pragma once

#include <cstdint>
#include <functional>

#include "codec/member_record.h"

namespace qv {

// callback(record, event, value) -> result; only some events look at the
// result (44: nonzero skips the member; the overwrite callback: nonzero
// overwrites), and only at its low 16 bits.
using ProgressCallback = std::function<std::int32_t(MemberRecord&, std::int32_t, std::int32_t)>;

namespace event {
inline constexpr std::int32_t kVolumeCreateFailed = 0;
inline constexpr std::int32_t kAddProgress = 1;
inline constexpr std::int32_t kDeleted = 2;
inline constexpr std::int32_t kExtractProgress = 3;
inline constexpr std::int32_t kReplaceProgress = 4;
inline constexpr std::int32_t kUnstoreBegins = 5;
inline constexpr std::int32_t kAdded = 6;
inline constexpr std::int32_t kExtractWritten = 7;
inline constexpr std::int32_t kUnsupportedMethod = 8;
inline constexpr std::int32_t kSearchDirectory = 11;
inline constexpr std::int32_t kSearchFinished = 12;
inline constexpr std::int32_t kTemporaryDirectory = 13;
inline constexpr std::int32_t kCanceled = 30;
inline constexpr std::int32_t kStopped = 31;
inline constexpr std::int32_t kInsertNextDisk = 39;
inline constexpr std::int32_t kInsertVolume = 40;
inline constexpr std::int32_t kFormatDisk = 41;
inline constexpr std::int32_t kEncrypted = 42;
inline constexpr std::int32_t kCopyProgress = 43;
inline constexpr std::int32_t kAboutToExtract = 44;
inline constexpr std::int32_t kGatheringName = 45;
inline constexpr std::int32_t kProcessBegins = 46;
inline constexpr std::int32_t kProcessEnds = 47;
inline constexpr std::int32_t kTargetReadOnly = 48;
inline constexpr std::int32_t kRenameFailed = 49;
inline constexpr std::int32_t kSearchBlock = 50;
inline constexpr std::int32_t kOpened = 51;
inline constexpr std::int32_t kClosed = 52;
inline constexpr std::int32_t kAddEntryDone = 53;
}  // namespace event

}  // namespace qv
