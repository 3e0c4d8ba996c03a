// The simulated daemon's side of each RPC, one function per client function
// and with its shape (see rpc_dispatch.h): the request values in wire order,
// then the outputs. The session has already been checked when a function
// runs, and the caller's right to make the call; results follow the HPI
// standard where it speaks, the notes here where it does not.
#pragma once

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "sim/caller.h"

namespace kvnc::sim {

// ---- sessions, audit events, login (rpc_users.cpp) ----------------------------

// Domain 0 only (the client sends the unspecified domain as 0).
SaErrorT SimSessionOpen(Caller &c, SaHpiDomainIdT domain, SaHpiSessionIdT *session);
SaErrorT SimSessionClose(Caller &c, SaHpiSessionIdT session);
// Kept in the model's user_events and logged as a user event whose
// severity is the level (informational for levels past OK).
SaErrorT SimGenerateUserEvent(Caller &c, SaHpiSessionIdT session, SaHpiUint32T code, SaHpiUint32T level,
                              const SaHpiTextBufferT *text);
// KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES when a refused_logins rule matches.
SaErrorT SimLoginAddressCheck(Caller &c, SaHpiSessionIdT session, SaHpiUint8T ipv6, const SaHpiTextBufferT *user,
                              const SaHpiTextBufferT *address);

// ---- event logs and alarms (rpc_events.cpp) ----------------------------------
// SAHPI_UNSPECIFIED_RESOURCE_ID names the domain log; a resource without a
// log of its own answers SA_ERR_HPI_CAPABILITY. Each call first looks at the
// sensors, so the crossings since the last call are logged.

SaErrorT SimEventLogInfoGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiEventLogInfoT *info);
// The RDR and RPT entry are left empty.
SaErrorT SimEventLogEntryGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiEventLogEntryIdT id,
                             SaHpiEventLogEntryIdT *prev, SaHpiEventLogEntryIdT *next, SaHpiEventLogEntryT *entry,
                             SaHpiRdrT *rdr, SaHpiRptEntryT *rpt);
// The cleared log then holds the daemon's note of who cleared it.
SaErrorT SimEventLogClear(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource);
SaErrorT SimAlarmGetNext(Caller &c, SaHpiSessionIdT session, SaHpiSeverityT severity, SaHpiBoolT unacknowledged_only,
                         const SaHpiAlarmT *after, SaHpiAlarmT *alarm);
SaErrorT SimAlarmAcknowledge(Caller &c, SaHpiSessionIdT session, SaHpiAlarmIdT id, SaHpiSeverityT severity);
SaErrorT SimAlarmDelete(Caller &c, SaHpiSessionIdT session, SaHpiAlarmIdT id, SaHpiSeverityT severity);
SaErrorT SimGetFirmwareVersion(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *version);

// ---- users and preferences (rpc_users.cpp) -------------------------------------
// "Current user" getters answer SA_ERR_HPI_NOT_PRESENT when the caller has no
// setting of their own (root has none); the getters of a named user answer
// the setting in effect. Named users need MayActFor.

SaErrorT SimUserPasswordExpirationParametersGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                                SaHpiInt32T *days, SaHpiUint8T *warn);
// The last value is the user's uid.
SaErrorT SimUserInfoGetByName(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                              SaHpiTextBufferT *full_name, SaHpiTextBufferT *phone, SaHpiTextBufferT *email,
                              SaHpiBoolT *enabled, SaHpiBoolT *external, SaHpiUint32T *uid);
// Roles and other roles, each joined by ",".
SaErrorT SimUserRolesGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiTextBufferT *roles,
                         SaHpiTextBufferT *other_roles);
SaErrorT SimUserPrivilegesGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiUint64T *first,
                              SaHpiUint64T *second);
// Root holds every bit.
SaErrorT SimCurrentPrivilegeMaskGet(Caller &c, SaHpiSessionIdT session, SaHpiUint64T *first, SaHpiUint64T *second);

// ---- user and role administration (rpc_users.cpp) --------------------------------
// Users and roles are enumerated by position in name order (from 0;
// SAHPI_LAST_ENTRY after the last); past the end: SA_ERR_HPI_NOT_PRESENT.
// Unknown names answer SA_ERR_HPI_NOT_PRESENT, empty ones and unknown role
// names SA_ERR_HPI_INVALID_PARAMS, a name in use SA_ERR_HPI_DUPLICATE.

// Every user is listed, whoever asks.
SaErrorT SimUserInfoGetByIndex(Caller &c, SaHpiSessionIdT session, SaHpiUint32T index, SaHpiUint32T *next,
                               SaHpiTextBufferT *user, SaHpiTextBufferT *full_name, SaHpiTextBufferT *phone,
                               SaHpiTextBufferT *email, SaHpiBoolT *enabled, SaHpiBoolT *external);
// The new user's uid is that of the system account of the name when the
// password database has one (the daemon creates it on the appliance), else a
// fresh one from 2000 up. A bad password: SA_ERR_HPI_INVALID_DATA.
SaErrorT SimUserCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                       const SaHpiTextBufferT *password, SaHpiUint8T forced, const SaHpiTextBufferT *full_name,
                       const SaHpiTextBufferT *phone, const SaHpiTextBufferT *email, SaHpiBoolT enabled,
                       const SaHpiTextBufferT *roles, const SaHpiTextBufferT *other_roles, SaHpiBoolT external,
                       SaHpiUint32T *uid);
// One's own account: SA_ERR_HPI_INVALID_REQUEST.
SaErrorT SimUserDelete(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiUint8T delete_home);
SaErrorT SimUserInfoSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                        const SaHpiTextBufferT *full_name, const SaHpiTextBufferT *phone, const SaHpiTextBufferT *email,
                        SaHpiBoolT enabled);
