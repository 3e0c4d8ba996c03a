#include "api/events/filters.h"

#include <string>
#include <utility>
#include <vector>

#include "api/events/id_walk.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/text_helpers.h"

namespace kvnc {
namespace {

// ---- action types: only their effect on the form of the parameter is ours -----

enum class ParmForm { kText, kMail, kList, kNone };

ParmForm FormOf(uint32_t type) {
  switch (type) {
    case 0:
    case 1:
    case 4:
      return ParmForm::kText;
    case 3:
      return ParmForm::kMail;
    case 5:
    case 6:
    case 7:
      return ParmForm::kList;
    default:  // 2, and codes this program does not know
      return ParmForm::kNone;
  }
}

// "address\ntheme\nmessage": the message may span lines; a text without a
// newline carries no parts at all.
json MailJson(std::string_view text) {
  json mail = {{"EMAIL", ""}, {"THEME", ""}, {"MSG", ""}};
  const size_t start = text.find_first_not_of(" \t");
  text.remove_prefix(start == std::string_view::npos ? text.size() : start);
  const size_t first = text.find('\n');
  if (first == std::string_view::npos) return mail;
  mail["EMAIL"] = std::string(text.substr(0, first));
  const std::string_view rest = text.substr(first + 1);
  const size_t second = rest.find('\n');
  if (second == std::string_view::npos) return mail;
  mail["THEME"] = std::string(rest.substr(0, second));
  mail["MSG"] = std::string(rest.substr(second + 1));
  return mail;
}

std::string MailText(const json &parm) {
  std::string text = RequireKey(parm, "EMAIL", "PARM").get<std::string>();
  text += '\n';
  text += RequireKey(parm, "THEME", "PARM").get<std::string>();
  text += '\n';
  text += RequireKey(parm, "MSG", "PARM").get<std::string>();
  return text;
}

std::string JoinedList(const json &parm) {
  const auto items = parm.get<std::vector<std::string>>();
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i != 0) text += ';';
    text += items[i];
  }
  return text;
}

// ---- request values ---------------------------------------------------------------

SaHpiTextBufferT Text(const json &prm, std::string_view key) {
  return TextBufferFromString(RequireKey(prm, key).get<std::string>());
}

uint32_t Number(const json &prm, std::string_view key) { return GetNumber<uint32_t>(RequireKey(prm, key)); }

// A name the daemon handed out, packed again for a request of our own.
SaHpiTextBufferT Repacked(const SaHpiTextBufferT &text) { return TextBufferFromString(TextBufferToString(text)); }

// ---- the two kinds of action owner: a filter, a named list ------------------------

using ActionGetFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, SaHpiUint32T, SaHpiUint32T *,
                                       SaHpiUint32T *, SaHpiUint32T *, SaHpiTextBufferT *);
using ActionAddFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, SaHpiUint32T, SaHpiUint32T,
                                       const SaHpiTextBufferT *, SaHpiUint32T *);
using ActionSetFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, SaHpiUint32T, SaHpiUint32T,
                                       SaHpiUint32T, const SaHpiTextBufferT *);
using ActionRemoveFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, SaHpiUint32T);

struct ActionCalls {
  ActionGetFunction get;
  const char *get_name;
  ActionAddFunction add;
  const char *add_name;
  ActionSetFunction set;
  const char *set_name;
  ActionRemoveFunction remove;
  const char *remove_name;
};

constexpr ActionCalls kFilterActions = {
    kvnHpiEventActionGet, "kvnHpiEventActionGet", kvnHpiEventActionAdd,    "kvnHpiEventActionAdd",
    kvnHpiEventActionSet, "kvnHpiEventActionSet", kvnHpiEventActionRemove, "kvnHpiEventActionRemove",
};

