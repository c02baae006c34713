#include "tests/wine/files_port_checks.h"

#include <string_view>

namespace qv::wine_test {

using platform::Outcome;

namespace {

class Transcript {
 public:
  explicit Transcript(platform::Files& files) : files_(files) {}

  void Line(std::string_view step, std::string_view what) {
    lines_.push_back(std::string(step) + ": " + std::string(what));
  }
  void Line(std::string_view step, const Outcome& outcome) {
    Line(step, outcome ? std::string("ok")
                       : "error " + std::to_string(platform::ToCode(outcome.error())) + " errno " +
                             std::to_string(platform::ToInt(outcome.errno_value())));
  }
  void Write(std::string_view path, std::string_view mode, std::string_view bytes) {
    platform::Result<platform::Stream> stream = files_.Open(path, mode);
    if (stream) stream->Write(bytes);
    Line(std::string("write ") + std::string(path) + " " + std::string(mode), stream.outcome());
  }
  void Read(std::string_view path, std::string_view mode) {
    platform::Result<platform::Stream> stream = files_.Open(path, mode);
    std::string bytes;
    for (int c; stream && (c = stream->GetChar()) != platform::Stream::kEof;)
      bytes += Shown(static_cast<char>(c));
    Line(std::string("read ") + std::string(path) + " " + std::string(mode),
         stream ? "\"" + bytes + "\"" : "failed");
  }

  std::vector<std::string> lines() && { return std::move(lines_); }

 private:
  static std::string Shown(char c) {
    if (c == '\r') return "\\r";
    if (c == '\n') return "\\n";
    if (c == '\x1a') return "^Z";
    return std::string(1, c);
  }

  platform::Files& files_;
  std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> FilesPortChecks(platform::Files& files, platform::Files& side_name) {
  Transcript out(files);
  out.Line("make folder", files.MakeFolder("portchk"));
  out.Line("make it again", files.MakeFolder("portchk"));
  out.Line("change folder", files.ChangeFolder("portchk"));

  // Text mode: LF written as CR LF, read back as LF; a Ctrl-Z ends reading.
  out.Write("text.txt", "w", "a\nb\n");
  out.Read("text.txt", "rb");
  out.Read("text.txt", "r");
  out.Write("ctrlz.txt", "wb", "x\x1ay");
  out.Read("ctrlz.txt", "r");
  out.Read("ctrlz.txt", "rb");
  // "a+" in text mode drops the Ctrl-Z that ends the file before writing.
  out.Write("append.txt", "wb", "ab\x1a");
  out.Write("append.txt", "a+", "c");
  out.Read("append.txt", "rb");
  out.Line("bad mode", files.Open("text.txt", "rw").outcome());

  // A read-only file refuses changes, whoever runs the program.
  out.Line("set read-only", files.SetWritable("text.txt", false));
  out.Write("text.txt", "w", "overwritten");
  out.Write("text.txt", "a", "appended");
  out.Line("remove read-only", files.Remove("text.txt"));
  out.Line("replace read-only", files.Move("ctrlz.txt", "text.txt", true));
  out.Line("copy over read-only", files.Copy("ctrlz.txt", "text.txt", false));
  out.Read("text.txt", "rb");
  out.Line("set writable", files.SetWritable("text.txt", true));

  // Folder listings in the port's order, whatever the file system keeps.
  out.Write("list\\b.txt", "w", "in a missing folder");
  out.Line("make list", files.MakeFolder("list"));
  for (std::string_view name : {"b.txt", "C.txt", "a.TXT"})
    out.Write(std::string("list\\") + std::string(name), "w", "");
  std::string names;
  if (const auto found = files.Find("list\\*.*"); found) {
    for (const platform::FindData& entry : *found)
      names += entry.name + " ";
  }
  out.Line("find", names);
  out.Line("find nothing", files.Find("list\\*.dll").outcome());
  out.Line("find in a missing folder", files.Find("missing\\*.*").outcome());

  // Errors as the system and the run time give them.
  out.Line("remove a full folder", files.RemoveFolder("list"));
  out.Line("open a missing file", files.Open("missing.txt", "r").outcome());
  out.Line("rename onto a file", files.Rename("append.txt", "ctrlz.txt"));
  out.Line("copy, failing if there", files.Copy("append.txt", "ctrlz.txt", true));
  out.Line("change to a missing drive", files.ChangeDrive('Q'));

  // Replacing moves: the system's call, and through a side name.
  out.Write("new1.txt", "wb", "one");
  out.Line("move replacing", files.Move("new1.txt", "append.txt", true));
  out.Read("append.txt", "rb");
  out.Write("new2.txt", "wb", "two");
  out.Line("move replacing through a side name", side_name.Move("new2.txt", "append.txt", true));
  out.Read("append.txt", "rb");
  out.Line("side name left", files.Access("append.txt~", platform::AccessCheck::kExists));
  out.Line("new name left", files.Access("new2.txt", platform::AccessCheck::kExists));
  return std::move(out).lines();
}

}  // namespace qv::wine_test
