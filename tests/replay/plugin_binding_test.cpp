// The built plug-in loaded through the tool's own loader: every entry resolves by both of its
// export names, and both sets of entries work; the call check's guarded buffers.
#include "tools/host/plugin_binding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kevo::host {
namespace {

TEST(PluginBinding, EveryEntryResolvesByBothNames) {
  std::string error;
  std::unique_ptr<SharedLibrary> library = OpenSharedLibrary(KEVO_PLUGIN_PATH, error);
  ASSERT_TRUE(library) << error;
  for (const EntryName& name : kEntryNames) {
    void* plain = library->FindSymbol(name.plain);
    void* decorated = library->FindSymbol(name.decorated);
    EXPECT_NE(plain, nullptr) << name.plain;
    EXPECT_NE(decorated, nullptr) << name.decorated;
  }
}

TEST(PluginBinding, TheResolvedEntriesWorkAsAHostCallsThem) {
  for (NameStyle style : {NameStyle::kPlain, NameStyle::kDecorated}) {
    LoadedPlugin plugin;
    std::string error;
    ASSERT_TRUE(LoadPlugin(KEVO_PLUGIN_PATH, style, plugin, error)) << error;
    const EntryPoints& e = plugin.entries;
    EXPECT_STREQ(e.GetSetName(0), "KEVO");
    EXPECT_EQ(e.GetNumberOfSets(), 1);
    EXPECT_EQ(e.GetExchgCount0(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(e.IsValidExchg0(nullptr, nullptr, nullptr, nullptr, 0, 0, 0), 0);
    QsoArguments qso;
    qso.call = "DL1AB";
    qso.band = "20";
    qso.mode = "CW";
    qso.received = "7";
    EXPECT_EQ(CallAdd(e, qso), 1);
    std::int32_t score = 0;
    const char* summary = e.GetResult0(&score);
    ASSERT_NE(summary, nullptr);
    EXPECT_NE(std::strstr(summary, "Total\t1\t"), nullptr) << summary;
    EXPECT_EQ(CallRemove(e, qso), 1);
  }
}

TEST(PluginBinding, ReportsWhatIsMissingOrUnloadable) {
  std::string error;
  LoadedPlugin plugin;
  EXPECT_FALSE(LoadPlugin("/no/such/StatsKEVO.so", NameStyle::kPlain, plugin, error));
  EXPECT_FALSE(error.empty());

  class EmptyLibrary : public SharedLibrary {
   public:
    void* FindSymbol(const char* name) override {
      return std::strcmp(name, "GetSetName") == 0 ? this : nullptr;
    }
  } empty;
  EntryPoints entries;
  EXPECT_FALSE(ResolveEntries(empty, NameStyle::kPlain, entries, error));
  EXPECT_NE(error.find("GetNumberOfSets"), std::string::npos);
  EXPECT_EQ(error.find("GetSetName,"), std::string::npos);
  EXPECT_EQ(entries.GetSetName, nullptr);
}

TEST(CheckBuffer, TellsUnwrittenWrittenAndOverrunApart) {
  CheckBuffer untouched(16, std::nullopt);
  EXPECT_FALSE(untouched.Changed());
  EXPECT_TRUE(untouched.GuardIntact());
  EXPECT_FALSE(untouched.Text().has_value());

  CheckBuffer initial(4, std::string("old text"));  // the room grows to hold the initial text
  EXPECT_EQ(initial.Text(), "old text");
  std::strcpy(initial.data(), "old text");  // the same bytes again: not a change
  EXPECT_FALSE(initial.Changed());
  std::strcpy(initial.data(), "15");
  EXPECT_TRUE(initial.Changed());
  EXPECT_EQ(initial.Text(), "15");

  CheckBuffer small(8, std::nullopt);
  std::memset(small.data(), 'x', 9);
  EXPECT_FALSE(small.GuardIntact());
  EXPECT_FALSE(small.Text().has_value());
}

TEST(CheckBuffer, RoomCoversEveryTextTheCheckCanWrite) {
  // "-2147483648?" and its zero byte; "KV" + three-letter prefix + "?".
  EXPECT_GE(HintRoom(0, 0), 13u);
  // A one-byte exchange may come back as two bytes after the scoring passes.
  EXPECT_GE(HintRoom(1, 0), 3u);
  EXPECT_GE(HintRoom(100, 0), 103u);
  EXPECT_GE(HintRoom(0, 5000), 5001u);
  // "CALL: QSO BEFORE at HH:MM" with its zero byte.
  EXPECT_GE(DupeMessageRoom(40), 40u + 16u + 5u + 1u);
}

}  // namespace
}  // namespace kevo::host