constexpr ActionCalls kListActions = {
    kvnHpiNamedActionListActionGet,    "kvnHpiNamedActionListActionGet",    kvnHpiNamedActionListActionAdd,
    "kvnHpiNamedActionListActionAdd",  kvnHpiNamedActionListActionSet,      "kvnHpiNamedActionListActionSet",
    kvnHpiNamedActionListActionRemove, "kvnHpiNamedActionListActionRemove",
};

// Every action of `owner`, in the daemon's order, each with its id.
std::vector<std::pair<uint32_t, EventAction>> ReadActions(HpiSession session, const ActionCalls &calls,
                                                          const SaHpiTextBufferT &owner) {
  std::vector<std::pair<uint32_t, EventAction>> actions;
  WalkIds(calls.get_name, [&](uint32_t id, uint32_t *next) {
    SaHpiUint32T disp = 0, type = 0;
    SaHpiTextBufferT parm{};
    const SaErrorT rv = calls.get(session, &owner, id, next, &disp, &type, &parm);
    if (rv == SA_OK) actions.emplace_back(id, EventAction{disp, type, TextBufferToString(parm)});
    return rv;
  });
  return actions;
}

json ActionsJson(HpiSession session, const ActionCalls &calls, const json &prm) {
  const SaHpiTextBufferT owner = Text(prm, "NAME");
  json actions = json::array();
  for (const auto &[id, action] : ReadActions(session, calls, owner)) actions.push_back(ActionToJson(id, action));
  return OkReplyWithResponse(actions);
}

json AddOrSetAction(HpiSession session, const json &prm, const ActionCalls &calls, bool set) {
  const uint32_t id = set ? Number(prm, "ID") : 0;
  const SaHpiTextBufferT owner = Text(prm, "NAME");
  const EventAction action = ActionFromJson(prm);
  const SaHpiTextBufferT parm = TextBufferFromString(action.parm);
  if (set) {
    CheckHpi(calls.set(session, &owner, id, action.disp, action.type, &parm), calls.set_name);
  } else {
    SaHpiUint32T new_id = 0;  // not shown: the page reads the list again
    CheckHpi(calls.add(session, &owner, action.disp, action.type, &parm, &new_id), calls.add_name);
  }
  return OkReply();
}

json RemoveAction(HpiSession session, const ActionCalls &calls, uint32_t id, const SaHpiTextBufferT &owner) {
  CheckHpi(calls.remove(session, &owner, id), calls.remove_name);
  return OkReply();
}

// ---- filters ------------------------------------------------------------------------

json FilterList(HpiSession session, bool periodic) {
  json filters = json::array();
  // Both walks answer under the name of the first; the page knows only that one.
  WalkIds("kvnHpiEventFilterGetNext", [&](uint32_t id, uint32_t *next) {
    SaHpiTextBufferT name{}, expression{};
    SaHpiUint32T period = 0;
    const SaErrorT rv = periodic ? kvnHpiEventFilterGetNext2(session, id, next, &name, &expression, &period)
                                 : kvnHpiEventFilterGetNext(session, id, next, &name, &expression);
    if (rv != SA_OK) return rv;
    json types = json::array();
    for (const auto &[action_id, action] : ReadActions(session, kFilterActions, Repacked(name))) {
      types.push_back(action.type);
    }
    json filter = {
        {"NAME", TextBufferToString(name)}, {"EXPR", TextBufferToString(expression)}, {"ACTS", std::move(types)}};
    if (periodic) filter["PERIOD"] = period;
    filters.push_back(std::move(filter));
    return rv;
  });
  return OkReplyWithResponse(filters);
}

using NameFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *);
using TwoNameFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, const SaHpiTextBufferT *);
using VerifyFunction = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *, SaHpiResourceIdT, SaHpiSensorNumT,
                                    SaHpiBoolT *);

json CallWithName(HpiSession session, const json &prm, std::string_view key, NameFunction call,
                  std::string_view function) {
  const SaHpiTextBufferT name = Text(prm, key);
  CheckHpi(call(session, &name), function);
  return OkReply();
}

