#include "upgrade/upgrade_header.h"

#include <algorithm>

#include "upgrade/package_names.h"

namespace qv::upgrade {
namespace {

std::string FieldText(const UpgradeHeader::Bytes& bytes, std::size_t offset, std::size_t width) {
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(width), 0);
  return std::string(begin, end);
}

bool PutText(UpgradeHeader::Bytes& bytes, std::size_t offset, std::size_t width,
             std::string_view text) {
  if (text.size() >= width || text.find('\0') != std::string_view::npos) return false;
  std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

}  // namespace

std::optional<UpgradeHeader> UpgradeHeader::Make(std::uint32_t pending,
                                                 const std::array<std::uint8_t, 8>& reserved,
                                                 std::string_view part_number,
                                                 std::string_view archive_name) {
  Bytes bytes{};
  for (std::size_t i = 0; i < 4; ++i)
    bytes[i] = static_cast<std::uint8_t>(pending >> (8 * i));
  std::copy(reserved.begin(), reserved.end(), bytes.begin() + 4);
  if (!PlainFileName(archive_name) ||
      !PutText(bytes, kPartNumberOffset, kPartNumberField, part_number) ||
      !PutText(bytes, kArchiveNameOffset, kArchiveNameField, archive_name)) {
    return std::nullopt;
  }
  return UpgradeHeader(bytes);
}

std::uint32_t UpgradeHeader::pending_word() const {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i)
    word |= std::uint32_t{bytes_[i]} << (8 * i);
  return word;
}

void UpgradeHeader::clear_pending() {
  std::fill_n(bytes_.begin(), 4, 0);
}

std::array<std::uint8_t, 8> UpgradeHeader::reserved() const {
  std::array<std::uint8_t, 8> reserved{};
  std::copy_n(bytes_.begin() + 4, reserved.size(), reserved.begin());
  return reserved;
}

std::string UpgradeHeader::part_number() const {
  return FieldText(bytes_, kPartNumberOffset, kPartNumberField);
}

std::string UpgradeHeader::archive_name() const {
  return FieldText(bytes_, kArchiveNameOffset, kArchiveNameField);
}

bool UpgradeHeader::archive_name_plain() const {
  const std::string name = archive_name();
  return name.size() < kArchiveNameField && PlainFileName(name);
}

bool PlainFileName(std::string_view name) {
  return !name.empty() && name.find_first_of(":\\/") == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

UpgradeHeader ReadUpgradeHeader(platform::Files& files) {
  UpgradeHeader::Bytes bytes{};
  platform::Result<platform::Stream> file = files.Open(kHeaderFile, "rb");
  if (!file) return UpgradeHeader();
  const std::size_t read = file->Read(bytes);
  file->Close();
  UpgradeHeader header(bytes);
  // A name that leads elsewhere would have the loader expand any archive.
  if (read < kHeaderSize || !header.archive_name_plain()) header.clear_pending();
  return header;
}

}  // namespace qv::upgrade
