// Whole request bodies, as a worker reads them from the web server, through
// ProcessRequestBody: the parser, the dispatcher, the request context (the
// daemon's pid file, the web session, the thread's identity, the HPI session)
// and the handlers, with the controller simulator serving the daemon's socket
// from threads of this process.
//
// The harness plays the part of the appliance around the program: the
// simulator (the demo appliance) on /tmp/Korvane, /var/run/Korvane.pid naming
// this process, and a session file holding one live session of admin
// (uid 1001) from kPeer under kSid, so that mutated requests carrying that SID
// reach the handlers. Before each input the simulator returns to the demo
// appliance and the session file is written afresh (a logout removes the
// session); after one that may have changed the service agreement files,
// they are put back.
//
// Every reply must be JSON with a "status" object holding an unsigned RC, and
// the thread must be root again (effective and file-system uid) afterwards.
//
// Logins that reach PAM with a wrong password cost 2 s each (pam_unix waits
// after a failure), so inputs that would do so are skipped (returned as -1,
// kept out of the corpus): FN 0 without a SID whose PRM has string USER and
// PWD other than a test account's own pair (tests/hermetic/users.txt), and
// FN 32 whose USER and OLDPWD are not such a pair. The test accounts' pairs
// do log in through PAM. Functions slow by design (kSlowFns) are skipped too.
//
// REQUEST_FUZZ_VERBOSE=1 prints each request and its reply (for looking at
// single inputs).
//
// It uses the appliance's fixed paths and switches identities, so it runs only
// as root inside tests/hermetic/run-hermetic (which sets KVNC_HERMETIC=1).
#include <fcntl.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "client/eal_log.h"
#include "client/paths.h"
#include "front/api_error.h"
#include "front/replies.h"
#include "front/request_loop.h"
#include "front/session_store.h"
#include "sim/model.h"
#include "sim/rpc_dispatch.h"
#include "sim/rpc_server.h"
#include "sim/simulator.h"

