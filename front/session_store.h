// Web sessions: a random identifier handed to the browser at login, tied to
// the client address and the uid of the user. Kept in memory and in the
// session file, which is the authority: every operation reloads it first and
// writes it back after a change, so processes sharing it see each other's
// sessions. A session expires 900 s after its last use. The file lies in
// /tmp: one that the program did not write itself is never believed.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kvnc {

struct WebSession {
  std::string id;
  std::string peer;   // client address of the login; valid only from there
  uint32_t uid = 0;   // 0: no session
  int64_t stamp = 0;  // last use, monotonic clock in nanoseconds
};

class WebSessionStore {
 public:
  static constexpr size_t kIdLength = 32;
  static constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  static constexpr int64_t kIdleLimitNs = 900LL * 1000 * 1000 * 1000;

  explicit WebSessionStore(std::string path);

  // The live session with this id from this address, its stamp refreshed;
  // a record with uid 0 when there is none. Expired sessions met on the way
  // are dropped.
  WebSession Lookup(std::string_view peer, std::string_view id);
  // A new session for uid from peer; expired sessions are dropped.
  WebSession Create(uint32_t uid, std::string_view peer);
  // Logout: deletes that session, if any.
  void Remove(std::string_view peer, std::string_view id);
  // Deletes every session of uid, from any address: its account was
  // removed or disabled.
  void RemoveUid(uint32_t uid);

  // The monotonic clock the stamps are taken from.
  static int64_t Now();

  // pthread_atfork handlers (front/child_process.cpp): the process's store,
  // once it exists, is held across fork() so no child starts with it locked.
  static void LockForFork();
  static void UnlockAfterFork();

 private:
  struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    int64_t modified_ns = -1;
    int64_t changed_ns = -1;
    bool operator==(const FileIdentity &) const = default;
  };
  static FileIdentity IdentityOf(const struct stat &st);

  void Load();
  // Why the opened file cannot be one the program wrote; empty when it can.
  std::string Distrust(const struct stat &st) const;
  // Appends the sessions of the file's text; false (logged) when it is damaged.
  bool Parse(std::string_view text);
  void Save();
  static std::string NewId();

  const std::string path_;
  // The owner of every file the program writes (see the constructor).
  const uid_t owner_;
  std::mutex mutex_;
  std::vector<WebSession> sessions_;
  // The file as this process last read or wrote it: while it is unchanged,
  // the sessions in memory are its contents and need no parsing.
  FileIdentity known_;
};

// The process's store of "/tmp/web-sessions.json", loaded on first use.
WebSessionStore &SessionStore();

}  // namespace kvnc
