#include "tools/qvpkg/package_builder.h"

#include <algorithm>
#include <set>

#include "sim/host_io.h"
#include "tools/arq/host_drives.h"
#include "tools/qvpkg/package_tree.h"
#include "upgrade/package_names.h"

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

// The package while it is written: under these names until it is whole.
constexpr const char* kPartialArchive = "QVPKGNEW.ARQ";
constexpr const char* kPartialHeader = "QVPKGNEW.HDR";

void CheckPartNumber(const std::string& part_number) {
  if (part_number.empty()) throw PackageError("the part number is empty");
  if (part_number.size() > kMaxPartNumber) {
    throw PackageError("the part number \"" + part_number + "\" is longer than " +
                       std::to_string(kMaxPartNumber) + " characters");
  }
  if (std::any_of(part_number.begin(), part_number.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
    throw PackageError("the part number holds control characters");
  }
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; });
  return text;
}

// The archive must hold the tree's files, no more and no fewer.
void CheckMembers(const std::vector<TreeFile>& files, const std::vector<ArchiveMember>& members) {
  std::set<std::string> wanted;
  for (const TreeFile& file : files)
    wanted.insert(Upper(file.relative));
  std::set<std::string> held;
  for (const ArchiveMember& member : members)
    held.insert(member.name);
  for (const std::string& name : wanted) {
    if (!held.contains(name)) throw PackageError(name + ": could not be packed");
  }
  if (held.size() != wanted.size() || members.size() != files.size()) {
    throw PackageError("the archive holds other members than the tree's files");
  }
}

// The output folder and what the build wrote into it; whatever has not
// taken its place when this goes is removed again.
class Output {
 public:
  explicit Output(const fs::path& folder) : folder_(folder) {
    std::error_code error;
    if (!fs::exists(folder_, error)) {
      if (!fs::create_directories(folder_, error)) {
        throw PackageError(folder_.string() + ": cannot be made (" + error.message() + ")");
      }
      created_ = true;
    } else if (!fs::is_directory(folder_, error)) {
      throw PackageError(folder_.string() + ": not a folder");
    }
    // What a build that was killed left would be taken for an archive to
    // add to.
    RemovePartials();
  }
  ~Output() {
    std::error_code error;
    if (done_) return;
    if (created_) {
      fs::remove_all(folder_, error);
      return;
    }
    RemovePartials();
  }

  const fs::path& folder() const { return folder_; }

  // The partial files take their places: an earlier header first goes, so
  // that no header ever names an archive that is not its own.
  void Commit() {
    std::error_code error;
    fs::remove(folder_ / std::string(upgrade::kHeaderFile), error);
    fs::rename(folder_ / kPartialArchive, folder_ / kArchiveName, error);
    if (!error)
      fs::rename(folder_ / kPartialHeader, folder_ / std::string(upgrade::kHeaderFile), error);
    if (error)
      throw PackageError(folder_.string() + ": the package cannot be put in place (" +
                         error.message() + ")");
    done_ = true;
  }

 private:
  void RemovePartials() {
    std::error_code error;
    fs::remove(folder_ / kPartialArchive, error);
    fs::remove(folder_ / kPartialHeader, error);
  }

  fs::path folder_;
  bool created_ = false;
  bool done_ = false;
};

fs::path Absolute(const fs::path& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path), error);
  return error ? fs::absolute(path).lexically_normal() : resolved;
}

bool IsInside(const fs::path& inner, const fs::path& outer) {
  const fs::path relative = inner.lexically_relative(outer);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

BuiltPackage BuildPackage(const BuildRequest& request) {
  CheckPartNumber(request.part_number);
  const std::vector<TreeFile> files = ScanPackageTree(request.tree);
  const fs::path tree = Absolute(request.tree);
  if (IsInside(Absolute(request.output), tree)) {
    throw PackageError(request.output.string() + ": the output folder lies inside the tree");
  }
  Output output(request.output);
  arq::DriveOptions drive_options;
  drive_options.c_folder = tree;
  arq::HostDrives drives(drive_options);
  drives.Mount('D', Absolute(output.folder()));
  const std::string archive = std::string("D:\\") + kPartialArchive;
  PackDriveC(drives.files(), archive, request.best, request.progress);
  BuiltPackage built;
  built.members = ListArchive(drives.files(), archive);
  CheckMembers(files, built.members);

  Package& package = built.package;
  package.archive_bytes = sim::ReadWholeFile(output.folder() / kPartialArchive).value_or("");
  package.header = *upgrade::UpgradeHeader::Make(1, SealBytes(SealOf(package.archive_bytes)),
                                                 request.part_number, kArchiveName);
  const auto& bytes = package.header.bytes();
  sim::WriteFileAtomically(
      output.folder() / kPartialHeader,
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  output.Commit();
  package.header_file = output.folder() / std::string(upgrade::kHeaderFile);
  package.archive_file = output.folder() / kArchiveName;
  return built;
}

}  // namespace qv::qvpkg
