#include "tests/support/nginx.h"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace kvnc::test {
namespace {

std::string ReadFile(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ReplaceAll(std::string &text, const std::string &from, const std::string &to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

Nginx::Nginx(const std::string &source_dir, int port) {
  mkdir("/tmp/nginx", 0755);
  std::string site = ReadFile(source_dir + "/deploy/nginx/kvnc-api.conf");
  ReplaceAll(site, ":8080;", ":" + std::to_string(port) + ";");
  std::ofstream(std::string("/tmp/nginx/kvnc-api.conf")) << site;
  std::ofstream(std::string("/tmp/nginx/nginx.conf")) << ReadFile(source_dir + "/deploy/nginx/nginx-standalone.conf");
  process_ = ChildProcess({"/usr/sbin/nginx", "-p", "/tmp/nginx", "-c", "/tmp/nginx/nginx.conf"}, "/var/log/nginx.out");
  for (int i = 0; i < 200 && !ok_; ++i) {
    ok_ = Curl("GET", "127.0.0.1", port, "").status != 0;
    if (!ok_) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

Nginx::~Nginx() { process_.Stop(SIGQUIT); }

HttpReply Curl(const std::string &method, const std::string &host, int port, const std::string &body) {
  const std::string body_file = "/tmp/curl-body";
  std::ofstream(body_file, std::ios::binary) << body;
  const std::string command = "curl -g -s -o /tmp/curl-reply -w '%{http_code}' -X " + method +
                              " -H 'Content-Type: application/json' --data-binary @" + body_file + " 'http://" + host +
                              ":" + std::to_string(port) + "/api' 2>/dev/null";
  HttpReply reply;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char code[16] = {};
    if (std::fgets(code, sizeof code, pipe) != nullptr) reply.status = std::atoi(code);
    pclose(pipe);
  }
  reply.body = ReadFile("/tmp/curl-reply");
  unlink("/tmp/curl-reply");
  unlink(body_file.c_str());
  return reply;
}

}  // namespace kvnc::test
