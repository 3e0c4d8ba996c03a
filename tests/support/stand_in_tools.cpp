#include "tests/support/stand_in_tools.h"

#include <cstdlib>
#include <filesystem>

namespace kvnc::test {
namespace {

std::string &SavedPath() {
  static std::string path;
  return path;
}

}  // namespace

void PutToolsFirstOnPath(const std::string &dir) {
  namespace fs = std::filesystem;
  fs::create_directories(dir);
  fs::permissions(dir, fs::perms::all);
  const char *path = std::getenv("PATH");
  SavedPath() = path != nullptr ? path : "/usr/bin:/bin";
  setenv("PATH", (dir + ":" + SavedPath()).c_str(), 1);
}

void RemoveToolsFromPath(const std::string &dir) {
  setenv("PATH", SavedPath().c_str(), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace kvnc::test
