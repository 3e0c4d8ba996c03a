// Files travel to the browser inside JSON replies as Base64 text: the
// standard alphabet, padded with "=" to a multiple of four characters, no
// line breaks.
#pragma once

#include <string>
#include <string_view>

namespace kvnc {

std::string Base64Encode(std::string_view bytes);

}  // namespace kvnc
