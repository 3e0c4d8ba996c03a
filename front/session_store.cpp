#include "front/session_store.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <system_error>

#include "client/eal_log.h"
#include "client/paths.h"
#include "front/api_error.h"
#include "front/replies.h"

namespace kvnc {
namespace {

int64_t Nanoseconds(const timespec &t) { return static_cast<int64_t>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

bool Expired(const WebSession &s, int64_t now) { return s.stamp + WebSessionStore::kIdleLimitNs < now; }

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

WebSessionStore::WebSessionStore(std::string path) : path_(std::move(path)) {
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

void WebSessionStore::Load() {
  struct stat st {};
  if (stat(path_.c_str(), &st) != 0) {
    sessions_.clear();  // no file: no sessions
    known_ = {};
    return;
  }
  const FileIdentity now_on_disk{st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
  if (now_on_disk == known_) return;

  sessions_.clear();
  known_ = {};
  std::ifstream file(path_);
  if (!file) return;
  try {
    std::string line;
    std::getline(file, line);
    const json list = json::parse(line);
    for (const json &entry : list) {
      sessions_.push_back(WebSession{entry.at("id").get<std::string>(), entry.at("peer").get<std::string>(),
                                     GetNumber<uint32_t>(entry.at("uid")), GetNumber<int64_t>(entry.at("stamp"))});
    }
    known_ = now_on_disk;
  } catch (const std::exception &e) {
    eal_log(EAL_LOG_ERROR, "Caught exception in load(): %s\n", e.what());
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
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return;
    size_t written = 0;
    while (written < text.size()) {
      const ssize_t n = write(fd, text.data() + written, text.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      written += static_cast<size_t>(n);
    }
    if (written != text.size() || rename(temp.c_str(), path_.c_str()) != 0) {
      close(fd);
      unlink(temp.c_str());
      known_ = {};
      return;
    }
    // Taken from our own descriptor after the rename (which changes the
    // file's ctime): the identity of the file we wrote, even if another
    // process has renamed its own over it meanwhile.
    struct stat st {};
    known_ = fstat(fd, &st) == 0
                 ? FileIdentity{st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)}
                 : FileIdentity{};
    close(fd);
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

WebSessionStore &SessionStore() {
  static WebSessionStore store(paths::kSessionFile);
  return store;
}

}  // namespace kvnc
