// The access policy (login restrictions, LDAP, packet filters) and users'
// SSH keys.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// Key files are read from here only, as the daemon does.
constexpr const char *kKeyDir = "/tmp/";
// Longer files are no public key; they are refused rather than read whole.
constexpr size_t kMaxKeyFile = 64 * 1024;

std::string Text(const SaHpiTextBufferT *text) { return TextBufferToString(*text); }

DestinationFilter *FindFilter(Caller &c, SaHpiUint8T family) { return c.model.access_policy.firewall.Find(family); }
RoleFilter *FindRoleFilter(Caller &c, SaHpiUint8T family) { return c.model.access_policy.role_firewall.Find(family); }

template <typename Filter>
SaErrorT EnableGet(Filter *filter, SaHpiBoolT *enabled) {
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  *enabled = filter->en;
  return SA_OK;
}

template <typename Filter>
SaErrorT EnableSet(Filter *filter, SaHpiBoolT enabled) {
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  filter->en = enabled;
  return SA_OK;
}

template <typename Filter>
SaErrorT PolicyGet(Filter *filter, SaHpiUint32T *policy) {
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  *policy = filter->dp;
  return SA_OK;
}

template <typename Filter>
SaErrorT PolicySet(Filter *filter, SaHpiUint32T policy) {
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  filter->dp = policy;
  return SA_OK;
}

// Rule `number` (from 1) of a filter.
template <typename Filter>
SaErrorT FindRule(Filter *filter, SaHpiUint32T number, decltype(filter->rules.data()) *rule) {
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  if (number == 0 || number > filter->rules.size()) return SA_ERR_HPI_NOT_PRESENT;
  *rule = &filter->rules[number - 1];
  return SA_OK;
}

template <typename Filter>
SaErrorT RuleDelete(Filter *filter, SaHpiUint32T number) {
  decltype(filter->rules.data()) rule = nullptr;
  if (SaErrorT rv = FindRule(filter, number, &rule); rv != SA_OK) return rv;
  filter->rules.erase(filter->rules.begin() + (number - 1));
  return SA_OK;
}

// The key text of a file the API wrote: SA_ERR_HPI_NOT_PRESENT when it is
// not there, SA_ERR_HPI_INVALID_PARAMS outside the key directory or for a
// link, SA_ERR_HPI_INVALID_DATA when it is too long.
SaErrorT ReadKeyFile(const std::string &path, std::string *key) {
  if (path.rfind(kKeyDir, 0) != 0 || path.find("/..") != std::string::npos) return SA_ERR_HPI_INVALID_PARAMS;
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? SA_ERR_HPI_NOT_PRESENT : SA_ERR_HPI_INVALID_PARAMS;
  std::string text;
  char chunk[4096];
  ssize_t n;
  while ((n = read(fd, chunk, sizeof chunk)) > 0 && text.size() <= kMaxKeyFile) {
    text.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  if (n < 0) return SA_ERR_HPI_ERROR;
  if (text.size() > kMaxKeyFile) return SA_ERR_HPI_INVALID_DATA;
  *key = text;
  return SA_OK;
}

}  // namespace

SaErrorT SimLoginRestrictionsGet(Caller &c, SaHpiSessionIdT, KvnLoginRestrictionsT *record) {
  const LoginRestrictions &r = c.model.access_policy.login_restrictions;
  *record = {r.mlogon, r.aging,   r.inter, r.idletim, r.failatt, r.locktim, r.spen,
             r.minl,   r.unnamed, r.LCC,   r.UCC,     r.NMC,     r.SPC,     r.hsdep};
  return SA_OK;
}

SaErrorT SimLoginRestrictionsSet(Caller &c, SaHpiSessionIdT, const KvnLoginRestrictionsT *record) {
  const KvnLoginRestrictionsT &r = *record;
  c.model.access_policy.login_restrictions = {r.MultipleLogons, r.PasswordAging,  r.AgingInterval,   r.IdleTimeout,
                                              r.FailedAttempts, r.LockoutTime,    r.StrongPasswords, r.MinimumLength,
                                              r.Unnamed32a,     r.LowerCaseChars, r.UpperCaseChars,  r.NumericChars,
                                              r.SpecialChars,   r.HistoryDepth};
  return SA_OK;
}

SaErrorT SimLDAPConfigurationEnable(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *uri, SaHpiUint32T type,
                                    SaHpiUint8T use_ssl, SaHpiUint32T ssl_port, const SaHpiTextBufferT *cert,
                                    SaHpiUint8T anonymous, const SaHpiTextBufferT *bind_dn,
                                    const SaHpiTextBufferT *bind_password, const SaHpiTextBufferT *search_base,
                                    const SaHpiTextBufferT *login_name, const SaHpiTextBufferT *user_class,
                                    const SaHpiTextBufferT *search_filter, const SaHpiTextBufferT *options) {
  if (Text(uri).empty()) return SA_ERR_HPI_INVALID_PARAMS;
  c.model.access_policy.ldap = {1,
                                Text(uri),
                                type,
                                use_ssl,
                                ssl_port,
                                Text(cert),
                                anonymous,
                                Text(bind_dn),
                                Text(bind_password),
                                Text(search_base),
                                Text(login_name),
                                Text(user_class),
                                Text(search_filter),
                                Text(options)};
  return SA_OK;
}

SaErrorT SimLDAPConfigurationDisable(Caller &c, SaHpiSessionIdT) {
  c.model.access_policy.ldap.en = 0;
  return SA_OK;
}

