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
inline constexpr const char *kZoneInfoDir = "/usr/share/zoneinfo/";  // the time zones offered
// SSH public keys handed to the daemon: <dir><user>.skey, removed after the call.
inline constexpr const char *kSshKeyDir = "/tmp/";
// Templates (mkstemp) of the files the daemon writes device tree documents into.
inline constexpr const char *kTreeAllTemplate = "/tmp/all_XXXXXX";           // the whole device tree
inline constexpr const char *kTreeResourceTemplate = "/tmp/ures_XXXXXX";     // one resource refreshed
inline constexpr const char *kTreeSensorsTemplate = "/tmp/usen_XXXXXX";      // every sensor refreshed
inline constexpr const char *kTreeControlsTemplate = "/tmp/uctrl_XXXXXX";    // every control refreshed
inline constexpr const char *kTreeResourceLoadTemplate = "/tmp/res_XXXXXX";  // one resource loaded
// Files of the system pages. The daemon writes the saved configuration of
// job N to <prefix>N<suffix>; it installs the web server certificate the web
// UI uploaded to kHostCertificate.
inline constexpr const char *kSavedConfigPrefix = "/tmp/config_saved_";
inline constexpr const char *kSavedConfigSuffix = ".tgz";
inline constexpr const char *kHostCertificate = "/tmp/host.pem";
inline constexpr const char *kInstallStatusTemplate = "/tmp/inhp_XXXXXX";   // state of one installation
inline constexpr const char *kCertificateDirTemplate = "/tmp/cert_XXXXXX";  // private work dir of a creation
inline constexpr const char *kSyslogPrefix = "/tmp/syslog_";                // + session id + ".gz"
inline constexpr const char *kSyslogFiles[] = {"/var/log/messages.0", "/var/log/messages"};

}  // namespace kvnc::paths
