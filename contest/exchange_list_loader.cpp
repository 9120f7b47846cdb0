// Finding and loading the operator's exchange list file.
#include "contest/exchange_list.h"

namespace kevo {

namespace {
const char kExchangeListFile[] = "RADL.lst";
const char kPluginsFolder[] = "Plugins";
}  // namespace

bool LoadExchangeList(Platform& platform, ExchangeList* list) {
  // Only the first file that opens is read; the copy in Plugins is the fallback for hosts
  // whose working directory is the host's own folder.
  std::unique_ptr<InputFile> file = platform.OpenExclusiveForReading(kExchangeListFile);
  if (!file)
    file = platform.OpenExclusiveForReading(platform.JoinPath(kPluginsFolder, kExchangeListFile));
  if (!file) return false;
  // A read error keeps what was read before it; the reset goes on regardless.
  ReadExchangeList(*file, list);
  return true;
}

}  // namespace kevo