SaErrorT SimLDAPConfigurationGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T *enabled, SaHpiTextBufferT *uri,
                                 SaHpiUint32T *type, SaHpiUint8T *use_ssl, SaHpiUint32T *ssl_port,
                                 SaHpiTextBufferT *cert, SaHpiUint8T *anonymous, SaHpiTextBufferT *bind_dn,
                                 SaHpiTextBufferT *bind_password, SaHpiTextBufferT *search_base,
                                 SaHpiTextBufferT *login_name, SaHpiTextBufferT *user_class,
                                 SaHpiTextBufferT *search_filter, SaHpiTextBufferT *options) {
  const LdapSettings &l = c.model.access_policy.ldap;
  *enabled = l.en;
  *uri = TextBufferFromString(l.uri);
  *type = l.type;
  *use_ssl = l.usessl;
  *ssl_port = l.sslport;
  *cert = TextBufferFromString(l.cert);
  *anonymous = l.useanm;
  *bind_dn = TextBufferFromString(l.binddn);
  *bind_password = TextBufferFromString(l.bindps);
  *search_base = TextBufferFromString(l.sbdn);
  *login_name = TextBufferFromString(l.lname);
  *user_class = TextBufferFromString(l.uclass);
  *search_filter = TextBufferFromString(l.usf);
  *options = TextBufferFromString(l.exopt);
  return SA_OK;
}

SaErrorT SimFirewallEnableGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint8T *enabled) {
  return EnableGet(FindFilter(c, family), enabled);
}
SaErrorT SimFirewallEnableSet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint8T enabled) {
  return EnableSet(FindFilter(c, family), enabled);
}
SaErrorT SimFirewallDefaultPolicyGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T *policy) {
  return PolicyGet(FindFilter(c, family), policy);
}
SaErrorT SimFirewallDefaultPolicySet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T policy) {
  return PolicySet(FindFilter(c, family), policy);
}

SaErrorT SimFirewallRuleGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T number,
                            SaHpiTextBufferT *destination, SaHpiUint32T *policy) {
  DestinationRule *rule = nullptr;
  if (SaErrorT rv = FindRule(FindFilter(c, family), number, &rule); rv != SA_OK) return rv;
  *destination = TextBufferFromString(rule->dest);
  *policy = rule->policy;
  return SA_OK;
}

SaErrorT SimFirewallRuleAdd(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, const SaHpiTextBufferT *destination,
                            SaHpiUint32T policy) {
  DestinationFilter *filter = FindFilter(c, family);
  if (filter == nullptr || Text(destination).empty()) return SA_ERR_HPI_INVALID_PARAMS;
  filter->rules.push_back({Text(destination), policy});
  return SA_OK;
}

SaErrorT SimFirewallRuleDelete(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T number) {
  return RuleDelete(FindFilter(c, family), number);
}

SaErrorT SimRoleBasedFirewallEnableGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint8T *enabled) {
  return EnableGet(FindRoleFilter(c, family), enabled);
}
SaErrorT SimRoleBasedFirewallEnableSet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint8T enabled) {
  return EnableSet(FindRoleFilter(c, family), enabled);
}
SaErrorT SimRoleBasedFirewallDefaultPolicyGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T *policy) {
  return PolicyGet(FindRoleFilter(c, family), policy);
}
SaErrorT SimRoleBasedFirewallDefaultPolicySet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T policy) {
  return PolicySet(FindRoleFilter(c, family), policy);
}

SaErrorT SimRoleBasedFirewallRuleGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T number,
                                     SaHpiTextBufferT *from, SaHpiTextBufferT *to, SaHpiTextBufferT *role,
                                     SaHpiUint32T *policy) {
  RoleRule *rule = nullptr;
  if (SaErrorT rv = FindRule(FindRoleFilter(c, family), number, &rule); rv != SA_OK) return rv;
  *from = TextBufferFromString(rule->from);
  *to = TextBufferFromString(rule->to);
  *role = TextBufferFromString(rule->role);
  *policy = rule->policy;
  return SA_OK;
}

SaErrorT SimRoleBasedFirewallRuleAdd(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, const SaHpiTextBufferT *from,
                                     const SaHpiTextBufferT *to, const SaHpiTextBufferT *role, SaHpiUint32T policy) {
  RoleFilter *filter = FindRoleFilter(c, family);
  if (filter == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  // A rule for a role that does not exist would never match anybody.
  if (c.model.roles.count(Text(role)) == 0) return SA_ERR_HPI_INVALID_DATA;
  filter->rules.push_back({Text(from), Text(to), Text(role), policy});
  return SA_OK;
}

SaErrorT SimRoleBasedFirewallRuleDelete(Caller &c, SaHpiSessionIdT, SaHpiUint8T family, SaHpiUint32T number) {
  return RuleDelete(FindRoleFilter(c, family), number);
}

SaErrorT SimUserSSHPublicKeySet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *user,
                                const SaHpiTextBufferT *file) {
  User *u;
  if (SaErrorT rv = c.FindUser(user, &u); rv != SA_OK) return rv;
  const std::string path = Text(file);
  if (path.empty()) {
    u->ssh_key.clear();
    return SA_OK;
  }
  std::string key;
  if (SaErrorT rv = ReadKeyFile(path, &key); rv != SA_OK) return rv;
  u->ssh_key = key;
  return SA_OK;
}

}  // namespace kvnc::sim
