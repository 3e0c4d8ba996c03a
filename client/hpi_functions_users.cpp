// Users, roles, privileges, preferences and login security.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiCurrentPrivilegeMaskGet(SaHpiSessionIdT SessionId, SaHpiUint64T *PrivilegeMask,
                                       SaHpiUint64T *OtherMask) {
  return HpiCall(252, {&SessionId}, {PrivilegeMask, OtherMask});
}

SaErrorT kvnHpiCurrentUserMeasurementUnitsGet(SaHpiSessionIdT SessionId, KvnMeasurementUnitsT *Units) {
  return HpiCall(253, {&SessionId}, {Units});
}

SaErrorT kvnHpiCurrentUserMeasurementUnitsSet(SaHpiSessionIdT SessionId, const KvnMeasurementUnitsT *Units) {
  return HpiCall(254, {&SessionId, Units}, {});
}

SaErrorT kvnHpiUserMeasurementUnitsGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                       KvnMeasurementUnitsT *Units) {
  return HpiCall(255, {&SessionId, UserName}, {Units});
}

SaErrorT kvnHpiUserMeasurementUnitsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                       const KvnMeasurementUnitsT *Units) {
  return HpiCall(256, {&SessionId, UserName, Units}, {});
}

SaErrorT kvnHpiGlobalMeasurementUnitsGet(SaHpiSessionIdT SessionId, KvnMeasurementUnitsT *Units) {
  return HpiCall(257, {&SessionId}, {Units});
}

SaErrorT kvnHpiGlobalMeasurementUnitsSet(SaHpiSessionIdT SessionId, const KvnMeasurementUnitsT *Units) {
  return HpiCall(258, {&SessionId, Units}, {});
}

SaErrorT kvnHpiCurrentUserWebParametersGet(SaHpiSessionIdT SessionId, KvnWebParametersT *Parameters) {
  return HpiCall(259, {&SessionId}, {Parameters});
}

SaErrorT kvnHpiCurrentUserWebParametersSet(SaHpiSessionIdT SessionId, const KvnWebParametersT *Parameters) {
  return HpiCall(260, {&SessionId, Parameters}, {});
}

SaErrorT kvnHpiUserWebParametersGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                    KvnWebParametersT *Parameters) {
  return HpiCall(261, {&SessionId, UserName}, {Parameters});
}

SaErrorT kvnHpiUserWebParametersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                    const KvnWebParametersT *Parameters) {
  return HpiCall(262, {&SessionId, UserName, Parameters}, {});
}

SaErrorT kvnHpiGlobalWebParametersGet(SaHpiSessionIdT SessionId, KvnWebParametersT *Parameters) {
  return HpiCall(263, {&SessionId}, {Parameters});
}

SaErrorT kvnHpiGlobalWebParametersSet(SaHpiSessionIdT SessionId, const KvnWebParametersT *Parameters) {
  return HpiCall(264, {&SessionId, Parameters}, {});
}

SaErrorT kvnHpiCurrentLanguageGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Language) {
  return HpiCall(265, {&SessionId}, {Language});
}

SaErrorT kvnHpiCurrentLanguageSet(SaHpiSessionIdT SessionId, SaHpiUint32T Language) {
  return HpiCall(266, {&SessionId, &Language}, {});
}

SaErrorT kvnHpiCurrentLCDUIFlagsGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Flags) {
  return HpiCall(267, {&SessionId}, {Flags});
}

SaErrorT kvnHpiCurrentLCDUIFlagsSet(SaHpiSessionIdT SessionId, SaHpiUint32T Flags) {
  return HpiCall(268, {&SessionId, &Flags}, {});
}

SaErrorT kvnHpiUserInfoGetByIndex(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T *NextIndex,
                                  SaHpiTextBufferT *UserName, SaHpiTextBufferT *FullName, SaHpiTextBufferT *Phone,
                                  SaHpiTextBufferT *Email, SaHpiBoolT *Enabled, SaHpiBoolT *External) {
  return HpiCall(269, {&SessionId, &Index}, {NextIndex, UserName, FullName, Phone, Email, Enabled, External});
}

