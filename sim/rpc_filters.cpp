// Event filters, periodic filters, their actions and named action lists.
//
// Filters, lists and the actions of each are enumerated by position: the id
// of an item is its index in its list (from 0), so the first call's
// SAHPI_FIRST_ENTRY names the first item, and the id after the last is
// SAHPI_LAST_ENTRY. Removing an item renumbers the ones after it, as the
// daemon's action ids do.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// More than the pages ever set up; a runaway client meets OUT_OF_SPACE.
constexpr size_t kMaxItems = 256;

std::string Name(const SaHpiTextBufferT *text) { return TextBufferToString(*text); }

template <typename T>
T *FindNamed(std::vector<T> &items, const std::string &name) {
  for (T &item : items) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

// Item `id` of `items` and the id after it.
template <typename T>
SaErrorT Entry(std::vector<T> &items, uint32_t id, uint32_t *next, T **item) {
  if (id >= items.size()) return SA_ERR_HPI_NOT_PRESENT;
  *item = &items[id];
  *next = id + 1 < items.size() ? id + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT FindFilter(Caller &c, const SaHpiTextBufferT *name, EventFilter **filter) {
  *filter = FindNamed(c.model.event_filters, Name(name));
  return *filter == nullptr ? SA_ERR_HPI_NOT_PRESENT : SA_OK;
}

// The actions a filter carries: those of its named list when it uses one.
SaErrorT FilterActions(Caller &c, const SaHpiTextBufferT *name, std::vector<Action> **actions) {
  EventFilter *filter;
  if (SaErrorT rv = FindFilter(c, name, &filter); rv != SA_OK) return rv;
  if (filter->list.empty()) {
    *actions = &filter->actions;
    return SA_OK;
  }
  ActionList *list = FindNamed(c.model.action_lists, filter->list);
  if (list == nullptr) return SA_ERR_HPI_INTERNAL_ERROR;  // the model keeps them consistent
  *actions = &list->actions;
  return SA_OK;
}

SaErrorT ListActions(Caller &c, const SaHpiTextBufferT *name, std::vector<Action> **actions) {
  ActionList *list = FindNamed(c.model.action_lists, Name(name));
  if (list == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *actions = &list->actions;
  return SA_OK;
}

using FindActions = SaErrorT (*)(Caller &, const SaHpiTextBufferT *, std::vector<Action> **);

SaErrorT AddAction(Caller &c, FindActions find, const SaHpiTextBufferT *owner, SaHpiUint32T disp, SaHpiUint32T type,
                   const SaHpiTextBufferT *parm, SaHpiUint32T *id) {
  std::vector<Action> *actions;
  if (SaErrorT rv = find(c, owner, &actions); rv != SA_OK) return rv;
  if (actions->size() >= kMaxItems) return SA_ERR_HPI_OUT_OF_SPACE;
  actions->push_back({disp, type, Name(parm)});
  *id = static_cast<SaHpiUint32T>(actions->size() - 1);
  return SA_OK;
}

SaErrorT GetAction(Caller &c, FindActions find, const SaHpiTextBufferT *owner, SaHpiUint32T id, SaHpiUint32T *next,
                   SaHpiUint32T *disp, SaHpiUint32T *type, SaHpiTextBufferT *parm) {
  std::vector<Action> *actions;
  if (SaErrorT rv = find(c, owner, &actions); rv != SA_OK) return rv;
  Action *action;
  if (SaErrorT rv = Entry(*actions, id, next, &action); rv != SA_OK) return rv;
  *disp = action->disp;
  *type = action->type;
  *parm = TextBufferFromString(action->parm);
  return SA_OK;
}

SaErrorT SetAction(Caller &c, FindActions find, const SaHpiTextBufferT *owner, SaHpiUint32T id, SaHpiUint32T disp,
                   SaHpiUint32T type, const SaHpiTextBufferT *parm) {
  std::vector<Action> *actions;
  if (SaErrorT rv = find(c, owner, &actions); rv != SA_OK) return rv;
  if (id >= actions->size()) return SA_ERR_HPI_NOT_PRESENT;
  (*actions)[id] = {disp, type, Name(parm)};
  return SA_OK;
}

SaErrorT RemoveAction(Caller &c, FindActions find, const SaHpiTextBufferT *owner, SaHpiUint32T id) {
  std::vector<Action> *actions;
  if (SaErrorT rv = find(c, owner, &actions); rv != SA_OK) return rv;
  if (id >= actions->size()) return SA_ERR_HPI_NOT_PRESENT;
  actions->erase(actions->begin() + id);
  return SA_OK;
}

SaErrorT CreateFilter(Caller &c, const SaHpiTextBufferT *name, const SaHpiTextBufferT *expression,
                      std::optional<uint32_t> period) {
  EventFilter filter{Name(name), Name(expression), period, {}, {}};
  if (filter.name.empty() || filter.expression.empty() || (period && *period == 0)) return SA_ERR_HPI_INVALID_PARAMS;
  if (FindNamed(c.model.event_filters, filter.name) != nullptr) return SA_ERR_HPI_DUPLICATE;
  if (c.model.event_filters.size() >= kMaxItems) return SA_ERR_HPI_OUT_OF_SPACE;
  c.model.event_filters.push_back(std::move(filter));
  return SA_OK;
}

SaErrorT NextFilter(Caller &c, SaHpiEntryIdT id, SaHpiEntryIdT *next, SaHpiTextBufferT *name,
                    SaHpiTextBufferT *expression, SaHpiUint32T *period) {
  EventFilter *filter;
  if (SaErrorT rv = Entry(c.model.event_filters, id, next, &filter); rv != SA_OK) return rv;
  *name = TextBufferFromString(filter->name);
  *expression = TextBufferFromString(filter->expression);
  *period = filter->period.value_or(0);
  return SA_OK;
}

// The word an expression names a sensor type by.
const char *SensorTypeWord(uint32_t type) {
  switch (type) {
    case SAHPI_TEMPERATURE:
      return "temperature";
    case SAHPI_VOLTAGE:
      return "voltage";
    case SAHPI_CURRENT:
      return "current";
    case SAHPI_FAN:
      return "fan";
    case SAHPI_PHYSICAL_SECURITY:
      return "door";
    case SAHPI_OTHER_UNITS_BASED_SENSOR:
      return "humidity";
    default:
      return nullptr;
  }
}

// The daemon's expression language is not simulated. An expression applies
// to a sensor when it is "*" or mentions the word of the sensor's type
// ("temperature", "voltage", "current", "fan", "door", "humidity"), in any case.
SaErrorT Applicable(Caller &c, const std::string &expression, SaHpiResourceIdT resource, SaHpiSensorNumT num,
                    SaHpiBoolT *applicable) {
  Sensor *sensor;
  if (SaErrorT rv = c.FindSensor(resource, num, &sensor); rv != SA_OK) return rv;
  std::string lower = expression;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
  const char *word = SensorTypeWord(sensor->type);
  *applicable = lower == "*" || (word != nullptr && lower.find(word) != std::string::npos) ? SAHPI_TRUE : SAHPI_FALSE;
  return SA_OK;
}

}  // namespace

SaErrorT SimEventFilterCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *name,
                              const SaHpiTextBufferT *expression) {
  return CreateFilter(c, name, expression, std::nullopt);
}

SaErrorT SimPeriodicExpressionCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *name,
                                     const SaHpiTextBufferT *expression, SaHpiUint32T period) {
  return CreateFilter(c, name, expression, period);
}

