// The web server in front of the program, as deployed: deploy/nginx's site
// inside a standalone configuration, on a test port of the loopback.
#pragma once

#include <string>

#include "tests/support/process.h"

namespace kvnc::test {

class Nginx {
 public:
  // Copies deploy/nginx to /tmp/nginx with the site's port 8080 replaced by
  // `port`, starts nginx and waits until it answers.
  Nginx(const std::string &source_dir, int port);
  ~Nginx();
  bool ok() const { return ok_; }

 private:
  ChildProcess process_;
  bool ok_ = false;
};

struct HttpReply {
  int status = 0;       // HTTP status, 0 when curl failed
  std::string headers;  // the header lines as received
  std::string body;
  // The value of the header `name` (matched without regard to case), empty
  // when there is none.
  std::string Header(const std::string &name) const;
};

// curl -X method with `body` to http://host:port/api (host may be "[::1]"),
// from the local address `source` when one is given. Safe to call from
// several threads at once.
HttpReply Curl(const std::string &method, const std::string &host, int port, const std::string &body,
               const std::string &source = "");

}  // namespace kvnc::test