SaErrorT SimUserEnabledSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiBoolT enabled);
// A password shorter than 8 characters is bad: SA_ERR_HPI_INVALID_DATA.
SaErrorT SimChangePasswordUser(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                               const SaHpiTextBufferT *password, SaHpiUint8T forced);
// Role names separated by ",".
SaErrorT SimUserRolesSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                         const SaHpiTextBufferT *roles, const SaHpiTextBufferT *other_roles);
// SA_ERR_HPI_NOT_PRESENT for an unknown user.
SaErrorT SimIsUserLocked(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiBoolT *locked);
SaErrorT SimRoleInfoGetByIndex(Caller &c, SaHpiSessionIdT session, SaHpiUint32T index, SaHpiUint32T *next,
                               SaHpiTextBufferT *role, SaHpiTextBufferT *description, SaHpiUint64T *pmask,
                               SaHpiUint64T *omask);
// The new role's id is its position.
SaErrorT SimRoleCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *role,
                       const SaHpiTextBufferT *description, SaHpiUint64T pmask, SaHpiUint64T omask, SaHpiUint32T *id);
// A role some user holds: SA_ERR_HPI_BUSY.
SaErrorT SimRoleDelete(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *role);
SaErrorT SimRoleDescriptionSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *role,
                               const SaHpiTextBufferT *description);
SaErrorT SimRolePrivilegesSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *role, SaHpiUint64T pmask,
                              SaHpiUint64T omask);
// The appliance's SNMP agent and its versions 1 and 2c.
SaErrorT SimSNMPEnablesGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled, SaHpiBoolT *v12_enabled);
// A user without SNMPv3 access of their own: SA_ERR_HPI_NOT_PRESENT (the
// setter gives them one).
SaErrorT SimUserSNMPv3AttributesGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                    SaHpiBoolT *enabled, SaHpiUint8T *rw, SaHpiUint32T *auth_protocol,
                                    SaHpiUint32T *privacy_protocol);
SaErrorT SimUserSNMPv3AttributesSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                    SaHpiBoolT enabled, SaHpiUint8T rw, SaHpiUint32T auth_protocol,
                                    SaHpiUint32T privacy_protocol, SaHpiUint8T aap,
                                    const SaHpiTextBufferT *auth_passphrase,
                                    const SaHpiTextBufferT *privacy_passphrase);
SaErrorT SimUserSNMPv3EnableChange(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                   SaHpiBoolT enabled);

SaErrorT SimCurrentUserMeasurementUnitsGet(Caller &c, SaHpiSessionIdT session, KvnMeasurementUnitsT *units);
SaErrorT SimCurrentUserMeasurementUnitsSet(Caller &c, SaHpiSessionIdT session, const KvnMeasurementUnitsT *units);
SaErrorT SimUserMeasurementUnitsGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                    KvnMeasurementUnitsT *units);
SaErrorT SimUserMeasurementUnitsSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                    const KvnMeasurementUnitsT *units);
SaErrorT SimGlobalMeasurementUnitsGet(Caller &c, SaHpiSessionIdT session, KvnMeasurementUnitsT *units);
SaErrorT SimGlobalMeasurementUnitsSet(Caller &c, SaHpiSessionIdT session, const KvnMeasurementUnitsT *units);
SaErrorT SimCurrentUserWebParametersGet(Caller &c, SaHpiSessionIdT session, KvnWebParametersT *parameters);
SaErrorT SimCurrentUserWebParametersSet(Caller &c, SaHpiSessionIdT session, const KvnWebParametersT *parameters);
SaErrorT SimUserWebParametersGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                 KvnWebParametersT *parameters);
SaErrorT SimUserWebParametersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                 const KvnWebParametersT *parameters);
SaErrorT SimGlobalWebParametersGet(Caller &c, SaHpiSessionIdT session, KvnWebParametersT *parameters);
SaErrorT SimGlobalWebParametersSet(Caller &c, SaHpiSessionIdT session, const KvnWebParametersT *parameters);
// The appliance's language.
SaErrorT SimCurrentLanguageGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *language);
SaErrorT SimCurrentLanguageSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T language);
SaErrorT SimCurrentUserLanguageGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *language);
SaErrorT SimCurrentUserLanguageSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T language);
SaErrorT SimUserLanguageGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiUint32T *language);
SaErrorT SimUserLanguageSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user, SaHpiUint32T language);

// ---- the appliance (rpc_users.cpp) ---------------------------------------------

// Adapters are numbered from 1; past the last: SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimAdapterNameGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiTextBufferT *name);
SaErrorT SimIPv4AddressGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiTextBufferT *address);
SaErrorT SimHostNameGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *host_name);
SaErrorT SimHostNameSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *host_name);
SaErrorT SimExternalSensorZCoordGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *z);
SaErrorT SimExternalSensorZCoordSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T z);
SaErrorT SimDeviceDescriptionGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *description);
SaErrorT SimDeviceDescriptionSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *description);

// ---- network interfaces and DNS (rpc_network.cpp) ----------------------------------
// An adapter index past the last: SA_ERR_HPI_NOT_PRESENT. Texts are stored
// as they come; lists are one text each, as the daemon keeps them.

SaErrorT SimInterfaceModeAndSpeedGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT *an,
                                     SaHpiUint8T *duplex, SaHpiInt16T *speed);
SaErrorT SimInterfaceModeAndSpeedSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT an,
                                     SaHpiUint8T duplex, SaHpiInt16T speed);
// SA_ERR_HPI_NOT_PRESENT for an adapter whose flag the daemon cannot tell.
SaErrorT SimIPv4DHCPGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT *dhcp);
SaErrorT SimIPv4DHCPAddressGatewaySet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT dhcp,
                                      const SaHpiTextBufferT *address, const SaHpiTextBufferT *gateway);
SaErrorT SimIPv4GatewayGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiTextBufferT *gateway);
SaErrorT SimIPv4DNSServersGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *servers);
SaErrorT SimIPv4DNSServersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *servers);
SaErrorT SimIPv6AddressesPrefixesGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter,
                                     SaHpiTextBufferT *addresses);
// Static addressing: automatic configuration and DHCP off; the gateway
// becomes the "::/0" route (none when empty).
SaErrorT SimIPv6AddressesPrefixesGatewaySet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter,
                                            const SaHpiTextBufferT *addresses, const SaHpiTextBufferT *gateway);
// Routes are numbered from 1; past the last: SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimIPv6RouteGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiUint32T route,
                         SaHpiTextBufferT *prefix, SaHpiTextBufferT *address);
