#include "front/base64.h"

#include <cstdint>

namespace kvnc {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

uint32_t Byte(std::string_view bytes, size_t i) { return i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0; }

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t group = Byte(bytes, i) << 16 | Byte(bytes, i + 1) << 8 | Byte(bytes, i + 2);
    const size_t present = bytes.size() - i;  // bytes of this group that exist; the rest is padding
    text += kAlphabet[group >> 18 & 0x3F];
    text += kAlphabet[group >> 12 & 0x3F];
    text += present > 1 ? kAlphabet[group >> 6 & 0x3F] : '=';
    text += present > 2 ? kAlphabet[group & 0x3F] : '=';
  }
  return text;
}

}  // namespace kvnc
