// Gathers the report's data while a log is replayed. The replay hands over, for every contact,
// what the library answered (the call check's code and duplicate message, then the summary
// and score of GetResult0 after AddData0); the collector only reads those answers back.
//
// kevo-live also removes and edits contacts. After such a change the library rescored what it
// rescored (a duplicate may now count in place of the contact removed), so each band's QSO,
// points and multipliers the remaining contacts do not account for go to the contact the
// change touched there; the figures then add up to the summary's again, band by band.
#ifndef KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_
#define KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "tools/figures/report_data.h"
#include "tools/host/host_session.h"

namespace kevo::figures {

class ReportCollector {
 public:
  explicit ReportCollector(ReportData& data) : data_(data) {}

  // A contact, the call check's answer before it and the summary after it. `id` names the
  // contact for a later edit or delete.
  void AddContact(const host::QsoValues& qso, const host::CheckAnswer& check,
                  const host::Summary& summary, std::string id = {});
  // The contact of `id` taken back from the library; nothing when none was collected.
  void RemoveContact(const std::string& id, const host::Summary& summary);
  // The contact of `id` edited: the old one out, the new one in, with one summary after both.
  void ReplaceContact(const std::string& id, const host::QsoValues& qso,
                      const host::CheckAnswer& check, const host::Summary& summary);

  // The replay's last summary.
  void Finish(const host::Summary& summary);

 private:
  // The contact's own fields and the call check's answer, without its figures.
  ContactPoint Point(const host::QsoValues& qso, const host::CheckAnswer& check,
                     const host::Summary& summary, std::string id);
  // Takes the contact of `id` out of the list; empty when there is none.
  std::optional<ContactPoint> TakeOut(const std::string& id);
  // After a removal or an edit: each band's figures made to add up to the summary's again.
  void Reconcile(const host::Summary& summary, const ContactPoint* removed, bool added);
  // The band's QSO, points and multipliers the contacts do not yet account for go to the
  // contact the change touched there.
  ContactPoint* TakerOn(const std::string& band, const ContactPoint* removed, bool added);
  void RebuildMultiplierSteps();

  ReportData& data_;
  std::vector<BandFigures> previous_bands_;  // of the last summary that could be read
  BandFigures previous_total_;
  // The first time each call, band and mode was logged, for the day of a duplicate's message.
  std::map<std::tuple<std::string, std::string, std::string>, ReportTime> first_worked_;
};

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_
