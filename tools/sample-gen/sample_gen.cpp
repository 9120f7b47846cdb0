// Makes the bundled sample: a synthetic 24-hour KEVO contest log of a few hundred contacts on
// six bands in CW and SSB, with a few duplicates, written as ADIF (contest.adi) and Cabrillo
// (contest.cbr), plus the operator's exchange list (RADL.lst).
//
// Usage: kevo-sample-gen OUTPUT_FOLDER
//
// Everything comes from one fixed seed and integer arithmetic only, so every platform writes the
// same bytes; the files in samples/ are this program's output and a test checks that they still
// are.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kSeed = 20260314;
constexpr int kContacts = 420;
constexpr int kDuplicates = 6;
constexpr const char* kOwnCall = "OE1KEV";

// splitmix64: small, fast and the same everywhere, unlike the standard distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
  bool Percent(int chance) { return Below(100) < chance; }

 private:
  std::uint64_t state_;
};

struct Country {
  const char* prefix;
  bool member;                       // member stations send "KV" and their country prefix
  std::vector<const char*> regions;  // empty: the log carries no region for this country
  std::vector<int> numbers;          // what non-members send: district or zone numbers
  int weight;
};

const std::vector<Country> kCountries = {
    {"OE",
     false,
     {"W", "W", "W", "NO", "OO", "ST", "K", "S", "T", "V", "B"},
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 12},
     14},
    {"DL", true, {"BY", "BW", "NW", "HE", "SN", "BE"}, {14}, 16},
    {"OK", true, {}, {15}, 7},
    {"OM", true, {}, {15}, 4},
    {"HA", true, {}, {15}, 6},
    {"S5", true, {}, {15}, 4},
    {"9A", true, {}, {15}, 5},
    {"SP", true, {"MZ", "SL"}, {15}, 7},
    {"YO", true, {}, {20}, 4},
    {"LZ", true, {}, {20}, 3},
    {"UR", true, {}, {16}, 4},
    {"HB", true, {}, {14}, 3},
    {"I", true, {"MI", "RM"}, {15}, 5},
    {"YU", true, {}, {15}, 3},
    {"G", false, {}, {14, 27}, 5},
    {"F", false, {}, {14}, 4},
    {"EA", false, {}, {37}, 3},
    {"ON", false, {}, {14}, 3},
    {"PA", false, {}, {14}, 3},
    {"SM", false, {}, {18}, 3},
    {"OH", false, {}, {18}, 2},
    {"K", false, {"CA", "TX", "NY", "FL", "OH"}, {3, 4, 5, 8}, 5},
    {"JA", false, {}, {25}, 2},
    {"VE", false, {"ON", "QC"}, {4, 9}, 2},
};

struct Station {
  std::string call;
  std::string wpx_prefix;
  std::string region;
  std::string exchange;
  std::string name;  // a few carry an operator name with non-ASCII letters
};

struct BandInfo {
  const char* adif;
  const char* cabrillo_band;
  int cw_khz;   // start of the CW segment used here
  int ssb_khz;  // start of the SSB segment used here
};

const BandInfo kBands[] = {
    {"160m", "160", 1810, 1840}, {"80m", "80", 3510, 3700},   {"40m", "40", 7005, 7080},
    {"20m", "20", 14010, 14150}, {"15m", "15", 21010, 21200}, {"10m", "10", 28010, 28400},
};

// Which bands are open at an hour of the day (UTC), as weights per band of kBands.
std::vector<int> BandWeights(int hour) {
  bool night = hour >= 18 || hour < 6;
  if (night) return {3, 6, 6, 2, 0, 0};
  bool midday = hour >= 10 && hour < 16;
  return midday ? std::vector<int>{0, 1, 3, 6, 5, 4} : std::vector<int>{0, 2, 5, 6, 3, 1};
}

