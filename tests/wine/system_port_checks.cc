#include "tests/wine/system_port_checks.h"

#include "tests/wine/port_transcript.h"

namespace qv::wine_test {

using platform::RegistryValue;

namespace {

constexpr const char* kKey = "SOFTWARE\\Halcyra\\PortCheck";
constexpr const char* kSubkey = "SOFTWARE\\Halcyra\\PortCheck\\Processes\\More";

void Query(PortTranscript& out, platform::Registry& registry, std::string_view name,
           std::size_t capacity) {
  const platform::Result<RegistryValue> value = registry.QueryValue(kKey, name, capacity);
  const std::string step =
      "query " + std::string(name) + " into " + std::to_string(capacity) + " bytes";
  if (!value) return out.Line(step, value.outcome());
  out.Line(step, "type " + std::to_string(static_cast<int>(value->type)) + " " +
                     PortTranscript::Shown(
                         {reinterpret_cast<const char*>(value->data.data()), value->data.size()}));
}

}  // namespace

std::vector<std::string> SystemPortChecks(platform::Registry& registry, platform::System& system) {
  PortTranscript out;
  out.Line("open a missing key", registry.OpenKey(kKey));
  out.Line("create a key and the keys above it", registry.CreateKey(kSubkey));
  out.Line("open it", registry.OpenKey(kKey));

  out.Line("set a string without its zero",
           registry.SetValue(kKey, "Bare", RegistryValue::String("wait")));
  out.Line("set a string with its zero",
           registry.SetValue(kKey, "Ended", RegistryValue::String("ignore", true)));
  out.Line("set a dword", registry.SetValue(kKey, "Count", RegistryValue::Dword(0x01020304)));
  Query(out, registry, "Bare", 64);
  Query(out, registry, "Ended", 64);
  Query(out, registry, "Count", 4);
  Query(out, registry, "Count", 2);
  Query(out, registry, "Missing", 64);
  out.Line("set on a missing key",
           registry.SetValue("SOFTWARE\\Halcyra\\Nowhere", "x", RegistryValue::Dword(1)));
  out.Line("delete the key with its subkeys", registry.DeleteKey(kKey));
  out.Line("open the deleted key", registry.OpenKey(kSubkey));

  // The single-instance mutex: the second opening finds the first.
  const auto first = system.CreateNamedMutex("QvPortCheck");
  out.Line("first mutex", std::to_string(platform::ToCode(system.LastError())));
  const auto second = system.CreateNamedMutex("QvPortCheck");
  out.Line("second mutex", std::to_string(platform::ToCode(system.LastError())));
  out.Line("both open", first && second ? "yes" : "no");

  system.SetLastError(platform::WinError::kPathNotFound);
  out.Line("last error", std::to_string(platform::ToCode(system.LastError())));
  for (const platform::WinError error :
       {platform::WinError::kFileNotFound, platform::WinError::kAccessDenied,
        platform::WinError::kAlreadyExists}) {
    const std::optional<std::string> text = system.ErrorText(error);
    out.Line("text of " + std::to_string(platform::ToCode(error)),
             text ? PortTranscript::Shown(*text) : "none");
  }
  out.Line("command line", PortTranscript::Shown(system.CommandLine()));
  return std::move(out).lines();
}

}  // namespace qv::wine_test
