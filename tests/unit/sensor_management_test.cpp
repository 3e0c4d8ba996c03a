// The encoders of the sensor management pages: user type state names in two
// text buffers and back, log entries and their time stamps.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <cmath>
#include <cstring>
#include <string>

#include "api/monitor/sensor_management.h"
#include "client/text_buffer.h"

namespace kvnc {
namespace {

std::string Bytes(const SaHpiTextBufferT &b) {
  return std::string(reinterpret_cast<const char *>(b.Data), sizeof b.Data);
}

TEST(SplitStateNames, FirstBufferTakes255BytesTheSecond255MoreTheRestIsCut) {
  const StateNameBuffers two = SplitStateNames("Open\nClosed");
  EXPECT_EQ(two.first.DataType, SAHPI_TL_TYPE_TEXT);
  EXPECT_EQ(two.first.Language, SAHPI_LANG_ENGLISH);
  EXPECT_EQ(two.first.DataLength, 11);
  EXPECT_EQ(Bytes(two.first), std::string("Open\nClosed") + std::string(244, '\0'));
  EXPECT_EQ(two.second.DataLength, 0);
  EXPECT_EQ(Bytes(two.second), std::string(255, '\0'));

  std::string joined;
  for (int i = 0; i < 600; ++i) joined += static_cast<char>('a' + i % 26);
  const struct {
    size_t length, first, second;
  } cases[] = {{255, 255, 0}, {256, 255, 1}, {300, 255, 45}, {510, 255, 255}, {600, 255, 255}};
  for (const auto &c : cases) {
    const StateNameBuffers b = SplitStateNames(joined.substr(0, c.length));
    EXPECT_EQ(b.first.DataLength, c.first) << c.length;
    EXPECT_EQ(b.second.DataLength, c.second) << c.length;
    EXPECT_EQ(TextBufferToString(b.first) + TextBufferToString(b.second), joined.substr(0, c.first + c.second));
  }
  EXPECT_EQ(SplitStateNames("").first.DataLength, 0);
}

TEST(UserTypeStatesJson, NamesSplitAtNewlinesArePairedWithSeverities) {
  SaHpiSeverityT values[] = {4, 1, 0};
  const KvnSeverityListT three{3, values};
  // A name may cross from the first buffer into the second.
  EXPECT_EQ(UserTypeStatesJson(TextBufferFromString("Clo"), TextBufferFromString("sed\nOpen\n"), three),
            json::parse(R"([{"name":"Closed","state":0,"svrt":4},{"name":"Open","state":1,"svrt":1},)"
                        R"({"name":"","state":2,"svrt":0}])"));
  // Names cut short by the 510 bytes: only the states that still have one.
  EXPECT_EQ(UserTypeStatesJson(TextBufferFromString("A\nB"), TextBufferFromString(""), three).size(), 2u);
  // More names than severities: the extra ones are no states.
  const KvnSeverityListT one{1, values};
  EXPECT_EQ(UserTypeStatesJson(TextBufferFromString("A\nB"), TextBufferFromString(""), one),
            json::parse(R"([{"name":"A","state":0,"svrt":4}])"));
  EXPECT_EQ(UserTypeStatesJson(TextBufferFromString(""), TextBufferFromString(""), three), json::array());
  EXPECT_EQ(UserTypeStatesJson(TextBufferFromString("A"), TextBufferFromString(""), KvnSeverityListT{0, nullptr}),
            json::array());
}

TEST(SensorLogEntryJson, FieldsByKeyNonFiniteAsNullAndLocalTime) {
  const KvnSensorLogEntryT entry{0, 10, 2, 21.5, NAN, INFINITY, 0.25, 0x30};
  EXPECT_EQ(SensorLogEntryJson(7, "t", entry).dump(),
            R"({"AES":48,"AVR":21.5,"DSP":0.25,"ESC":2,"ID":7,"MAX":null,"MIN":null,"RC":10,"TS":"t"})");

  const char *saved = getenv("TZ");
  const std::string old = saved != nullptr ? saved : "";
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(SensorLogTimeText(1700000000999999999LL), "Tue Nov 14 22:13:20 2023");  // whole seconds
  setenv("TZ", "CET-1", 1);
  tzset();
  EXPECT_EQ(SensorLogTimeText(1700000000000000000LL), "Tue Nov 14 23:13:20 2023");
  if (saved != nullptr) {
    setenv("TZ", old.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace
}  // namespace kvnc