SaErrorT SimIPv6DNSServersGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *servers);
SaErrorT SimIPv6DNSServersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *servers);
SaErrorT SimDNSPreferenceGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T *preference);
SaErrorT SimDNSPreferenceSet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T preference);
SaErrorT SimDomainSearchPathGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *path);
SaErrorT SimDomainSearchPathSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *path);
SaErrorT SimIPv4DHCPRejectedServersGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *servers);
SaErrorT SimIPv4DHCPRejectedServersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *servers);
SaErrorT SimIPv6DHCPRejectedServersGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *servers);
SaErrorT SimIPv6DHCPRejectedServersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *servers);
SaErrorT SimIPv6AutoDHCPGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT *automatic,
                            SaHpiBoolT *dhcp);
// Automatic configuration on, DHCP as given.
SaErrorT SimIPv6AutoDHCPSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiBoolT dhcp);

// ---- sensors (rpc_sensors.cpp) ---------------------------------------------------
// A resource that does not exist: SA_ERR_HPI_INVALID_RESOURCE; an instrument
// that does not exist: SA_ERR_HPI_NOT_PRESENT.

SaErrorT SimSensorReadingGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                             SaHpiSensorReadingT *reading, SaHpiEventStateT *state);
// SA_ERR_HPI_INVALID_CMD without readable thresholds.
SaErrorT SimSensorThresholdsGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiSensorThresholdsT *thresholds);
// Supported readings are written, the others kept. SA_ERR_HPI_INVALID_CMD for
// a value that is not writable, SA_ERR_HPI_INVALID_DATA for a reading of
// another type, one that is not a finite number, or values out of order
// (LCr <= LMj <= LMn <= UMn <= UMj <= UCr, hystereses not negative).
SaErrorT SimSensorThresholdsSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                const SaHpiSensorThresholdsT *thresholds);
// The two request masks are not used.
SaErrorT SimSensorEventMasksGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiEventStateT assert_in, SaHpiEventStateT deassert_in, SaHpiEventStateT *assert_mask,
                                SaHpiEventStateT *deassert_mask);
SaErrorT SimSensorEventMasksSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiSensorEventMaskActionT action, SaHpiEventStateT assert_mask,
                                SaHpiEventStateT deassert_mask);
// With read_thresholds and no readable thresholds: SA_ERR_HPI_INVALID_CMD
// (which carries no values on the wire).
SaErrorT SimSensorStatusGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                            SaHpiBoolT read_thresholds, SaHpiEventStateT state_mask, SaHpiSensorReadingT *reading,
                            SaHpiEventStateT *state, SaHpiSensorThresholdsT *thresholds, KvnSeverityListT *severities);
SaErrorT SimSensorStateSeverityGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                   SaHpiSensorNumT sensor, SaHpiEventStateT state_mask, KvnSeverityListT *severities);
// One severity per set bit of the mask, else SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimSensorStateSeveritySet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                   SaHpiSensorNumT sensor, SaHpiEventStateT state_mask,
                                   const KvnSeverityListT *severities);
// Threshold sensors only (else SA_ERR_HPI_INVALID_CMD); six slots are used.
SaErrorT SimSensorAssertionDelayGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                    SaHpiSensorNumT sensor, KvnAssertionDelaysT *delays);
SaErrorT SimSensorAssertionDelaySet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                    SaHpiSensorNumT sensor, SaHpiEventStateT presence,
                                    const KvnAssertionDelaysT *delays);
// The record's text members carry the sensor's name and description; the
// 32-bit values are not used (0).
SaErrorT SimSensorExtendedInfoGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                  SaHpiUint32T unused, KvnSensorInfoT *info, SaHpiUint32T *unused_result);
// Back to the loaded configuration (thresholds, masks, severities, delays,
// name, description); the reading is left alone.
SaErrorT SimSensorResetEraseConfiguration(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                          SaHpiSensorNumT sensor);

// ---- managed sensors, user types, sensor log (rpc_sensor_management.cpp) ---------
// Managed numbers count from 1; an unknown one answers SA_ERR_HPI_NOT_PRESENT.
// Log indices count up from 0 (wrapping before they would look negative);
// the last entry's next index is SAHPI_LAST_ENTRY. User types are enumerated
// by position, like the filters.

SaErrorT SimSensorLogEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled);
SaErrorT SimSensorLogEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled);
SaErrorT SimSensorLogAccumPeriodGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *period);
// A period of 0 is SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimSensorLogAccumPeriodSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T period);
SaErrorT SimSensorLogSizeGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *size);
// Takes the entries of the periods ended since the last look first;
// SA_ERR_HPI_NOT_PRESENT for an empty log.
SaErrorT SimSensorLogFirstLastGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *first, SaHpiUint32T *last);
// An index the log does not hold: SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimSensorLogTimestampGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T index, SaHpiTimeT *time,
                                  SaHpiUint32T *next);
// SA_ERR_HPI_NOT_PRESENT when the entry has no record of that managed sensor.
SaErrorT SimSensorLogEntryGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T index, SaHpiUint32T managed,
                              KvnSensorLogEntryT *entry);
SaErrorT SimSensorDescriptionGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, SaHpiTextBufferT *description);
SaErrorT SimSensorDescriptionSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num,
                                 const SaHpiTextBufferT *description);
SaErrorT SimSensorUserTypeGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, SaHpiTextBufferT *type,
                              SaHpiTextBufferT *subtype);
SaErrorT SimSensorUserTypeSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, const SaHpiTextBufferT *type,
                              const SaHpiTextBufferT *subtype);
SaErrorT SimSensorCoordinatesGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, SaHpiTextBufferT *x,
                                 SaHpiTextBufferT *y, SaHpiTextBufferT *z);
SaErrorT SimSensorCoordinatesSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, const SaHpiTextBufferT *x,
                                 const SaHpiTextBufferT *y, const SaHpiTextBufferT *z);
// A sensor that another managed number is attached to: SA_ERR_HPI_DUPLICATE.
SaErrorT SimSensorAttach(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, SaHpiResourceIdT resource,
                         SaHpiSensorNumT sensor);
