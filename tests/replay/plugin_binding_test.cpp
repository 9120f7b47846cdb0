// The built plug-in loaded through the tool's own loader: every entry resolves by both of its
// export names, and both sets of entries work.
#include "tools/replay/plugin_binding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/replay/entry_calls.h"

namespace kevo::replay {
namespace {

TEST(PluginBinding, EveryEntryResolvesByBothNames) {
  std::string error;
  std::unique_ptr<SharedLibrary> library = OpenSharedLibrary(KEVO_PLUGIN_PATH, error);
  ASSERT_TRUE(library) << error;
  for (std::size_t i = 0; i < static_cast<std::size_t>(Entry::kCount); ++i) {
    const EntryName& name = NameOf(static_cast<Entry>(i));
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
    EXPECT_STREQ(e.get_set_name(0), "KEVO");
    EXPECT_EQ(e.get_number_of_sets(), 1);
    EXPECT_EQ(e.get_exchg_count(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(e.is_valid_exchg(nullptr, nullptr, nullptr, nullptr, 0, 0, 0), 0);
    QsoArguments qso;
    qso.call = "DL1AB";
    qso.band = "20";
    qso.mode = "CW";
    qso.received = "7";
    EXPECT_EQ(CallAdd(e, qso), 1);
    std::int32_t score = 0;
    const char* summary = e.get_result(&score);
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
  EXPECT_EQ(entries.get_set_name, nullptr);
}

}  // namespace
}  // namespace kevo::replay