namespace {

using kvnc::json;

constexpr const char *kPeer = "192.0.2.10";
constexpr std::string_view kSid = "FuzzSession0123456789abcdefghijk";
static_assert(kSid.size() == kvnc::WebSessionStore::kIdLength);
constexpr uint32_t kUid = 1001;  // admin in the demo appliance and in users.txt
constexpr int32_t kLoginFn = 0;
constexpr int32_t kChangePasswordFn = 32;
// Functions that take seconds by design: the saved configuration's polling
// and openssl making keys. They are tested end to end.
constexpr int32_t kSlowFns[] = {89, 117};
constexpr int32_t kSetServiceAgreementFn = 119;
// Functions that store a Lua script or a Modbus driver file by name.
constexpr int32_t kStoringFns[] = {155, 166};

// The test accounts of the hermetic environment (tests/hermetic/users.txt).
struct Account {
  const char *user;
  const char *password;
};
constexpr Account kAccounts[] = {
    {"admin", "admin-secret"},       {"operator", "operator-secret"}, {"viewer", "viewer-secret"},
    {"mustchange", "change-me-now"}, {"expired", "expired-secret"},   {"bigid", "bigid-secret"},
    {"zero", "zero-secret"},
};

constexpr const char *kAgreementBaseline = "Terms of use\nof the rack.\n\nSecond paragraph\n";

kvnc::sim::Simulator *simulator = nullptr;
bool verbose = false;  // REQUEST_FUZZ_VERBOSE=1: each request and its reply on stderr

[[noreturn]] void Fatal(const std::string &what) {
  std::fprintf(stderr, "request_fuzz: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

// Written under a temporary name and renamed, as the program writes its own.
void WriteFile(const std::string &path, const std::string &text) {
  const std::string staging = path + ".fuzz-new";
  const int fd = open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fatal("cannot create " + staging + ": " + std::strerror(errno));
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (close(fd) != 0 || !written || rename(staging.c_str(), path.c_str()) != 0) {
    Fatal("cannot write " + path + ": " + std::strerror(errno));
  }
}

void WriteSessionFile() {
  const json sessions = json::array(
      {{{"id", std::string(kSid)}, {"peer", kPeer}, {"stamp", kvnc::WebSessionStore::Now()}, {"uid", kUid}}});
  WriteFile(kvnc::paths::kSessionFile, sessions.dump());
}

// No agreement in force; the text kept as the backup.
void RestoreServiceAgreement() {
  unlink(kvnc::paths::kAgreementEnforced);
  unlink(kvnc::paths::kAgreementText);
  WriteFile(kvnc::paths::kAgreementTextBackup, kAgreementBaseline);
}

// Stored scripts and driver files removed again, so inputs do not pile them
// up; the service agreement files beside the drivers stay.
void RemoveStoredFiles() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  for (const auto &entry : fs::directory_iterator(kvnc::paths::kLuaSourceDir, ignored)) {
    if (!entry.is_directory()) fs::remove(entry.path(), ignored);
  }
  for (const auto &entry : fs::directory_iterator(kvnc::paths::kNvConfigDir, ignored)) {
    if (!entry.is_directory() && entry.path().extension() == ".json") fs::remove(entry.path(), ignored);
  }
}

// What the harness must know of a request before it is served: its FN as the
// dispatcher reads it, and whether it would reach PAM with a failing password.
struct Preview {
  std::optional<int32_t> fn;
  bool failing_login = false;
  bool slow = false;
};

bool IsTestAccount(const json &user, const json &password) {
  for (const Account &a : kAccounts) {
    if (user.get_ref<const std::string &>() == a.user && password.get_ref<const std::string &>() == a.password) {
      return true;
    }
  }
  return false;
}

Preview Look(std::string_view body) {
  Preview preview;
  json request;
  try {
    // The same depth limit as the request loop: deeper bodies are refused there.
    const json::parser_callback_t limit_depth = [](int depth, json::parse_event_t, json &) {
      if (depth > kvnc::kMaxRequestDepth) throw std::length_error("too deep");
      return true;
    };
    request = json::parse(body.begin(), body.end(), limit_depth);
    if (!request.is_object() || !request.contains("FN")) return preview;
    preview.fn = kvnc::GetNumber<int32_t>(request.at("FN"));
  } catch (const std::exception &) {
    return preview;
  }
  preview.slow = std::find(std::begin(kSlowFns), std::end(kSlowFns), *preview.fn) != std::end(kSlowFns);
  // The request context's login path (no SID text) and the password change
  // (with the harness's session): PRM an object holding the strings USER and
  // PWD, or USER and OLDPWD.
  const char *password_key = nullptr;
  const auto sid = request.find("SID");
  const bool has_sid = sid != request.end() && sid->is_string() && !sid->get_ref<const std::string &>().empty();
  if (*preview.fn == kLoginFn && !has_sid) password_key = "PWD";
  if (*preview.fn == kChangePasswordFn) password_key = "OLDPWD";
  if (password_key == nullptr) return preview;
  const auto prm = request.find("PRM");
  if (prm == request.end() || !prm->is_object()) return preview;
  const auto user = prm->find("USER");
  const auto password = prm->find(password_key);
  if (user == prm->end() || password == prm->end() || !user->is_string() || !password->is_string()) return preview;
  preview.failing_login = !IsTestAccount(*user, *password);
  return preview;
}

void CheckReply(std::string_view body, const std::string &text) {
  const json reply = json::parse(text, nullptr, false);
  const char *problem = nullptr;
  if (reply.is_discarded()) {
    problem = "reply is not JSON";
  } else if (!reply.is_object()) {
    problem = "reply is not an object";
  } else if (!reply.contains("status") || !reply["status"].is_object()) {
    problem = "reply has no status object";
  } else if (!reply["status"].contains("RC") || !reply["status"]["RC"].is_number_unsigned()) {
    problem = "reply status has no unsigned RC";
  }
  if (problem != nullptr) {
    Fatal(std::string(problem) + "\nrequest: " + std::string(body.substr(0, 4096)) +
          "\nreply: " + text.substr(0, 4096));
  }
}

void CheckIdentity(std::string_view body) {
  const uid_t fsuid = static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
  if (geteuid() != 0 || fsuid != 0) {
    Fatal("identity not restored (euid " + std::to_string(geteuid()) + ", fsuid " + std::to_string(fsuid) +
          ")\nrequest: " + std::string(body.substr(0, 4096)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  const char *hermetic = std::getenv("KVNC_HERMETIC");
  if (hermetic == nullptr || std::strcmp(hermetic, "1") != 0 || geteuid() != 0) {
    std::fprintf(stderr,
                 "request_fuzz: uses the appliance's fixed paths; run it as root inside "
                 "tests/hermetic/run-hermetic\n");
    std::exit(2);
  }
  const char *show = std::getenv("REQUEST_FUZZ_VERBOSE");
  verbose = show != nullptr && std::strcmp(show, "1") == 0;
  eal_log_config.to_stdout = 0;  // error replies log a line each
  eal_log_config.to_syslog = 0;
  signal(SIGPIPE, SIG_IGN);

  using namespace kvnc::sim;
  const std::vector<std::string> problems = CheckSimRpcTable();
  for (const std::string &p : problems) std::fprintf(stderr, "request_fuzz: simulator: %s\n", p.c_str());
  if (!problems.empty()) std::exit(2);
  simulator = new Simulator(ModelFromJson(Json::parse(DemoModelText())));
  auto *rpc = new RpcServer(*simulator);  // serves until the process ends
  std::string error;
  if (!rpc->Start(kvnc::paths::kDaemonSocket, &error)) Fatal("simulator: " + error);
  // Last, as the daemon does: the pid file says that the daemon is up.
  WriteFile(kvnc::paths::kDaemonPidFile, std::to_string(getpid()) + "\n");
  WriteSessionFile();
  RestoreServiceAgreement();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The worker's body text ends at its first NUL byte; an empty one gets no reply.
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const std::string_view body = bytes.substr(0, bytes.find('\0'));
  if (body.empty()) return 0;
  const Preview preview = Look(body);
  if (preview.failing_login || preview.slow) return -1;

  simulator->Reset();
  WriteSessionFile();
  kvnc::SetPeer(kPeer);
  const std::string reply = kvnc::ProcessRequestBody(body);
  kvnc::SetPeer(nullptr);

  if (verbose)
    std::fprintf(stderr, "request: %.*s\nreply: %s\n", static_cast<int>(body.size()), body.data(), reply.c_str());
  CheckReply(body, reply);
  CheckIdentity(body);
  if (preview.fn == kSetServiceAgreementFn) RestoreServiceAgreement();
  if (preview.fn && std::find(std::begin(kStoringFns), std::end(kStoringFns), *preview.fn) != std::end(kStoringFns)) {
    RemoveStoredFiles();
  }
  return 0;
}
