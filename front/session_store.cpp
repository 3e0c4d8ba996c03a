#include "front/session_store.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "client/eal_log.h"
#include "client/files.h"
#include "client/paths.h"
#include "front/api_error.h"
#include "front/replies.h"

namespace kvnc {
namespace {

int64_t Nanoseconds(const timespec &t) { return static_cast<int64_t>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

// Loaded stamps lie between 0 and now, so the difference cannot overflow.
bool Expired(const WebSession &s, int64_t now) { return now - s.stamp > WebSessionStore::kIdleLimitNs; }

// A file cannot be renamed over a directory: an empty one planted at the
// file's name is removed first.
bool RenameOver(const std::string &from, const std::string &to) {
  if (rename(from.c_str(), to.c_str()) == 0) return true;
  return errno == EISDIR && rmdir(to.c_str()) == 0 && rename(from.c_str(), to.c_str()) == 0;
}

std::string ErrorText(int error) { return std::error_code(error, std::generic_category()).message(); }

// A JSON string as the JSON library would write it. Identifiers and
// addresses are plain printable ASCII and are copied as they are; anything
// else goes through the library (escapes, bytes that are not UTF-8).
void AppendJsonString(std::string &out, const std::string &text) {
  const bool plain =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
  if (!plain) {
    out += json(text).dump(-1, ' ', false, json::error_handler_t::replace);
    return;
  }
  out += '"';
  out += text;
  out += '"';
}

// The file's one line: members in key order, compact, as the JSON library
// writes the same array, without building it first (this runs on every
// request).
std::string SessionsText(const std::vector<WebSession> &sessions) {
  std::string text = "[";
  for (const WebSession &s : sessions) {
    if (text.size() > 1) text += ',';
    text += "{\"id\":";
    AppendJsonString(text, s.id);
    text += ",\"peer\":";
    AppendJsonString(text, s.peer);
    text += ",\"stamp\":";
    text += std::to_string(s.stamp);
    text += ",\"uid\":";
    text += std::to_string(s.uid);
    text += '}';
  }
  text += ']';
  return text;
}

}  // namespace

// The owner is the effective uid the process has when the store is built, on
// the first lookup or login and before that thread takes a user's identity.
// It is not asked again later: worker threads switch their effective uid per
// request (also while a logout removes its session), but the files they
// create belong to their file-system uid, which stays that of the process.
WebSessionStore::WebSessionStore(std::string path) : path_(std::move(path)), owner_(geteuid()) {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
}

int64_t WebSessionStore::Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Identifiers come from the kernel's random source. A generator seeded once
// with 32 bits would let anyone who sees one identifier compute all others.
std::string WebSessionStore::NewId() {
  // 62 × 69273666 = 4294967292: values from there up would favour the first
  // characters and are drawn again.
  constexpr uint32_t kLimit = 4294967292u;
  constexpr uint32_t kBucket = 69273666u;
  std::string id;
  id.reserve(kIdLength);
  uint32_t values[kIdLength];
  while (id.size() < kIdLength) {
    size_t got = 0;
    while (got < sizeof values) {
      const ssize_t n = getrandom(reinterpret_cast<char *>(values) + got, sizeof values - got, 0);
      if (n < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "getrandom");
      if (n > 0) got += static_cast<size_t>(n);
    }
    for (uint32_t v : values) {
      if (id.size() == kIdLength) break;
      if (v < kLimit) id += kAlphabet[v / kBucket];
    }
  }
  return id;
}

WebSessionStore::FileIdentity WebSessionStore::IdentityOf(const struct stat &st) {
  return {st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

std::string WebSessionStore::Distrust(const struct stat &st) const {
  if (!S_ISREG(st.st_mode)) return "is not a regular file";
  if (st.st_uid != owner_) {
    return "is owned by uid " + std::to_string(st.st_uid) + ", not " + std::to_string(owner_);
  }
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    char mode[16];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return std::string("is writable by others (mode ") + mode + ")";
  }
  return {};
}

// /tmp is writable by every local account: a file planted there (before the
// first login, or after the file was deleted) would hand out sessions of its
// author's choosing. Only a regular file of the program's own that nobody else
// may write is read; anything else counts as a damaged file, and the next save
// replaces it. The opened descriptor is checked, not the path, so nothing can
// be swapped in between; O_NONBLOCK keeps a planted FIFO from holding a worker.
void WebSessionStore::Load() {
  struct stat st {};
  // known_ is only ever a trusted file of ours: while the path still names
  // that very file, unchanged (a new owner or mode changes its ctime), the
  // sessions in memory are its contents. This runs on every request.
  if (known_.inode != 0 && lstat(path_.c_str(), &st) == 0 && IdentityOf(st) == known_) return;
  const FileDescriptor file(OpenFile(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
  std::string distrust;
  if (!file.valid()) {
    if (errno == ENOENT) {
      sessions_.clear();  // no file: no sessions
      known_ = {};
      return;
    }
    distrust = errno == ELOOP ? "is a symbolic link" : "cannot be opened: " + ErrorText(errno);
  } else if (fstat(file.get(), &st) != 0) {
    distrust = "cannot be examined: " + ErrorText(errno);
  } else {
    distrust = Distrust(st);
  }
  if (!distrust.empty()) {
    sessions_.clear();
    known_ = {};
    eal_log(EAL_LOG_ERROR, "Caught exception in load(): session file %s %s\n", path_.c_str(), distrust.c_str());
    return;
  }
  const FileIdentity on_disk = IdentityOf(st);
  if (on_disk == known_) return;

  sessions_.clear();
  known_ = {};
  std::string text;
  if (!ReadAll(file.get(), text)) {
    eal_log(EAL_LOG_ERROR, "Caught exception in load(): session file %s cannot be read: %s\n", path_.c_str(),
            ErrorText(errno).c_str());
    return;
  }
  if (Parse(text)) known_ = on_disk;
}

bool WebSessionStore::Parse(std::string_view text) {
  try {
    const json list = json::parse(text.substr(0, text.find('\n')));
    // Taken after the file was read, so every stamp written before is at most
    // this. The monotonic clock is never negative nor ahead: any other stamp
    // is not one of ours (or from before a reboot) and would defeat expiry.
    const int64_t now = Now();
    for (const json &entry : list) {
      WebSession s{entry.at("id").get<std::string>(), entry.at("peer").get<std::string>(),
                   GetNumber<uint32_t>(entry.at("uid")), GetNumber<int64_t>(entry.at("stamp"))};
      if (s.stamp >= 0 && s.stamp <= now) sessions_.push_back(std::move(s));
    }
    return true;
  } catch (const std::exception &e) {
    eal_log(EAL_LOG_ERROR, "Caught exception in load(): %s\n", e.what());
    return false;
  }
}

// Written to a new private file and renamed over the old one: no reader
// ever sees half a file (which would cost every session after the torn
// point), a link planted at the file's name is replaced rather than written
// through, and other local users cannot read live identifiers (mode 0600).
void WebSessionStore::Save() {
  try {
    const std::string text = SessionsText(sessions_);

    std::string temp = path_ + ".XXXXXX";
    const FileDescriptor file(mkostemp(temp.data(), O_CLOEXEC));
    if (!file.valid()) return;
    if (!WriteAll(file.get(), text) || !RenameOver(temp, path_)) {
      unlink(temp.c_str());
      known_ = {};
      return;
    }
    // Taken from our own descriptor after the rename (which changes the
    // file's ctime): the identity of the file we wrote, even if another
    // process has renamed its own over it meanwhile.
    struct stat st {};
    known_ = fstat(file.get(), &st) == 0 ? IdentityOf(st) : FileIdentity{};
  } catch (const std::exception &e) {
    eal_log(EAL_LOG_ERROR, "Caught exception in save(): %s\n", e.what());
  }
}

WebSession WebSessionStore::Lookup(std::string_view peer, std::string_view id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
  const int64_t now = Now();
  bool changed = false;
  WebSession found;
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (Expired(*it, now)) {
      it = sessions_.erase(it);
      changed = true;
      continue;
    }
    if (it->id == id && it->peer == peer) {
      it->stamp = Now();
      found = *it;
      changed = true;
      break;
    }
    ++it;
  }
  if (changed) Save();
  return found;
}

WebSession WebSessionStore::Create(uint32_t uid, std::string_view peer) {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
  const int64_t now = Now();
  WebSession session{NewId(), std::string(peer), uid, now};
  std::erase_if(sessions_, [now](const WebSession &s) { return Expired(s, now); });
  sessions_.push_back(session);
  Save();
  return session;
}

void WebSessionStore::Remove(std::string_view peer, std::string_view id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
  for (auto it = sessions_.begin(); it != sessions_.end(); ++it) {
    if (it->id == id && it->peer == peer) {
      sessions_.erase(it);
      Save();
      return;
    }
  }
}

namespace {
std::atomic<WebSessionStore *> process_store{nullptr};
// Per thread: forks of several threads may overlap, each between its own handlers.
thread_local WebSessionStore *held_for_fork = nullptr;
}  // namespace

void WebSessionStore::RemoveUid(uint32_t uid) {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
  if (std::erase_if(sessions_, [uid](const WebSession &s) { return s.uid == uid; }) != 0) Save();
}

WebSessionStore &SessionStore() {
  static WebSessionStore store(paths::kSessionFile);
  static const bool published = (process_store = &store, true);
  (void)published;
  return store;
}

void WebSessionStore::LockForFork() {
  held_for_fork = process_store.load();
  if (held_for_fork != nullptr) held_for_fork->mutex_.lock();
}

void WebSessionStore::UnlockAfterFork() {
  if (held_for_fork != nullptr) held_for_fork->mutex_.unlock();
  held_for_fork = nullptr;
}

}  // namespace kvnc
