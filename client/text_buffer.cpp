#include "client/text_buffer.h"

#include <cstring>

SaHpiTextBufferT TextBufferFromString(const std::string &text) {
  SaHpiTextBufferT buffer{};
  buffer.DataType = SAHPI_TL_TYPE_TEXT;
  buffer.Language = SAHPI_LANG_ENGLISH;
  size_t length = text.size() < SAHPI_MAX_TEXT_BUFFER_LENGTH ? text.size() : SAHPI_MAX_TEXT_BUFFER_LENGTH;
  buffer.DataLength = static_cast<SaHpiUint8T>(length);
  // strncpy stops at the first NUL and zero-fills the rest.
  strncpy(reinterpret_cast<char *>(buffer.Data), text.c_str(), length);
  return buffer;
}

std::string TextBufferToString(const SaHpiTextBufferT &buffer) {
  return std::string(reinterpret_cast<const char *>(buffer.Data), buffer.DataLength);
}