SaErrorT SimSensorDetach(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num);
// State 1 attached, 0 detached (with the sensor it was last attached to).
SaErrorT SimSensorAttachStateGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T num, SaHpiUint32T *state,
                                 SaHpiResourceIdT *resource, SaHpiSensorNumT *sensor, SaHpiEntityPathT *path);
// A sensor already managed keeps its number.
SaErrorT SimSensorManage(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                         SaHpiBoolT automatic, SaHpiUint32T *num);
// SA_ERR_HPI_NOT_PRESENT when no managed number is attached to the sensor.
SaErrorT SimSensorManagedNumberGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                   SaHpiSensorNumT sensor, SaHpiUint32T *num);
SaErrorT SimSensorUserTypeInfoGet(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT cursor, SaHpiTextBufferT *name,
                                  SaHpiUint32T *id, SaHpiTextBufferT *first, SaHpiTextBufferT *second,
                                  KvnSeverityListT *severities, SaHpiEntryIdT *next);
// The mask must be the low n bits for n >= 1 states with n severities
// (else SA_ERR_HPI_INVALID_PARAMS); names cut short leave states with empty
// names. A name in use: SA_ERR_HPI_DUPLICATE.
SaErrorT SimSensorUserTypeAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name,
                              const SaHpiTextBufferT *first, const SaHpiTextBufferT *second, SaHpiEventStateT mask,
                              const KvnSeverityListT *severities, SaHpiUint32T *id);
SaErrorT SimSensorUserTypeUpdate(Caller &c, SaHpiSessionIdT session, SaHpiUint32T id, const SaHpiTextBufferT *first,
                                 const SaHpiTextBufferT *second, SaHpiEventStateT mask,
                                 const KvnSeverityListT *severities);
// A type that a sensor has: SA_ERR_HPI_BUSY.
SaErrorT SimSensorUserTypeDelete(Caller &c, SaHpiSessionIdT session, SaHpiUint32T id);
// An empty name clears the sensor's type; an unknown one is SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimSensorTypeSetByName(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                const SaHpiTextBufferT *name);

// ---- controls and outlets (rpc_controls.cpp) ------------------------------------

// A text control returns the line the request's text state names (0: all lines).
SaErrorT SimControlGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                       const SaHpiCtrlStateT *requested, SaHpiCtrlModeT *mode, SaHpiCtrlStateT *state);
SaErrorT SimControlSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                       SaHpiCtrlModeT mode, const SaHpiCtrlStateT *state);
// Discrete controls only: the state and its name (the second text is empty).
SaErrorT SimControlStateTextGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                                SaHpiUint32T *state, SaHpiTextBufferT *name, SaHpiTextBufferT *name_rest);
SaErrorT SimFindOutletInstruments(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet,
                                  KvnOutletInstrumentsT *instruments);
SaErrorT SimOutletUserNameGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet, SaHpiTextBufferT *name);
// The flag is kept as given.
SaErrorT SimOutletUserNameSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet, const SaHpiTextBufferT *name,
                              SaHpiUint8T flag);

// ---- resources, records, names, inventories (rpc_resources.cpp) -------------------
// A resource's records are its controls, sensors and inventories in that
// order, each by number; record identifiers count from 1 in that order.

SaErrorT SimResourceSeveritySet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiSeverityT severity);
SaErrorT SimResourceTagSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, const SaHpiTextBufferT *tag);
// Only resources marked removable (else SA_ERR_HPI_INVALID_REQUEST).
SaErrorT SimResourceRemove(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource);
SaErrorT SimRdrGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiEntryIdT entry,
                   SaHpiEntryIdT *next, SaHpiRdrT *rdr);
SaErrorT SimRdrGetByInstrumentId(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                 SaHpiInstrumentIdT instrument, SaHpiRdrT *rdr);
SaErrorT SimInstrumentNameSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                              SaHpiInstrumentIdT instrument, const SaHpiTextBufferT *name);
// The default is the name the loaded model gives the instrument.
SaErrorT SimInstrumentNameSetDefault(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, SaHpiTextBufferT *name);
SaErrorT SimInstrumentDescriptionGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, SaHpiTextBufferT *description);
SaErrorT SimInstrumentDescriptionSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, const SaHpiTextBufferT *description);
SaErrorT SimResourceDescriptionGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                   SaHpiTextBufferT *description);
SaErrorT SimResourceDescriptionSet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource,
                                   const SaHpiTextBufferT *description);
SaErrorT SimIdrInfoGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiIdrIdT idr,
                       SaHpiIdrInfoT *info);
// Area type SAHPI_IDR_AREATYPE_UNSPECIFIED matches every area, field type
// SAHPI_IDR_FIELDTYPE_UNSPECIFIED every field.
SaErrorT SimIdrAreaHeaderGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiIdrIdT idr,
                             SaHpiIdrAreaTypeT area_type, SaHpiEntryIdT area, SaHpiEntryIdT *next_area,
                             SaHpiIdrAreaHeaderT *header);
SaErrorT SimIdrFieldGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiIdrIdT idr,
                        SaHpiEntryIdT area, SaHpiIdrFieldTypeT field_type, SaHpiEntryIdT field,
                        SaHpiEntryIdT *next_field, SaHpiIdrFieldT *result);

// ---- device tree, device information, persistent resources (rpc_device.cpp) ------

// Writes one JSON document into the existing file `file` (under /tmp/, else
// SA_ERR_HPI_INVALID_PARAMS): {"resources": [...]} with every resource
// (resource all bits set) or the one given, each with its records of `type`
// (0: every type), their names, readings and states. The appliance's
// tree_text, when set, is written instead. A file that cannot be written:
// SA_ERR_HPI_ERROR.
SaErrorT SimRdrListGet(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                       const SaHpiTextBufferT *file);
SaErrorT SimGetDeviceName(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *name);
SaErrorT SimGetDeviceModel(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *model);
SaErrorT SimGetHardwareVersion(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *version);
// SA_ERR_HPI_NOT_PRESENT when the model has none.
SaErrorT SimGetSerialNumber(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *serial);
SaErrorT SimGetUTCOffset(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *offset);
SaErrorT SimAssetTagGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *tag);
SaErrorT SimLocationGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *location);
// SA_ERR_HPI_NOT_PRESENT when the model has none.
SaErrorT SimGetProductName(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *name);
// The controller's clock (the model's, else the wall clock) as
// "YYYY-MM-DD hh:mm:ss" in UTC, and the two zone texts.
SaErrorT SimDateTimeGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *time, SaHpiTextBufferT *zone,
                        SaHpiTextBufferT *zone1);
