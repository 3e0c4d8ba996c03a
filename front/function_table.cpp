// The one place where handlers are plugged in: one row per implemented FN,
// in FN order. Handlers live in api/<area>/ and are declared in its headers.
#include "front/function_table.h"

#include <array>

#include "api/config/access.h"
#include "api/config/certificates.h"
#include "api/config/iot.h"
#include "api/config/lua_scripts.h"
#include "api/config/modbus.h"
#include "api/config/ipdu.h"
#include "api/config/network.h"
#include "api/config/preferences.h"
#include "api/config/reachability.h"
#include "api/config/services.h"
#include "api/config/system.h"
#include "api/events/alarms.h"
#include "api/events/event_log.h"
#include "api/events/filters.h"
#include "api/monitor/controls.h"
#include "api/monitor/device_info.h"
#include "api/monitor/device_tree.h"
#include "api/monitor/groups.h"
#include "api/monitor/resources.h"
#include "api/monitor/sensor_management.h"
#include "api/monitor/sensors.h"
#include "api/users/local_accounts.h"
#include "api/users/roles.h"
#include "api/users/service_agreement.h"
#include "api/users/users.h"
#include "front/login.h"

namespace kvnc {
namespace {

// FN 0 (Login) and FN 1 (Logout) are run by the dispatcher with the web
// session, for whose user alone they may act; FN 118 is answered by the
// request context before any check. None of them has a slot.
constexpr ApiFunction kImplemented[] = {
    {3, "GetEventLogInfo", GetEventLogInfo},
    {4, "GetEventLogEntries", GetEventLogEntries},
    {5, "GetNewestEventLogEntry", GetNewestEventLogEntry},
    {6, "GetNewEventLogEntries", GetNewEventLogEntries},
    {7, "GetInventoryRdrs", GetInventoryRdrs},
    {8, "GetOutletInstruments", GetOutletInstruments},
    {9, "GetRdrByInstrumentId", GetRdrByInstrumentId},
    {10, "GetResourceRdrs", GetResourceRdrs},
    {11, "GetAlarms", GetAlarms},
    {12, "GetSensorReadings", GetSensorReadings},
    {13, "GetSensorThresholds", GetSensorThresholds},
    {14, "SetSensorThresholds", SetSensorThresholds},
    {15, "SetThresholdsOfSensors", SetThresholdsOfSensors},
    {16, "GetSensorEventMasks", GetSensorEventMasks},
    {17, "SetSensorEventMasks", SetSensorEventMasks},
    {18, "GetControlStates", GetControlStates},
    {19, "SetControlState", SetControlState},
    {20, "GetNetworkSettings", GetNetworkSettings},
    {21, "SetNetworkSettings", SetNetworkSettings},
    {22, "GetWebPortSettings", GetWebPortSettings},
    {23, "SetWebPortSettings", SetWebPortSettings},
    {24, "GetSshSettings", GetSshSettings},
    {25, "SetSshSettings", SetSshSettings},
    {26, "GetTelnetSettings", GetTelnetSettings},
    {27, "SetTelnetSettings", SetTelnetSettings},
    {28, "GetSnmpSettings", GetSnmpSettings},
    {29, "SetSnmpSettings", SetSnmpSettings},
    {30, "GetSmtpSettings", GetSmtpSettings},
    {31, "SetSmtpSettings", SetSmtpSettings},
    {32, "ChangePassword", ChangePassword},
    {33, "SetCurrentUserPreferences", SetCurrentUserPreferences},
    {34, "GetUsers", GetUsers},
    {35, "GetLockedUsers", GetLockedUsers},
    {36, "GetUserDetails", GetUserDetails},
    {37, "ModifyUser", ModifyUser},
    {38, "AddUser", AddUser},
    {39, "DeleteUser", DeleteUser},
    {40, "SetUserEnabled", SetUserEnabled},
    {41, "UnlockUser", UnlockUser},
    {42, "GetRoles", GetRoles},
    {43, "ModifyRole", ModifyRole},
    {44, "CreateRole", CreateRole},
    {45, "DeleteRole", DeleteRole},
    {46, "GetEventFilters", GetEventFilters},
    {47, "CreateEventFilter", CreateEventFilter},
    {48, "RemoveEventFilter", RemoveEventFilter},
    {49, "GetEventAction", GetEventAction},
    {50, "SetEventAction", SetEventAction},
    {51, "AddEventAction", AddEventAction},
    {52, "RemoveEventAction", RemoveEventAction},
    {53, "SetSensorName", SetSensorName},
    {54, "SetControlName", SetControlName},
    {55, "SetOutletUserName", SetOutletUserName},
    {56, "SetResourceTag", SetResourceTag},
    {57, "GetFirewall", GetFirewall},
    {58, "SetFirewall", SetFirewall},
    {59, "GetRoleBasedFirewall", GetRoleBasedFirewall},
    {60, "SetRoleBasedFirewall", SetRoleBasedFirewall},
    {61, "SetUserSshKey", SetUserSshKey},
    {62, "GetLoginRestrictions", GetLoginRestrictions},
    {63, "SetLoginRestrictions", SetLoginRestrictions},
    {64, "GetLdapConfiguration", GetLdapConfiguration},
    {65, "EnableLdapConfiguration", EnableLdapConfiguration},
    {66, "DisableLdapConfiguration", DisableLdapConfiguration},
    {67, "ResetController", ResetController},
    {68, "RestartController", RestartController},
    {69, "RebootController", RebootController},
    {70, "GetGlobalPreferences", GetGlobalPreferences},
    {71, "SetGlobalPreferences", SetGlobalPreferences},
    {72, "GetDateTime", GetDateTime},
    {73, "SetDateTime", SetDateTime},
    {74, "ClearEventLog", ClearEventLog},
    {76, "ManageSensor", ManageSensor},
    {77, "GetManagedSensorNumber", GetManagedSensorNumber},
    {78, "AttachSensor", AttachSensor},
    {79, "DetachSensor", DetachSensor},
    {80, "GetSensorSettings", GetSensorSettings},
    {81, "SetSensorSettings", SetSensorSettings},
    {82, "AcknowledgeAlarms", AcknowledgeAlarms},
    {83, "DeleteAlarms", DeleteAlarms},
    {84, "GetDeviceInfo", GetDeviceInfo},
    {85, "GetInventory", GetInventory},
    {86, "GetIpduSettings", GetIpduSettings},
    {87, "SetIpduNominalValues", SetIpduNominalValues},
    {88, "SetOutletStartupSequence", SetOutletStartupSequence},
    {89, "SaveConfiguration", SaveConfiguration},
    {90, "GetNtpSettings", GetNtpSettings},
    {91, "SetNtpSettings", SetNtpSettings},
    {92, "GetSensorLogSettings", GetSensorLogSettings},
    {93, "SetSensorLogSettings", SetSensorLogSettings},
    {94, "GetSensorLog", GetSensorLog},
    {95, "GetSensorConfiguration", GetSensorConfiguration},
    {96, "SetSensorStateSeverity", SetSensorStateSeverity},
    {97, "GetReachabilityEntries", GetReachabilityEntries},
    {98, "AddReachabilityEntry", AddReachabilityEntry},
    {99, "SetReachabilityEntry", SetReachabilityEntry},
    {100, "DeleteReachabilityEntry", DeleteReachabilityEntry},
    {101, "DiscoverModbusDevices", DiscoverModbusDevices},
    {102, "GetCertificate", GetCertificate},
    {103, "GetGroups", GetGroups},
    {104, "CreateGroup", CreateGroup},
    {105, "DeleteGroup", DeleteGroup},
    {106, "GetGroupSwitchProgress", GetGroupSwitchProgress},
    {107, "CancelGroupSwitch", CancelGroupSwitch},
    {108, "AddGroupControl", AddGroupControl},
    {109, "RemoveGroupControl", RemoveGroupControl},
    {110, "AddGroupOutlet", AddGroupOutlet},
    {111, "RemoveGroupOutlet", RemoveGroupOutlet},
    {112, "AddGroupSensor", AddGroupSensor},
    {113, "RemoveGroupSensor", RemoveGroupSensor},
    {114, "SetGroupThresholds", SetGroupThresholds},
    {115, "GetGroupAggregateReading", GetGroupAggregateReading},
    {116, "SwitchGroup", SwitchGroup},
    {117, "CreateCertificate", CreateCertificate},
    {119, "SetServiceAgreement", SetServiceAgreement},
    {120, "SetHostName", SetHostName},
    {121, "InstallCertificate", InstallCertificate},
    {122, "SetAwsIotConfiguration", SetAwsIotConfiguration},
    {123, "GetModbusSerialAttributes", GetModbusSerialAttributes},
    {124, "SetModbusSerialAttributes", SetModbusSerialAttributes},
    {125, "GetSensorUserTypes", GetSensorUserTypes},
    {126, "AddSensorUserType", AddSensorUserType},
    {127, "UpdateSensorUserType", UpdateSensorUserType},
    {128, "DeleteSensorUserType", DeleteSensorUserType},
    {129, "SetSensorTypeByName", SetSensorTypeByName},
    {130, "GetResourceSensors", GetResourceSensors},
    {131, "GetPeriodicEventFilters", GetPeriodicEventFilters},
    {132, "SetPeriodicEventFilter", SetPeriodicEventFilter},
    {133, "GetBacnetSettings", GetBacnetSettings},
    {134, "SetBacnetSettings", SetBacnetSettings},
    {135, "GetIotStatus", GetIotStatus},
    {136, "CreateActionList", CreateActionList},
    {137, "RemoveActionList", RemoveActionList},
    {138, "GetActionLists", GetActionLists},
    {139, "AddActionListAction", AddActionListAction},
    {140, "RemoveActionListAction", RemoveActionListAction},
    {141, "SetActionListAction", SetActionListAction},
    {142, "GetActionListAction", GetActionListAction},
    {143, "GetEventActionListName", GetEventActionListName},
    {144, "SetEventActionListNamed", SetEventActionListNamed},
    {145, "SetEventActionListAnonymous", SetEventActionListAnonymous},
    {146, "RemoveResource", RemoveResource},
    {147, "ConvertEventActionListToNamed", ConvertEventActionListToNamed},
    {148, "GetRedfishSettings", GetRedfishSettings},
    {149, "SetRedfishSettings", SetRedfishSettings},
    {150, "VerifyExpressionForSensor", VerifyExpressionForSensor},
    {151, "VerifyFilterForSensor", VerifyFilterForSensor},
    {152, "GetCertificateInstallStatus", GetCertificateInstallStatus},
    {153, "DownloadSyslog", DownloadSyslog},
    {154, "ListLuaScripts", ListLuaScripts},
    {155, "SaveLuaScript", SaveLuaScript},
    {156, "GetLuaScript", GetLuaScript},
    {157, "DeleteLuaScript", DeleteLuaScript},
    {158, "UnconfigureIot", UnconfigureIot},
    {159, "GetModbusDrivers", GetModbusDrivers},
    {160, "GetLuaSettings", GetLuaSettings},
    {161, "SetLuaSettings", SetLuaSettings},
    {162, "VerifyLuaScript", VerifyLuaScript},
    {163, "GetDescription", GetDescription},
    {164, "SetDescription", SetDescription},
    {165, "ListModbusDriverFiles", ListModbusDriverFiles},
    {166, "SaveModbusDriver", SaveModbusDriver},
    {167, "ValidateModbusDriver", ValidateModbusDriver},
    {168, "GetModbusDriver", GetModbusDriver},
    {169, "DeleteModbusDriver", DeleteModbusDriver},
    {300, "GetDeviceTree", GetDeviceTree},
    {301, "GetOutletInfo", GetOutletInfo},
    {302, "GetProductSummary", GetProductSummary},
    {303, "GetSensorSummary", GetSensorSummary},
    {304, "SetResourceSeverity", SetResourceSeverity},
    {305, "UpdateResource", UpdateResource},
    {306, "UpdateSensors", UpdateSensors},
    {307, "LoadResource", LoadResource},
    {308, "GetLanguage", GetLanguage},
    {310, "GetPersistentResources", GetPersistentResources},
    {311, "DeletePersistentResources", DeletePersistentResources},
    {312, "UpdateControls", UpdateControls},
    {313, "SetAzureIotConfiguration", SetAzureIotConfiguration},
    {314, "GetWholeEventLog", GetWholeEventLog},
};

constexpr std::array<const ApiFunction *, kApiFunctionCount> BuildSlots() {
  std::array<const ApiFunction *, kApiFunctionCount> slots{};
  for (const ApiFunction &f : kImplemented) {
    if (f.fn < 0 || f.fn >= kApiFunctionCount || slots[static_cast<size_t>(f.fn)] != nullptr) {
      throw "function table: number outside 0..314 or used twice";  // fails the build
    }
    slots[static_cast<size_t>(f.fn)] = &f;
  }
  return slots;
}

constexpr std::array<const ApiFunction *, kApiFunctionCount> kSlots = BuildSlots();

}  // namespace

const ApiFunction *FindApiFunction(int32_t fn) {
  // Compared unsigned, so negative numbers fall outside too.
  if (static_cast<uint32_t>(fn) >= static_cast<uint32_t>(kApiFunctionCount)) return nullptr;
  return kSlots[static_cast<size_t>(fn)];
}

int ImplementedApiFunctionCount() {
  int n = 0;
  for (const ApiFunction *slot : kSlots) n += slot != nullptr ? 1 : 0;
  return n;
}

}  // namespace kvnc