// The call takes the names in its own order, which need not be the order of the keys.
json CallWithTwoNames(HpiSession session, const SaHpiTextBufferT &first, const SaHpiTextBufferT &second,
                      TwoNameFunction call, std::string_view function) {
  CheckHpi(call(session, &first, &second), function);
  return OkReply();
}

json Verify(HpiSession session, const json &prm, std::string_view key, VerifyFunction call, std::string_view function) {
  const SaHpiTextBufferT text = Text(prm, key);
  const uint32_t rid = Number(prm, "RID");
  const uint32_t snum = Number(prm, "SNUM");
  SaHpiBoolT applicable = 0;
  CheckHpi(call(session, &text, rid, snum, &applicable), function);
  return OkReplyWithResponse({{"applicable", applicable}});
}

}  // namespace

json ActionToJson(uint32_t id, const EventAction &action) {
  json parm;
  switch (FormOf(action.type)) {
    case ParmForm::kText:
      parm = action.parm;
      break;
    case ParmForm::kMail:
      parm = MailJson(action.parm);
      break;
    case ParmForm::kList:
      parm = SplitTokens(action.parm);
      break;
    case ParmForm::kNone:
      parm = "";
      break;
  }
  return {{"ID", id}, {"DISP", action.disp}, {"TYPE", action.type}, {"PARM", std::move(parm)}};
}

EventAction ActionFromJson(const json &prm) {
  EventAction action;
  action.disp = Number(prm, "DISP");
  action.type = Number(prm, "TYPE");
  // Type 8 carries no parameter either, though its stored text reads back as "".
  if (action.type == 2 || action.type == 8) return action;
  const json &parm = RequireKey(prm, "PARM");
  switch (FormOf(action.type)) {
    case ParmForm::kMail:
      action.parm = MailText(parm);
      break;
    case ParmForm::kList:
      action.parm = JoinedList(parm);
      break;
    default:
      action.parm = parm.get<std::string>();
      break;
  }
  return action;
}

json GetEventFilters(HpiSession session, const json &) { return FilterList(session, false); }
json GetPeriodicEventFilters(HpiSession session, const json &) { return FilterList(session, true); }

json CreateEventFilter(HpiSession session, const json &prm) {
  const SaHpiTextBufferT name = Text(prm, "NAME");
  const SaHpiTextBufferT expression = Text(prm, "EXPR");
  return CallWithTwoNames(session, name, expression, kvnHpiEventFilterCreate, "kvnHpiEventFilterCreate");
}

json SetPeriodicEventFilter(HpiSession session, const json &prm) {
  const SaHpiTextBufferT name = Text(prm, "NAME");
  const SaHpiTextBufferT expression = Text(prm, "EXPR");
  const uint32_t period = Number(prm, "PERIOD");
  const bool update = RequireKey(prm, "UPDATE").get<bool>();

  // Replacing keeps the filter's actions: read them all before it goes.
  std::vector<std::pair<uint32_t, EventAction>> kept;
  if (update) {
    kept = ReadActions(session, kFilterActions, name);
    CheckHpi(kvnHpiEventFilterRemove(session, &name), "kvnHpiEventFilterRemove");
  }
  CheckHpi(kvnHpiPeriodicExpressionCreate(session, &name, &expression, period), "kvnHpiPeriodicExpressionCreate");
  for (const auto &[id, action] : kept) {
    const SaHpiTextBufferT parm = TextBufferFromString(action.parm);
    SaHpiUint32T new_id = 0;
    CheckHpi(kvnHpiEventActionAdd(session, &name, action.disp, action.type, &parm, &new_id), "kvnHpiEventActionAdd");
  }
  return OkReply();
}

json RemoveEventFilter(HpiSession session, const json &prm) {
  return CallWithName(session, prm, "NAME", kvnHpiEventFilterRemove, "kvnHpiEventFilterRemove");
}