SaErrorT kvnHpiUserInfoGetByName(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                 SaHpiTextBufferT *FullName, SaHpiTextBufferT *Phone, SaHpiTextBufferT *Email,
                                 SaHpiBoolT *Enabled, SaHpiBoolT *External, SaHpiUint32T *UnnamedResult32) {
  return HpiCall(270, {&SessionId, UserName}, {FullName, Phone, Email, Enabled, External, UnnamedResult32});
}

SaErrorT kvnHpiUserCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, const SaHpiTextBufferT *Password,
                          SaHpiUint8T Forced, const SaHpiTextBufferT *FullName, const SaHpiTextBufferT *Phone,
                          const SaHpiTextBufferT *Email, SaHpiBoolT Enabled, const SaHpiTextBufferT *Roles,
                          const SaHpiTextBufferT *OtherRoles, SaHpiBoolT External, SaHpiUint32T *UserId) {
  return HpiCall(
      271, {&SessionId, UserName, Password, &Forced, FullName, Phone, Email, &Enabled, Roles, OtherRoles, &External},
      {UserId});
}

SaErrorT kvnHpiUserDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint8T DeleteHome) {
  return HpiCall(272, {&SessionId, UserName, &DeleteHome}, {});
}

SaErrorT kvnHpiUserInfoSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                           const SaHpiTextBufferT *FullName, const SaHpiTextBufferT *Phone,
                           const SaHpiTextBufferT *Email, SaHpiBoolT Enabled) {
  return HpiCall(273, {&SessionId, UserName, FullName, Phone, Email, &Enabled}, {});
}

SaErrorT kvnHpiUserEnabledSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled) {
  return HpiCall(277, {&SessionId, UserName, &Enabled}, {});
}

SaErrorT kvnHpiChangePasswordUser(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                  const SaHpiTextBufferT *Password, SaHpiUint8T Forced) {
  return HpiCall(278, {&SessionId, UserName, Password, &Forced}, {});
}

SaErrorT kvnHpiUserRolesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiTextBufferT *Roles,
                            SaHpiTextBufferT *OtherRoles) {
  return HpiCall(279, {&SessionId, UserName}, {Roles, OtherRoles});
}

SaErrorT kvnHpiUserRolesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, const SaHpiTextBufferT *Roles,
                            const SaHpiTextBufferT *OtherRoles) {
  return HpiCall(280, {&SessionId, UserName, Roles, OtherRoles}, {});
}

SaErrorT kvnHpiUserPrivilegesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                 SaHpiUint64T *PrivilegeMask, SaHpiUint64T *OtherMask) {
  return HpiCall(281, {&SessionId, UserName}, {PrivilegeMask, OtherMask});
}

SaErrorT kvnHpiRoleInfoGetByIndex(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T *NextIndex,
                                  SaHpiTextBufferT *RoleName, SaHpiTextBufferT *Description,
                                  SaHpiUint64T *PrivilegeMask, SaHpiUint64T *OtherMask) {
  return HpiCall(282, {&SessionId, &Index}, {NextIndex, RoleName, Description, PrivilegeMask, OtherMask});
}

SaErrorT kvnHpiRoleCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                          const SaHpiTextBufferT *Description, SaHpiUint64T PrivilegeMask, SaHpiUint64T OtherMask,
                          SaHpiUint32T *RoleId) {
  return HpiCall(284, {&SessionId, RoleName, Description, &PrivilegeMask, &OtherMask}, {RoleId});
}

SaErrorT kvnHpiRoleDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName) {
  return HpiCall(285, {&SessionId, RoleName}, {});
}

SaErrorT kvnHpiRoleDescriptionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                                  const SaHpiTextBufferT *Description) {
  return HpiCall(286, {&SessionId, RoleName, Description}, {});
}

SaErrorT kvnHpiRolePrivilegesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                                 SaHpiUint64T PrivilegeMask, SaHpiUint64T OtherMask) {
  return HpiCall(287, {&SessionId, RoleName, &PrivilegeMask, &OtherMask}, {});
}

