// Files the web UI keeps by name in one directory of the appliance: the Lua
// scripts the daemon runs and the Modbus driver documents. The name comes
// from the request and is joined to the directory as it is, so it is checked
// before anything touches a file or the daemon hears of it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "front/function_table.h"

namespace kvnc {

// Stored files are not writable by other local users: the daemon runs them.
inline constexpr mode_t kStoredFileMode = 0755;

// A name that designates an entry directly in its directory and that no tool
// takes for an option or a shell for syntax: 1 to 255 bytes (a file name, and
// whole in a text buffer), letters, digits, ".", "_", "-", "+" and the bytes
// of non-ASCII letters; not starting with "-"; not "." or "..".
bool IsStoredFileName(std::string_view name);

// The PRM member "name" when it is such a name ending in `suffix`; RC 5 when
// absent, RC 6 "name" otherwise.
std::string RequireStoredFileName(const json &prm, std::string_view suffix = {});

// The names of the entries of `dir` that are not directories, longer than
// `shorter` bytes and ending in `suffix`, in directory order. A directory
// that cannot be read lists nothing.
std::vector<std::string> ListStoredFiles(const char *dir, std::string_view suffix, size_t shorter);

// The whole content of a regular file (a link is not followed); false with
// errno set when it cannot be opened or read.
bool ReadStoredFile(const std::string &path, std::string &text);

// Creates or truncates the file (a link is not followed) and writes text;
// the file gets kStoredFileMode whatever it had. False with errno set.
bool StoreFile(const std::string &path, std::string_view text);

}  // namespace kvnc
