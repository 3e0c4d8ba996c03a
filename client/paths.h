// The fixed paths of the appliance, in one place. The program has no options:
// tests reach these paths inside their private mount namespace.
#pragma once

namespace kvnc::paths {

inline constexpr const char *kDaemonSocket = "/tmp/Korvane";           // controller RPC endpoint
inline constexpr const char *kDaemonPidFile = "/var/run/Korvane.pid";  // controller's pid
inline constexpr const char *kFastCgiSocket = "/tmp/api-fastcgi.socket-0";
inline constexpr const char *kSessionFile = "/tmp/web-sessions.json";
inline constexpr const char *kNvConfigDir = "/var/nvdata/config/";
inline constexpr const char *kAgreementText = "/var/nvdata/config/service_agreement_text";
inline constexpr const char *kAgreementTextBackup = "/var/nvdata/config/service_agreement_text.bak";
inline constexpr const char *kAgreementEnforced = "/var/nvdata/config/service_agreement_enforced";
inline constexpr const char *kProcDir = "/proc/";
inline constexpr const char *kLuaSourceDir = "/var/nvdata/lua_src/";

}  // namespace kvnc::paths