// Adapters are numbered from 1; past the last: SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimMACAddressGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T adapter, SaHpiTextBufferT *mac);
SaErrorT SimBACnetEnableAndDeviceIdGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T *enabled,
                                       SaHpiUint32T *device_id);
// The outlet count is the number of the model's outlets. No iPDU:
// SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimIpduCountsGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *inlets, SaHpiUint32T *plugs,
                          SaHpiUint32T *phases, SaHpiUint32T *branches, SaHpiUint32T *outlets, SaHpiUint32T *rcms);
SaErrorT SimOutletTypeGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet, SaHpiUint32T *type);
// Enumerated by position (from 0; SAHPI_LAST_ENTRY after the last); none:
// SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimPersistentResourcesGet(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT cursor, SaHpiEntryIdT *next,
                                   SaHpiResourceIdT *resource, SaHpiTextBufferT *name);
// An unknown id: SA_ERR_HPI_NOT_PRESENT.
SaErrorT SimPersistentResourceDelete(Caller &c, SaHpiSessionIdT session, SaHpiResourceIdT resource);

// ---- event filters and action lists (rpc_filters.cpp) ---------------------------
// Filters, named lists and the actions of each are enumerated by position
// (from 0; SAHPI_LAST_ENTRY after the last). Unknown names answer
// SA_ERR_HPI_NOT_PRESENT, empty ones SA_ERR_HPI_INVALID_PARAMS, a name in use
// SA_ERR_HPI_DUPLICATE. The actions of a filter that uses a named list are
// that list's: reading and changing them reads and changes the list.

SaErrorT SimEventFilterCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name,
                              const SaHpiTextBufferT *expression);
// A period of 0 is SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimPeriodicExpressionCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name,
                                     const SaHpiTextBufferT *expression, SaHpiUint32T period);
// Every filter, periodic or not.
SaErrorT SimEventFilterGetNext(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                               SaHpiTextBufferT *name, SaHpiTextBufferT *expression);
// The period of a filter that is not periodic is 0.
SaErrorT SimEventFilterGetNext2(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                                SaHpiTextBufferT *name, SaHpiTextBufferT *expression, SaHpiUint32T *period);
SaErrorT SimEventFilterRemove(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name);
// The new action's id is its position.
SaErrorT SimEventActionAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter, SaHpiUint32T disp,
                           SaHpiUint32T type, const SaHpiTextBufferT *parm, SaHpiUint32T *id);
SaErrorT SimEventActionGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter, SaHpiUint32T id,
                           SaHpiUint32T *next, SaHpiUint32T *disp, SaHpiUint32T *type, SaHpiTextBufferT *parm);
SaErrorT SimEventActionRemove(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter, SaHpiUint32T id);
SaErrorT SimEventActionSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter, SaHpiUint32T id,
                           SaHpiUint32T disp, SaHpiUint32T type, const SaHpiTextBufferT *parm);
SaErrorT SimNamedActionListCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list);
// A list that a filter uses: SA_ERR_HPI_BUSY.
SaErrorT SimNamedActionListRemove(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list);
SaErrorT SimNamedActionListGetNext(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                                   SaHpiTextBufferT *list);
// SA_ERR_HPI_NOT_PRESENT: the filter has a private list; an unknown filter
// answers SA_ERR_HPI_INVALID_PARAMS instead.
SaErrorT SimEventActionListNameGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter,
                                   SaHpiTextBufferT *list);
// The filter's private actions are dropped.
SaErrorT SimEventActionListSetNamed(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter,
                                    const SaHpiTextBufferT *list);
// The filter gets a private copy of its named list's actions.
SaErrorT SimEventActionListSetAnonymous(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter);
// A new named list holding the filter's actions, which the filter then uses.
SaErrorT SimEventActionListConvertToNamed(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter,
                                          const SaHpiTextBufferT *list);
SaErrorT SimNamedActionListActionAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list,
                                     SaHpiUint32T disp, SaHpiUint32T type, const SaHpiTextBufferT *parm,
                                     SaHpiUint32T *id);
SaErrorT SimNamedActionListActionGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list, SaHpiUint32T id,
                                     SaHpiUint32T *next, SaHpiUint32T *disp, SaHpiUint32T *type,
                                     SaHpiTextBufferT *parm);
SaErrorT SimNamedActionListActionRemove(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list,
                                        SaHpiUint32T id);
SaErrorT SimNamedActionListActionSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *list, SaHpiUint32T id,
                                     SaHpiUint32T disp, SaHpiUint32T type, const SaHpiTextBufferT *parm);
// The expression language is not simulated: an expression applies to a
// sensor when it is "*" or names the sensor's type ("temperature",
// "voltage", "current", "fan", "door", "humidity"; any case). The sensor
// must exist, as for the sensor functions.
SaErrorT SimVerifyExpressionForSensor(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *expression,
                                      SaHpiResourceIdT resource, SaHpiSensorNumT sensor, SaHpiBoolT *applicable);
// The same with the filter's expression.
SaErrorT SimVerifyFilterForSensor(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *filter,
                                  SaHpiResourceIdT resource, SaHpiSensorNumT sensor, SaHpiBoolT *applicable);

// ---- groups and the group switch job (rpc_groups.cpp) -----------------------------
// Groups are enumerated by position (from 0; SAHPI_LAST_ENTRY after the
// last), their members by index from 0, each answer naming the next; past
// the last member: SA_ERR_HPI_NOT_PRESENT. An unknown group answers
// SA_ERR_HPI_NOT_PRESENT, an empty name SA_ERR_HPI_INVALID_PARAMS, a name or
// member already there SA_ERR_HPI_DUPLICATE. Members added must exist (as
// for the sensor and control functions); members of the model need not.

