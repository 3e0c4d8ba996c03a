// Through the web server, the way the web UI's requests come: deploy/nginx's
// site in front of kvnc-api and the simulator (a fresh nginx per test, so
// every test starts with empty rate-limit buckets).
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/api_test.h"
#include "tests/support/nginx.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

constexpr int kPort = 18080;
constexpr size_t kBodyLimit = 1024 * 1024;

class WebServer : public ApiTest {
 protected:
  void SetUp() override {
    ApiTest::SetUp();
    Syslog().Clear();
    nginx_ = std::make_unique<Nginx>(KVNC_SOURCE_DIR, kPort);
    ASSERT_TRUE(nginx_->ok()) << "see /var/log/nginx.out and /var/log/nginx-error.log";
  }
  void TearDown() override { nginx_.reset(); }

  static std::string Fn13(const std::string &sid) {
    return Json{{"FN", 13}, {"SID", sid}, {"PRM", {{"ID", 2001}, {"SNUM", 1}}}}.dump();
  }
  static std::string WrongLogin() { return Json{{"FN", 0}, {"PRM", {{"USER", "admin"}, {"PWD", "guess"}}}}.dump(); }
  static int Rc(const HttpReply &reply) {
    const Json body = Json::parse(reply.body, nullptr, false);
    return body.is_object() ? body.value("/status/RC"_json_pointer, -1) : -1;
  }
  // `count` requests at once, each from its source address.
  static std::vector<HttpReply> AtOnce(const std::string &body, const std::vector<std::string> &sources) {
    std::vector<std::future<HttpReply>> pending;
    for (const std::string &source : sources) {
      pending.push_back(
          std::async(std::launch::async, [&body, source] { return Curl("POST", "127.0.0.1", kPort, body, source); }));
    }
    std::vector<HttpReply> replies;
    for (auto &p : pending) replies.push_back(p.get());
    return replies;
  }

  std::unique_ptr<Nginx> nginx_;
};

// What a management UI's replies carry, error replies of nginx included.
void ExpectHardened(const HttpReply &reply) {
  SCOPED_TRACE("HTTP " + std::to_string(reply.status));
  EXPECT_EQ(reply.Header("X-Content-Type-Options"), "nosniff");
  EXPECT_EQ(reply.Header("X-Frame-Options"), "DENY");
  EXPECT_EQ(reply.Header("Content-Security-Policy"), "default-src 'none'; frame-ancestors 'none'");
  EXPECT_EQ(reply.Header("Referrer-Policy"), "no-referrer");
  EXPECT_EQ(reply.Header("Cache-Control"), "no-store");
  EXPECT_EQ(reply.Header("Strict-Transport-Security"), "") << "plain HTTP";
  EXPECT_EQ(reply.Header("Server"), "nginx") << "no version";
}

TEST_F(WebServer, PostsReachTheProgramOverIpv4AndIpv6WithTheClientAddress) {
  HttpReply reply = Curl("POST", "127.0.0.1", kPort, R"({"FN":2,"MN":41})");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, R"({"MN":41,"status":{"IC":0,"RC":2,"RCT":""}})"
                        "\n");
  EXPECT_EQ(reply.Header("Content-Type"), "application/json");
  ExpectHardened(reply);
  EXPECT_EQ(Syslog().WaitFor("127.0.0.1").text, "CGI 127.0.0.1: error 2\n");

  reply = Curl("POST", "[::1]", kPort, R"({"FN":-3})");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, R"({"MN":null,"status":{"IC":0,"RC":2,"RCT":""}})"
                        "\n");
  EXPECT_EQ(Syslog().WaitFor("::1").text, "CGI ::1: error 2\n");

  reply = Curl("POST", "127.0.0.1", kPort, "{");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(Rc(reply), 11) << reply.body;

  // Anything but POST is refused by the web server; many requests in a row
  // each take their own FastCGI connection and all succeed.
  reply = Curl("GET", "127.0.0.1", kPort, "");
  EXPECT_EQ(reply.status, 403);
  ExpectHardened(reply);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(Curl("POST", "127.0.0.1", kPort, R"({"FN":2,"MN":)" + std::to_string(i) + "}").body,
              R"({"MN":)" + std::to_string(i) +
                  R"(,"status":{"IC":0,"RC":2,"RCT":""}})"
                  "\n");
  }
}

TEST_F(WebServer, BodiesOverOneMebibyteAreRefusedBeforeTheProgram) {
  const std::string sid = LoginSid("admin", "admin-secret");
  const std::string request = Fn13(sid);
  // The padding member is ignored by the handler.
  const auto padded = [&](size_t size) {
    const std::string head = request.substr(0, request.size() - 1) + R"(,"PAD":")";
    return head + std::string(size - head.size() - 2, 'x') + "\"}";
  };
  sim().Journal();
  HttpReply reply = Curl("POST", "127.0.0.1", kPort, padded(kBodyLimit));
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(Rc(reply), 0) << reply.body.substr(0, 200);
  EXPECT_EQ(CallNames(), Json::array({"saHpiSensorThresholdsGet"}));

  reply = Curl("POST", "127.0.0.1", kPort, padded(kBodyLimit + 1));
  EXPECT_EQ(reply.status, 413);
  ExpectHardened(reply);
  EXPECT_EQ(sim().Journal(), Json::array()) << "not even an HPI session was opened";
  EXPECT_TRUE(Syslog().Matching("CGI").empty());
}

