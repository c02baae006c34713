#include "upgrade/expansion.h"

#include <optional>

#include "app/status_box.h"
#include "archive/archive_library.h"

namespace qv::upgrade {
namespace {

constexpr std::string_view kDestination = "\\scope\\upgrade";
constexpr std::string_view kNotExtracted = "not extracted";

std::string FailureLine(std::string_view path, std::string_view what) {
  return std::string(path) + " : " + std::string(what) + "\n";
}

// Hears every event of the walk: shows the progress in the box, and keeps
// the first member that was not put in place, with the library's reason.
class ExpansionListener {
 public:
  explicit ExpansionListener(ProgressText& progress) : progress_(progress) {}

  std::int32_t Hear(MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (progress_.Apply(record, event, value) && box_ != nullptr) box_->SetText(progress_.text());
    Track(record, event, value);
    return 0;
  }

  void Show(app::StatusBox* box) { box_ = box; }

  // After the walk: the first failure, with the walk's status when no
  // member said more.
  std::optional<ExpansionResult> Failure(Status walked) {
    EndMember();
    if (failure_) return failure_;
    if (walked == Status::kOk) return std::nullopt;
    return ExpansionResult{ToInt(walked), FailureLine(member_, StatusMessage(walked))};
  }

 private:
  void Track(const MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (event == event::kAboutToExtract) {
      EndMember();
      member_ = std::string(record.name_view());
      pending_ = true;
    } else if (event == event::kExtractWritten) {
      pending_ = false;
    } else if (event == event::kRenameFailed || event == event::kUnsupportedMethod ||
               (event == event::kTargetReadOnly && value == 1)) {
      Fail(ToInt(Status::kError), record.name_view(), kNotExtracted);
    } else if (event < 0) {
      Fail(event, record.name_view(), StatusMessage(event));
    }
  }

  // A member that was passed over after its event 44 never got its bytes.
  void EndMember() {
    if (pending_) Fail(ToInt(Status::kError), member_, kNotExtracted);
    pending_ = false;
  }

  void Fail(int status, std::string_view member, std::string_view what) {
    pending_ = false;
    if (!failure_) failure_ = ExpansionResult{status, FailureLine(member, what)};
  }

  ProgressText& progress_;
  app::StatusBox* box_ = nullptr;
  std::string member_;
  bool pending_ = false;
  std::optional<ExpansionResult> failure_;
};

}  // namespace

ExpansionResult ExpandArchive(const app::Services& services, ProgressText& progress,
                              std::string_view archive_path) {
  ExpansionListener listener(progress);
  archive::ArchiveLibrary library(services.platform.files);
  library.ArchiveInit();
  library.ArchiveSetCallback(
      archive::kProgressCallbackCode,
      [&listener](MemberRecord& record, std::int32_t event, std::int32_t value) {
        return listener.Hear(record, event, value);
      });
  if (const Status checked = library.ArchiveCheck(archive_path); checked != Status::kOk) {
    const std::string text = FailureLine(archive_path, StatusMessage(checked));
    services.helpers.WarningBox(text);
    return {0, text};
  }
  const Status opened = library.ArchiveOpen(
      archive_path, archive::kModeKeepPaths | archive::kModeAccepted | archive::kModeReadOnly);
  if (opened != Status::kOk)
    return {ToInt(opened), FailureLine(archive_path, StatusMessage(opened))};

  app::StatusBox box(services.platform.desktop);
  box.SetText("Starting expansion");
  box.Create();
  box.SetCaption("Expanding.......");
  listener.Show(&box);
  library.ArchiveSelectExtract("*.*", kDestination);
  const Status walked = library.ArchiveProcess();
  library.ArchiveClose();
  library.ArchiveSetCallback(archive::kProgressCallbackCode, nullptr);
  listener.Show(nullptr);
  box.Destroy();
  return listener.Failure(walked).value_or(ExpansionResult{});
}

}  // namespace qv::upgrade
