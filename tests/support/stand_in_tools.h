// Platform tools the appliance has and the build machine has not
// (pam_tally2, modbus_json_validator, bacservd) are stand-in scripts in a
// folder put first on PATH before kvnc-api starts, which inherits the test's
// environment. The folder is writable by every user: requests run the tools
// as the logged-in user.
#pragma once

#include <string>

namespace kvnc::test {

// Makes `dir` (if needed), opens it to every user and puts it first on PATH.
void PutToolsFirstOnPath(const std::string &dir);

// PATH as it was before, and `dir` removed with what it holds.
void RemoveToolsFromPath(const std::string &dir);

}  // namespace kvnc::test
