// Expected payload bytes written down field by field, independently of the
// marshaller: little-endian by default, big-endian on request.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace kvnc::test {

class Wire {
 public:
  explicit Wire(bool big_endian = false) : big_endian_(big_endian) {}

  Wire &U8(uint8_t v) { return Put(v, 1); }
  Wire &U16(uint16_t v) { return Put(v, 2); }
  Wire &U32(uint32_t v) { return Put(v, 4); }
  Wire &U64(uint64_t v) { return Put(v, 8); }
  Wire &I16(int16_t v) { return Put(static_cast<uint16_t>(v), 2); }
  Wire &I32(int32_t v) { return Put(static_cast<uint32_t>(v), 4); }
  Wire &I64(int64_t v) { return Put(static_cast<uint64_t>(v), 8); }
  Wire &F64(double v) {
    uint64_t bits;
    memcpy(&bits, &v, 8);
    return Put(bits, 8);
  }
  Wire &Fill(size_t n, uint8_t v = 0) {
    bytes_.insert(bytes_.end(), n, v);
    return *this;
  }
  Wire &Raw(const std::vector<uint8_t> &more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }

  const std::vector<uint8_t> &bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  Wire &Put(uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * (big_endian_ ? n - 1 - i : i))));
    return *this;
  }
  bool big_endian_;
  std::vector<uint8_t> bytes_;
};

}  // namespace kvnc::test
