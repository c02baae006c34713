// raw-pack and raw-unpack: a file packed as the encoder packs a member of its
// name, and a bare packed stream decoded, without an archive around them.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/matches_ahead_threads.h"
#include "codec/status.h"
#include "tools/arq/command_groups.h"
#include "tools/arq/host_files.h"
#include "tools/arq/terminal_text.h"

namespace qv::arq {
namespace {

struct RawOptions {
  std::string in;
  std::string out;
  std::uint32_t size = 0;  // raw-unpack only
  bool best = false;       // raw-pack only
  int threads = 1;         // raw-pack only
};

std::string SystemError(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

// The one JSON line both commands print.
void PrintResult(std::uint32_t method, std::uint32_t packed, std::uint32_t unpacked,
                 std::uint32_t crc) {
  std::array<char, 11> hex{};
  std::snprintf(hex.data(), hex.size(), "0x%08X", crc);
  const nlohmann::ordered_json line = {
      {"method", method == kMethodStored ? "stored" : "compressed"},
      {"packed", packed},
      {"unpacked", unpacked},
      {"crc", hex.data()},
  };
  std::cout << line.dump() << "\n";
}

// The codec reads and writes in pieces of 4 KiB; larger stream buffers
// spare a system call for each of them.
constexpr std::size_t kStreamBuffer = 256 * 1024;

// IN opened with its status, and OUT begun. The stream buffers come first:
// they must outlive the streams.
struct RawFiles {
  std::vector<char> in_buffer = std::vector<char>(kStreamBuffer);
  std::vector<char> out_buffer = std::vector<char>(kStreamBuffer);
  FileHandle in;
  codec::FileStatus status;
  std::optional<OutputFile> out;
};

// Opens both files, or complains and returns the exit code. An output
// written only in whole buffers of its own goes unbuffered: the stream would
// copy every byte into its buffer before writing it.
enum class OutputBuffer { kStream, kNone };
int OpenRawFiles(const RawOptions& options, RawFiles& files, OutputBuffer output_buffer) {
  files.in = OpenForReading(options.in);
  if (!files.in) return Complain(SystemError(options.in), kExitUsage);
  const std::optional<codec::FileStatus> status = StatusOf(files.in.get());
  if (!status) {
    return Complain(options.in + ": no status to be had, or 4 GiB and larger", kExitUsage);
  }
  files.status = *status;
  files.out.emplace(options.out);
  if (files.out->file() == nullptr) return Complain(SystemError(options.out), kExitUsage);
  std::setvbuf(files.in.get(), files.in_buffer.data(), _IOFBF, files.in_buffer.size());
  if (output_buffer == OutputBuffer::kNone) {
    std::setvbuf(files.out->file(), nullptr, _IONBF, 0);
  } else {
    std::setvbuf(files.out->file(), files.out_buffer.data(), _IOFBF, files.out_buffer.size());
  }
  return kExitOk;
}

int RawPack(const RawOptions& options) {
  RawFiles files;
  if (const int failed = OpenRawFiles(options, files, OutputBuffer::kStream)) return failed;
  OutputFile& out = *files.out;
  HostPackInput input(files.in.get());
  HostPackOutput output(out.file());
  codec::Encoder encoder;
  encoder.set_optimal_parse(options.best);
  if (options.threads > 1) {
    const codec::MatchesAheadSizes sizes = codec::MatchesAheadSizesFor(files.status.size);
    encoder.set_matches_ahead([threads = options.threads, sizes](codec::PackInput& in) {
      return std::make_unique<codec::MatchesAheadOnThreads>(in, threads, sizes);
    });
  }
  MemberRecord record;
  record.set_name(std::filesystem::path(options.in).filename().string());
  bool replacing = false;
  const Status status = encoder.PackMember(record, &input, &output, replacing);
  if (status != Status::kOk) {
    return Complain(options.in + ": " + std::string(StatusMessage(status)), kExitFailed);
  }
  if (!out.Commit()) return Complain(SystemError(options.out), kExitFailed);
  PrintResult(record.method, record.packed_size, record.unpacked_size, record.crc);
  return kExitOk;
}

int RawUnpack(const RawOptions& options) {
  RawFiles files;
  if (const int failed = OpenRawFiles(options, files, OutputBuffer::kNone)) return failed;
  OutputFile& out = *files.out;
  HostPackedSource source(files.in.get());
  codec::Decoder decoder;
  decoder.DecodeStart(source, files.status.size);
  // Chunks are decoded straight into their places in a buffer of whole
  // windows, which is written at once (no copy through the stream's buffer).
  std::vector<std::uint8_t> decoded(kStreamBuffer);
  MemberRecord record;
  // The decoder fills every chunk, with zeros from a damaged point on, so
  // the output always has the size asked; damage is reported all the same.
  bool damaged = false;
  for (std::uint32_t done = 0; done < options.size;) {
    std::size_t filled = 0;
    while (filled < decoded.size() && done < options.size) {
      const std::size_t count = std::min<std::size_t>(codec::kWindowSize, options.size - done);
      const codec::Decoder::Window window(decoded.data() + filled, codec::kWindowSize);
      damaged |= decoder.DecodeChunk(record, count, window) != Status::kOk;
      filled += count;
      done += static_cast<std::uint32_t>(count);
    }
    if (std::fwrite(decoded.data(), 1, filled, out.file()) != filled) {
      return Complain(SystemError(options.out), kExitFailed);
    }
  }
  if (!out.Commit()) return Complain(SystemError(options.out), kExitFailed);
  if (damaged) {
    return Complain(options.in + ": corrupt packed stream (zeros from there on)", kExitFailed);
  }
  PrintResult(kMethodCompressed, files.status.size, options.size, decoder.PackedCrc());
  return kExitOk;
}

}  // namespace

void AddRawCommands(CLI::App& app, int& exit_code) {
  // Shared by both subcommands (only the one that runs fills it) and kept
  // alive by their callbacks, which the app owns.
  const auto options = std::make_shared<RawOptions>();

  CLI::App* pack = app.add_subcommand(
      "raw-pack", "Pack IN as a member of its name would be packed; write the member's data");
  pack->add_option("IN", options->in, "file to pack")->required();
  pack->add_option("OUT", options->out, "where the packed bytes go")->required();
  pack->add_flag("--best", options->best, "smallest packing: the optimal parse (slower)");
  options->threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
  pack->add_option("--threads", options->threads,
                   "threads that find matches, giving the same bytes as one (default: one per "
                   "core; not with --best)")
      ->check(CLI::Range(1, 256))
      ->capture_default_str();
  pack->callback([options, &exit_code] { exit_code = RawPack(*options); });

  CLI::App* unpack =
      app.add_subcommand("raw-unpack", "Decode the packed stream IN into N bytes in OUT");
  unpack->add_option("IN", options->in, "packed stream")->required();
  unpack->add_option("OUT", options->out, "where the bytes go")->required();
  unpack->add_option("--size", options->size, "unpacked size N in bytes")->required();
  unpack->callback([options, &exit_code] { exit_code = RawUnpack(*options); });
}

}  // namespace qv::arq
