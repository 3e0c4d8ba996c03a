// Whole files and whole-system actions: resetting, restarting and rebooting
// the controller, the saved configuration and the system log as downloads.
// Files reach the browser Base64-encoded inside the reply.
#pragma once

#include <string>
#include <utility>

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json ResetController(HpiSession session, const json &prm);    // FN 67
json RestartController(HpiSession session, const json &prm);  // FN 68
json RebootController(HpiSession session, const json &prm);   // FN 69
json SaveConfiguration(HpiSession session, const json &prm);  // FN 89
json DownloadSyslog(HpiSession session, const json &prm);     // FN 153

// What a failed download step says; the code is errno.
struct DownloadMessages {
  const char *cannot_open;
  const char *cannot_read;
  const char *cannot_send;
};

// The download reply {"d": Base64 of the file's bytes}, or RC 14 with errno
// and the message of the failed step. A link is not followed.
json FileDownload(const char *path, const DownloadMessages &messages);

// Removes a file or a directory tree when the scope ends, on every path.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::string path) : path_(std::move(path)) {}
  ~RemoveOnExit();
  RemoveOnExit(const RemoveOnExit &) = delete;
  RemoveOnExit &operator=(const RemoveOnExit &) = delete;

 private:
  std::string path_;
};

}  // namespace kvnc
