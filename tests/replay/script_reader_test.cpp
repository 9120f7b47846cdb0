#include "tools/replay/inputs/script_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kevo::replay {
namespace {

TEST(ScriptReader, ReadsBareQuotedEmptyAndNullValues) {
  ScriptLine line;
  std::string error;
  ASSERT_TRUE(ParseScriptLine(
      "  add call=DL1AB band= mode=\"C W\" rcvd=\"\\x01=\\\"\" prefix=null region=\"null\"", line,
      error))
      << error;
  EXPECT_EQ(line.verb, "add");
  ASSERT_EQ(line.arguments.size(), 6u);
  EXPECT_EQ(line.arguments[0].key, "call");
  EXPECT_EQ(line.arguments[0].value, "DL1AB");
  EXPECT_EQ(line.arguments[1].value, "");
  EXPECT_EQ(line.arguments[2].value, "C W");
  EXPECT_EQ(line.arguments[3].value, "\x01=\"");
  EXPECT_FALSE(line.arguments[4].value.has_value());
  EXPECT_EQ(line.arguments[5].value, "null");
}

TEST(ScriptReader, RefusesMalformedLines) {
  const std::pair<const char*, const char*> cases[] = {
      {"add call", "key=value"},
      {"add =x", "key=value"},
      {"add call=\"DL1AB", "no closing quote"},
      {"add call=\"A\"B", "a blank must follow"},
      {"add call=A\"B\"", "a quote inside a bare value"},
      {"add call=\"\\0\"", "zero byte"},
      {"add call=A call=B", "given twice"},
      {"=add", "command word"},
      {"ad-d x=1", "command word"},
  };
  for (const auto& [text, message] : cases) {
    ScriptLine line;
    std::string error;
    EXPECT_FALSE(ParseScriptLine(text, line, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
  }
}

TEST(ScriptReader, SkipsCommentsAndBlankLinesAndKeepsLineNumbers) {
  Script script = ParseScript(
      "# comment\r\n\r\n  reset\r\nadd call=\"x\n   # indented comment\n"
      "result");
  ASSERT_EQ(script.lines.size(), 2u);
  EXPECT_EQ(script.lines[0].line, 3u);
  EXPECT_EQ(script.lines[0].verb, "reset");
  EXPECT_EQ(script.lines[1].line, 6u);
  ASSERT_EQ(script.errors.size(), 1u);
  EXPECT_EQ(script.errors[0].line, 4u);
}

}  // namespace
}  // namespace kevo::replay
