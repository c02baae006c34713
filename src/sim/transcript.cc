#include "sim/transcript.h"

#include <cstdio>

#include "sim/host_io.h"

namespace qv::sim {
namespace {

using Json = nlohmann::ordered_json;

// A text field in double quotes. The journal holds bytes as Latin-1
// characters, already UTF-8, so only control characters need escapes.
std::string Quoted(const Json& value) {
  const std::string text = value.is_string() ? value.get<std::string>() : value.dump();
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Plain(const Json& value) {
  return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string Field(const Json& entry, const char* key) {
  return entry.contains(key) ? Plain(entry[key]) : std::string();
}

std::string WindowLine(const Json& entry) {
  std::string line = "window " + Field(entry, "window") + " " + Field(entry, "op");
  if (entry.contains("state")) line += " " + Field(entry, "state");
  if (entry.contains("control")) line += " control " + Field(entry, "control");
  if (entry.contains("text")) line += " " + Quoted(entry["text"]);
  return line;
}

std::string Description(const Json& entry) {
  const std::string event = Field(entry, "event");
  if (event == "draw") {
    return "draw (" + Field(entry, "x") + ", " + Field(entry, "y") + ") " + Quoted(entry["text"]);
  }
  if (event == "window") return WindowLine(entry);
  if (event == "box") {
    return "box " + Field(entry, "kind") + " " + Quoted(entry["caption"]) + " " +
           Quoted(entry["text"]) + " -> " + Field(entry, "answer");
  }
  if (event == "press") {
    return "press " + Field(entry, "window") + " control " + Field(entry, "control") + " " +
           Quoted(entry["button"]);
  }
  if (event == "close") {
    return "close " + Quoted(entry["title"]) + " (" + Field(entry, "class") + ") -> " +
           (entry.value("closed", false) ? "closed" : "stays");
  }
  if (event == "sleep") return "sleep " + Field(entry, "ms") + " ms";
  if (event == "reboot") {
    return std::string("reboot requested: ") +
           (entry.value("accepted", false) ? "accepted" : "refused");
  }
  if (event == "start") {
    return "start " + Field(entry, "program") + " " + Quoted(entry["cmdline"]) + " in " +
           Field(entry, "cwd");
  }
  if (event == "exit") return "exit with code " + Field(entry, "code");
  if (event == "video_bit")
    return std::string("video bit ") + (entry.value("on", false) ? "on" : "off");
  if (event == "display_change") {
    return "display change to " + Field(entry, "bits") + " bits: result " + Field(entry, "result");
  }
  if (event == "waiting")
    return "the loader waits in its message loop; the person closes its window";
  std::string line = event;  // the other events: their fields as they are
  for (const auto& [key, value] : entry.items()) {
    if (key != "t" && key != "event") line += " " + key + "=" + Plain(value);
  }
  return line;
}

}  // namespace

std::string ReadableLine(const Json& entry) {
  const auto ms = entry.value("t", std::uint64_t{0});
  char time[32];
  std::snprintf(time, sizeof time, "%5llu.%03llu s  ", static_cast<unsigned long long>(ms / 1000),
                static_cast<unsigned long long>(ms % 1000));
  return time + Description(entry);
}

void WriteTranscript(const std::filesystem::path& state_folder, const std::vector<Json>& entries) {
  std::string json_lines;
  std::string text_lines;
  for (const Json& entry : entries) {
    json_lines += entry.dump() + "\n";
    text_lines += ReadableLine(entry) + "\n";
  }
  WriteFileAtomically(state_folder / "transcript.jsonl", json_lines);
  WriteFileAtomically(state_folder / "transcript.txt", text_lines);
}

}  // namespace qv::sim
