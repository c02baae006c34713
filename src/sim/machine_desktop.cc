#include "sim/machine_desktop.h"

#include "sim/desktop/interactive_operator.h"
#include "sim/desktop/scripted_operator.h"
#include "sim/json_fields.h"
#include "sim/latin1.h"

namespace qv::sim {
namespace {

// The dialog font of the templates.
constexpr int kDialogPoints = 8;

// A section as the parsers read it (null when absent).
nlohmann::json Section(const nlohmann::ordered_json& document, const char* name) {
  if (!document.is_object() || !document.contains(name)) return nullptr;
  return nlohmann::json::parse(document[name].dump());
}

// Every string below the value as the bytes it stands for: window titles,
// classes and the operator's patterns are byte strings of the instrument's
// code page, held as U+0000..U+00FF like every byte string of the machine.
void StringsToBytes(nlohmann::json& value, const std::string& path) {
  if (value.is_string()) {
    std::optional<std::string> bytes = JsonToBytes(value.get_ref<const std::string&>());
    if (!bytes) throw MachineError("machine.json: " + path + ": a character above U+00FF");
    value = std::move(*bytes);
  } else if (value.is_array()) {
    for (std::size_t i = 0; i < value.size(); ++i)
      StringsToBytes(value[i], path + "[" + std::to_string(i) + "]");
  } else if (value.is_object()) {
    for (auto item : value.items())
      StringsToBytes(item.value(), path + "." + item.key());
  }
}

// A section of byte strings as the parsers read it.
nlohmann::json ByteSection(const nlohmann::ordered_json& document, const char* name) {
  nlohmann::json section = Section(document, name);
  StringsToBytes(section, name);
  return section;
}

template <typename T>
T Accepted(Parsed<T> parsed) {
  if (!parsed) throw MachineError("machine.json: " + parsed.error);
  return std::move(*parsed.value);
}

std::unique_ptr<Operator> MakeOperator(const nlohmann::ordered_json& document,
                                       const DialogTemplates& templates, const Terminal* terminal) {
  OperatorScript script =
      Accepted(ParseOperatorSection(ByteSection(document, "operator"), templates));
  if (terminal != nullptr)
    return std::make_unique<InteractiveOperator>(terminal->in, terminal->out);
  return std::make_unique<ScriptedOperator>(std::move(script));
}

SimDesktopSetup Setup(const nlohmann::ordered_json& document, std::uint32_t loader_process) {
  SimDesktopSetup setup;
  setup.programs = Accepted(ParseDesktopSection(ByteSection(document, "desktop")));
  setup.display = Accepted(ParseDisplaySection(Section(document, "display")));
  setup.own_process_id = loader_process;
  return setup;
}

}  // namespace

ScreenFonts LoadScreenFonts() {
  std::string error;
  std::optional<ScreenFonts> fonts = ScreenFonts::Load(kDejaVuDirectory, kDialogPoints, error);
  if (!fonts) throw MachineError("the screen's fonts: " + error);
  return std::move(*fonts);
}

MachineDesktop::MachineDesktop(const nlohmann::ordered_json& document, std::uint32_t loader_process,
                               const Terminal* terminal, const ScreenFonts& fonts,
                               DesktopObserver& observer, const TimeSource& time)
    : templates_(BuiltInDialogTemplates()),
      layout_(Accepted(ParseScreenSection(Section(document, "screen"))), *fonts.system,
              *fonts.dialog),
      person_(MakeOperator(document, templates_, terminal)),
      desktop_(Setup(document, loader_process), templates_, layout_, *person_, observer, time) {}

}  // namespace qv::sim
