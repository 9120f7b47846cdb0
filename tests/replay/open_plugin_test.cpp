// The start-up both tools share: the user's relative names read from the folder the program
// started in, the exchange list copied into the library's folder, and a failed step leaving
// the process where it was.
#include "tools/host/open_plugin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kevo::host {
namespace {

namespace fs = std::filesystem;

// A fresh folder to start in, and the way back to where the test runner was.
class OpenPluginTest : public testing::Test {
 protected:
  void SetUp() override {
    original_ = fs::current_path();
    base_ = fs::temp_directory_path() /
            ("kevo-open-plugin-" +
             std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(base_);
    fs::create_directories(base_);
    fs::current_path(base_);
  }
  void TearDown() override {
    fs::current_path(original_);
    fs::remove_all(base_);
  }

  fs::path original_;
  fs::path base_;
};

TEST_F(OpenPluginTest, EntersTheWorkdirWithTheExchangeListAndLeaves) {
  ASSERT_TRUE(WriteWholeFile("list.txt", "DL 12\n"));
  HostOptions options;
  options.library = KEVO_PLUGIN_PATH;
  options.exchange_list = "list.txt";  // relative: read before the move
  options.workdir = "wd";
  std::string error;
  {
    OpenedPlugin opened;
    ASSERT_TRUE(OpenPlugin(options, "", opened, error)) << error;
    EXPECT_EQ(opened.path, KEVO_PLUGIN_PATH);
    EXPECT_NE(opened.entries().ResetStats0, nullptr);
    EXPECT_EQ(fs::current_path(), fs::canonical(base_ / "wd"));
    std::string copied;
    ASSERT_TRUE(ReadWholeFile("RADL.lst", copied, error)) << error;
    EXPECT_EQ(copied, "DL 12\n");
    opened.Leave();
    EXPECT_EQ(fs::current_path(), fs::canonical(base_));
  }
  EXPECT_TRUE(fs::exists(base_ / "wd" / "RADL.lst"));  // a folder given is kept
}

TEST_F(OpenPluginTest, ATemporaryFolderGoesWithIt) {
  HostOptions options;
  options.library = KEVO_PLUGIN_PATH;
  std::string error;
  fs::path temporary;
  {
    OpenedPlugin opened;
    ASSERT_TRUE(OpenPlugin(options, "", opened, error)) << error;
    temporary = opened.workdir.path();
    EXPECT_TRUE(opened.workdir.temporary());
    EXPECT_FALSE(fs::exists("RADL.lst"));  // no list given, none written
  }
  EXPECT_EQ(fs::current_path(), fs::canonical(base_));
  EXPECT_FALSE(fs::exists(temporary));
}

TEST_F(OpenPluginTest, AFailedStepSaysWhyAndStaysPut) {
  ASSERT_TRUE(WriteWholeFile("a-file", "x"));
  struct Case {
    std::string library;
    std::string exchange_list;
    std::string workdir;
    std::string error;  // how the message starts
  };
  const Case cases[] = {
      {KEVO_PLUGIN_PATH, "no-such-list", "", "cannot read no-such-list"},
      {"no-such-library.so", "", "", "cannot use the library no-such-library.so: "},
      {"", "", "", "cannot use the library " + DefaultPluginPath("")},  // not beside the test
      {KEVO_PLUGIN_PATH, "", "a-file", "cannot use a-file as working directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    HostOptions options;
    options.library = c.library;
    options.exchange_list = c.exchange_list;
    options.workdir = c.workdir;
    OpenedPlugin opened;
    std::string error;
    EXPECT_FALSE(OpenPlugin(options, "", opened, error));
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(fs::current_path(), fs::canonical(base_));
  }
}

}  // namespace
}  // namespace kevo::host
