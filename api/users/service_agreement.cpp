#include "api/users/service_agreement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <sstream>

#include "client/files.h"
#include "client/paths.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr uint64_t kAgreementPrivileges = 0x402;
constexpr mode_t kAgreementFileMode = 0644;  // the login page's text: readable by all

// The lines of one paragraph are joined with single spaces; each empty line
// becomes one line break.
std::string JoinParagraphs(const std::string &file) {
  std::istringstream in(file);
  std::string text;
  std::string line;
  bool paragraph_start = true;
  while (std::getline(in, line)) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    if (line.empty()) {
      text += '\n';
      paragraph_start = true;
      continue;
    }
    if (!paragraph_start) text += ' ';
    text += line;
    paragraph_start = false;
  }
  return text;
}

bool Exists(const char *path) {
  const FileDescriptor file(OpenFile(path, O_RDONLY));
  return file.valid();
}

// The text file, or else the one kept when the agreement was switched off;
// needed tells which. False when neither can be read.
bool ReadAgreementText(std::string &text, bool &needed) {
  int fd = OpenFile(paths::kAgreementText, O_RDONLY);
  needed = fd >= 0;
  if (!needed) fd = OpenFile(paths::kAgreementTextBackup, O_RDONLY);
  const FileDescriptor file(fd);
  return file.valid() && ReadAll(file.get(), text);
}

}  // namespace

json GetServiceAgreement() {
  const bool enforced = Exists(paths::kAgreementEnforced);
  bool needed = true;
  std::string text;
  if (!ReadAgreementText(text, needed)) return ErrorReplyMsg(kRcSystemError, "Can't open the service agreement text");
  return OkReplyWithResponse({{"enforced", enforced}, {"needed", needed}, {"text", JoinParagraphs(text)}});
}

json SetServiceAgreement(HpiSession session, const json &prm) {
  RequirePrivilege(session, kAgreementPrivileges, "not enough privileges to change the restricted service agreement");
  const bool needed = RequireKey(prm, "needed").get<bool>();
  if (!needed) {
    unlink(paths::kAgreementEnforced);
    std::rename(paths::kAgreementText, paths::kAgreementTextBackup);
    return OkReply();
  }
  const std::string text = RequireKey(prm, "text").get<std::string>();
  // A text that did not reach the file must not be answered as saved.
  if (!WriteFile(paths::kAgreementText, text, kAgreementFileMode)) {
    return ErrorReplyWithCode(kRcSystemError, errno, "Can't write the service agreement text");
  }
  const bool enforced = RequireKey(prm, "enforced").get<bool>();
  if (enforced) {
    if (!WriteFile(paths::kAgreementEnforced, "", kAgreementFileMode)) {
      return ErrorReplyWithCode(kRcNoChild, errno, "enforced");
    }
  } else if (unlink(paths::kAgreementEnforced) != 0 && errno != ENOENT) {
    // An agreement that was not enforced is not enforced now either: only a
    // marker that stays is a failure.
    return ErrorReplyWithCode(kRcNoChild, errno, "enforced");
  }
  return OkReply();
}

}  // namespace kvnc