json GetEventAction(HpiSession session, const json &prm) { return ActionsJson(session, kFilterActions, prm); }
json SetEventAction(HpiSession session, const json &prm) { return AddOrSetAction(session, prm, kFilterActions, true); }
json AddEventAction(HpiSession session, const json &prm) { return AddOrSetAction(session, prm, kFilterActions, false); }

json RemoveEventAction(HpiSession session, const json &prm) {
  const uint32_t id = Number(prm, "ID");
  return RemoveAction(session, kFilterActions, id, Text(prm, "NAME"));
}

json CreateActionList(HpiSession session, const json &prm) {
  return CallWithName(session, prm, "NAME", kvnHpiNamedActionListCreate, "kvnHpiNamedActionListCreate");
}

json RemoveActionList(HpiSession session, const json &prm) {
  return CallWithName(session, prm, "NAME", kvnHpiNamedActionListRemove, "kvnHpiNamedActionListRemove");
}

json GetActionLists(HpiSession session, const json &) {
  json lists = json::array();
  WalkIds("kvnHpiNamedActionListGetNext", [&](uint32_t id, uint32_t *next) {
    SaHpiTextBufferT name{};
    const SaErrorT rv = kvnHpiNamedActionListGetNext(session, id, next, &name);
    if (rv == SA_OK) lists.push_back({{"ID", id}, {"NAME", TextBufferToString(name)}});
    return rv;
  });
  return OkReplyWithResponse(lists);
}

json AddActionListAction(HpiSession session, const json &prm) {
  return AddOrSetAction(session, prm, kListActions, false);
}

json RemoveActionListAction(HpiSession session, const json &prm) {
  const SaHpiTextBufferT list = Text(prm, "NAME");
  return RemoveAction(session, kListActions, Number(prm, "ID"), list);
}

json SetActionListAction(HpiSession session, const json &prm) {
  return AddOrSetAction(session, prm, kListActions, true);
}

json GetActionListAction(HpiSession session, const json &prm) { return ActionsJson(session, kListActions, prm); }

json GetEventActionListName(HpiSession session, const json &prm) {
  const SaHpiTextBufferT filter = Text(prm, "NAME");
  SaHpiTextBufferT list{};
  const SaErrorT rv = kvnHpiEventActionListNameGet(session, &filter, &list);
  // NOT_PRESENT: the filter has a list of its own, which has no name.
  if (rv == SA_ERR_HPI_NOT_PRESENT) return OkReplyWithResponse({{"internal", true}});
  CheckHpi(rv, "kvnHpiEventActionListNameGet");
  return OkReplyWithResponse({{"internal", false}, {"name", TextBufferToString(list)}});
}

json SetEventActionListNamed(HpiSession session, const json &prm) {
  const SaHpiTextBufferT list = Text(prm, "NAME");
  const SaHpiTextBufferT filter = Text(prm, "FILTER");
  return CallWithTwoNames(session, filter, list, kvnHpiEventActionListSetNamed, "kvnHpiEventActionListSetNamed");
}

json SetEventActionListAnonymous(HpiSession session, const json &prm) {
  return CallWithName(session, prm, "FILTER", kvnHpiEventActionListSetAnonymous, "kvnHpiEventActionListSetAnonymous");
}

json ConvertEventActionListToNamed(HpiSession session, const json &prm) {
  const SaHpiTextBufferT filter = Text(prm, "RULE");
  const SaHpiTextBufferT list = Text(prm, "NAME");
  return CallWithTwoNames(session, filter, list, kvnHpiEventActionListConvertToNamed,
                          "kvnHpiEventActionListConvertToNamed");
}

json VerifyExpressionForSensor(HpiSession session, const json &prm) {
  return Verify(session, prm, "RULE", kvnHpiVerifyExpressionForSensor, "kvnHpiVerifyExpressionForSensor");
}

json VerifyFilterForSensor(HpiSession session, const json &prm) {
  return Verify(session, prm, "TAG", kvnHpiVerifyFilterForSensor, "kvnHpiVerifyFilterForSensor");
}

}  // namespace kvnc
