// The datagrams of tests/live/datagrams, in the shapes real loggers send (made-up calls), fed
// in file order through the reading, the mapping and the contact book: each one's band, mode,
// call, time, exchange and outcome, then the contest they leave against kevo-replay.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/replay/plugin_session.h"
#include "tools/host/ole_date.h"
#include "tools/live/intake/contact_event.h"
#include "tools/live/intake/datagram.h"
#include "tools/live/keeping/contact_book.h"

namespace kevo::live {
namespace {

struct Expected {
  const char* file;
  const char* outcome;  // a BookChange's name, or the refusal's reason
  const char* call;
  const char* band;
  const char* mode;
  const char* time;
  const char* received;
};

const Expected kDatagrams[] = {
    {"01-logged-sideband.xml", "added", "DL1ABC", "80", "SSB", "2026-03-14 10:00:07", "17"},
    {"02-band-comma-160.xml", "added", "OK1XYZ", "160", "CW", "2026-03-14 10:02:00", "KV"},
    {"03-band-comma-20.xml", "added", "SP9QQQ", "20", "CW", "2026-03-14 10:03:00", "23"},
    {"04-warc-whole-10.xml", "added", "HA5AAA", "30", "CW", "2026-03-14 10:04:00", "31"},
    {"05-warc-whole-18.xml", "added", "OE3BBB", "17", "RTTY", "2026-03-14 10:05:00", "12"},
    {"06-warc-whole-24.xml", "added", "F5CCC", "12", "SSB", "2026-03-14 10:06:00", "KVOE"},
    {"07-only-txfreq.xml", "added", "I2DDD", "15", "CW", "2026-03-14 10:07:00", "40"},
    {"08-iso-time-z.xml", "added", "DL2EEE", "10", "CW", "2026-03-14 10:08:00", "AB"},
    {"09-iso-time-fraction.xml", "added", "DL3FFF", "40", "CW", "2026-03-14 10:09:30", "XY"},
    {"10-guid-exch1.xml", "added", "OK2GGG", "40", "CW", "2026-03-14 10:10:00", "27"},
    {"11-guid-nr.xml", "added", "SP1HHH", "15", "CW", "2026-03-14 10:11:00", "0042"},
    {"12-xqso.xml", "left out", "DL4III", "20", "CW", "2026-03-14 10:12:00", "19"},
    {"13-not-claimed.xml", "left out", "DL5JJJ", "20", "CW", "2026-03-14 10:13:00", "33"},
    {"14-band-50.xml", "added", "DL6KKK", "6", "FM", "2026-03-14 10:14:00", "JO62"},
    {"15-band-432.xml", "added", "DL7LLL", "70cm", "CW", "2026-03-14 10:15:00", "JO31"},
    {"16-no-band.xml", "no band", "", "", "", "", ""},
    {"17-edit-delete.xml", "deleted", "DL1ABC", "", "", "2026-03-14 10:00:07", ""},
    // The edit's second half: the contact comes back with its new exchange.
    {"18-edit-replace.xml", "added", "DL1ABC", "80", "SSB", "2026-03-14 10:00:07", "18"},
    // Another PC re-sends a deleted contact late: it stays deleted.
    {"19-delete-40.xml", "deleted", "DL3FFF", "", "", "2026-03-14 10:09:30", ""},
    {"20-late-resend-of-deleted.xml", "repeat", "DL3FFF", "40", "CW", "2026-03-14 10:09:30", "XY"},
    {"21-xqso-edit-back.xml", "added", "DL4III", "20", "CW", "2026-03-14 10:12:00", "19"},
};

const char* ChangeName(BookChange change) {
  switch (change) {
    case BookChange::kAdded:
      return "added";
    case BookChange::kReplaced:
      return "replaced";
    case BookChange::kDeleted:
      return "deleted";
    case BookChange::kLeftOut:
      return "left out";
    case BookChange::kUnknownDelete:
      return "unknown delete";
    case BookChange::kRepeat:
      break;
  }
  return "repeat";
}

std::string ReadDatagram(const std::string& name) {
  std::ifstream in(std::string(KEVO_LIVE_DATAGRAMS) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(RealDatagramsTest, EachShapeReadAndTheEndScoredAsKevoReplayScoresIt) {
  std::string error;
  host::LoadedPlugin plugin;
  ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin, error)) << error;
  host::HostSettings settings{0, 12, "W"};
  host::HostSession session(plugin.entries);
  session.Reset(settings);
  ContactBook book(session);
  // The contacts that count, in the order the library last got them.
  std::vector<std::pair<std::string, host::QsoValues>> kept;
  for (const Expected& expected : kDatagrams) {
    SCOPED_TRACE(expected.file);
    std::string bytes = ReadDatagram(expected.file);
    ASSERT_FALSE(bytes.empty());
    DatagramParse parse = ParseDatagram(bytes);
    ASSERT_TRUE(parse.ok) << parse.reason;
    EventMapping mapping = MapDatagram(parse.datagram, ElementNames{});
    if (!mapping.ok) {
      EXPECT_EQ(mapping.reason, expected.outcome);
      continue;
    }
    const ContactEvent& event = mapping.event;
    EXPECT_EQ(event.contact.call, expected.call);
    EXPECT_EQ(event.contact.band, expected.band);
    EXPECT_EQ(event.contact.mode, expected.mode);
    EXPECT_EQ(event.contact.received, expected.received);
    std::optional<COleDateTime> time = host::ParseIsoDateTime(expected.time);
    ASSERT_TRUE(time);
    EXPECT_EQ(event.contact.time.m_dt, time->m_dt);
    BookOutcome outcome = book.Apply(event);
    EXPECT_STREQ(ChangeName(outcome.change), expected.outcome);
    if (outcome.change == BookChange::kRepeat) continue;
    for (auto at = kept.begin(); at != kept.end(); ++at) {
      if (at->first == event.id) {
        kept.erase(at);
        break;
      }
    }
    if (outcome.change == BookChange::kAdded || outcome.change == BookChange::kReplaced) {
      host::QsoValues qso;
      static_cast<host::Contact&>(qso) = event.contact;
      kept.emplace_back(event.id, qso);
    }
  }
  EXPECT_EQ(book.size(), kept.size());
  std::vector<host::QsoValues> contacts;
  for (const auto& [id, qso] : kept) contacts.push_back(qso);
  EXPECT_EQ(book.last_summary().text, replay::ReplayThroughPlugin(settings, contacts).summary.text);
}

TEST(RealDatagramsTest, RefusalNamesTheElementsLookedAt) {
  DatagramParse parse = ParseDatagram(ReadDatagram("16-no-band.xml"));
  ASSERT_TRUE(parse.ok);
  EventMapping mapping = MapDatagram(parse.datagram, ElementNames{});
  EXPECT_EQ(mapping.detail, "looked at band '99', rxfreq '0', txfreq ''");
}

}  // namespace
}  // namespace kevo::live