SaErrorT SimEventFilterGetNext(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                               SaHpiTextBufferT *name, SaHpiTextBufferT *expression) {
  SaHpiUint32T period = 0;
  return NextFilter(c, id, next, name, expression, &period);
}

SaErrorT SimEventFilterGetNext2(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                                SaHpiTextBufferT *name, SaHpiTextBufferT *expression, SaHpiUint32T *period) {
  return NextFilter(c, id, next, name, expression, period);
}

SaErrorT SimEventFilterRemove(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *name) {
  EventFilter *filter;
  if (SaErrorT rv = FindFilter(c, name, &filter); rv != SA_OK) return rv;
  c.model.event_filters.erase(c.model.event_filters.begin() + (filter - c.model.event_filters.data()));
  return SA_OK;
}

SaErrorT SimEventActionAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiUint32T disp,
                           SaHpiUint32T type, const SaHpiTextBufferT *parm, SaHpiUint32T *id) {
  return AddAction(c, FilterActions, filter, disp, type, parm, id);
}

SaErrorT SimEventActionGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiUint32T id,
                           SaHpiUint32T *next, SaHpiUint32T *disp, SaHpiUint32T *type, SaHpiTextBufferT *parm) {
  return GetAction(c, FilterActions, filter, id, next, disp, type, parm);
}

SaErrorT SimEventActionRemove(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiUint32T id) {
  return RemoveAction(c, FilterActions, filter, id);
}

SaErrorT SimEventActionSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiUint32T id,
                           SaHpiUint32T disp, SaHpiUint32T type, const SaHpiTextBufferT *parm) {
  return SetAction(c, FilterActions, filter, id, disp, type, parm);
}