int Pick(Random& random, const std::vector<int>& weights) {
  int total = 0;
  for (int w : weights) total += w;
  int roll = random.Below(total);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    if (roll < weights[i]) return static_cast<int>(i);
    roll -= weights[i];
  }
  return 0;
}

std::string Letters(Random& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('A' + random.Below(26));
  return text;
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::vector<Station> MakeStations(Random& random) {
  static const char* const kNames[] = {"J\xC3\xB6rg", "Ren\xC3\xA9", "Zolt\xC3\xA1n",
                                       "Ji\xC5\x99\xC3\xAD", "Bj\xC3\xB6rn"};
  std::vector<int> weights;
  for (const Country& country : kCountries) weights.push_back(country.weight);
  std::vector<Station> stations;
  std::set<std::string> calls = {kOwnCall};
  while (stations.size() < 260) {
    const Country& country = kCountries[static_cast<std::size_t>(Pick(random, weights))];
    Station station;
    station.wpx_prefix = std::string(country.prefix) + static_cast<char>('1' + random.Below(9));
    station.call = station.wpx_prefix + Letters(random, 2 + random.Below(2));
    if (!calls.insert(station.call).second) continue;
    if (!country.regions.empty()) {
      station.region = country.regions[static_cast<std::size_t>(
          random.Below(static_cast<int>(country.regions.size())))];
    }
    if (country.member && random.Percent(45)) {
      station.exchange = std::string("KV") + country.prefix;
    } else {
      int number = country.numbers[static_cast<std::size_t>(
          random.Below(static_cast<int>(country.numbers.size())))];
      // Some operators send a one-digit district as it is, some with a leading zero.
      station.exchange =
          number < 10 && random.Percent(50) ? std::to_string(number) : TwoDigits(number);
    }
    if (random.Percent(4)) station.name = kNames[random.Below(5)];
    stations.push_back(station);
  }
  return stations;
}

struct Contact {
  int minute;  // since the contest start, 2026-03-14 12:00 UTC
  int second;
  int band;
  bool cw;
  int khz;
  int serial;
  const Station* station;
};

std::vector<Contact> MakeContacts(Random& random, const std::vector<Station>& stations) {
  std::set<int> minutes;
  while (static_cast<int>(minutes.size()) < kContacts) minutes.insert(random.Below(24 * 60));
  std::vector<Contact> contacts;
  std::set<std::string> worked;  // call, band and mode already in the log
  int serial = 0;
  int duplicates_left = kDuplicates;
  for (int minute : minutes) {
    int hour = (12 + minute / 60) % 24;
    Contact contact{};
    contact.minute = minute;
    contact.second = random.Below(60);
    bool duplicate = duplicates_left > 0 && contacts.size() > 40 && random.Percent(3);
    if (duplicate) {
      // The operator logs a station again on the same band and mode.
      const Contact& earlier =
          contacts[static_cast<std::size_t>(random.Below(static_cast<int>(contacts.size())))];
      contact.band = earlier.band;
      contact.cw = earlier.cw;
      contact.station = earlier.station;
      --duplicates_left;
    } else {
      for (;;) {
        contact.band = Pick(random, BandWeights(hour));
        contact.cw = random.Percent(60);
        contact.station =
            &stations[static_cast<std::size_t>(random.Below(static_cast<int>(stations.size())))];
        std::string key = contact.station->call + "/" + std::to_string(contact.band) +
                          (contact.cw ? "CW" : "SSB");
        if (worked.insert(key).second) break;
      }
    }
    const BandInfo& band = kBands[contact.band];
    contact.khz = (contact.cw ? band.cw_khz : band.ssb_khz) + random.Below(25);
    contact.serial = ++serial;
    contacts.push_back(contact);
  }
  return contacts;
}

// 2026-03-14 plus a day offset, as YYYYMMDD.
std::string Date(int minute) { return minute < 12 * 60 ? "20260314" : "20260315"; }

std::string Adif(const char* name, const std::string& value) {
  return std::string("<") + name + ":" + std::to_string(value.size()) + ">" + value + " ";
}

std::string Serial(int serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", serial);
  return text;
}

void WriteAdif(const std::string& path, const std::vector<Contact>& contacts) {
  std::ofstream out(path, std::ios::binary);
  out << "Synthetic KEVO contest log of " << kOwnCall << ", made by kevo-sample-gen (seed " << kSeed
      << ")\r\n"
      << Adif("ADIF_VER", "3.1.4") << Adif("PROGRAMID", "kevo-sample-gen") << "<EOH>\r\n";
  for (const Contact& c : contacts) {
    int clock = (12 * 60 + c.minute) % (24 * 60);
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", clock / 60, clock % 60, c.second);
    char freq[32];
    std::snprintf(freq, sizeof freq, "%d.%03d", c.khz / 1000, c.khz % 1000);
    const Station& s = *c.station;
    std::string line =
        Adif("CALL", s.call) + Adif("QSO_DATE", Date(c.minute)) + Adif("TIME_ON", time) +
        Adif("BAND", kBands[c.band].adif) + Adif("FREQ", freq) + Adif("MODE", c.cw ? "CW" : "SSB") +
        Adif("RST_SENT", c.cw ? "599" : "59") + Adif("RST_RCVD", c.cw ? "599" : "59") +
        Adif("STX", Serial(c.serial)) + Adif("SRX_STRING", s.exchange) + Adif("PFX", s.wpx_prefix);
    if (!s.region.empty()) line += Adif("STATE", s.region);
    if (!s.name.empty()) line += Adif("NAME", s.name);
    out << line << "<EOR>\r\n";
  }
}

void WriteCabrillo(const std::string& path, const std::vector<Contact>& contacts) {
  std::ofstream out(path, std::ios::binary);
  out << "START-OF-LOG: 3.0\r\nCALLSIGN: " << kOwnCall
      << "\r\nCONTEST: KEVO\r\nCATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: ALL\r\n"
         "CATEGORY-MODE: MIXED\r\nCREATED-BY: kevo-sample-gen\r\n";
  for (const Contact& c : contacts) {
    int clock = (12 * 60 + c.minute) % (24 * 60);
    std::string date = Date(c.minute);
    char line[160];
    std::snprintf(line, sizeof line,
                  "QSO: %5d %s %s-%s-%s %02d%02d %-13s %-3s %-6s %-13s %-3s %s\r\n", c.khz,
                  c.cw ? "CW" : "PH", date.substr(0, 4).c_str(), date.substr(4, 2).c_str(),
                  date.substr(6, 2).c_str(), clock / 60, clock % 60, kOwnCall, c.cw ? "599" : "59",
                  Serial(c.serial).c_str(), c.station->call.c_str(), c.cw ? "599" : "59",
                  c.station->exchange.c_str());
    out << line;
  }
  out << "END-OF-LOG:\r\n";
}

void WriteExchangeList(const std::string& path, Random& random,
                       const std::vector<Station>& stations) {
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < stations.size(); i += 4 + static_cast<std::size_t>(random.Below(3))) {
    const Station& s = stations[i];
    // Typed by hand: now and then blanks around the equals sign.
    out << s.call << (random.Percent(20) ? " = " : "=") << s.exchange << "\r\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: kevo-sample-gen OUTPUT_FOLDER\n";
    return 2;
  }
  std::string folder = argv[1];
  Random random(kSeed);
  std::vector<Station> stations = MakeStations(random);
  std::vector<Contact> contacts = MakeContacts(random, stations);
  WriteAdif(folder + "/contest.adi", contacts);
  WriteCabrillo(folder + "/contest.cbr", contacts);
  WriteExchangeList(folder + "/RADL.lst", random, stations);
  std::ifstream check(folder + "/RADL.lst");
  if (!check) {
    std::cerr << "kevo-sample-gen: cannot write to " << folder << '\n';
    return 1;
  }
  return 0;
}
