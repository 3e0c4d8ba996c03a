#include "tests/support/nginx.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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
  const std::string deploy = source_dir + "/deploy/nginx/";
  std::string site = ReadFile(deploy + "kvnc-api.conf");
  ReplaceAll(site, ":8080;", ":" + std::to_string(port) + ";");
  std::ofstream(std::string("/tmp/nginx/kvnc-api.conf")) << site;
  std::ofstream(std::string("/tmp/nginx/kvnc-api.js")) << ReadFile(deploy + "kvnc-api.js");
  std::ofstream(std::string("/tmp/nginx/nginx.conf")) << ReadFile(deploy + "nginx-standalone.conf");
  process_ = ChildProcess({"/usr/sbin/nginx", "-p", "/tmp/nginx", "-c", "/tmp/nginx/nginx.conf"}, "/var/log/nginx.out");
  for (int i = 0; i < 200 && !ok_; ++i) {
    ok_ = Curl("GET", "127.0.0.1", port, "").status != 0;
    if (!ok_) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

Nginx::~Nginx() { process_.Stop(SIGQUIT); }

std::string HttpReply::Header(const std::string &name) const {
  std::istringstream lines(headers);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() > name.size() && line[name.size()] == ':' &&
        strncasecmp(line.c_str(), name.c_str(), name.size()) == 0) {
      const size_t start = line.find_first_not_of(' ', name.size() + 1);
      const size_t end = line.find_last_not_of("\r");
      return start == std::string::npos || end < start ? "" : line.substr(start, end - start + 1);
    }
  }
  return "";
}

HttpReply Curl(const std::string &method, const std::string &host, int port, const std::string &body,
               const std::string &source) {
  static std::atomic<int> calls{0};
  const std::string stem = "/tmp/curl-" + std::to_string(getpid()) + "-" + std::to_string(++calls);
  const std::string body_file = stem + ".body", reply_file = stem + ".reply", headers_file = stem + ".headers";
  std::ofstream(body_file, std::ios::binary) << body;
  const std::string command = "curl -g -s -o " + reply_file + " -D " + headers_file + " -w '%{http_code}' -X " +
                              method + (source.empty() ? "" : " --interface " + source) +
                              " -H 'Content-Type: application/json' --data-binary @" + body_file + " 'http://" + host +
                              ":" + std::to_string(port) + "/api' 2>/dev/null";
  HttpReply reply;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char code[16] = {};
    if (std::fgets(code, sizeof code, pipe) != nullptr) reply.status = std::atoi(code);
    pclose(pipe);
  }
  reply.headers = ReadFile(headers_file);
  reply.body = ReadFile(reply_file);
  for (const std::string &file : {body_file, reply_file, headers_file}) unlink(file.c_str());
  return reply;
}

}  // namespace kvnc::test
