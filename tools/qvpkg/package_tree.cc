#include "tools/qvpkg/package_tree.h"

#include <map>

#include "archive/archive_names.h"
#include "platform/code_page.h"
#include "platform/dos_path.h"

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

constexpr platform::CodePage kPage = platform::CodePage::kWestern;
// Where the expansion stages a member: "C:\scope\upgrade\" and its path.
constexpr std::size_t kStagingPrefix = 17;
// The library's temporary file beside a member while it is extracted.
constexpr std::size_t kTemporaryName = 12;  // "\ZT00001.$$$"
constexpr std::uint64_t kLargestMember = 0xFFFFFFFFu;

std::string Shown(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

bool IsTemp(std::string_view name) {
  return platform::FoldName(kPage, name) == "TEMP";
}

void CheckName(const fs::path& entry, const std::string& name) {
  // The instrument drops trailing dots and blanks, so such a name would not
  // be the one stored.
  if (!platform::IsValidName(name) || name.find_last_not_of(". ") != name.size() - 1) {
    throw TreeRefused(Shown(entry) + ": the name is not one the instrument can hold");
  }
  if (archive::IsDeviceName(name)) {
    throw TreeRefused(Shown(entry) + ": the name is a device on the instrument, not a file");
  }
}

void CheckStagedLength(const fs::path& entry, const std::string& relative, bool folder) {
  const std::size_t staged = kStagingPrefix + relative.size() + (folder ? kTemporaryName : 0);
  if (staged > platform::kMaxPathLength) {
    throw TreeRefused(Shown(entry) + ": the path is too long to be staged in c:\\scope\\upgrade (" +
                      std::to_string(relative.size()) + " characters)");
  }
}

class Scanner {
 public:
  std::vector<TreeFile> Scan(const fs::path& tree) {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(tree, error))) {
      throw TreeRefused(Shown(tree) + ": no such folder");
    }
    ScanFolder(tree, "");
    if (files_.empty()) throw TreeRefused(Shown(tree) + ": holds no file to install");
    return std::move(files_);
  }

 private:
  void ScanFolder(const fs::path& folder, const std::string& relative) {
    std::map<std::string, fs::directory_entry> entries;  // by folded name: the system's order
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      CheckName(it->path(), name);
      const auto [place, added] = entries.emplace(platform::FoldName(kPage, name), *it);
      if (!added) {
        throw TreeRefused(Shown(it->path()) + " and " + Shown(place->second.path()) +
                          ": names that differ only in case");
      }
    }
    if (error) throw TreeRefused(Shown(folder) + ": cannot be read (" + error.message() + ")");
    for (const auto& [folded, entry] : entries) {
      const std::string path = relative + entry.path().filename().string();
      const fs::file_status status = entry.symlink_status();
      if (fs::is_directory(status)) {
        CheckStagedLength(entry.path(), path, /*folder=*/true);
        ScanFolder(entry.path(), path + "\\");
      } else if (fs::is_regular_file(status)) {
        AddFile(entry, path);
      } else {
        throw TreeRefused(Shown(entry.path()) + ": neither a file nor a folder");
      }
    }
  }

  void AddFile(const fs::directory_entry& entry, const std::string& path) {
    CheckStagedLength(entry.path(), path, /*folder=*/false);
    if (InTempFolder(path)) {
      throw TreeRefused(Shown(entry.path()) + ": lies in a temp folder, which is never installed");
    }
    const std::uint64_t size = entry.file_size();
    if (size > kLargestMember) {
      throw TreeRefused(Shown(entry.path()) + ": larger than an archive member can be (4 GiB)");
    }
    files_.push_back({path, size});
  }

  static bool InTempFolder(const std::string& path) {
    std::size_t begin = 0;
    for (std::size_t end = path.find('\\'); end != std::string::npos;
         begin = end + 1, end = path.find('\\', begin)) {
      if (IsTemp(std::string_view(path).substr(begin, end - begin))) return true;
    }
    return false;
  }

  std::vector<TreeFile> files_;
};

}  // namespace

std::vector<TreeFile> ScanPackageTree(const fs::path& tree) {
  return Scanner().Scan(tree);
}

}  // namespace qv::qvpkg