SaErrorT SimGroupCreate(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group);
// A running switch job ends with the group.
SaErrorT SimGroupDelete(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group);
SaErrorT SimGroupGetNext(Caller &c, SaHpiSessionIdT session, SaHpiEntryIdT id, SaHpiEntryIdT *next,
                         SaHpiTextBufferT *group);
SaErrorT SimGroupSensorAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group, SaHpiResourceIdT resource,
                           SaHpiSensorNumT sensor);
SaErrorT SimGroupSensorDelete(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                              SaHpiResourceIdT resource, SaHpiSensorNumT sensor);
SaErrorT SimGroupControlAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                            SaHpiResourceIdT resource, SaHpiCtrlNumT control, SaHpiUint32T delay);
SaErrorT SimGroupControlDelete(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                               SaHpiResourceIdT resource, SaHpiCtrlNumT control);
SaErrorT SimGroupSensorGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group, SaHpiUint32T index,
                           SaHpiUint32T *next, SaHpiResourceIdT *resource, SaHpiSensorNumT *sensor);
SaErrorT SimGroupControlGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group, SaHpiUint32T index,
                            SaHpiUint32T *next, SaHpiResourceIdT *resource, SaHpiCtrlNumT *control,
                            SaHpiUint32T *delay);
// Starts a job that switches the group's controls one after another, each
// `delay` seconds (times the model's group_delay_scale) after the one
// before. The state's digital, discrete or analog value (by its type) is
// given to every control as a value of the control's own type. A job still
// running: SA_ERR_HPI_BUSY.
SaErrorT SimGroupControlStateAssignAsynchronous(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                                                SaHpiCtrlModeT mode, const SaHpiCtrlStateT *state);
// The controls not switched yet stay as they are; the job then reports
// SA_ERR_HPI_ERROR unless a step had failed before. Without any job:
// SA_ERR_HPI_INVALID_REQUEST; a job that has ended is left alone.
SaErrorT SimGroupControlCancelAsynchronous(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group);
// Steps done, steps in all and the job's error; all 0 before the first job.
SaErrorT SimGroupControlGetProgressAsynchronous(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                                                SaHpiUint32T *processed, SaHpiUint32T *total, SaHpiInt32T *error);
// Operation 0: sum, 1: average, 2: minimum, 3: maximum (FLOAT64) of the
// readings of the member sensors that have one, with the union of their
// event states; none: SA_ERR_HPI_INVALID_REQUEST.
SaErrorT SimGroupSensorReadingAggregateGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                                           SaHpiUint32T operation, SaHpiSensorReadingT *reading,
                                           SaHpiEventStateT *state);
// As saHpiSensorThresholdsSet for every member sensor: all of them or, at the
// first refusal (whose result is answered), none.
SaErrorT SimGroupSensorThresholdsSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                                     const SaHpiSensorThresholdsT *thresholds);

// ---- access policy and SSH keys (rpc_access.cpp) ----------------------------------
// Family 0 is IPv4, 1 IPv6 (others: SA_ERR_HPI_INVALID_PARAMS). Rules are
// numbered from 1; past the last: SA_ERR_HPI_NOT_PRESENT. Rules are added at
// the end, and deleting one moves those after it up by one.

SaErrorT SimLoginRestrictionsGet(Caller &c, SaHpiSessionIdT session, KvnLoginRestrictionsT *record);
SaErrorT SimLoginRestrictionsSet(Caller &c, SaHpiSessionIdT session, const KvnLoginRestrictionsT *record);
// Stores the settings and enables LDAP; an empty URI is SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimLDAPConfigurationEnable(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *uri, SaHpiUint32T type,
                                    SaHpiUint8T use_ssl, SaHpiUint32T ssl_port, const SaHpiTextBufferT *cert,
                                    SaHpiUint8T anonymous, const SaHpiTextBufferT *bind_dn,
                                    const SaHpiTextBufferT *bind_password, const SaHpiTextBufferT *search_base,
                                    const SaHpiTextBufferT *login_name, const SaHpiTextBufferT *user_class,
                                    const SaHpiTextBufferT *search_filter, const SaHpiTextBufferT *options);
// The settings are kept for the next enable.
SaErrorT SimLDAPConfigurationDisable(Caller &c, SaHpiSessionIdT session);
SaErrorT SimLDAPConfigurationGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T *enabled, SaHpiTextBufferT *uri,
                                 SaHpiUint32T *type, SaHpiUint8T *use_ssl, SaHpiUint32T *ssl_port,
                                 SaHpiTextBufferT *cert, SaHpiUint8T *anonymous, SaHpiTextBufferT *bind_dn,
                                 SaHpiTextBufferT *bind_password, SaHpiTextBufferT *search_base,
                                 SaHpiTextBufferT *login_name, SaHpiTextBufferT *user_class,
                                 SaHpiTextBufferT *search_filter, SaHpiTextBufferT *options);
SaErrorT SimFirewallEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint8T *enabled);
SaErrorT SimFirewallEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint8T enabled);
SaErrorT SimFirewallDefaultPolicyGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T *policy);
SaErrorT SimFirewallDefaultPolicySet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T policy);
SaErrorT SimFirewallRuleGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number,
                            SaHpiTextBufferT *destination, SaHpiUint32T *policy);
// An empty destination: SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimFirewallRuleAdd(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, const SaHpiTextBufferT *destination,
                            SaHpiUint32T policy);
SaErrorT SimFirewallRuleDelete(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number);
SaErrorT SimRoleBasedFirewallEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint8T *enabled);
SaErrorT SimRoleBasedFirewallEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint8T enabled);
SaErrorT SimRoleBasedFirewallDefaultPolicyGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family,
                                              SaHpiUint32T *policy);
SaErrorT SimRoleBasedFirewallDefaultPolicySet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family,
                                              SaHpiUint32T policy);
SaErrorT SimRoleBasedFirewallRuleGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number,
                                     SaHpiTextBufferT *from, SaHpiTextBufferT *to, SaHpiTextBufferT *role,
                                     SaHpiUint32T *policy);
