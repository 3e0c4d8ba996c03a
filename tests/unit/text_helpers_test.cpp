#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kvnc
