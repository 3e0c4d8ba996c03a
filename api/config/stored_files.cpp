#include "api/config/stored_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "client/files.h"
#include "client/hpi_types.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

bool IsNameByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
         c == '-' || c == '+' || byte >= 0x80;
}

bool EndsWith(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

bool IsDirectoryEntry(int dir_fd, const dirent &entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  struct stat info {};
  return fstatat(dir_fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Closes the directory stream (and so its descriptor) on every path.
class DirectoryStream {
 public:
  explicit DirectoryStream(DIR *dir) : dir_(dir) {}
  ~DirectoryStream() {
    if (dir_ != nullptr) closedir(dir_);
  }
  DirectoryStream(const DirectoryStream &) = delete;
  DirectoryStream &operator=(const DirectoryStream &) = delete;
  DIR *get() const { return dir_; }

 private:
  DIR *dir_;
};

}  // namespace

bool IsStoredFileName(std::string_view name) {
  if (name.empty() || name.size() > SAHPI_MAX_TEXT_BUFFER_LENGTH || name == "." || name == "..") return false;
  if (name.front() == '-') return false;
  for (const char c : name) {
    if (!IsNameByte(c)) return false;
  }
  return true;
}

std::string RequireStoredFileName(const json &prm, std::string_view suffix) {
  std::string name = RequireKey(prm, "name").get<std::string>();
  if (!IsStoredFileName(name) || !EndsWith(name, suffix)) Fail(ErrorReplyMsg(kRcBadValue, "name"));
  return name;
}

std::vector<std::string> ListStoredFiles(const char *dir, std::string_view suffix, size_t shorter) {
  std::vector<std::string> names;
  const int fd = OpenFile(dir, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return names;
  const DirectoryStream stream(fdopendir(fd));
  if (stream.get() == nullptr) {
    close(fd);
    return names;
  }
  while (const dirent *entry = readdir(stream.get())) {
    const std::string_view name = entry->d_name;
    if (name.size() <= shorter || !EndsWith(name, suffix) || IsDirectoryEntry(fd, *entry)) continue;
    names.emplace_back(name);
  }
  return names;
}

bool ReadStoredFile(const std::string &path, std::string &text) {
  // Not blocking: an entry may be a FIFO that nobody writes.
  const FileDescriptor file(OpenFile(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
  if (!file.valid()) return false;
  struct stat info {};
  if (fstat(file.get(), &info) != 0) return false;
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return false;
  }
  return ReadAll(file.get(), text);
}

bool StoreFile(const std::string &path, std::string_view text) {
  const FileDescriptor file(
      OpenFile(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK, kStoredFileMode));
  if (!file.valid()) return false;
  // A file stored before keeps its mode through O_TRUNC; it gets this one.
  const bool written = WriteAll(file.get(), text);
  return fchmod(file.get(), kStoredFileMode) == 0 && written;
}

}  // namespace kvnc
