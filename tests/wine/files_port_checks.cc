#include "tests/wine/files_port_checks.h"

#include <string_view>

#include "tests/wine/port_transcript.h"

namespace qv::wine_test {

namespace {

// Writes the bytes to a new file and prints whether the open went.
void Write(PortTranscript& out, platform::Files& files, std::string_view path,
           std::string_view mode, std::string_view bytes) {
  platform::Result<platform::Stream> stream = files.Open(path, mode);
  if (stream) stream->Write(bytes);
  out.Line("write " + std::string(path) + " " + std::string(mode), stream.outcome());
}

// Prints what a file holds as read in the mode.
void Read(PortTranscript& out, platform::Files& files, std::string_view path,
          std::string_view mode) {
  platform::Result<platform::Stream> stream = files.Open(path, mode);
  std::string bytes;
  for (int c; stream && (c = stream->GetChar()) != platform::Stream::kEof;)
    bytes += static_cast<char>(c);
  out.Line("read " + std::string(path) + " " + std::string(mode),
           stream ? PortTranscript::Shown(bytes) : "failed");
}

}  // namespace

std::vector<std::string> FilesPortChecks(platform::Files& files, platform::Files& side_name) {
  PortTranscript out;
  out.Line("make folder", files.MakeFolder("portchk"));
  out.Line("make it again", files.MakeFolder("portchk"));
  out.Line("change folder", files.ChangeFolder("portchk"));

  // Text mode: LF written as CR LF, read back as LF; a Ctrl-Z ends reading.
  Write(out, files, "text.txt", "w", "a\nb\n");
  Read(out, files, "text.txt", "rb");
  Read(out, files, "text.txt", "r");
  Write(out, files, "ctrlz.txt", "wb", "x\x1ay");
  Read(out, files, "ctrlz.txt", "r");
  Read(out, files, "ctrlz.txt", "rb");
  // "a+" in text mode drops the Ctrl-Z that ends the file before writing.
  Write(out, files, "append.txt", "wb", "ab\x1a");
  Write(out, files, "append.txt", "a+", "c");
  Read(out, files, "append.txt", "rb");
  out.Line("bad mode", files.Open("text.txt", "rw").outcome());

  // A read-only file refuses changes, whoever runs the program.
  out.Line("set read-only", files.SetWritable("text.txt", false));
  Write(out, files, "text.txt", "w", "overwritten");
  Write(out, files, "text.txt", "a", "appended");
  out.Line("remove read-only", files.Remove("text.txt"));
  out.Line("replace read-only", files.Move("ctrlz.txt", "text.txt", true));
  out.Line("copy over read-only", files.Copy("ctrlz.txt", "text.txt", false));
  Read(out, files, "text.txt", "rb");
  out.Line("set writable", files.SetWritable("text.txt", true));

  // Folder listings in the port's order, whatever the file system keeps.
  Write(out, files, "list\\b.txt", "w", "in a missing folder");
  out.Line("make list", files.MakeFolder("list"));
  for (std::string_view name : {"b.txt", "C.txt", "a.TXT"})
    Write(out, files, std::string("list\\") + std::string(name), "w", "");
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
  Write(out, files, "new1.txt", "wb", "one");
  out.Line("move replacing", files.Move("new1.txt", "append.txt", true));
  Read(out, files, "append.txt", "rb");
  Write(out, files, "new2.txt", "wb", "two");
  out.Line("move replacing through a side name", side_name.Move("new2.txt", "append.txt", true));
  Read(out, files, "append.txt", "rb");
  out.Line("side name left", files.Access("append.txt~", platform::AccessCheck::kExists));
  out.Line("new name left", files.Access("new2.txt", platform::AccessCheck::kExists));
  return std::move(out).lines();
}

}  // namespace qv::wine_test
