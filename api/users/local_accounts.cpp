#include "api/users/local_accounts.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "client/files.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

constexpr uint64_t kLockedUsersPrivileges = 0x00400002;
constexpr uint64_t kUnlockPrivileges = 0x1002;
constexpr const char *kNoPrivileges = "not enough privileges";
constexpr size_t kMaxAccountName = 32;

// The table of pam_tally2 turned into the JSON array of locked users, ending
// with the LAST_ENTRY marker the UI looks for. It holds no request value.
constexpr const char *kLockedUsersCommand =
    "echo \"[\";pam_tally2 | sed -e \"/^Login/d;s/\\[/(/g;s/\\]/)/g\" | awk '{print "
    "\"{\\\"NAME\\\":\\\"\" $1 \"\\\",\\\"FAIL\\\":\" $2 \"},\"}';echo "
    "\"{\\\"NAME\\\":\\\"LAST_ENTRY\\\",\\\"FAIL\\\":0}]\"";

constexpr const char *kKeySuffix = ".skey";
constexpr mode_t kKeyFileMode = 0600;

bool IsAccountChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
}

// The key file from its exclusive creation on: removed on every path out of
// the handler, whatever the daemon did with it.
class KeyFile {
 public:
  explicit KeyFile(std::string path) : path_(std::move(path)) {}
  ~KeyFile() { unlink(path_.c_str()); }
  KeyFile(const KeyFile &) = delete;
  KeyFile &operator=(const KeyFile &) = delete;

 private:
  std::string path_;
};

// A name pam_tally2 may be given: 1 to 32 letters, digits, ".", "_" and "-",
// not starting with "-" (it would be read as an option).
bool IsAccountName(std::string_view name) {
  if (name.empty() || name.size() > kMaxAccountName || name.front() == '-') return false;
  for (char c : name) {
    if (!IsAccountChar(c)) return false;
  }
  return true;
}

// A user name that can only name a file directly in the key directory: no
// "/" or NUL, not "." or "..", and short enough that the file name fits the
// daemon's text buffer whole (a cut name would be another file).
bool IsKeyFileUser(std::string_view name) {
  const size_t path_length =
      std::string_view(paths::kSshKeyDir).size() + name.size() + std::string_view(kKeySuffix).size();
  return name != "." && name != ".." && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos &&
         path_length <= SAHPI_MAX_TEXT_BUFFER_LENGTH;
}

}  // namespace

json GetLockedUsers(HpiSession session, const json &) {
  RequirePrivilege(session, kLockedUsersPrivileges, kNoPrivileges);
  // A shell, for the pipeline; started like every child, so it inherits no
  // descriptor of the program.
  const ChildRun run = RunChild({"/bin/sh", "-c", kLockedUsersCommand});
  if (!run.started()) return ErrorReplyWithCode(kRcSystemError, run.spawn_error, "Can't run pam_tally2");
  return OkReplyWithResponse(json::parse(run.output));
}

json UnlockUser(HpiSession session, const json &prm) {
  RequirePrivilege(session, kUnlockPrivileges, kNoPrivileges);
  const std::string name = RequireKey(prm, "NAME").get<std::string>();
  // Refused before anything runs: the name reaches the tool as one argument,
  // and one starting with "-" would still be taken as an option.
  if (!IsAccountName(name)) return ErrorReplyMsg(kRcBadValue, "NAME");
  // The UI shows this text; it names the command as the appliance's users know it.
  const std::string command = "Can't run pam_tally2 -u " + name + " --reset >> /dev/null";
  const ChildRun run = RunChild({"pam_tally2", "-u", name, "--reset"});
  if (!run.started()) return ErrorReplyWithCode(kRcSystemError, run.spawn_error, command);
  if (const int code = run.exit_code(); code != 0) return ErrorReplyWithCode(kRcSystemError, code, command);
  return OkReply();
}

json SetUserSshKey(HpiSession session, const json &prm) {
  const std::string user = RequireKey(prm, "USER").get<std::string>();
  const std::string key = RequireKey(prm, "KEY").get<std::string>();
  if (!IsKeyFileUser(user)) return ErrorReplyMsg(kRcBadValue, "USER");
  std::string file_name;  // empty: the daemon removes the user's key
  std::optional<KeyFile> created;
  if (!key.empty()) {
    file_name = paths::kSshKeyDir + user + kKeySuffix;
    // Never through a file or link that is already there: someone else's
    // name for the path would receive the key, or hand the daemon theirs.
    const FileDescriptor file(
        OpenFile(file_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kKeyFileMode));
    if (!file.valid()) return ErrorReplyMsg(kRcSystemError, "Can't open file for writing the key");
    created.emplace(file_name);
    if (!WriteAll(file.get(), key)) return ErrorReplyMsg(kRcSystemError, "Can't write key");
  }
  const SaHpiTextBufferT user_text = TextBufferFromString(user);
  const SaHpiTextBufferT file_text = TextBufferFromString(file_name);
  CheckHpi(kvnHpiUserSSHPublicKeySet(session, &user_text, &file_text), "kvnHpiUserSSHPublicKeySet");
  return OkReply();
}

}  // namespace kvnc
