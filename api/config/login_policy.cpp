// FN 62-66: the login restrictions and the LDAP directory.
#include <string>

#include "api/config/access.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// One member of the login-restriction record that the page shows, with the
// width it has on the wire (exactly one of the two pointers is set).
struct RestrictionKey {
  const char *key;
  SaHpiUint8T KvnLoginRestrictionsT::*narrow;
  SaHpiUint32T KvnLoginRestrictionsT::*wide;
};

// In the order the setter reads them. The record's Unnamed32a has no key:
// the daemon's own value of it is sent back.
constexpr RestrictionKey kRestrictionKeys[] = {
    {"mlogon", &KvnLoginRestrictionsT::MultipleLogons, nullptr},
    {"idletim", nullptr, &KvnLoginRestrictionsT::IdleTimeout},
    {"failatt", nullptr, &KvnLoginRestrictionsT::FailedAttempts},
    {"locktim", nullptr, &KvnLoginRestrictionsT::LockoutTime},
    {"aging", &KvnLoginRestrictionsT::PasswordAging, nullptr},
    {"inter", nullptr, &KvnLoginRestrictionsT::AgingInterval},
    {"hsdep", nullptr, &KvnLoginRestrictionsT::HistoryDepth},
    {"spen", &KvnLoginRestrictionsT::StrongPasswords, nullptr},
    {"minl", nullptr, &KvnLoginRestrictionsT::MinimumLength},
    {"LCC", &KvnLoginRestrictionsT::LowerCaseChars, nullptr},
    {"UCC", &KvnLoginRestrictionsT::UpperCaseChars, nullptr},
    {"NMC", &KvnLoginRestrictionsT::NumericChars, nullptr},
    {"SPC", &KvnLoginRestrictionsT::SpecialChars, nullptr},
};

KvnLoginRestrictionsT ReadRestrictions(HpiSession session) {
  KvnLoginRestrictionsT record{};
  CheckHpi(kvnHpiLoginRestrictionsGet(session, &record), "kvnHpiLoginRestrictionsGet");
  return record;
}

SaHpiTextBufferT RequireText(const json &prm, const char *key) {
  return TextBufferFromString(RequireKey(prm, key).get<std::string>());
}

template <typename T>
T RequireNumber(const json &prm, const char *key) {
  return GetNumber<T>(RequireKey(prm, key));
}

}  // namespace

json GetLoginRestrictions(HpiSession session, const json &) {
  const KvnLoginRestrictionsT record = ReadRestrictions(session);
  json reply = json::object();
  for (const RestrictionKey &k : kRestrictionKeys) {
    reply[k.key] = k.narrow != nullptr ? json(record.*k.narrow) : json(record.*k.wide);
  }
  return OkReplyWithResponse(reply);
}

json SetLoginRestrictions(HpiSession session, const json &prm) {
  // Read first, so that the member no key sets goes back as the daemon has
  // it rather than as whatever the record held.
  KvnLoginRestrictionsT record = ReadRestrictions(session);
  for (const RestrictionKey &k : kRestrictionKeys) {
    const json &value = RequireKey(prm, k.key);
    if (k.narrow != nullptr) {
      record.*k.narrow = GetNumber<SaHpiUint8T>(value);
    } else {
      record.*k.wide = GetNumber<SaHpiUint32T>(value);
    }
  }
  CheckHpi(kvnHpiLoginRestrictionsSet(session, &record), "kvnHpiLoginRestrictionsSet");
  return OkReply();
}

json GetLdapConfiguration(HpiSession session, const json &) {
  SaHpiBoolT enabled = 0, use_ssl = 0, anonymous = 0;
  SaHpiUint32T type = 0, ssl_port = 0;
  SaHpiTextBufferT uri{}, cert{}, bind_dn{}, bind_password{}, search_base{}, login_name{}, user_class{},
      search_filter{}, options{};
  CheckHpi(kvnHpiLDAPConfigurationGet(session, &enabled, &uri, &type, &use_ssl, &ssl_port, &cert, &anonymous, &bind_dn,
                                      &bind_password, &search_base, &login_name, &user_class, &search_filter, &options),
           "kvnHpiLDAPConfigurationGet");
  return OkReplyWithResponse({
      {"en", enabled},
      {"uri", TextBufferToString(uri)},
      {"type", type},
      {"usessl", use_ssl},
      {"sslport", ssl_port},
      {"cert", TextBufferToString(cert)},
      {"useanm", anonymous},
      {"binddn", TextBufferToString(bind_dn)},
      {"bindps", TextBufferToString(bind_password)},
      {"sbdn", TextBufferToString(search_base)},
      {"lname", TextBufferToString(login_name)},
      {"uclass", TextBufferToString(user_class)},
      {"usf", TextBufferToString(search_filter)},
      {"exopt", TextBufferToString(options)},
  });
}

json EnableLdapConfiguration(HpiSession session, const json &prm) {
  const SaHpiTextBufferT uri = RequireText(prm, "uri");
  const auto type = RequireNumber<SaHpiUint32T>(prm, "type");
  const auto use_ssl = RequireNumber<SaHpiBoolT>(prm, "usessl");
  // Without SSL the port and certificate are not asked for.
  SaHpiUint32T ssl_port = 0;
  SaHpiTextBufferT cert = TextBufferFromString("");
  if (use_ssl != 0) {
    ssl_port = RequireNumber<SaHpiUint32T>(prm, "sslport");
    cert = RequireText(prm, "cert");
  }
  const auto anonymous = RequireNumber<SaHpiBoolT>(prm, "useanm");
  const SaHpiTextBufferT bind_dn = RequireText(prm, "binddn");
  const SaHpiTextBufferT bind_password = RequireText(prm, "bindps");
  const SaHpiTextBufferT search_base = RequireText(prm, "sbdn");
  const SaHpiTextBufferT login_name = RequireText(prm, "lname");
  const SaHpiTextBufferT user_class = RequireText(prm, "uclass");
  const SaHpiTextBufferT search_filter = RequireText(prm, "usf");
  const SaHpiTextBufferT options = RequireText(prm, "exopt");
  CheckHpi(
      kvnHpiLDAPConfigurationEnable(session, &uri, type, use_ssl, ssl_port, &cert, anonymous, &bind_dn, &bind_password,
                                    &search_base, &login_name, &user_class, &search_filter, &options),
      "kvnHpiLDAPConfigurationEnable");
  return OkReply();
}

json DisableLdapConfiguration(HpiSession session, const json &) {
  CheckHpi(kvnHpiLDAPConfigurationDisable(session), "kvnHpiLDAPConfigurationDisable");
  return OkReply();
}

}  // namespace kvnc
