// The RAM drive d:\ from which the scope application runs on an instrument
// with more than 32 MiB: the lines in c:\config.sys that make the system
// create it at boot, and its contents, emptied and refilled at every boot.
#pragma once

#include "app/subsystems.h"

namespace qv::instrument {

class RamDrive final : public app::RamDrive {
 public:
  // The services must outlive the part.
  explicit RamDrive(const app::Services& services) : services_(services) {}

  bool SetUp() override;
  void Empty(std::string_view folder) override;
  void CopyLibraries() override;

 private:
  const app::Services& services_;
};

}  // namespace qv::instrument
