// Reset, restart and reboot (counted, nothing restarts), the forced
// configuration write, and the web certificate installation.
#include <fcntl.h>

#include <string>

#include "client/files.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// The daemon's answer to a start while an earlier write still runs.
constexpr SaErrorT kWriteRunning = SA_ERR_HPI_INVALID_STATE;

SystemState &Of(Caller &c) { return c.model.system; }

SaErrorT Count(uint32_t &counter) {
  ++counter;
  return SA_OK;
}

std::string ArchivePath(SaHpiInt32T job) {
  return paths::kSavedConfigPrefix + std::to_string(job) + paths::kSavedConfigSuffix;
}

// A certificate file the web server could use: a certificate and its key.
bool LooksInstallable(const std::string &pem) {
  return pem.find("-----BEGIN CERTIFICATE-----") != std::string::npos &&
         pem.find("PRIVATE KEY-----") != std::string::npos;
}

}  // namespace

SaErrorT SimReset(Caller &c, SaHpiSessionIdT) { return Count(Of(c).resets); }
SaErrorT SimRestart(Caller &c, SaHpiSessionIdT) { return Count(Of(c).restarts); }
SaErrorT SimReboot(Caller &c, SaHpiSessionIdT) { return Count(Of(c).reboots); }

SaErrorT SimForcedConfigWriteStart(Caller &c, SaHpiSessionIdT, SaHpiInt32T /*mask*/, SaHpiInt32T *job) {
  SystemState &system = Of(c);
  if (system.config_busy > 0) {
    --system.config_busy;
    return kWriteRunning;
  }
  *job = system.next_job++;
  system.jobs[*job] = system.config_polls;
  return SA_OK;
}

SaErrorT SimForcedConfigWriteCompleted(Caller &c, SaHpiSessionIdT, SaHpiInt32T job, SaHpiBoolT *completed) {
  SystemState &system = Of(c);
  const auto found = system.jobs.find(job);
  if (found == system.jobs.end()) return SA_ERR_HPI_INVALID_PARAMS;
  int32_t &polls_left = found->second;
  if (polls_left != 0) {
    if (polls_left > 0) --polls_left;
    *completed = SAHPI_FALSE;
    return SA_OK;
  }
  if (!WriteFile(ArchivePath(job).c_str(), system.config_archive, 0644, O_NOFOLLOW)) return SA_ERR_HPI_ERROR;
  system.jobs.erase(found);
  *completed = SAHPI_TRUE;
  return SA_OK;
}

SaErrorT SimCertificateInstall(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *file_name) {
  SystemState &system = Of(c);
  ++system.certificate_installs;
  std::string pem;
  if (!ReadFile(TextBufferToString(*file_name).c_str(), pem, O_NOFOLLOW)) return SA_ERR_HPI_NOT_PRESENT;
  if (!LooksInstallable(pem)) return SA_ERR_HPI_INVALID_DATA;
  system.certificate = pem;
  return SA_OK;
}

}  // namespace kvnc::sim
