// The transcript of a boot, written from the machine's journal: one JSON
// object per line in state/transcript.jsonl, and the same events as lines a
// person reads, on the terminal as they happen and in state/transcript.txt.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qv::sim {

// One journal entry as a readable line (without its line end), for example
//   "   5.000 s  draw (10, 10) \"Who am I???\"".
// Texts stand in double quotes with C escapes for control characters, so
// that trailing spaces and line feeds can be seen.
std::string ReadableLine(const nlohmann::ordered_json& entry);

// Writes state/transcript.jsonl and state/transcript.txt, each whole or not
// at all; throws std::runtime_error naming the file that cannot be written.
void WriteTranscript(const std::filesystem::path& state_folder,
                     const std::vector<nlohmann::ordered_json>& entries);

}  // namespace qv::sim
