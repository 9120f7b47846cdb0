// Logger datagrams read into contact events: the good shapes, and every reason one is refused.
#include "tools/live/intake/datagram.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/live/intake/contact_event.h"

namespace kevo::live {
namespace {

std::string Contact(const std::string& root, const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<" + root + ">" + body + "</" + root + ">";
}

const std::string kGood =
    "<app>Logger</app><contestname>KEVO</contestname><timestamp>2026-03-14 "
    "10:05:07</timestamp><mycall>Q1TEST</mycall><band>3.5</band><rxfreq>352519</rxfreq>"
    "<mode>USB</mode><call>dl1abc</call><countryprefix>DL</countryprefix><section>W</section>"
    "<sntnr>5</sntnr><rcvnr>17</rcvnr><exchange1></exchange1><StationName>PC1</StationName>"
    "<ID>0123456789abcdef0123456789ABCDEF</ID>";

struct Case {
  const char* name;
  std::string bytes;
  const char* reason;  // empty: accepted
};

TEST(DatagramTest, AcceptsOrRefusesWithTheReason) {
  const Case cases[] = {
      {"good contactinfo", Contact("contactinfo", kGood), ""},
      {"replace", Contact("contactreplace", kGood), ""},
      {"delete",
       Contact("contactdelete",
               "<ID>1</ID><timestamp>2026-03-14 10:05:07</timestamp>"
               "<call>DL1ABC</call><StationName>PC1</StationName>"),
       ""},
      {"root and elements in any case",
       Contact("ContactInfo",
               "<CALL>X1</CALL><TimeStamp>2026-03-14 "
               "10:05</TimeStamp><Band>14</Band>"),
       ""},
      {"not well-formed: unclosed", "<contactinfo><call>X1</call>", "not well-formed XML"},
      {"not well-formed: mismatched", "<contactinfo><call>X1</cal></contactinfo>",
       "not well-formed XML"},
      {"not well-formed: two roots", "<contactinfo/><contactinfo/>", "not well-formed XML"},
      {"not well-formed: unknown entity", Contact("contactinfo", "<call>&x;</call>"),
       "not well-formed XML"},
      {"not XML at all", "DL1ABC 14025 CW", "not well-formed XML"},
      {"empty", "", "not well-formed XML"},
      {"unknown root", Contact("radioinfo", "<freq>14025</freq>"), "unknown root"},
      {"no call",
       Contact("contactinfo", "<timestamp>2026-03-14 10:05:07</timestamp><band>14</band>"),
       "no call"},
      {"blank call",
       Contact("contactinfo", "<call>  </call><timestamp>2026-03-14 10:05:07</timestamp>"),
       "no call"},
      {"no time", Contact("contactinfo", "<call>X1</call><band>14</band>"), "no time"},
      {"a date is no time",
       Contact("contactinfo", "<call>X1</call><timestamp>2026-03-14</timestamp>"), "no time"},
      {"impossible time",
       Contact("contactinfo", "<call>X1</call><timestamp>2026-02-30 10:00:00</timestamp>"),
       "no time"},
      {"no band", Contact("contactinfo", "<call>X1</call><timestamp>2026-03-14 10:00</timestamp>"),
       "no band"},
      {"oversize",
       Contact("contactinfo", kGood + "<comment>" + std::string(70000, 'x') + "</comment>"),
       "oversize"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatagramParse parse = ParseDatagram(c.bytes);
    std::string reason = parse.reason;
    if (parse.ok) {
      EventMapping mapping = MapDatagram(parse.datagram, ElementNames{});
      reason = mapping.reason;
      EXPECT_EQ(mapping.ok, reason.empty());
    }
    EXPECT_EQ(reason, c.reason);
  }
}

TEST(DatagramTest, MapsTheContactAsKevoReplayDoes) {
  DatagramParse parse = ParseDatagram(Contact("contactinfo", kGood));
  ASSERT_TRUE(parse.ok);
  EventMapping mapping = MapDatagram(parse.datagram, ElementNames{});
  ASSERT_TRUE(mapping.ok) << mapping.reason;
  const ContactEvent& event = mapping.event;
  EXPECT_EQ(event.kind, DatagramKind::kContactInfo);
  EXPECT_EQ(event.id, "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_EQ(event.station, "PC1");
  EXPECT_EQ(event.contact.call, "DL1ABC");
  EXPECT_EQ(event.contact.band, "80");
  EXPECT_EQ(event.contact.mode, "SSB");
  EXPECT_EQ(event.contact.received, "17");  // exchange1 empty: the serial number
  EXPECT_EQ(event.contact.sent, "5");
  EXPECT_EQ(event.contact.prefix, "DL");
  EXPECT_EQ(event.contact.region, "W");
  // 2026-03-14 is day 46095; 10:05:07 is 36307 s into it.
  EXPECT_DOUBLE_EQ(event.contact.time.m_dt, 46095.0 + 36307.0 / 86400.0);
  EXPECT_EQ(event.contact.time.m_status, 0);
}

TEST(DatagramTest, ReceivedExchangeBandAndModeRules) {
  struct Mapping {
    std::string elements;
    ElementNames names;
    const char* band;
    const char* mode;
    const char* received;
  };
  ElementNames from_name;
  from_name.received = {"name"};
  ElementNames listed;
  listed.received = {"exchange1", "rcvnr", "zone"};
  const Mapping cases[] = {
      {"<band>14</band><mode>lsb</mode><exchange1>w</exchange1><rcvnr>3</rcvnr>",
       {},
       "20",
       "SSB",
       "w"},
      {"<band>1.8</band><mode>CW</mode><rcvnr>0</rcvnr>", {}, "160", "CW", ""},
      {"<band></band><rxfreq>2102500</rxfreq><mode>RTTY</mode><rcvnr>012</rcvnr>",
       {},
       "15",
       "RTTY",
       "012"},
      {"<band>99</band><rxfreq>1402500</rxfreq><mode>FT8</mode>", {}, "20", "FT8", ""},
      {"<band>50</band><mode>FM</mode><exchange1>9</exchange1><name>ANNA</name>", from_name, "6",
       "FM", "ANNA"},
      // A list: the first non-empty element, a serial number of 0 counting as empty.
      {"<band>3,5</band><mode>CW</mode><exchange1> </exchange1><rcvnr>0</rcvnr><zone>14</zone>",
       listed, "80", "CW", "14"},
      {"<band>1296</band><mode>CW</mode><rcvnr>7</rcvnr><zone>14</zone>", listed, "23cm", "CW",
       "7"},
      {"<band>5</band><mode>CW</mode>", {}, "60", "CW", ""},
      {"<band>20m</band><mode>CW</mode>", {}, "20", "CW", ""},
  };
  for (const Mapping& c : cases) {
    SCOPED_TRACE(c.elements);
    DatagramParse parse = ParseDatagram(Contact(
        "contactinfo", "<call>X1</call><timestamp>2026-03-14 10:00:00</timestamp>" + c.elements));
    ASSERT_TRUE(parse.ok) << parse.detail;
    EventMapping mapping = MapDatagram(parse.datagram, c.names);
    ASSERT_TRUE(mapping.ok) << mapping.reason;
    EXPECT_EQ(mapping.event.contact.band, c.band);
    EXPECT_EQ(mapping.event.contact.mode, c.mode);
    EXPECT_EQ(mapping.event.contact.received, c.received);
  }
}

TEST(DatagramTest, ContactWithoutIdIsKnownByCallAndTime) {
  DatagramParse parse =
      ParseDatagram(Contact("contactinfo",
                            "<call>X1</call><timestamp>2026-03-14 10:00:00</timestamp><band>7"
                            "</band>"));
  ASSERT_TRUE(parse.ok);
  DatagramParse deletion = ParseDatagram(
      Contact("contactdelete", "<call>x1</call><timestamp>2026-03-14 10:00:00</timestamp>"));
  ASSERT_TRUE(deletion.ok);
  EXPECT_EQ(MapDatagram(parse.datagram, {}).event.id, MapDatagram(deletion.datagram, {}).event.id);
}

}  // namespace
}  // namespace kevo::live
