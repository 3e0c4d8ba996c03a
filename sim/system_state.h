// The simulated controller's whole-system side, a member of the model (see
// model.h for the conventions of the JSON form): reset, restart and reboot
// requests are counted (nothing is really restarted), the forced
// configuration write runs as jobs, and the installed web certificate is kept.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace kvnc::sim {

struct SystemState {
  uint32_t resets = 0;
  uint32_t restarts = 0;
  uint32_t reboots = 0;
  // Starts answered -1022 (a write still running) before one is taken; tests
  // set it to reach the product's retries.
  uint32_t config_busy = 0;
  // Polls of a new job answered "not yet" before it writes its archive;
  // negative: it never completes.
  int32_t config_polls = 1;
  std::string config_archive = "saved configuration\n";  // the bytes each job writes
  int32_t next_job = 1;
  std::map<int32_t, int32_t> jobs;    // running job -> polls left
  std::string certificate;            // the certificate file last installed
  uint32_t certificate_installs = 0;  // installations asked for, taken or not
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SystemState, resets, restarts, reboots, config_busy, config_polls,
                                                config_archive, next_job, jobs, certificate, certificate_installs)

}  // namespace kvnc::sim
