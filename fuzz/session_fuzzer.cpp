// Drives the plug-in through its exported C entries as a host would, one fuzzed call after
// another, and checks after each call what must hold whatever the input: see the ops below.
// The plug-in's state is global; each input starts with a reset, so inputs stay independent.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "exchange_model.h"
#include "fuzz_input.h"
#include "session_model.h"

namespace kevo_fuzz {
namespace {

const char kExtLog[] = "ExtLog.txt";

struct Qso {
  Text call, mode, sent, rcvd, prefix, region, band;
  DateTime time;

  ModelQso Model() const {
    ModelQso m{call.stored(), band.stored(),   mode.stored(),   sent.stored(),
               rcvd.stored(), prefix.stored(), region.stored(), {}};
    m.time = time.null_pointer ? COleDateTime{0.0, 2} : time.value;
    return m;
  }
};

Qso ReadQso(ByteStream& in) {
  Qso q;
  q.call = ReadText(in);
  q.band = ReadText(in);
  q.mode = ReadText(in);
  q.time = ReadDateTime(in);
  q.rcvd = ReadText(in);
  q.sent = ReadText(in);
  q.prefix = ReadText(in);
  q.region = ReadText(in);
  return q;
}

// The same contact as a stored one, reported again with other exchanges.
Qso QsoLike(const ModelQso& stored, ByteStream& in) {
  Qso q = ReadQso(in);
  q.call = Text{false, stored.call};
  q.band = Text{false, stored.band};
  q.mode = Text{false, stored.mode};
  q.time.null_pointer = false;
  q.time.value = stored.time;
  return q;
}

void Add(const Qso& q) {
  int32_t result =
      AddData0("p1", q.call.get(), q.time.get(), nullptr, nullptr, nullptr, 7, 8, q.mode.get(),
               "p10", "p11", q.sent.get(), q.rcvd.get(), nullptr, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr, nullptr, nullptr, q.prefix.get(), 24, 25, 26, 27.0, 28.0,
               nullptr, q.region.get(), nullptr, q.band.get(), nullptr);
  KEVO_FUZZ_CHECK(result == 1, "AddData0 returns 1");
}

void Remove(const Qso& q) {
  int32_t result =
      RemoveData0(nullptr, q.call.get(), q.time.get(), nullptr, nullptr, nullptr, 0, 0,
                  q.mode.get(), nullptr, nullptr, q.sent.get(), q.rcvd.get(), nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, q.prefix.get(), 0,
                  0, 0, 0.0, 0.0, nullptr, q.region.get(), nullptr, q.band.get(), nullptr);
  KEVO_FUZZ_CHECK(result == 1, "RemoveData0 returns 1");
}

// Writes "ExtLog.txt", checks it against the model and hands its bytes back.
std::string WriteAndCheckExtLog(SessionModel& model, const Text& argument) {
  const char* result = RunCommand0(0, argument.get());
  KEVO_FUZZ_CHECK(result != nullptr && *result == '\0', "RunCommand0 returns the empty text");
  std::string bytes;
  KEVO_FUZZ_CHECK(ReadFile(kExtLog, &bytes), "command 0 writes ExtLog.txt");
  CheckExtLog(model, bytes, argument.get());
  model.NormalizeAll();
  return bytes;
}

// Twice, so that one-letter exchanges are rewritten and the second file is stable.
std::string StableExtLog(SessionModel& model) {
  WriteAndCheckExtLog(model, Text{false, "ARG"});
  return WriteAndCheckExtLog(model, Text{false, "ARG"});
}

void WriteFileOrRemove(const char* path, bool present, const std::string& bytes) {
  ::unlink(path);
  if (!present) return;
  std::FILE* file = std::fopen(path, "wb");
  KEVO_FUZZ_CHECK(file != nullptr, "exchange list file can be written");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

void Reset(SessionModel& model, ByteStream& in) {
  uint8_t files = in.Byte();
  std::string main_list = (files & 1) ? in.Bytes(in.U16() % 4096) : std::string();
  std::string plugins_list = (files & 2) ? in.Bytes(in.U16() % 4096) : std::string();
  WriteFileOrRemove("RADL.lst", files & 1, main_list);
  WriteFileOrRemove("Plugins/RADL.lst", files & 2, plugins_list);
  int32_t no_rates = (files & 4) ? ReadInt(in) : 0;
  int32_t own_number = ReadInt(in);
  Text own_region = ReadText(in);
  COleDateTime start{45000.0, 0};
  int32_t result = ResetStats0("p1", no_rates, nullptr, &start, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16,
                               own_number, 18, 19.0, 20.0, nullptr, own_region.get(), nullptr);
  KEVO_FUZZ_CHECK(result == 1, "ResetStats0 returns 1");
  // Only the first file that exists is read.
  const std::string& read = (files & 1) ? main_list : plugins_list;
  model.Reset(no_rates, (files & 3) ? ModelExchangeList(read) : decltype(ModelExchangeList("")){});
}

void Summary(SessionModel& model, bool with_score) {
  int32_t score = 0x5A5A5A5A;
  const char* text = SummaryBesideFullWalk(with_score ? &score : nullptr);
  std::string first(text);
  CheckSummary(model, first, with_score, score);
  model.NormalizeSummaryScored();
  // The rewrite of one-letter exchanges is done now: a second summary is the same text.
  const char* again = SummaryBesideFullWalk(nullptr);
  CheckSummary(model, again, false, 0);
  std::string second(again);
  KEVO_FUZZ_CHECK(std::string(GetResult0(nullptr)) == second, "summary stable after a pass");
}

}  // namespace

void CheckCallOp(SessionModel& model, ByteStream& in, std::size_t buffer_size,
                 const ModelQso* like);

}  // namespace kevo_fuzz

using namespace kevo_fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Corpus folders and input files named on the command line stay valid after the change of
  // working folder below: they are made absolute first (and kept for the whole run).
  for (int i = 1; i < *argc; ++i) {
    char* arg = (*argv)[i];
    if (arg[0] == '-' || arg[0] == '/') continue;
    char* absolute = ::realpath(arg, nullptr);
    if (absolute != nullptr) (*argv)[i] = absolute;
  }
  // One working folder per process for the whole run, made under KEVO_FUZZ_WORKDIR when it
  // is set (the scripts remove that afterwards), else in memory where possible: the plug-in
  // names its files relative to it.
  const char* parent = std::getenv("KEVO_FUZZ_WORKDIR");
  std::string pattern = std::string(parent ? parent : "/dev/shm") + "/kevo-fuzz-session-XXXXXX";
  char* folder = ::mkdtemp(pattern.data());
  if (folder == nullptr && parent == nullptr) {
    pattern = "/tmp/kevo-fuzz-session-XXXXXX";
    folder = ::mkdtemp(pattern.data());
  }
  if (folder == nullptr || ::chdir(folder) != 0) std::abort();
  ::mkdir("Plugins", 0755);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteStream in(data, size);
  SessionModel model;
  Reset(model, in);
  // Room for any text the call check can write: every text comes from this input.
  const std::size_t buffer_size = size + 64;
  for (int op = 0; op < 256 && !in.empty(); ++op) {
    switch (in.Byte() % 11) {
      case 0:
        Reset(model, in);
        break;
      case 1: {  // a new report, or a repeat that must leave the log as it was
        Qso q = ReadQso(in);
        Add(q);
        model.Add(q.Model());
        break;
      }
      case 2: {
        Qso q = ReadQso(in);
        Remove(q);
        model.Remove(q.Model());
        break;
      }
      case 3: {  // the second report of a stored contact changes nothing
        if (model.size() == 0) break;
        const ModelQso stored = model.at(in.Byte() % model.size());
        Qso again = QsoLike(stored, in);
        // A NaN day count equals nothing, not even itself: such a contact is never found.
        bool findable = model.Find(stored) != model.size();
        std::string before = findable ? StableExtLog(model) : std::string();
        Add(again);
        KEVO_FUZZ_CHECK(model.Add(again.Model()) != findable, "a stored contact is found again");
        if (findable)
          KEVO_FUZZ_CHECK(WriteAndCheckExtLog(model, Text{false, "ARG"}) == before,
                          "a repeated AddData0 leaves the log unchanged");
        break;
      }
      case 4: {  // removing a stored contact, reported with other exchanges
        if (model.size() == 0) break;
        const ModelQso stored = model.at(in.Byte() % model.size());
        Qso q = QsoLike(stored, in);
        bool findable = model.Find(stored) != model.size();
        Remove(q);
        KEVO_FUZZ_CHECK(model.Remove(q.Model()) == findable, "a stored contact can be removed");
        break;
      }
      case 5: {  // add then remove of a new contact restores the log
        Qso q = ReadQso(in);
        // Only a contact that equals itself (no NaN day count) can be removed again.
        const ModelQso m = q.Model();
        bool is_new = model.Find(m) == model.size() && m.time.m_dt == m.time.m_dt;
        std::string before = is_new ? StableExtLog(model) : std::string();
        Add(q);
        model.Add(q.Model());
        Remove(q);
        model.Remove(q.Model());
        if (is_new)
          KEVO_FUZZ_CHECK(WriteAndCheckExtLog(model, Text{false, "ARG"}) == before,
                          "RemoveData0 undoes AddData0");
        break;
      }
      case 6:
        CheckCallOp(model, in, buffer_size, nullptr);
        break;
      case 7:
        if (model.size() == 0) break;
        CheckCallOp(model, in, buffer_size, &model.at(in.Byte() % model.size()));
        break;
      case 8:
        Summary(model, in.Byte() & 1);
        break;
      case 9: {
        int32_t command = ReadInt(in);
        Text argument = ReadText(in);
        if (command == 0) {
          WriteAndCheckExtLog(model, argument);
          break;
        }
        std::string before, after;
        bool existed = ReadFile(kExtLog, &before);
        const char* result = RunCommand0(command, argument.get());
        KEVO_FUZZ_CHECK(result != nullptr && *result == '\0', "other commands: empty text");
        KEVO_FUZZ_CHECK(ReadFile(kExtLog, &after) == existed && after == before,
                        "other commands write nothing");
        break;
      }
      default: {
        int32_t index = ReadInt(in);
        const char* name = GetSetName(index);
        KEVO_FUZZ_CHECK(name != nullptr && std::string(name) == (index == 0 ? "KEVO" : ""),
                        "GetSetName");
        KEVO_FUZZ_CHECK(GetNumberOfSets() == 1, "GetNumberOfSets");
        KEVO_FUZZ_CHECK(GetExchgCount0(nullptr, "x", nullptr) == 1, "GetExchgCount0");
        KEVO_FUZZ_CHECK(IsValidExchg0(nullptr, nullptr, "x", nullptr, index, 0, -1) == 0,
                        "IsValidExchg0");
        break;
      }
    }
    CheckSummaryOfCopy();
  }
  // Whatever happened, the log holds what the model holds.
  WriteAndCheckExtLog(model, Text{true, {}});
  return 0;
}
