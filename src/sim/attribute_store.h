// The DOS attributes the host cannot keep, in the machine's attributes.json:
// hidden, system and archive for files (their read-only attribute is the
// host's write bit), and all four for folders. Only entries whose attributes
// differ from the default are stored (a file: archive; a folder: none), keyed
// by the DOS path in the case the file system holds; the file is rewritten in
// one step after every change.
//
//   { "C:\\scope\\bin": ["hidden", "system"], "C:\\config.sys": [] }
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "platform/code_page.h"
#include "platform/dos_path.h"
#include "platform/file_types.h"

namespace qv::sim {

class AttributeStore {
 public:
  // Reads the file if it exists; throws MachineError when it is malformed.
  AttributeStore(std::filesystem::path file, platform::CodePage page);

  // The stored bits of an entry (only those this store keeps).
  platform::AttributeWord Get(const platform::DosLocation& entry, bool folder) const;
  void Set(const platform::DosLocation& entry, bool folder, platform::AttributeWord bits);
  // Drops the entry and everything stored below it.
  void Forget(const platform::DosLocation& entry);
  // Carries the entry and everything below it to a new place.
  void Move(const platform::DosLocation& from, const platform::DosLocation& to);

  static platform::AttributeWord Kept(bool folder);
  static platform::AttributeWord Default(bool folder);

 private:
  struct Stored {
    std::string path;  // as shown in the file
    platform::AttributeWord bits = 0;
  };

  std::string Key(const platform::DosLocation& entry) const;
  void Save() const;

  std::filesystem::path file_;
  platform::CodePage page_;
  std::map<std::string, Stored> entries_;  // by folded path
};

}  // namespace qv::sim
