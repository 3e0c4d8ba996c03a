#include "front/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace kvnc {
namespace {

using std::string_literals::operator""s;

// Expected texts worked out by hand from the bit groups.
TEST(Base64Encode, PadsToWholeGroupsOfFour) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("M"), "TQ==");    // 010011|01 0000: one byte, two pads
  EXPECT_EQ(Base64Encode("Ma"), "TWE=");   // 010011|010110|0001 00: two bytes, one pad
  EXPECT_EQ(Base64Encode("Man"), "TWFu");  // a whole group, no pad
  EXPECT_EQ(Base64Encode("Many"), "TWFueQ==");
  EXPECT_EQ(Base64Encode("Many."), "TWFueS4=");
  EXPECT_EQ(Base64Encode("Many.."), "TWFueS4u");
}

TEST(Base64Encode, EncodesEveryByteValueWithTheStandardAlphabet) {
  EXPECT_EQ(Base64Encode("\0"s), "AA==");
  EXPECT_EQ(Base64Encode("\0\0\0"s), "AAAA");
  EXPECT_EQ(Base64Encode("\xff"), "/w==");  // 111111|11 0000
  EXPECT_EQ(Base64Encode("\xff\xff\xff"), "////");
  EXPECT_EQ(Base64Encode("\xfb\xef\xbe"), "++++");  // 111110 repeated: '+' is 62
  EXPECT_EQ(Base64Encode("\x00\x10\x83\x10\x51\x87"s), "ABCDEFGH");
  // No line breaks, however long the input.
  const std::string encoded = Base64Encode(std::string(3000, 'x'));
  EXPECT_EQ(encoded.size(), 4000U);
  EXPECT_EQ(encoded.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace kvnc
