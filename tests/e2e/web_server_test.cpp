// Through the web server, the way the web UI's requests come.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "client/paths.h"
#include "tests/support/nginx.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

constexpr int kPort = 18080;

TEST(WebServer, PostsReachTheProgramOverIpv4AndIpv6WithTheClientAddress) {
  Syslog().Clear();
  WriteDaemonPidFile(getpid());
  unlink(paths::kFastCgiSocket);
  ChildProcess api({KVNC_API_BINARY}, "/var/log/kvnc-api.out");
  ASSERT_TRUE(WaitForPath(paths::kFastCgiSocket));
  Nginx nginx(KVNC_SOURCE_DIR, kPort);
  ASSERT_TRUE(nginx.ok());

  HttpReply reply = Curl("POST", "127.0.0.1", kPort, R"({"FN":2,"MN":41})");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, R"({"MN":41,"status":{"IC":0,"RC":2,"RCT":""}})"
                        "\n");
  EXPECT_EQ(Syslog().WaitFor("127.0.0.1").text, "CGI 127.0.0.1: error 2\n");

  reply = Curl("POST", "[::1]", kPort, R"({"FN":-3})");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, R"({"MN":null,"status":{"IC":0,"RC":2,"RCT":""}})"
                        "\n");
  EXPECT_EQ(Syslog().WaitFor("::1").text, "CGI ::1: error 2\n");

  reply = Curl("POST", "127.0.0.1", kPort, "{");
  EXPECT_EQ(reply.status, 200);
  EXPECT_NE(reply.body.find(R"("RC":11)"), std::string::npos) << reply.body;

  // Anything but POST is refused by the web server; many requests in a row
  // each take their own FastCGI connection and all succeed.
  EXPECT_EQ(Curl("GET", "127.0.0.1", kPort, "").status, 403);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(Curl("POST", "127.0.0.1", kPort, R"({"FN":2,"MN":)" + std::to_string(i) + "}").body,
              R"({"MN":)" + std::to_string(i) +
                  R"(,"status":{"IC":0,"RC":2,"RCT":""}})"
                  "\n");
  }
  const int status = api.Stop(SIGTERM);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace kvnc::test
