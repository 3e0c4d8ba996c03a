// Sessions, audit events, login checks, users' preferences and the
// appliance's own settings.
#include <string>

#include "client/text_buffer.h"
#include "sim/events.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// Open sessions a simulator holds at most: a client that never closes its
// sessions runs out instead of growing the simulator without end.
constexpr size_t kMaxSessions = 4096;
// Audit lines kept; the oldest go first.
constexpr size_t kMaxUserEvents = 1000;

std::string Join(const std::vector<std::string> &items) {
  std::string joined;
  for (const std::string &item : items) joined += (joined.empty() ? "" : ",") + item;
  return joined;
}

KvnMeasurementUnitsT ToRecord(const Units &units) { return {units.degrees, units.length, units.pressure}; }
Units FromRecord(const KvnMeasurementUnitsT &units) { return {units.Degrees, units.Length, units.Pressure}; }

KvnWebParametersT ToRecord(const WebParameters &web) {
  return {web.idle_enabled, web.idle_timeout, web.wait_timeout, web.log_polling};
}
WebParameters FromRecord(const KvnWebParametersT &web) {
  return {web.IdleEnabled, web.IdleTimeout, web.WaitTimeout, web.LogPollingPeriod};
}

bool AddressMatches(const std::string &rule, const std::string &address) {
  if (!rule.empty() && rule.back() == '*') return address.compare(0, rule.size() - 1, rule, 0, rule.size() - 1) == 0;
  return rule == address;
}

const Adapter *FindAdapter(const Model &model, SaHpiUint32T index) {
  const std::vector<Adapter> &adapters = model.appliance.adapters;
  return index >= 1 && index <= adapters.size() ? &adapters[index - 1] : nullptr;
}

}  // namespace

SaErrorT SimSessionOpen(Caller &c, SaHpiDomainIdT domain, SaHpiSessionIdT *session) {
  if (domain != 0) return SA_ERR_HPI_INVALID_DOMAIN;
  auto &sessions = c.sim.sessions();
  if (sessions.size() >= kMaxSessions) return SA_ERR_HPI_OUT_OF_SPACE;
  SaHpiSessionIdT id;
  do {
    id = c.sim.NewSessionId();
  } while (id == 0 || sessions.count(id) != 0);
  sessions[id] = HpiSession{c.uid};
  *session = id;
  return SA_OK;
}

SaErrorT SimSessionClose(Caller &c, SaHpiSessionIdT session) {
  c.sim.sessions().erase(session);
  return SA_OK;
}

SaErrorT SimGenerateUserEvent(Caller &c, SaHpiSessionIdT, SaHpiUint32T code, SaHpiUint32T level,
                              const SaHpiTextBufferT *text) {
  std::vector<UserEvent> &events = c.model.user_events;
  events.push_back({WallClockSeconds(), c.uid, code, level, TextBufferToString(*text)});
  if (events.size() > kMaxUserEvents) events.erase(events.begin());
  const SaHpiSeverityT severity = level <= SAHPI_OK ? level : SAHPI_INFORMATIONAL;
  LogEvent(c.model, UserEventOf(events.back().text, severity, ApplianceTime(c.model)));
  return SA_OK;
}

SaErrorT SimLoginAddressCheck(Caller &c, SaHpiSessionIdT, SaHpiUint8T, const SaHpiTextBufferT *user,
                              const SaHpiTextBufferT *address) {
  const std::string name = TextBufferToString(*user), from = TextBufferToString(*address);
  for (const RefusedLogin &rule : c.model.appliance.refused_logins) {
    if ((rule.user.empty() || rule.user == name) && AddressMatches(rule.address, from)) {
      return KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
    }
  }
  return SA_OK;
}

SaErrorT SimUserPasswordExpirationParametersGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                                SaHpiInt32T *days, SaHpiUint8T *warn) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *days = u->password_expiration.days;
  *warn = u->password_expiration.warn;
  return SA_OK;
}

SaErrorT SimUserInfoGetByName(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiTextBufferT *full_name,
                              SaHpiTextBufferT *phone, SaHpiTextBufferT *email, SaHpiBoolT *enabled,
                              SaHpiBoolT *external, SaHpiUint32T *uid) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *full_name = TextBufferFromString(u->full_name);
  *phone = TextBufferFromString(u->phone);
  *email = TextBufferFromString(u->email);
  *enabled = u->enabled;
  *external = u->external;
  *uid = u->uid;
  return SA_OK;
}

SaErrorT SimUserRolesGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiTextBufferT *roles,
                         SaHpiTextBufferT *other_roles) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *roles = TextBufferFromString(Join(u->roles));
  *other_roles = TextBufferFromString(Join(u->other_roles));
  return SA_OK;
}

SaErrorT SimUserPrivilegesGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiUint64T *first,
                              SaHpiUint64T *second) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  const PrivilegeMasks masks = UserPrivileges(c.model, *u);
  *first = masks.first;
  *second = masks.second;
  return SA_OK;
}

SaErrorT SimCurrentPrivilegeMaskGet(Caller &c, SaHpiSessionIdT, SaHpiUint64T *first, SaHpiUint64T *second) {
  const PrivilegeMasks masks = c.Privileges();
  *first = masks.first;
  *second = masks.second;
  return SA_OK;
}

