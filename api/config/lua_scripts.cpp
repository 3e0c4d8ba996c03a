#include "api/config/lua_scripts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "api/config/stored_files.h"
#include "client/files.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr uint64_t kScriptPrivileges = 0x22;
constexpr const char *kNoPrivileges = "not enough privileges";
constexpr size_t kSuffixOnly = 4;  // ".lua" alone names no script

// The repository, made on first use. 0 when it is there, errno when it
// cannot be opened, -errno when it cannot be made.
int PrepareRepository() {
  const FileDescriptor dir(OpenFile(paths::kLuaSourceDir, O_RDONLY | O_DIRECTORY));
  if (dir.valid()) return 0;
  if (errno != ENOENT) return errno;
  if (mkdir(paths::kLuaSourceDir, kStoredFileMode) != 0) return -errno;
  // The umask could leave it narrower: the daemon, running as another user, reads it.
  return chmod(paths::kLuaSourceDir, kStoredFileMode) == 0 ? 0 : -errno;
}

// The path of script `name`, in a repository that exists.
std::string ScriptPath(const std::string &name) {
  const int prepared = PrepareRepository();
  if (prepared > 0) Fail(ErrorReplyWithCode(kRcSystemError, prepared, "Can't open LUA repository"));
  if (prepared < 0) Fail(ErrorReplyWithCode(kRcSystemError, prepared, "Can't create LUA repository"));
  return paths::kLuaSourceDir + name;
}

// The daemon's verdict on the script of that name in the repository.
json Verify(HpiSession session, const std::string &name) {
  const SaHpiTextBufferT name_text = TextBufferFromString(name);
  SaHpiTextBufferT result{};
  SaHpiUint8T valid = 0;
  CheckHpi(kvnHpiLuaVerifyScript(session, &name_text, &result, &valid), "kvnHpiLuaVerifyScript");
  return OkReplyWithResponse({{"res", TextBufferToString(result)}, {"valid", static_cast<unsigned>(valid)}});
}

// The script the request names, after the privilege check.
std::string ScriptName(HpiSession session, const json &prm) {
  RequirePrivilege(session, kScriptPrivileges, kNoPrivileges);
  return RequireStoredFileName(prm);
}

}  // namespace

json ListLuaScripts(HpiSession session, const json &) {
  RequirePrivilege(session, kScriptPrivileges, kNoPrivileges);
  json scripts = json::array();
  for (const std::string &name : ListStoredFiles(paths::kLuaSourceDir, ".lua", kSuffixOnly)) {
    scripts.push_back({{"name", name}});
  }
  return OkReplyWithResponse(scripts);
}

json SaveLuaScript(HpiSession session, const json &prm) {
  RequirePrivilege(session, kScriptPrivileges, kNoPrivileges);
  RequireKey(prm, "name");
  const std::string text = RequireKey(prm, "text").get<std::string>();
  const std::string name = RequireStoredFileName(prm);
  // A failed write is not reported: the daemon's verdict on what is there is.
  StoreFile(ScriptPath(name), text);
  return Verify(session, name);
}

json GetLuaScript(HpiSession session, const json &prm) {
  const std::string path = ScriptPath(ScriptName(session, prm));
  std::string text;
  if (!ReadStoredFile(path, text)) return ErrorReplyMsg(kRcSystemError, "Can't open the script");
  return OkReplyWithResponse(text);
}

json DeleteLuaScript(HpiSession session, const json &prm) {
  unlink(ScriptPath(ScriptName(session, prm)).c_str());  // a script that was not there is gone all the same
  return OkReplyWithResponse("");
}

json GetLuaSettings(HpiSession session, const json &) {
  SaHpiBoolT enabled = SAHPI_FALSE;
  SaHpiUint32T timeout = 0;
  CheckHpi(kvnHpiLuaConfigurationGet(session, &enabled, &timeout), "kvnHpiLuaConfigurationGet");
  return OkReplyWithResponse({{"enabled", enabled}, {"timeout", timeout}});
}

json SetLuaSettings(HpiSession session, const json &prm) {
  const auto enabled = GetNumber<SaHpiBoolT>(RequireKey(prm, "enabled"));
  const auto timeout = GetNumber<SaHpiUint32T>(RequireKey(prm, "timeout"));
  CheckHpi(kvnHpiLuaConfigurationSet(session, enabled, timeout), "kvnHpiLuaConfigurationSet");
  return OkReply();
}

json VerifyLuaScript(HpiSession session, const json &prm) { return Verify(session, RequireStoredFileName(prm)); }

}  // namespace kvnc
