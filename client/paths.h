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
// SSH public keys handed to the daemon: <dir><user>.skey, removed after the call.
inline constexpr const char *kSshKeyDir = "/tmp/";
// Templates (mkstemp) of the files the daemon writes device tree documents into.
inline constexpr const char *kTreeAllTemplate = "/tmp/all_XXXXXX";           // the whole device tree
inline constexpr const char *kTreeResourceTemplate = "/tmp/ures_XXXXXX";     // one resource refreshed
inline constexpr const char *kTreeSensorsTemplate = "/tmp/usen_XXXXXX";      // every sensor refreshed
inline constexpr const char *kTreeControlsTemplate = "/tmp/uctrl_XXXXXX";    // every control refreshed
inline constexpr const char *kTreeResourceLoadTemplate = "/tmp/res_XXXXXX";  // one resource loaded

}  // namespace kvnc::paths