// A role the model does not have: SA_ERR_HPI_INVALID_DATA.
SaErrorT SimRoleBasedFirewallRuleAdd(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family,
                                     const SaHpiTextBufferT *from, const SaHpiTextBufferT *to,
                                     const SaHpiTextBufferT *role, SaHpiUint32T policy);
SaErrorT SimRoleBasedFirewallRuleDelete(Caller &c, SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number);
// Reads the key from the file named (under /tmp/, not a link: else
// SA_ERR_HPI_INVALID_PARAMS; missing: SA_ERR_HPI_NOT_PRESENT) into the
// user's ssh_key; an empty file name removes the user's key.
SaErrorT SimUserSSHPublicKeySet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *user,
                                const SaHpiTextBufferT *file);

// ---- network services and the IoT link (rpc_services.cpp) ------------------------
// Port 0 answers SA_ERR_HPI_INVALID_PARAMS, as do an HTTP port equal to the
// HTTPS port (and the other way round) and a BACnet device id past 22 bits.

SaErrorT SimHTTPPortGet(Caller &c, SaHpiSessionIdT session, SaHpiUint16T *port);
SaErrorT SimHTTPPortSet(Caller &c, SaHpiSessionIdT session, SaHpiUint16T port);
SaErrorT SimHTTPSPortGet(Caller &c, SaHpiSessionIdT session, SaHpiUint16T *port);
SaErrorT SimHTTPSPortSet(Caller &c, SaHpiSessionIdT session, SaHpiUint16T port);
SaErrorT SimEnforceHTTPSGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enforced);
SaErrorT SimEnforceHTTPSSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enforced);
SaErrorT SimTelnetEnableAndPortGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled, SaHpiUint16T *port);
SaErrorT SimTelnetEnableAndPortSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiUint16T port);
SaErrorT SimSSHEnableAndPortGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled, SaHpiUint16T *port);
SaErrorT SimSSHEnableAndPortSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiUint16T port);
SaErrorT SimSSHAuthMethodGet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T *method);
SaErrorT SimSSHAuthMethodSet(Caller &c, SaHpiSessionIdT session, SaHpiUint8T method);
SaErrorT SimSMTPOwnAddressGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *address);
SaErrorT SimSMTPOwnAddressSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *address);
SaErrorT SimSMTPServerGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *server);
SaErrorT SimSMTPServerSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *server);
SaErrorT SimSMTPDefaultRecipientsGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *recipients);
SaErrorT SimSMTPDefaultRecipientsSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *recipients);
SaErrorT SimSNMPEnablesSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiBoolT v12_enabled);
SaErrorT SimSNMPReadCommunityGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *community);
SaErrorT SimSNMPReadCommunitySet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *community);
SaErrorT SimSNMPWriteCommunityGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *community);
SaErrorT SimSNMPWriteCommunitySet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *community);
SaErrorT SimSNMPSysNameGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *name);
SaErrorT SimSNMPSysNameSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name);
SaErrorT SimSNMPSysContactGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *contact);
SaErrorT SimSNMPSysContactSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *contact);
SaErrorT SimSNMPSysLocationGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *location);
SaErrorT SimSNMPSysLocationSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *location);
SaErrorT SimSNMPTrapDestinationGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *destination);
SaErrorT SimSNMPTrapDestinationSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *destination);
SaErrorT SimSNMPTrapV2EnableGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled);
SaErrorT SimSNMPTrapV2EnableSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled);
SaErrorT SimBACnetEnableAndDeviceIdSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiUint32T device_id);
SaErrorT SimRedFishEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled, SaHpiUint16T *port);
SaErrorT SimRedFishEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiUint16T port);
// A system without IoT (services.iot null): the status and the web sockets
// flag answer SA_ERR_HPI_UNSUPPORTED_API, the populations and the removal
// SA_ERR_HPI_NOT_PRESENT, as does a population of a provider the model's
// iot.providers lacks. iot.dispatcher 0: the status answers
// SA_ERR_HPI_INVALID_STATE. A non-empty iot.refusal refuses every population
// (SA_OK, flag 0, the refusal as message).
SaErrorT SimPopulateAwsConfigs(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *directory,
                               const SaHpiTextBufferT *thing, const SaHpiTextBufferT *unused, SaHpiBoolT *succeeded,
                               SaHpiTextBufferT *message);
SaErrorT SimPopulateAwsGreengrassConfigs(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *directory,
                                         const SaHpiTextBufferT *thing, const SaHpiTextBufferT *unused,
                                         const SaHpiTextBufferT *endpoint, SaHpiBoolT *succeeded,
                                         SaHpiTextBufferT *message);
SaErrorT SimPopulateAzureConfigs(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *directory,
                                 const SaHpiTextBufferT *thing, const SaHpiTextBufferT *unused, SaHpiBoolT *succeeded,
                                 SaHpiTextBufferT *message);
SaErrorT SimIotIsConnected(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *connected, SaHpiTextBufferT *name,
                           SaHpiTextBufferT *provider, SaHpiInt32T *last_result);
SaErrorT SimIotUseWebSocketsGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *use);
SaErrorT SimIotUseWebSocketsSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT use);
SaErrorT SimUnconfigureIot(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *directory);

// ---- Lua scripts, Modbus and discovery (rpc_scripts.cpp) ------------------------
// A script is verified by reading the file of its name in the repository: valid
// when it is non-empty text without a NUL byte; the result names the file.
// A name with "/" (or "." / "..") is not looked up: SA_ERR_HPI_INVALID_PARAMS.
// Supported drivers: class "modbus" only (others SA_ERR_HPI_INVALID_PARAMS),
// by position from SAHPI_FIRST_ENTRY; none: SA_ERR_HPI_NOT_PRESENT.
// Interfaces outside modbus.serial (1..) and modbus.network (8..) answer
// SA_ERR_HPI_NOT_PRESENT, also to Set. Discoveries are kept in
// modbus.discoveries.

SaErrorT SimLuaConfigurationGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled, SaHpiUint32T *timeout);
SaErrorT SimLuaConfigurationSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled, SaHpiUint32T timeout);
SaErrorT SimLuaVerifyScript(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *name, SaHpiTextBufferT *result,
                            SaHpiUint8T *valid);
