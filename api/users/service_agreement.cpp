#include "api/users/service_agreement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "client/paths.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr uint64_t kAgreementPrivileges = 0x402;

// The lines of one paragraph are joined with single spaces; each empty line
// becomes one line break.
std::string JoinParagraphs(std::istream &in) {
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

}  // namespace

json GetServiceAgreement() {
  const bool enforced = std::ifstream(paths::kAgreementEnforced).is_open();
  bool needed = true;
  std::ifstream text(paths::kAgreementText);
  if (!text.is_open()) {
    needed = false;
    text.open(paths::kAgreementTextBackup);
    if (!text.is_open()) return ErrorReplyMsg(kRcSystemError, "Can't open the service agreement text");
  }
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
  std::ofstream out(paths::kAgreementText, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  // A text that did not reach the file must not be answered as saved.
  if (!out) return ErrorReplyWithCode(kRcSystemError, errno, "Can't write the service agreement text");
  const bool enforced = RequireKey(prm, "enforced").get<bool>();
  if (enforced) {
    const int fd = creat(paths::kAgreementEnforced, 0644);
    if (fd < 0) return ErrorReplyWithCode(kRcNoChild, errno, "enforced");
    close(fd);
  } else if (unlink(paths::kAgreementEnforced) != 0) {
    return ErrorReplyWithCode(kRcNoChild, errno, "enforced");
  }
  return OkReply();
}

}  // namespace kvnc
