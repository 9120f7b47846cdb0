// The summary's and the extended log's numbers, written by hand, against printf's "%*i".
#include "text/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace kevo {
namespace {

TEST(TextFormat, AppendIntWritesWhatPrintfWrites) {
  const uint32_t values[] = {0u,          1u,          9u,          10u,
                             99999u,      100000u,     2147483647u, 2147483648u,
                             4294967295u, 4294967286u, 4294867296u, 123456789u};
  for (const int width : {0, 1, 3, 5, 11, 12}) {
    for (const uint32_t value : values) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "%*i", width,
                    static_cast<int>(static_cast<int32_t>(value)));
      std::string text = "x";
      AppendInt(&text, value, width);
      EXPECT_EQ(text, std::string("x") + expected) << value << " width " << width;
    }
  }
}

}  // namespace
}  // namespace kevo
