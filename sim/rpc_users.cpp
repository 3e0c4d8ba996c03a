// Sessions, audit events, login checks, users and roles, users' preferences
// and the appliance's own settings.
#include <pwd.h>

#include <iterator>
#include <string>
#include <vector>

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

// The daemon's password rule, as far as tests need one.
constexpr size_t kMinPasswordLength = 8;
// Uids of users the daemon creates without a system account of the name.
constexpr uint32_t kFirstFreshUid = 2000;

std::vector<std::string> SplitRoles(const std::string &text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) names.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// Both lists of role names, each known to the model.
SaErrorT ParseRoles(const Model &model, const SaHpiTextBufferT *roles, const SaHpiTextBufferT *other_roles,
                    User &user) {
  std::vector<std::string> first = SplitRoles(TextBufferToString(*roles));
  std::vector<std::string> second = SplitRoles(TextBufferToString(*other_roles));
  for (const std::vector<std::string> *list : {&first, &second}) {
    for (const std::string &name : *list) {
      if (model.roles.count(name) == 0) return SA_ERR_HPI_INVALID_PARAMS;
    }
  }
  user.roles = std::move(first);
  user.other_roles = std::move(second);
  return SA_OK;
}

bool UidInUse(const Model &model, uint32_t uid) {
  for (const auto &[name, user] : model.users) {
    if (user.uid == uid) return true;
  }
  return false;
}

// The uid of the system account of `name`, which the daemon creates on the
// appliance; without one, the first uid from kFirstFreshUid that nobody has.
uint32_t NewUserUid(const Model &model, const std::string &name) {
  struct passwd entry {};
  struct passwd *found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_uid != 0 && !UidInUse(model, found->pw_uid)) {
    return found->pw_uid;
  }
  uint32_t uid = kFirstFreshUid;
  for (;;) {
    if (!UidInUse(model, uid) &&
        (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)) {
      return uid;
    }
    ++uid;
  }
}

// The entry at `index` of a map walked in key order, and the index after it.
template <typename Map>
SaErrorT EntryAt(Map &map, SaHpiUint32T index, typename Map::iterator *entry, SaHpiUint32T *next) {
  if (index >= map.size()) return SA_ERR_HPI_NOT_PRESENT;
  *entry = std::next(map.begin(), static_cast<std::ptrdiff_t>(index));
  *next = index + 1 < map.size() ? index + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT FindRole(Caller &c, const SaHpiTextBufferT *role_name, Role **role) {
  auto it = c.model.roles.find(TextBufferToString(*role_name));
  if (it == c.model.roles.end()) return SA_ERR_HPI_NOT_PRESENT;
  *role = &it->second;
  return SA_OK;
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

// ---- user and role administration ----------------------------------------------

SaErrorT SimUserInfoGetByIndex(Caller &c, SaHpiSessionIdT, SaHpiUint32T index, SaHpiUint32T *next,
                               SaHpiTextBufferT *user, SaHpiTextBufferT *full_name, SaHpiTextBufferT *phone,
                               SaHpiTextBufferT *email, SaHpiBoolT *enabled, SaHpiBoolT *external) {
  std::map<std::string, User>::iterator entry;
  if (SaErrorT rv = EntryAt(c.model.users, index, &entry, next); rv != SA_OK) return rv;
  const User &u = entry->second;
  *user = TextBufferFromString(entry->first);
  *full_name = TextBufferFromString(u.full_name);
  *phone = TextBufferFromString(u.phone);
  *email = TextBufferFromString(u.email);
  *enabled = u.enabled;
  *external = u.external;
  return SA_OK;
}

SaErrorT SimUserCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, const SaHpiTextBufferT *password,
                       SaHpiUint8T forced, const SaHpiTextBufferT *full_name, const SaHpiTextBufferT *phone,
                       const SaHpiTextBufferT *email, SaHpiBoolT enabled, const SaHpiTextBufferT *roles,
                       const SaHpiTextBufferT *other_roles, SaHpiBoolT external, SaHpiUint32T *uid) {
  const std::string name = TextBufferToString(*user);
  const std::string secret = TextBufferToString(*password);
  if (name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  if (c.model.users.count(name) != 0) return SA_ERR_HPI_DUPLICATE;
  if (!secret.empty() && secret.size() < kMinPasswordLength) return SA_ERR_HPI_INVALID_DATA;
  User created;
  if (SaErrorT rv = ParseRoles(c.model, roles, other_roles, created); rv != SA_OK) return rv;
  created.uid = NewUserUid(c.model, name);
  created.full_name = TextBufferToString(*full_name);
  created.phone = TextBufferToString(*phone);
  created.email = TextBufferToString(*email);
  created.enabled = enabled;
  created.external = external;
  created.password = secret;
  created.password_forced = forced;
  *uid = created.uid;
  c.model.users.emplace(name, std::move(created));
  return SA_OK;
}

SaErrorT SimUserDelete(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiUint8T) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  if (c.user == u) return SA_ERR_HPI_INVALID_REQUEST;
  c.model.users.erase(TextBufferToString(*user));
  return SA_OK;
}

SaErrorT SimUserInfoSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, const SaHpiTextBufferT *full_name,
                        const SaHpiTextBufferT *phone, const SaHpiTextBufferT *email, SaHpiBoolT enabled) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->full_name = TextBufferToString(*full_name);
  u->phone = TextBufferToString(*phone);
  u->email = TextBufferToString(*email);
  u->enabled = enabled;
  return SA_OK;
}

