// Enumeration names and the text-buffer helpers.
#include "client/hpi_names.h"

#include <gtest/gtest.h>

#include <string>

#include "client/text_buffer.h"

namespace {

// A value and its expected name; nullptr means "no name".
struct NameCase {
  SaHpiUint32T value;
  const char *name;
};

void ExpectNames(const char *(*lookup)(SaHpiUint32T), std::initializer_list<NameCase> cases) {
  for (const NameCase &c : cases) {
    SCOPED_TRACE(c.value);
    const char *got = lookup(c.value);
    if (c.name == nullptr) {
      EXPECT_EQ(got, nullptr) << got;
    } else {
      ASSERT_NE(got, nullptr);
      EXPECT_STREQ(got, c.name);
    }
  }
}

TEST(HpiNames, NamedValuesAndTheGapsAroundThem) {
  ExpectNames(SeverityName, {{0, "CRITICAL"},
                             {4, "OK"},
                             {5, nullptr},
                             {239, nullptr},
                             {240, "DEBUG"},
                             {241, nullptr},
                             {255, "ALL_SEVERITIES"},
                             {256, nullptr},
                             {0xFFFFFFFF, nullptr}});
  ExpectNames(CtrlTypeName, {{0, "DIGITAL"}, {4, "TEXT"}, {5, nullptr}, {0xC0, "OEM"}, {0xC1, nullptr}});
  ExpectNames(CtrlModeName, {{0, "AUTO"}, {1, "MANUAL"}, {2, nullptr}});
  ExpectNames(CtrlStateDigitalName, {{0, "OFF"}, {2, "PULSE_OFF"}, {3, "PULSE_ON"}, {4, nullptr}});
  ExpectNames(RdrTypeName, {{0, "NO_RECORD"}, {2, "SENSOR_RDR"}, {7, "FUMI_RDR"}, {8, nullptr}});
  ExpectNames(IdrFieldTypeName,
              {{0, "CHASSIS_TYPE"}, {9, "CUSTOM"}, {10, nullptr}, {254, nullptr}, {255, "UNSPECIFIED"}});
  ExpectNames(ReadingTypeName, {{0, "INT64"}, {3, "BUFFER"}, {4, nullptr}, {7, nullptr}});
}

TEST(TextBuffer, FromStringIsEnglishTextCutAt255AndZeroFilled) {
  const SaHpiTextBufferT short_text = TextBufferFromString("eth0");
  EXPECT_EQ(short_text.DataType, 3u);
  EXPECT_EQ(short_text.Language, 25u);
  EXPECT_EQ(short_text.DataLength, 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(short_text.Data), 4), "eth0");
  for (size_t i = 4; i < 255; ++i) ASSERT_EQ(short_text.Data[i], 0) << i;

  const SaHpiTextBufferT long_text = TextBufferFromString(std::string(300, 'x'));
  EXPECT_EQ(long_text.DataLength, 255);
  EXPECT_EQ(long_text.Data[254], 'x');

  // Data stops at a NUL, DataLength still counts the whole string.
  const SaHpiTextBufferT with_nul = TextBufferFromString(std::string("ab\0cd", 5));
  EXPECT_EQ(with_nul.DataLength, 5);
  EXPECT_EQ(with_nul.Data[1], 'b');
  EXPECT_EQ(with_nul.Data[3], 0);
  EXPECT_EQ(TextBufferToString(with_nul), std::string("ab\0\0\0", 5));
}

TEST(TextBuffer, ToStringReadsExactlyDataLengthBytes) {
  SaHpiTextBufferT buffer{};
  buffer.DataLength = 3;
  buffer.Data[0] = 'a';
  buffer.Data[1] = 0;
  buffer.Data[2] = 'c';
  buffer.Data[3] = 'd';  // past DataLength: not read
  EXPECT_EQ(TextBufferToString(buffer), std::string("a\0c", 3));
  buffer.DataLength = 255;
  EXPECT_EQ(TextBufferToString(buffer).size(), 255u);
}

}  // namespace