SaErrorT SimNamedActionListCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list) {
  const std::string name = Name(list);
  if (name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  if (FindNamed(c.model.action_lists, name) != nullptr) return SA_ERR_HPI_DUPLICATE;
  if (c.model.action_lists.size() >= kMaxItems) return SA_ERR_HPI_OUT_OF_SPACE;
  c.model.action_lists.push_back({name, {}});
  return SA_OK;
}

SaErrorT SimNamedActionListRemove(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list) {
  const std::string name = Name(list);
  ActionList *found = FindNamed(c.model.action_lists, name);
  if (found == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  for (const EventFilter &filter : c.model.event_filters) {
    if (filter.list == name) return SA_ERR_HPI_BUSY;
  }
  c.model.action_lists.erase(c.model.action_lists.begin() + (found - c.model.action_lists.data()));
  return SA_OK;
}

SaErrorT SimNamedActionListGetNext(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                                   SaHpiTextBufferT *list) {
  ActionList *found;
  if (SaErrorT rv = Entry(c.model.action_lists, id, next, &found); rv != SA_OK) return rv;
  *list = TextBufferFromString(found->name);
  return SA_OK;
}

SaErrorT SimEventActionListNameGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiTextBufferT *list) {
  EventFilter *found;
  // NOT_PRESENT is this call's answer for a private list; a filter that does
  // not exist must not look like one.
  if (FindFilter(c, filter, &found) != SA_OK) return SA_ERR_HPI_INVALID_PARAMS;
  if (found->list.empty()) return SA_ERR_HPI_NOT_PRESENT;
  *list = TextBufferFromString(found->list);
  return SA_OK;
}

SaErrorT SimEventActionListSetNamed(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter,
                                    const SaHpiTextBufferT *list) {
  EventFilter *found;
  if (SaErrorT rv = FindFilter(c, filter, &found); rv != SA_OK) return rv;
  const std::string name = Name(list);
  if (FindNamed(c.model.action_lists, name) == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  found->list = name;
  found->actions.clear();  // its own list is given up for the shared one
  return SA_OK;
}

SaErrorT SimEventActionListSetAnonymous(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter) {
  EventFilter *found;
  std::vector<Action> *actions;
  if (SaErrorT rv = FindFilter(c, filter, &found); rv != SA_OK) return rv;
  if (SaErrorT rv = FilterActions(c, filter, &actions); rv != SA_OK) return rv;
  if (found->list.empty()) return SA_OK;
  found->actions = *actions;  // a private copy: later changes leave the named list alone
  found->list.clear();
  return SA_OK;
}

SaErrorT SimEventActionListConvertToNamed(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter,
                                          const SaHpiTextBufferT *list) {
  EventFilter *found;
  std::vector<Action> *actions;
  if (SaErrorT rv = FindFilter(c, filter, &found); rv != SA_OK) return rv;
  if (SaErrorT rv = FilterActions(c, filter, &actions); rv != SA_OK) return rv;
  const std::string name = Name(list);
  if (name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  if (FindNamed(c.model.action_lists, name) != nullptr) return SA_ERR_HPI_DUPLICATE;
  if (c.model.action_lists.size() >= kMaxItems) return SA_ERR_HPI_OUT_OF_SPACE;
  c.model.action_lists.push_back({name, *actions});  // `actions` may point into the lists: copied first
  found->list = name;
  found->actions.clear();
  return SA_OK;
}

SaErrorT SimNamedActionListActionAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list, SaHpiUint32T disp,
                                     SaHpiUint32T type, const SaHpiTextBufferT *parm, SaHpiUint32T *id) {
  return AddAction(c, ListActions, list, disp, type, parm, id);
}

SaErrorT SimNamedActionListActionGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list, SaHpiUint32T id,
                                     SaHpiUint32T *next, SaHpiUint32T *disp, SaHpiUint32T *type,
                                     SaHpiTextBufferT *parm) {
  return GetAction(c, ListActions, list, id, next, disp, type, parm);
}

SaErrorT SimNamedActionListActionRemove(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list, SaHpiUint32T id) {
  return RemoveAction(c, ListActions, list, id);
}

SaErrorT SimNamedActionListActionSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *list, SaHpiUint32T id,
                                     SaHpiUint32T disp, SaHpiUint32T type, const SaHpiTextBufferT *parm) {
  return SetAction(c, ListActions, list, id, disp, type, parm);
}

SaErrorT SimVerifyExpressionForSensor(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *expression,
                                      SaHpiResourceIdT resource, SaHpiSensorNumT sensor, SaHpiBoolT *applicable) {
  return Applicable(c, Name(expression), resource, sensor, applicable);
}

SaErrorT SimVerifyFilterForSensor(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *filter, SaHpiResourceIdT resource,
                                  SaHpiSensorNumT sensor, SaHpiBoolT *applicable) {
  EventFilter *found;
  if (SaErrorT rv = FindFilter(c, filter, &found); rv != SA_OK) return rv;
  return Applicable(c, found->expression, resource, sensor, applicable);
}

}  // namespace kvnc::sim