// ---- measurement units -----------------------------------------------------------

SaErrorT SimCurrentUserMeasurementUnitsGet(Caller &c, SaHpiSessionIdT, KvnMeasurementUnitsT *units) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  if (!self->units) return SA_ERR_HPI_NOT_PRESENT;
  *units = ToRecord(*self->units);
  return SA_OK;
}

SaErrorT SimCurrentUserMeasurementUnitsSet(Caller &c, SaHpiSessionIdT, const KvnMeasurementUnitsT *units) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  self->units = FromRecord(*units);
  return SA_OK;
}

SaErrorT SimUserMeasurementUnitsGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                    KvnMeasurementUnitsT *units) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *units = ToRecord(u->units.value_or(c.model.appliance.units));
  return SA_OK;
}

SaErrorT SimUserMeasurementUnitsSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                    const KvnMeasurementUnitsT *units) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->units = FromRecord(*units);
  return SA_OK;
}

SaErrorT SimGlobalMeasurementUnitsGet(Caller &c, SaHpiSessionIdT, KvnMeasurementUnitsT *units) {
  *units = ToRecord(c.model.appliance.units);
  return SA_OK;
}

SaErrorT SimGlobalMeasurementUnitsSet(Caller &c, SaHpiSessionIdT, const KvnMeasurementUnitsT *units) {
  c.model.appliance.units = FromRecord(*units);
  return SA_OK;
}

// ---- web parameters ----------------------------------------------------------------

SaErrorT SimCurrentUserWebParametersGet(Caller &c, SaHpiSessionIdT, KvnWebParametersT *parameters) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  if (!self->web) return SA_ERR_HPI_NOT_PRESENT;
  *parameters = ToRecord(*self->web);
  return SA_OK;
}

SaErrorT SimCurrentUserWebParametersSet(Caller &c, SaHpiSessionIdT, const KvnWebParametersT *parameters) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  self->web = FromRecord(*parameters);
  return SA_OK;
}

SaErrorT SimUserWebParametersGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                 KvnWebParametersT *parameters) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *parameters = ToRecord(u->web.value_or(c.model.appliance.web));
  return SA_OK;
}

SaErrorT SimUserWebParametersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                 const KvnWebParametersT *parameters) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->web = FromRecord(*parameters);
  return SA_OK;
}

SaErrorT SimGlobalWebParametersGet(Caller &c, SaHpiSessionIdT, KvnWebParametersT *parameters) {
  *parameters = ToRecord(c.model.appliance.web);
  return SA_OK;
}

SaErrorT SimGlobalWebParametersSet(Caller &c, SaHpiSessionIdT, const KvnWebParametersT *parameters) {
  c.model.appliance.web = FromRecord(*parameters);
  return SA_OK;
}

// ---- languages -----------------------------------------------------------------------

SaErrorT SimCurrentLanguageGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *language) {
  *language = c.model.appliance.language;
  return SA_OK;
}

SaErrorT SimCurrentLanguageSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T language) {
  c.model.appliance.language = language;
  return SA_OK;
}

SaErrorT SimCurrentUserLanguageGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *language) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  if (!self->language) return SA_ERR_HPI_NOT_PRESENT;
  *language = *self->language;
  return SA_OK;
}

SaErrorT SimCurrentUserLanguageSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T language) {
  User *self;
  if (SaErrorT rv = c.Self(&self); rv != SA_OK) return rv;
  self->language = language;
  return SA_OK;
}

SaErrorT SimUserLanguageGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiUint32T *language) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  *language = u->language.value_or(c.model.appliance.language);
  return SA_OK;
}

SaErrorT SimUserLanguageSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiUint32T language) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->language = language;
  return SA_OK;
}

// ---- the appliance -----------------------------------------------------------------------

SaErrorT SimAdapterNameGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiTextBufferT *name) {
  const Adapter *a = FindAdapter(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *name = TextBufferFromString(a->name);
  return SA_OK;
}

SaErrorT SimIPv4AddressGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiTextBufferT *address) {
  const Adapter *a = FindAdapter(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *address = TextBufferFromString(a->ipv4);
  return SA_OK;
}

SaErrorT SimHostNameGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *host_name) {
  *host_name = TextBufferFromString(c.model.appliance.host_name);
  return SA_OK;
}

SaErrorT SimHostNameSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *host_name) {
  c.model.appliance.host_name = TextBufferToString(*host_name);
  return SA_OK;
}

SaErrorT SimExternalSensorZCoordGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *z) {
  *z = c.model.appliance.external_sensor_z;
  return SA_OK;
}

SaErrorT SimExternalSensorZCoordSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T z) {
  c.model.appliance.external_sensor_z = z;
  return SA_OK;
}

SaErrorT SimDeviceDescriptionGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *description) {
  *description = TextBufferFromString(c.model.appliance.description);
  return SA_OK;
}

SaErrorT SimDeviceDescriptionSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *description) {
  c.model.appliance.description = TextBufferToString(*description);
  return SA_OK;
}

}  // namespace kvnc::sim
