#include "api/users/users.h"

#include <pwd.h>
#include <cstring>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "api/users/roles.h"
#include "client/hpi_functions.h"
#include "client/kvn_types.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/login.h"
#include "front/session_store.h"
#include "front/text_helpers.h"

namespace kvnc {
namespace {

// SNMPv3 access of a user who has none of their own yet: what the page offers.
const json kSnmpDefaults = {{"AP", 2}, {"ENABLED", 0}, {"PP", 1}, {"RW", 0}};

std::string TextMember(const json &prm, std::string_view key, std::string_view parent = {}) {
  return RequireKey(prm, key, parent).get<std::string>();
}

template <typename T>
T Number(const json &prm, std::string_view key, std::string_view parent = {}) {
  return GetNumber<T>(RequireKey(prm, key, parent));
}

std::string Text(const SaHpiTextBufferT &buffer) { return TextBufferToString(buffer); }

// A text buffer holding a password, zeroed when it goes out of scope.
struct SecretText {
  SaHpiTextBufferT buffer;
  explicit SecretText(const std::string &text) : buffer(TextBufferFromString(text)) {}
  ~SecretText() { explicit_bzero(&buffer, sizeof buffer); }
  SecretText(const SecretText &) = delete;
  SecretText &operator=(const SecretText &) = delete;
};

// The uid of the system account of `user`, looked up before the daemon acts
// on the account: on the appliance it removes the account along with the
// user. None for names without one (they can hold no web session).
std::optional<uint32_t> AccountUid(const std::string &user) {
  struct passwd entry {};
  struct passwd *found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  return found->pw_uid;
}

void EndWebSessions(const std::optional<uint32_t> &uid) {
  if (uid && *uid != 0) SessionStore().RemoveUid(*uid);
}

KvnMeasurementUnitsT ReadUnits(const json &object, std::string_view parent = {}) {
  KvnMeasurementUnitsT units{};
  units.Degrees = Number<SaHpiUint8T>(object, "DEGREES", parent);
  units.Length = Number<SaHpiUint8T>(object, "LENGTH", parent);
  units.Pressure = Number<SaHpiUint8T>(object, "PRESSURE", parent);
  return units;
}

KvnWebParametersT ReadWebParameters(const json &object, std::string_view parent = {}) {
  KvnWebParametersT web{};
  web.LogPollingPeriod = Number<SaHpiUint32T>(object, "LOG_POLLING", parent);
  web.IdleEnabled = Number<SaHpiUint8T>(object, "IDLE_ENABLED", parent);
  web.IdleTimeout = Number<SaHpiUint32T>(object, "IDLE_TIMEOUT", parent);
  web.WaitTimeout = Number<SaHpiUint32T>(object, "WAIT_TIMEOUT", parent);
  return web;
}

struct SnmpRequest {
  SaHpiUint32T auth_protocol;
  SaHpiUint32T privacy_protocol;
  SaHpiUint8T rw;
  SaHpiUint8T enabled;
  SaHpiUint8T aap;
  std::string auth_passphrase;
  std::string privacy_passphrase;
};

// Everything FN 37 and 38 send, read (and checked) before the first call, so
// that a request missing a member changes nothing.
struct UserRequest {
  std::string name, full_name, phone, email, password;
  SaHpiUint8T enabled, forced;
  KvnMeasurementUnitsT units;
  KvnWebParametersT web;
  std::string roles;
  SaHpiUint32T language;
  std::optional<SnmpRequest> snmp;
  SaHpiUint8T external = 0;  // FN 38 only

