#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "front/text_helpers.h"

namespace kvnc {
namespace {

using Tokens = std::vector<std::string>;

TEST(SplitTokens, CutsAtSeparatorsAndSkipsLeadingBlanks) {
  EXPECT_EQ(SplitTokens("a,b c"), (Tokens{"a", "b", "c"}));
  EXPECT_EQ(SplitTokens("  admin;\toperator\nviewer  "), (Tokens{"admin", "operator", "viewer"}));
  EXPECT_EQ(SplitTokens("a,,b"), (Tokens{"a", "", "b"}));   // two separators that are not both blanks
  EXPECT_EQ(SplitTokens("a, ,b"), (Tokens{"a", "", "b"}));  // blank skipped, then the comma ends an empty token
  EXPECT_EQ(SplitTokens("a  b"), (Tokens{"a", "b"}));       // blanks in a row: no empty token
  EXPECT_EQ(SplitTokens("a,"), (Tokens{"a"}));              // a trailing separator gives none
  EXPECT_EQ(SplitTokens(";a"), (Tokens{"", "a"}));
  EXPECT_EQ(SplitTokens(""), Tokens{});
  EXPECT_EQ(SplitTokens(" \t\n"), Tokens{});
}

// True when the `size` bytes at `p` are all zero.
bool AllZero(const char *p, size_t size) {
  return std::all_of(p, p + size, [](char c) { return c == '\0'; });
}

TEST(WipeString, ZeroesTheWholeBufferInPlace) {
  // A short content over a longer one: the old bytes past the size are in
  // the buffer too.
  std::string text(100, 'p');
  text = "secret";
  const char *buffer = text.data();
  const size_t capacity = text.capacity();
  ASSERT_GE(capacity, 100u);
  WipeString(text);
  EXPECT_EQ(text.data(), buffer) << "wiped where it lies, not moved";
  EXPECT_TRUE(text.empty());
  EXPECT_TRUE(AllZero(buffer, capacity));

  std::string small = "pw";  // kept inside the string object itself
  const char *inside = small.data();
  const size_t small_capacity = small.capacity();
  WipeString(small);
  EXPECT_TRUE(AllZero(inside, small_capacity));
}

TEST(WipeSecrets, WipesThePasswordMembersOfPrmOnly) {
  nlohmann::json request = {{"FN", 0},
                            {"PWD", "outside PRM"},
                            {"PRM",
                             {{"USER", "admin"},
                              {"PWD", "admin-secret-that-is-long"},
                              {"OLDPWD", "old-secret"},
                              {"NEWPWD", "new-secret"},
                              {"PDW", "typo-secret"},
                              {"bindps", "directory-secret"},
                              {"SNMP", {{"APP", "auth-phrase"}, {"PPP", "privacy-phrase"}, {"AP", "kept"}}},
                              {"NESTED", {{"PWD", "deeper"}}}}}};
  nlohmann::json &prm = request["PRM"];
  struct Kept {
    const char *buffer;
    size_t capacity;
  };
  std::vector<Kept> kept;
  const std::vector<nlohmann::json::json_pointer> secrets = {
      "/PWD"_json_pointer,    "/OLDPWD"_json_pointer,   "/NEWPWD"_json_pointer,  "/PDW"_json_pointer,
      "/bindps"_json_pointer, "/SNMP/APP"_json_pointer, "/SNMP/PPP"_json_pointer};
  for (const auto &pointer : secrets) {
    std::string &value = prm[pointer].get_ref<std::string &>();
    kept.push_back({value.data(), value.capacity()});
  }
  WipeSecrets(request);
  for (const auto &pointer : secrets) EXPECT_EQ(prm[pointer], "") << pointer;
  for (const Kept &k : kept) EXPECT_TRUE(AllZero(k.buffer, k.capacity));
  EXPECT_EQ(prm["USER"], "admin");
  EXPECT_EQ(prm["SNMP"]["AP"], "kept");
  EXPECT_EQ(prm["NESTED"]["PWD"], "deeper");  // only PRM's own members carry passwords
  EXPECT_EQ(request["PWD"], "outside PRM");

  // Anything else is left alone.
  for (nlohmann::json other : {nlohmann::json::parse(R"({"PRM":{"PWD":5}})"), nlohmann::json::parse(R"({"PRM":[1]})"),
                               nlohmann::json::parse("[1]"), nlohmann::json()}) {
    const nlohmann::json before = other;
    WipeSecrets(other);
    EXPECT_EQ(other, before);
  }
}

}  // namespace
}  // namespace kvnc
