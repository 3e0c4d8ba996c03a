// Captures what eal_log() writes while the object lives: every level goes to
// standard output (and not to syslog), standard output is captured.
#pragma once

#include <string>

#include "client/eal_log.h"

namespace kvnc::test {

class EalLogCapture {
 public:
  EalLogCapture();
  ~EalLogCapture();
  EalLogCapture(const EalLogCapture &) = delete;
  EalLogCapture &operator=(const EalLogCapture &) = delete;

  // The lines written so far; ends the capture (call once).
  std::string Take();

 private:
  eal_log_config_t saved_;
  bool taken_ = false;
};

}  // namespace kvnc::test