SaErrorT kvnHpiLDAPConfigurationEnable(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Uri, SaHpiUint32T ServerType,
                                       SaHpiBoolT UseSsl, SaHpiUint32T SslPort, const SaHpiTextBufferT *Certificate,
                                       SaHpiBoolT UseAnonymousBind, const SaHpiTextBufferT *BindDn,
                                       const SaHpiTextBufferT *BindPassword, const SaHpiTextBufferT *SearchBaseDn,
                                       const SaHpiTextBufferT *LoginNameAttribute, const SaHpiTextBufferT *UserClass,
                                       const SaHpiTextBufferT *UserSearchFilter, const SaHpiTextBufferT *ExtraOptions) {
  return HpiCall(290,
                 {&SessionId, Uri, &ServerType, &UseSsl, &SslPort, Certificate, &UseAnonymousBind, BindDn, BindPassword,
                  SearchBaseDn, LoginNameAttribute, UserClass, UserSearchFilter, ExtraOptions},
                 {});
}

SaErrorT kvnHpiLDAPConfigurationDisable(SaHpiSessionIdT SessionId) { return HpiCall(291, {&SessionId}, {}); }

SaErrorT kvnHpiLDAPConfigurationGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiTextBufferT *Uri,
                                    SaHpiUint32T *ServerType, SaHpiBoolT *UseSsl, SaHpiUint32T *SslPort,
                                    SaHpiTextBufferT *Certificate, SaHpiBoolT *UseAnonymousBind,
                                    SaHpiTextBufferT *BindDn, SaHpiTextBufferT *BindPassword,
                                    SaHpiTextBufferT *SearchBaseDn, SaHpiTextBufferT *LoginNameAttribute,
                                    SaHpiTextBufferT *UserClass, SaHpiTextBufferT *UserSearchFilter,
                                    SaHpiTextBufferT *ExtraOptions) {
  return HpiCall(292, {&SessionId},
                 {Enabled, Uri, ServerType, UseSsl, SslPort, Certificate, UseAnonymousBind, BindDn, BindPassword,
                  SearchBaseDn, LoginNameAttribute, UserClass, UserSearchFilter, ExtraOptions});
}

SaErrorT kvnHpiFirewallEnableGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT *Enabled) {
  return HpiCall(293, {&SessionId, &Family}, {Enabled});
}

SaErrorT kvnHpiFirewallEnableSet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT Enabled) {
  return HpiCall(294, {&SessionId, &Family, &Enabled}, {});
}

SaErrorT kvnHpiFirewallDefaultPolicyGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T *Policy) {
  return HpiCall(295, {&SessionId, &Family}, {Policy});
}

SaErrorT kvnHpiFirewallDefaultPolicySet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T Policy) {
  return HpiCall(296, {&SessionId, &Family, &Policy}, {});
}

SaErrorT kvnHpiFirewallRuleGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber,
                               SaHpiTextBufferT *Destination, SaHpiUint32T *Policy) {
  return HpiCall(297, {&SessionId, &Family, &RuleNumber}, {Destination, Policy});
}

SaErrorT kvnHpiFirewallRuleAdd(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *Destination,
                               SaHpiUint32T Policy) {
  return HpiCall(298, {&SessionId, &Family, Destination, &Policy}, {});
}

SaErrorT kvnHpiFirewallRuleDelete(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber) {
  return HpiCall(301, {&SessionId, &Family, &RuleNumber}, {});
}

SaErrorT kvnHpiLoginRestrictionsGet(SaHpiSessionIdT SessionId, KvnLoginRestrictionsT *Restrictions) {
  return HpiCall(304, {&SessionId}, {Restrictions});
}

SaErrorT kvnHpiLoginRestrictionsSet(SaHpiSessionIdT SessionId, const KvnLoginRestrictionsT *Restrictions) {
  return HpiCall(305, {&SessionId, Restrictions}, {});
}

SaErrorT kvnHpiRoleBasedFirewallEnableGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT *Enabled) {
  return HpiCall(306, {&SessionId, &Family}, {Enabled});
}

