#include "api/events/alarms.h"

#include <cstddef>

#include "api/events/event_json.h"
#include "client/eal_log.h"
#include "client/hpi_functions.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// The most alarms one list reads. An appliance has at most a few alarms per
// sensor; the bound keeps a faulty daemon that counts ids up one by one from
// walking through 2^32 of them.
constexpr size_t kMaxAlarms = 100000;

bool IsListed(const SaHpiAlarmT &alarm) {
  return alarm.AlarmCond.Type == SAHPI_STATUS_COND_TYPE_SENSOR ||
         alarm.AlarmCond.Type == SAHPI_STATUS_COND_TYPE_RESOURCE;
}

struct AlarmChange {
  SaErrorT (*call)(SaHpiSessionIdT, SaHpiAlarmIdT, SaHpiSeverityT);
  const char *name;
};
constexpr AlarmChange kAcknowledge = {saHpiAlarmAcknowledge, "saHpiAlarmAcknowledge"};
constexpr AlarmChange kDelete = {saHpiAlarmDelete, "saHpiAlarmDelete"};

// Acknowledges or deletes each {"ID", "SEVERITY"} in order; the first
// failure ends the request and the alarms before it stay changed.
json ChangeAlarms(HpiSession session, const json &prm, bool remove) {
  if (!prm.is_array()) Fail(ErrorReplyMsg(kRcBadValue, "NOT ARRAY"));
  const AlarmChange &change = remove ? kDelete : kAcknowledge;
  for (const json &element : prm) {
    const auto id = GetNumber<uint32_t>(RequireKey(element, "ID"));
    const auto severity = GetNumber<int32_t>(RequireKey(element, "SEVERITY"));
    CheckHpi(change.call(session, id, static_cast<SaHpiSeverityT>(severity)), change.name);
  }
  return OkReply();
}

}  // namespace

// HPI alarm ids count up, so each saHpiAlarmGetNext must hand back an id
// above the one it continued after. A faulty daemon that repeats an id or
// goes back would be asked for ever: the list ends there, as it does after
// kMaxAlarms alarms, and is answered with the alarms gathered so far.
json GetAlarms(HpiSession session, const json & /*prm*/) {
  json alarms = json::array();
  SaHpiAlarmT alarm{};
  alarm.AlarmId = SAHPI_FIRST_ENTRY;
  for (size_t calls = 0;; ++calls) {
    const SaHpiAlarmIdT after = alarm.AlarmId;
    const SaErrorT rv = saHpiAlarmGetNext(session, SAHPI_ALL_SEVERITIES, SAHPI_FALSE, &alarm);
    if (rv == SA_ERR_HPI_NOT_PRESENT) {
      if (calls == 0) Fail(ErrorReplyMsg(kRcAbsent, "DAT"));
      break;
    }
    CheckHpi(rv, "saHpiAlarmGetNext");
    if (alarm.AlarmId <= after) {
      eal_log(EAL_LOG_WARNING, "CGI %s: alarm list ends: alarm %u follows alarm %u\n", Peer(), alarm.AlarmId, after);
      break;
    }
    if (IsListed(alarm)) alarms.push_back(AlarmToJson(session, alarm));
    if (calls + 1 >= kMaxAlarms) {
      eal_log(EAL_LOG_WARNING, "CGI %s: alarm list ends after %zu alarms\n", Peer(), calls + 1);
      break;
    }
  }
  return OkReplyWithResponse(alarms);
}

json AcknowledgeAlarms(HpiSession session, const json &prm) { return ChangeAlarms(session, prm, false); }

json DeleteAlarms(HpiSession session, const json &prm) { return ChangeAlarms(session, prm, true); }

}  // namespace kvnc
