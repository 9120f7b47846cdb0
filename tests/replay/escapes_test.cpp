#include "tools/host/escapes.h"

#include <gtest/gtest.h>

#include <string>

namespace kevo::host {
namespace {

TEST(TextEscape, PrintsOddBytesAsEscapesAndReadsThemBack) {
  EXPECT_EQ(EscapeText("A \"b\" \\ \t\r\n\x01\x7F\x80\xFF"),
            "A \\\"b\\\" \\\\ \\t\\r\\n\\x01\\x7F\\x80\\xFF");
  std::string every_byte;
  for (int b = 1; b < 256; ++b) every_byte += static_cast<char>(b);
  std::string back;
  std::string error;
  ASSERT_TRUE(UnescapeText(EscapeText(every_byte), back, error)) << error;
  EXPECT_EQ(back, every_byte);
}

TEST(TextEscape, ReadsCEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a\\\\b", "a\\b"},
      {"\\\"", "\""},
      {"\\'\\?", "'?"},
      {"\\a\\b\\f\\v", "\a\b\f\v"},
      {"\\x41B", "AB"},
      {"\\x4", "\x04"},
      {"\\xc4\\xE4", "\xC4\xE4"},
      {"\\101\\7", "A\x07"},
      {"\\3770",
       "\xFF"
       "0"},
  };
  for (const auto& [body, expected] : cases) {
    std::string text;
    std::string error;
    ASSERT_TRUE(UnescapeText(body, text, error)) << body << ": " << error;
    EXPECT_EQ(text, expected) << body;
  }
}

TEST(TextEscape, RefusesZeroBytesAndBrokenEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"\\0", "zero byte"},      {"a\\x00", "zero byte"},         {"\\", "lone backslash"},
      {"\\q", "unknown escape"}, {"\\xg", "without a hex digit"}, {"\\400", "above \\377"},
  };
  for (const auto& [body, message] : cases) {
    std::string text = "kept";
    std::string error;
    EXPECT_FALSE(UnescapeText(body, text, error)) << body;
    EXPECT_NE(error.find(message), std::string::npos) << error;
    EXPECT_EQ(text, "kept");
  }
}

}  // namespace
}  // namespace kevo::host