SaErrorT kvnHpiRoleBasedFirewallEnableSet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT Enabled) {
  return HpiCall(307, {&SessionId, &Family, &Enabled}, {});
}

SaErrorT kvnHpiRoleBasedFirewallDefaultPolicyGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T *Policy) {
  return HpiCall(308, {&SessionId, &Family}, {Policy});
}

SaErrorT kvnHpiRoleBasedFirewallDefaultPolicySet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T Policy) {
  return HpiCall(309, {&SessionId, &Family, &Policy}, {});
}

SaErrorT kvnHpiRoleBasedFirewallRuleGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber,
                                        SaHpiTextBufferT *From, SaHpiTextBufferT *To, SaHpiTextBufferT *Role,
                                        SaHpiUint32T *Policy) {
  return HpiCall(310, {&SessionId, &Family, &RuleNumber}, {From, To, Role, Policy});
}

SaErrorT kvnHpiRoleBasedFirewallRuleAdd(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *From,
                                        const SaHpiTextBufferT *To, const SaHpiTextBufferT *Role, SaHpiUint32T Policy) {
  return HpiCall(311, {&SessionId, &Family, From, To, Role, &Policy}, {});
}

SaErrorT kvnHpiRoleBasedFirewallRuleDelete(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber) {
  return HpiCall(314, {&SessionId, &Family, &RuleNumber}, {});
}

SaErrorT kvnHpiLoginAddressCheck(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *UserName,
                                 const SaHpiTextBufferT *Address) {
  return HpiCall(315, {&SessionId, &Family, UserName, Address}, {});
}

SaErrorT kvnHpiUserSNMPv3AttributesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT *Enabled,
                                       SaHpiUint8T *ReadWrite, SaHpiUint32T *AuthProtocol,
                                       SaHpiUint32T *PrivacyProtocol) {
  return HpiCall(339, {&SessionId, UserName}, {Enabled, ReadWrite, AuthProtocol, PrivacyProtocol});
}

SaErrorT kvnHpiUserSNMPv3AttributesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled,
                                       SaHpiUint8T ReadWrite, SaHpiUint32T AuthProtocol, SaHpiUint32T PrivacyProtocol,
                                       SaHpiUint8T AAP, const SaHpiTextBufferT *AuthPassphrase,
                                       const SaHpiTextBufferT *PrivacyPassphrase) {
  return HpiCall(340,
                 {&SessionId, UserName, &Enabled, &ReadWrite, &AuthProtocol, &PrivacyProtocol, &AAP, AuthPassphrase,
                  PrivacyPassphrase},
                 {});
}

SaErrorT kvnHpiUserSNMPv3EnableChange(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled) {
  return HpiCall(341, {&SessionId, UserName, &Enabled}, {});
}

SaErrorT kvnHpiUserSSHPublicKeySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                   const SaHpiTextBufferT *KeyFileName) {
  return HpiCall(343, {&SessionId, UserName, KeyFileName}, {});
}

SaErrorT kvnHpiIsUserLocked(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT *Locked) {
  return HpiCall(367, {&SessionId, UserName}, {Locked});
}

SaErrorT kvnHpiUserPasswordExpirationParametersGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                                   SaHpiInt32T *DaysLeft, SaHpiUint8T *Warn) {
  return HpiCall(372, {&SessionId, UserName}, {DaysLeft, Warn});
}

SaErrorT kvnHpiCurrentUserLanguageGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Language) {
  return HpiCall(423, {&SessionId}, {Language});
}

SaErrorT kvnHpiCurrentUserLanguageSet(SaHpiSessionIdT SessionId, SaHpiUint32T Language) {
  return HpiCall(424, {&SessionId, &Language}, {});
}

SaErrorT kvnHpiUserLanguageGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint32T *Language) {
  return HpiCall(425, {&SessionId, UserName}, {Language});
}

SaErrorT kvnHpiUserLanguageSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint32T Language) {
  return HpiCall(426, {&SessionId, UserName, &Language}, {});
}
