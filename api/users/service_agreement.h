// The service agreement shown on the login page: its text, whether the UI
// must ask for acceptance (the text file exists) and whether acceptance is
// enforced (the marker file exists).
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// FN 118: answered before any other check, without a session.
json GetServiceAgreement();

// FN 119.
json SetServiceAgreement(HpiSession session, const json &prm);

}  // namespace kvnc