SaErrorT SimSupportedDriverListGet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *driver_class,
                                   SaHpiUint32T entry, SaHpiUint32T *next, SaHpiTextBufferT *name);
SaErrorT SimModbusSerialAttributesGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T iface, SaHpiTextBufferT *param);
SaErrorT SimModbusSerialAttributesSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T iface,
                                      const SaHpiTextBufferT *param);
SaErrorT SimDiscover(Caller &c, SaHpiSessionIdT session);
SaErrorT SimDiscoverAt(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *driver,
                       const SaHpiTextBufferT *address);

// ---- rpc_system.cpp -------------------------------------------------------------
// Reset, restart and reboot are counted in system.resets/restarts/reboots.
// A configuration write start answers SA_ERR_HPI_INVALID_STATE (-1022) while
// system.config_busy counts down; a job completes (writing
// system.config_archive to /tmp/config_saved_<job>.tgz) after
// system.config_polls polls, never when that is negative. The certificate
// installation reads the file it is named and takes it when it holds a
// certificate and a private key (SA_ERR_HPI_INVALID_DATA otherwise,
// SA_ERR_HPI_NOT_PRESENT when unreadable).
SaErrorT SimReset(Caller &c, SaHpiSessionIdT session);
SaErrorT SimRestart(Caller &c, SaHpiSessionIdT session);
SaErrorT SimReboot(Caller &c, SaHpiSessionIdT session);
SaErrorT SimForcedConfigWriteStart(Caller &c, SaHpiSessionIdT session, SaHpiInt32T mask, SaHpiInt32T *job);
SaErrorT SimForcedConfigWriteCompleted(Caller &c, SaHpiSessionIdT session, SaHpiInt32T job, SaHpiBoolT *completed);
SaErrorT SimCertificateInstall(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *file_name);

// ---- preferences, date and time, NTP, iPDU power-up, reachability (rpc_preferences.cpp) ----

SaErrorT SimCurrentLCDUIFlagsGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *flags);
SaErrorT SimCurrentLCDUIFlagsSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T flags);
SaErrorT SimTransientAlarmSeverityGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *severity);
SaErrorT SimTransientAlarmSeveritySet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T severity);
SaErrorT SimW1PollIntervalGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *interval);
// 0: SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimW1PollIntervalSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T interval);
SaErrorT SimAssetTagSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *tag);
SaErrorT SimLocationSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *location);
// No session travels: sets the level unless it is 0xFFFF, and answers the
// level in place of a result.
SaErrorT SimDebugLevel(Caller &c, SaHpiUint32T level);
// "YYYY-MM-DD hh:mm:ss" (UTC) pins the model's clock; another text or an
// empty zone: SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimDateTimeSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *date_time,
                        const SaHpiTextBufferT *zone);
SaErrorT SimNTPEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled);
SaErrorT SimNTPEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled);
SaErrorT SimNTPFromDHCPEnableGet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT *enabled);
SaErrorT SimNTPFromDHCPEnableSet(Caller &c, SaHpiSessionIdT session, SaHpiBoolT enabled);
SaErrorT SimNTPServersGet(Caller &c, SaHpiSessionIdT session, SaHpiTextBufferT *primary, SaHpiTextBufferT *secondary);
SaErrorT SimNTPServersSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *primary,
                          const SaHpiTextBufferT *secondary, SaHpiUint8T override_flag);
// The iPDU functions answer SA_ERR_HPI_NOT_PRESENT on a product that is no
// iPDU, and for an outlet the model lacks.
SaErrorT SimIpduNominalVoltageFrequencyGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *voltage,
                                           SaHpiUint32T *frequency, SaHpiUint32T *default_voltage,
                                           SaHpiUint32T *default_frequency);
SaErrorT SimIpduNominalVoltageFrequencySet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T voltage,
                                           SaHpiUint32T frequency);
SaErrorT SimOutletDefaultInitialStateGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *state);
// A sequence longer than the capacity: SA_ERR_HPI_OUT_OF_SPACE.
SaErrorT SimOutletStartupSequenceGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T capacity, SaHpiUint32T *count,
                                     KvnStartupSequenceT *sequence);
// More than 64 steps: SA_ERR_HPI_INVALID_PARAMS; nothing kept on a failure.
SaErrorT SimOutletStartupSequenceSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T count,
                                     const KvnStartupSequenceT *sequence);
SaErrorT SimOutletInitialStateGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet, SaHpiUint32T *state);
SaErrorT SimOutletInitialStateSet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T outlet, SaHpiUint32T state);
// Entries are numbered from 1 by position; a deleted one moves the later
// ones down. Unknown ids: SA_ERR_HPI_NOT_PRESENT; an empty destination:
// SA_ERR_HPI_INVALID_PARAMS.
SaErrorT SimServerReachabilityAdd(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *dest, SaHpiUint32T scnt,
                                  SaHpiUint32T ucnt, SaHpiUint32T ascc, SaHpiUint32T aunsc, SaHpiUint32T bres,
                                  SaHpiBoolT enabled, SaHpiUint32T *id);
SaErrorT SimServerReachabilitySet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T id, const SaHpiTextBufferT *dest,
                                  SaHpiUint32T scnt, SaHpiUint32T ucnt, SaHpiUint32T ascc, SaHpiUint32T aunsc,
                                  SaHpiUint32T bres, SaHpiBoolT enabled);
SaErrorT SimServerReachabilityGetCount(Caller &c, SaHpiSessionIdT session, SaHpiUint32T *count);
SaErrorT SimServerReachabilityDelete(Caller &c, SaHpiSessionIdT session, SaHpiUint32T id);
SaErrorT SimServerReachabilityGet(Caller &c, SaHpiSessionIdT session, SaHpiUint32T id, SaHpiTextBufferT *dest,
                                  SaHpiUint32T *scnt, SaHpiUint32T *ucnt, SaHpiUint32T *ascc, SaHpiUint32T *aunsc,
                                  SaHpiUint32T *bres, SaHpiBoolT *enabled, SaHpiBoolT *reachable,
                                  SaHpiBoolT *unreachable);

}  // namespace kvnc::sim