SaErrorT SimUserEnabledSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiBoolT enabled) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->enabled = enabled;
  return SA_OK;
}

SaErrorT SimChangePasswordUser(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                               const SaHpiTextBufferT *password, SaHpiUint8T forced) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  const std::string secret = TextBufferToString(*password);
  if (secret.size() < kMinPasswordLength) return SA_ERR_HPI_INVALID_DATA;
  u->password = secret;
  u->password_forced = forced;
  return SA_OK;
}

SaErrorT SimUserRolesSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, const SaHpiTextBufferT *roles,
                         const SaHpiTextBufferT *other_roles) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  return ParseRoles(c.model, roles, other_roles, *u);
}

SaErrorT SimIsUserLocked(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiBoolT *locked) {
  auto it = c.model.users.find(TextBufferToString(*user));
  if (it == c.model.users.end()) return SA_ERR_HPI_NOT_PRESENT;
  *locked = it->second.locked;
  return SA_OK;
}

SaErrorT SimRoleInfoGetByIndex(Caller &c, SaHpiSessionIdT, SaHpiUint32T index, SaHpiUint32T *next,
                               SaHpiTextBufferT *role, SaHpiTextBufferT *description, SaHpiUint64T *pmask,
                               SaHpiUint64T *omask) {
  std::map<std::string, Role>::iterator entry;
  if (SaErrorT rv = EntryAt(c.model.roles, index, &entry, next); rv != SA_OK) return rv;
  *role = TextBufferFromString(entry->first);
  *description = TextBufferFromString(entry->second.description);
  *pmask = entry->second.pmask;
  *omask = entry->second.omask;
  return SA_OK;
}

SaErrorT SimRoleCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *role, const SaHpiTextBufferT *description,
                       SaHpiUint64T pmask, SaHpiUint64T omask, SaHpiUint32T *id) {
  const std::string name = TextBufferToString(*role);
  if (name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  const auto [it, created] = c.model.roles.emplace(name, Role{TextBufferToString(*description), pmask, omask});
  if (!created) return SA_ERR_HPI_DUPLICATE;
  *id = static_cast<SaHpiUint32T>(std::distance(c.model.roles.begin(), it));
  return SA_OK;
}

SaErrorT SimRoleDelete(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *role) {
  const std::string name = TextBufferToString(*role);
  if (c.model.roles.count(name) == 0) return SA_ERR_HPI_NOT_PRESENT;
  for (const auto &[user_name, user] : c.model.users) {
    for (const std::vector<std::string> *list : {&user.roles, &user.other_roles}) {
      for (const std::string &held : *list) {
        if (held == name) return SA_ERR_HPI_BUSY;
      }
    }
  }
  c.model.roles.erase(name);
  return SA_OK;
}

SaErrorT SimRoleDescriptionSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *role,
                               const SaHpiTextBufferT *description) {
  Role *r;
  if (SaErrorT rv = FindRole(c, role, &r); rv != SA_OK) return rv;
  r->description = TextBufferToString(*description);
  return SA_OK;
}

SaErrorT SimRolePrivilegesSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *role, SaHpiUint64T pmask,
                              SaHpiUint64T omask) {
  Role *r;
  if (SaErrorT rv = FindRole(c, role, &r); rv != SA_OK) return rv;
  r->pmask = pmask;
  r->omask = omask;
  return SA_OK;
}

SaErrorT SimSNMPEnablesGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled, SaHpiBoolT *v12_enabled) {
  *enabled = c.model.appliance.snmp_enabled;
  *v12_enabled = c.model.appliance.snmp_v12_enabled;
  return SA_OK;
}

SaErrorT SimUserSNMPv3AttributesGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiBoolT *enabled,
                                    SaHpiUint8T *rw, SaHpiUint32T *auth_protocol, SaHpiUint32T *privacy_protocol) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  if (!u->snmpv3) return SA_ERR_HPI_NOT_PRESENT;
  *enabled = u->snmpv3->enabled;
  *rw = u->snmpv3->rw;
  *auth_protocol = u->snmpv3->auth_protocol;
  *privacy_protocol = u->snmpv3->privacy_protocol;
  return SA_OK;
}

SaErrorT SimUserSNMPv3AttributesSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiBoolT enabled,
                                    SaHpiUint8T rw, SaHpiUint32T auth_protocol, SaHpiUint32T privacy_protocol,
                                    SaHpiUint8T aap, const SaHpiTextBufferT *auth_passphrase,
                                    const SaHpiTextBufferT *privacy_passphrase) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  u->snmpv3 = SnmpV3{enabled,
                     rw,
                     auth_protocol,
                     privacy_protocol,
                     aap,
                     TextBufferToString(*auth_passphrase),
                     TextBufferToString(*privacy_passphrase)};
  return SA_OK;
}

SaErrorT SimUserSNMPv3EnableChange(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user, SaHpiBoolT enabled) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  if (!u->snmpv3) return SA_ERR_HPI_NOT_PRESENT;
  u->snmpv3->enabled = enabled;
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