TEST_F(WebServer, WrongPasswordsBeyondTheBurstAre429WhileOtherWorkGoesOn) {
  const std::string sid4 = LoginSid("operator", "operator-secret", "127.0.0.1");
  const std::string sid6 = LoginSid("admin", "admin-secret", "::1");

  // Twelve guesses at once from one address: six (one and the burst of
  // five) reach PAM, which holds each for its failure delay.
  auto guesses =
      std::async(std::launch::async, [] { return AtOnce(WrongLogin(), std::vector<std::string>(12, "127.0.0.1")); });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  // Meanwhile another client's work, and the guessing client's own, goes on.
  HttpReply reply = Curl("POST", "[::1]", kPort, Fn13(sid6));
  EXPECT_EQ(Rc(reply), 0) << reply.body;
  reply = Curl("POST", "127.0.0.1", kPort, Fn13(sid4));
  EXPECT_EQ(Rc(reply), 0) << reply.body;
  reply = Curl("POST", "[::1]", kPort, R"({"FN":0,"PRM":{"USER":"viewer","PWD":"viewer-secret"}})");
  EXPECT_EQ(Rc(reply), 0) << "another address logs in";

  int refused = 0, wrong_password = 0;
  for (const HttpReply &r : guesses.get()) {
    if (r.status == 429) {
      ++refused;
      ExpectHardened(r);
    } else if (r.status == 200 && Rc(r) == 3) {
      ++wrong_password;
    } else {
      ADD_FAILURE() << r.status << " " << r.body;
    }
  }
  // One more gets through for each second a loaded machine spreads the
  // twelve over.
  EXPECT_GE(wrong_password, 6);
  EXPECT_GE(refused, 3);
  EXPECT_EQ(refused + wrong_password, 12);
}

TEST_F(WebServer, GuessesFromManyAddressesAreCappedTogether) {
  // Each address is within its own limit; all of them together are not:
  // nine (one and the burst of eight) reach PAM at once.
  // Four more get through for each second the 24 are spread over.
  std::vector<std::string> sources;
  for (int i = 2; i < 26; ++i) sources.push_back("127.0.0." + std::to_string(i));
  int refused = 0, wrong_password = 0;
  for (const HttpReply &r : AtOnce(WrongLogin(), sources)) {
    refused += r.status == 429 ? 1 : 0;
    wrong_password += r.status == 200 && Rc(r) == 3 ? 1 : 0;
  }
  EXPECT_GE(wrong_password, 9);
  EXPECT_GE(refused, 3);
  EXPECT_EQ(refused + wrong_password, 24);
}

// Only a body whose FN the program surely reads as non-zero bypasses the
// login limit: each body is sent ten times from an address of its own; a
// login is refused at least once past its burst of six, anything else never.
TEST_F(WebServer, EverythingTheProgramMayReadAsFnZeroIsLimitedAsALogin) {
  const std::vector<std::string> logins = {R"({"FN":0})",
                                           R"({"FN":-0})",
                                           R"({"FN":0.99})",
                                           R"({"FN":-0.5})",
                                           R"({"FN":4294967296})",
                                           R"({"FN":-4294967296.5})",
                                           R"({"FN":2147483648})",
                                           R"({"FN":1e400})",
                                           R"({"FN":13,"FN":0})",
                                           R"({"FN":"13"})",
                                           R"({"FN":true})",
                                           R"({"FN":null})",
                                           R"({"fn":13})",
                                           R"([13])",
                                           "{",
                                           std::string("{\"FN\":13}\0", 10),
                                           "\xEF\xBB\xBF{\"FN\":13}"};
  const std::vector<std::string> others = {R"({"FN":13})",         R"({"FN":-3})",        R"({"FN":1.5})",
                                           R"({"FN":2147483647})", R"({"FN":0,"FN":13})", R"({"F\u004e":0,"FN":13})"};
  // What the program makes of FN 2^32: a login without a user name.
  EXPECT_EQ(Rc(Curl("POST", "127.0.0.1", kPort, R"({"FN":4294967296})")), 5);
  int address = 0;
  const auto refusals = [&](const std::string &body) {
    const std::string source = "127.0.1." + std::to_string(++address);
    int refused = 0;
    for (int i = 0; i < 10; ++i) refused += Curl("POST", "127.0.0.1", kPort, body, source).status == 429 ? 1 : 0;
    return refused;
  };
  for (const std::string &body : logins) EXPECT_GE(refusals(body), 1) << body;
  for (const std::string &body : others) EXPECT_EQ(refusals(body), 0) << body;
}

}  // namespace
}  // namespace kvnc::test
