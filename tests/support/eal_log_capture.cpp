#include "tests/support/eal_log_capture.h"

#include <gtest/gtest.h>

namespace kvnc::test {

EalLogCapture::EalLogCapture() : saved_(eal_log_config) {
  eal_log_config.to_stdout = 1;
  eal_log_config.stdout_mask = 0x7FFFFFFFu;  // all levels, and "set" (not all ones)
  eal_log_config.to_syslog = 0;
  testing::internal::CaptureStdout();
}

EalLogCapture::~EalLogCapture() {
  if (!taken_) Take();
}

std::string EalLogCapture::Take() {
  taken_ = true;
  std::string text = testing::internal::GetCapturedStdout();
  eal_log_config = saved_;
  return text;
}

}  // namespace kvnc::test