  UserRequest() = default;
  UserRequest(const UserRequest &) = delete;
  UserRequest &operator=(const UserRequest &) = delete;
  ~UserRequest() {
    WipeString(password);
    if (snmp) {
      WipeString(snmp->auth_passphrase);
      WipeString(snmp->privacy_passphrase);
    }
  }
};

void ReadUserRequest(const json &prm, bool create, UserRequest &request) {
  request.name = TextMember(prm, "NAME");
  request.full_name = TextMember(prm, "FNAME");
  request.phone = TextMember(prm, "PHONE");
  request.email = TextMember(prm, "EMAIL");
  request.password = TextMember(prm, "PDW");
  request.enabled = Number<SaHpiUint8T>(prm, "ENABLED");
  request.forced = Number<SaHpiUint8T>(prm, "FORCED");
  request.units = ReadUnits(RequireKey(prm, "PREFERENCES"), "PREFERENCES");
  request.web = ReadWebParameters(RequireKey(prm, "SESSION"), "SESSION");
  for (const json &role : RequireArray(prm, "ROLES")) {
    if (!request.roles.empty()) request.roles += ',';
    request.roles += role.get<std::string>();
  }
  request.language = Number<SaHpiUint32T>(prm, "LANG");
  if (create) request.external = Number<SaHpiUint8T>(prm, "EXTERNAL");
  if (const json *snmp = OptionalKey(prm, "SNMP"); snmp != nullptr) {
    SnmpRequest &s = request.snmp.emplace();
    s.auth_protocol = Number<SaHpiUint32T>(*snmp, "AP", "SNMP");
    s.privacy_protocol = Number<SaHpiUint32T>(*snmp, "PP", "SNMP");
    s.rw = Number<SaHpiUint8T>(*snmp, "RW", "SNMP");
    s.enabled = Number<SaHpiUint8T>(*snmp, "ENABLED", "SNMP");
    s.aap = Number<SaHpiUint8T>(*snmp, "AAP", "SNMP");
    s.auth_passphrase = TextMember(*snmp, "APP", "SNMP");
    s.privacy_passphrase = TextMember(*snmp, "PPP", "SNMP");
  }
}

// Creates the user or changes their account; true when the daemon refused
// only the new password as bad.
bool WriteAccount(HpiSession session, const UserRequest &request, bool create) {
  const SaHpiTextBufferT name = TextBufferFromString(request.name);
  const SaHpiTextBufferT full_name = TextBufferFromString(request.full_name);
  const SaHpiTextBufferT phone = TextBufferFromString(request.phone);
  const SaHpiTextBufferT email = TextBufferFromString(request.email);
  const SaHpiTextBufferT roles = TextBufferFromString(request.roles);
  const SaHpiTextBufferT no_roles = TextBufferFromString("");
  const SecretText password(request.password);
  if (create) {
    SaHpiUint32T uid = 0;
    CheckHpi(kvnHpiUserCreate(session, &name, &password.buffer, request.forced, &full_name, &phone, &email,
                              request.enabled, &roles, &no_roles, request.external, &uid),
             "kvnHpiUserCreate");
    return false;
  }
  CheckHpi(kvnHpiUserInfoSet(session, &name, &full_name, &phone, &email, request.enabled), "kvnHpiUserInfoSet");
  bool bad_password = false;
  if (!request.password.empty()) {
    const SaErrorT rv = kvnHpiChangePasswordUser(session, &name, &password.buffer, request.forced);
    bad_password = rv == SA_ERR_HPI_INVALID_DATA;
    if (!bad_password) CheckHpi(rv, "kvnHpiUserPasswordChange");
  }
  CheckHpi(kvnHpiUserRolesSet(session, &name, &roles, &no_roles), "kvnHpiUserRolesSet");
  return bad_password;
}

void WriteSettings(HpiSession session, const UserRequest &request) {
  const SaHpiTextBufferT name = TextBufferFromString(request.name);
  CheckHpi(kvnHpiUserLanguageSet(session, &name, request.language), "kvnHpiUserLanguageSet");
  CheckHpi(kvnHpiUserMeasurementUnitsSet(session, &name, &request.units), "kvnHpiUserMeasurementUnitsSet");
  CheckHpi(kvnHpiUserWebParametersSet(session, &name, &request.web), "kvnHpiUserWebParametersSet");
  if (!request.snmp) return;
  const SnmpRequest &snmp = *request.snmp;
  if (snmp.enabled == 1) {
    const SecretText auth(snmp.auth_passphrase);
    const SecretText privacy(snmp.privacy_passphrase);
    CheckHpi(kvnHpiUserSNMPv3AttributesSet(session, &name, SAHPI_TRUE, snmp.rw, snmp.auth_protocol,
                                           snmp.privacy_protocol, snmp.aap, &auth.buffer, &privacy.buffer),
             "kvnHpiUserSNMPv3AttributesSet");
    return;
  }
  const SaErrorT rv = kvnHpiUserSNMPv3EnableChange(session, &name, SAHPI_FALSE);
  if (rv != SA_ERR_HPI_NOT_PRESENT) CheckHpi(rv, "kvnHpiUserSNMPv3EnableChange");
}

json SaveUser(HpiSession session, const json &prm, bool create) {
  UserRequest request;
  ReadUserRequest(prm, create, request);
  const bool bad_password = WriteAccount(session, request, create);
  WriteSettings(session, request);
  return OkReplyWithResponse({{"bad_password", bad_password}});
}

// The roles of FN 36: without their object masks.
json RolesWithoutObjectMasks(HpiSession session) {
  json roles = json::array();
  WalkIds("kvnHpiRoleInfoGetByIndex", [&](uint32_t index, uint32_t *next) {
    SaHpiTextBufferT name{}, description{};
    SaHpiUint64T pmask = 0, omask = 0;
    const SaErrorT rv = kvnHpiRoleInfoGetByIndex(session, index, next, &name, &description, &pmask, &omask);
    if (rv == SA_OK) {
      roles.push_back({{"DESC", Text(description)}, {"ID", index}, {"NAME", Text(name)}, {"PMASKS", MaskJson(pmask)}});
    }
    return rv;
  });
  return roles;
}

// USER's account: names, flags and the roles the user holds.
json AccountDetails(HpiSession session, const std::string &user_name, const SaHpiTextBufferT &user) {
  SaHpiTextBufferT full_name{}, phone{}, email{};
  SaHpiBoolT enabled = 0, external = 0;
  SaHpiUint32T unused = 0;
  CheckHpi(kvnHpiUserInfoGetByName(session, &user, &full_name, &phone, &email, &enabled, &external, &unused),
           "kvnHpiUserInfoGetByName");
  json details = {{"NAME", user_name},  {"FNAME", Text(full_name)}, {"PHONE", Text(phone)},  {"EMAIL", Text(email)},
                  {"ENABLED", enabled}, {"EXTERNAL", external},     {"ROLES", json::array()}};
  SaHpiTextBufferT user_roles{}, other_roles{};
  CheckHpi(kvnHpiUserRolesGet(session, &user, &user_roles, &other_roles), "kvnHpiUserRolesGet");
  for (const SaHpiTextBufferT *list : {&user_roles, &other_roles}) {
    for (const std::string &role : SplitTokens(Text(*list))) details["ROLES"].push_back(role);
  }
  return details;
}

// USER.PREFERENCES, SESSION and LANG; the privileges must be readable too.
void AddSettingDetails(HpiSession session, const SaHpiTextBufferT &user, json &details) {
  SaHpiUint64T pmask = 0, omask = 0;
  CheckHpi(kvnHpiUserPrivilegesGet(session, &user, &pmask, &omask), "kvnHpiUserPrivilegesGet");

  KvnMeasurementUnitsT units{};
  CheckHpi(kvnHpiUserMeasurementUnitsGet(session, &user, &units), "kvnHpiUserMeasurementUnitsGet");
  details["PREFERENCES"] = {{"DEGREES", units.Degrees}, {"LENGTH", units.Length}, {"PRESSURE", units.Pressure}};

  KvnWebParametersT web{};
  // The page reports both steps under one name.
  CheckHpi(kvnHpiUserWebParametersGet(session, &user, &web), "kvnHpiUserMeasurementUnitsGet");
  details["SESSION"] = {{"IDLE_ENABLED", web.IdleEnabled},
                        {"IDLE_TIMEOUT", web.IdleTimeout},
                        {"LOG_POLLING", web.LogPollingPeriod},
                        {"WAIT_TIMEOUT", web.WaitTimeout}};

  SaHpiUint32T language = 0;
  CheckHpi(kvnHpiUserLanguageGet(session, &user, &language), "kvnHpiUserLanguageGet");
  details["LANG"] = language;
}

// USER.SNMP, or null when the appliance's SNMP agent is off.
json SnmpDetails(HpiSession session, const SaHpiTextBufferT &user) {
  SaHpiBoolT agent = SAHPI_FALSE, v12 = SAHPI_FALSE;
  if (kvnHpiSNMPEnablesGet(session, &agent, &v12) != SA_OK || agent != SAHPI_TRUE) return nullptr;
  SaHpiBoolT enabled = SAHPI_FALSE;
  SaHpiUint8T rw = 0;
  SaHpiUint32T auth_protocol = 0, privacy_protocol = 0;
  const SaErrorT rv = kvnHpiUserSNMPv3AttributesGet(session, &user, &enabled, &rw, &auth_protocol, &privacy_protocol);
  if (rv == SA_ERR_HPI_NOT_PRESENT) return kSnmpDefaults;
  CheckHpi(rv, "kvnHpiUserSNMPv3AttributesGet");
  return {{"AP", auth_protocol}, {"ENABLED", enabled}, {"PP", privacy_protocol}, {"RW", rw}};
}

}  // namespace

json ChangePassword(HpiSession session, const json &prm) {
  const std::string user = TextMember(prm, "USER");
  std::string old_password = TextMember(prm, "OLDPWD");
  const WipeOnExit wipe_old(old_password);
  LoginState state;
  if (Authenticate(user, old_password, state) == kAuthRefused) {
    if (!state.error.empty()) return ErrorReplyMsg(kRcNotAuthorised, state.error);
    if (!state.info.empty()) return ErrorReplyMsg(kRcNotAuthorised, state.info);
    return ErrorReplyMsg(kRcWrongPassword, "Wrong old password");
  }
  std::string new_password = TextMember(prm, "NEWPWD");
  const WipeOnExit wipe_new(new_password);
  const SaHpiTextBufferT name = TextBufferFromString(user);
  const SecretText password(new_password);
  // A refused password must not be answered as changed.
  CheckHpi(kvnHpiChangePasswordUser(session, &name, &password.buffer, 0), "kvnHpiChangePasswordUser");
  return OkReply();
}

json SetCurrentUserPreferences(HpiSession session, const json &prm) {
  const KvnMeasurementUnitsT units = ReadUnits(prm);
  const KvnWebParametersT web = ReadWebParameters(prm);
  if (const json *language = OptionalKey(prm, "LANG"); language != nullptr) {
    CheckHpi(kvnHpiCurrentUserLanguageSet(session, GetNumber<SaHpiUint32T>(*language)), "kvnHpiCurrentUserLanguageSet");
  }
  CheckHpi(kvnHpiCurrentUserMeasurementUnitsSet(session, &units), "kvnHpiCurrentUserMeasurementUnitsSet");
  CheckHpi(kvnHpiCurrentUserWebParametersSet(session, &web), "kvnHpiCurrentUserWebParametersSet");
  return OkReply();
}

// Slots the daemon reports as not present are skipped by going on with the
// following index (the answer names no next one). A user deleted while the
// list is read leaves such a slot where the last one was: past it every slot
// is free, so a run of kMaxFreeSlots of them is the end of the list. The
// guard ends a daemon that keeps handing out indexes already seen.
json GetUsers(HpiSession session, const json & /*prm*/) {
  constexpr unsigned kMaxFreeSlots = 64;
  json users = json::array();
  WalkGuard guard("kvnHpiUserInfoGetByIndex");
  unsigned free_slots = 0;
  for (SaHpiUint32T index = SAHPI_FIRST_ENTRY; index != SAHPI_LAST_ENTRY;) {
    guard.Visit(index);
    SaHpiUint32T next = SAHPI_LAST_ENTRY;
    SaHpiTextBufferT name{}, full_name{}, phone{}, email{};
    SaHpiBoolT enabled = 0, external = 0;
    const SaErrorT rv =
        kvnHpiUserInfoGetByIndex(session, index, &next, &name, &full_name, &phone, &email, &enabled, &external);
    if (rv == SA_ERR_HPI_NOT_PRESENT) {
      if (++free_slots == kMaxFreeSlots) break;
      ++index;
      continue;
    }
    free_slots = 0;
    CheckHpi(rv, "kvnHpiUserInfoGetByIndex");
    if (name.DataLength != 0) {
      SaHpiBoolT locked = 0;
      const SaErrorT lock_rv = kvnHpiIsUserLocked(session, &name, &locked);
      if (lock_rv == SA_ERR_HPI_NOT_PRESENT) {
        locked = 0;
      } else {
        CheckHpi(lock_rv, "kvnHpiIsUserLocked");
      }
      users.push_back({{"EMAIL", Text(email)},
                       {"ENABLED", enabled},
                       {"EXTERNAL", external},
                       {"FNAME", Text(full_name)},
                       {"ID", index},
                       {"LOCKED", locked},
                       {"NAME", Text(name)},
                       {"PHONE", Text(phone)}});
    }
    index = next;
  }
  return OkReplyWithResponse(users);
}

json GetUserDetails(HpiSession session, const json &prm) {
  const std::string user_name = TextMember(prm, "user");
  const SaHpiTextBufferT user = TextBufferFromString(user_name);
  json roles = RolesWithoutObjectMasks(session);
  json details = AccountDetails(session, user_name, user);
  AddSettingDetails(session, user, details);
  json snmp = SnmpDetails(session, user);
  if (!snmp.is_null()) details["SNMP"] = std::move(snmp);
  return OkReplyWithResponse({{"ROLES", std::move(roles)}, {"USER", std::move(details)}});
}

json ModifyUser(HpiSession session, const json &prm) { return SaveUser(session, prm, false); }

json AddUser(HpiSession session, const json &prm) { return SaveUser(session, prm, true); }

json DeleteUser(HpiSession session, const json &prm) {
  const std::string user = TextMember(prm, "NAME");
  const auto delete_home = Number<SaHpiUint8T>(prm, "DELH");
  const std::optional<uint32_t> uid = AccountUid(user);
  const SaHpiTextBufferT name = TextBufferFromString(user);
  CheckHpi(kvnHpiUserDelete(session, &name, delete_home), "kvnHpiUserDelete");
  EndWebSessions(uid);
  return OkReply();
}

json SetUserEnabled(HpiSession session, const json &prm) {
  const std::string user = TextMember(prm, "NAME");
  const auto enabled = Number<SaHpiUint8T>(prm, "ENABLED");
  const std::optional<uint32_t> uid = AccountUid(user);
  const SaHpiTextBufferT name = TextBufferFromString(user);
  // SNMPv3 access follows the account; a user without any is no failure.
  kvnHpiUserSNMPv3EnableChange(session, &name, enabled != 0 ? SAHPI_TRUE : SAHPI_FALSE);
  CheckHpi(kvnHpiUserEnabledSet(session, &name, enabled), "kvnHpiUserEnabledSet");
  if (enabled == 0) EndWebSessions(uid);
  return OkReply();
}

}  // namespace kvnc
