#include "tools/qvpkg/package_install.h"

#include "sim/machine.h"
#include "upgrade/package_names.h"

namespace qv::qvpkg {
namespace {

constexpr std::string_view kStagingFolder = "C:\\scope\\upgrade\\scope\\temp\\";

std::string Staged(std::string_view name) {
  return std::string(kStagingFolder) + std::string(name);
}

class StagingWriter {
 public:
  explicit StagingWriter(platform::Files& files) : files_(files) {}
  ~StagingWriter() {
    for (const std::string& name : written_)
      files_.Remove(name);
  }

  void MakeFolders() {
    for (const char* folder : {"C:\\scope", "C:\\scope\\upgrade", "C:\\scope\\upgrade\\scope",
                               "C:\\scope\\upgrade\\scope\\temp"}) {
      files_.MakeFolder(folder);
    }
    if (!files_.ChangeFolder(kStagingFolder)) Fail(kStagingFolder, "cannot be made");
  }

  // Writes the bytes beside their place; they take it in Commit.
  void Write(std::string_view name, std::string_view bytes) {
    const std::string partial = Staged(std::string(name) + ".new");
    files_.SetWritable(partial, true);
    platform::Result<platform::Stream> file = files_.Open(partial, "wb");
    if (!file) Fail(partial, "cannot be written");
    written_.push_back(partial);
    if (file->Write(bytes) != bytes.size() || !file->Close()) Fail(partial, "cannot be written");
  }

  // A header of an earlier package goes before its archive may be replaced.
  void RemoveOld(std::string_view name) {
    const std::string target = Staged(name);
    if (!files_.Access(target, platform::AccessCheck::kExists)) return;
    files_.SetWritable(target, true);
    if (!files_.Remove(target)) Fail(target, "cannot be replaced");
  }

  void Commit(std::string_view name) {
    const std::string target = Staged(name);
    files_.SetWritable(target, true);
    if (!files_.Move(Staged(std::string(name) + ".new"), target, /*replace_existing=*/true)) {
      Fail(target, "cannot be replaced");
    }
    written_.erase(written_.begin());
  }

 private:
  [[noreturn]] static void Fail(std::string_view path, std::string_view what) {
    throw PackageError(std::string(path) + ": " + std::string(what));
  }

  platform::Files& files_;
  std::vector<std::string> written_;  // in the order they are committed
};

}  // namespace

void InstallPackage(const Package& package, const std::filesystem::path& machine_folder) {
  if (!package.Sealed()) {
    throw PackageError(package.archive_file.string() +
                       ": not the archive its header was written for");
  }
  sim::Machine machine(machine_folder);
  StagingWriter writer(machine.files());
  writer.MakeFolders();
  const std::string archive_name = package.header.archive_name();
  const std::string_view header(reinterpret_cast<const char*>(package.header.bytes().data()),
                                package.header.bytes().size());
  writer.Write(archive_name, package.archive_bytes);
  writer.Write(upgrade::kHeaderFile, header);
  writer.RemoveOld(upgrade::kHeaderFile);
  writer.Commit(archive_name);
  writer.Commit(upgrade::kHeaderFile);
}

}  // namespace qv::qvpkg
