// The RPCs the simulated daemon serves: number, function, the right a caller
// needs. The request and reply values are the client's marshal table's; the
// functions' parameters are checked against it at start-up.
#include <array>

#include "sim/rpc_dispatch.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

constexpr Access kOpen = Access::kOpen;
constexpr Access kRead = Access::kRead;
constexpr Access kControl = Access::kControl;
constexpr Access kConfigure = Access::kConfigure;
constexpr Access kAdminister = Access::kAdminister;

// Named users' settings (Sim*User*Set) need kRead here: a user may change
// their own, and the function asks for kAdminister for anybody else's.
const SimRpc kSimRpcs[] = {
    Rpc<SimSessionOpen>(1, kOpen),
    Rpc<SimSessionClose>(2, kRead),
    Rpc<SimResourceSeveritySet>(9, kConfigure),
    Rpc<SimResourceTagSet>(10, kConfigure),
    Rpc<SimEventLogInfoGet>(15, kRead),
    Rpc<SimEventLogEntryGet>(17, kRead),
    Rpc<SimEventLogClear>(19, kConfigure),
    Rpc<SimAlarmGetNext>(29, kRead),
    Rpc<SimAlarmAcknowledge>(31, kControl),
    Rpc<SimAlarmDelete>(33, kControl),
    Rpc<SimRdrGet>(34, kRead),
    Rpc<SimRdrGetByInstrumentId>(35, kRead),
    Rpc<SimSensorReadingGet>(36, kRead),
    Rpc<SimSensorThresholdsGet>(37, kRead),
    Rpc<SimSensorThresholdsSet>(38, kConfigure),
    Rpc<SimSensorEventMasksGet>(44, kRead),
    Rpc<SimSensorEventMasksSet>(45, kConfigure),
    Rpc<SimControlGet>(47, kRead),
    Rpc<SimControlSet>(48, kControl),
    Rpc<SimIdrInfoGet>(49, kRead),
    Rpc<SimIdrAreaHeaderGet>(50, kRead),
    Rpc<SimIdrFieldGet>(54, kRead),
    Rpc<SimSensorStateSeverityGet>(138, kRead),
    Rpc<SimSensorStateSeveritySet>(139, kConfigure),
    Rpc<SimSensorExtendedInfoGet>(140, kRead),
    Rpc<SimSensorResetEraseConfiguration>(141, kConfigure),
    Rpc<SimSensorLogEnableGet>(142, kRead),
    Rpc<SimSensorLogEnableSet>(143, kAdminister),
    Rpc<SimSensorLogAccumPeriodGet>(144, kRead),
    Rpc<SimSensorLogAccumPeriodSet>(145, kAdminister),
    Rpc<SimSensorLogSizeGet>(146, kRead),
    Rpc<SimSensorLogFirstLastGet>(147, kRead),
    Rpc<SimSensorLogTimestampGet>(148, kRead),
    Rpc<SimSensorLogEntryGet>(149, kRead),
    Rpc<SimEventFilterCreate>(150, kAdminister),
    Rpc<SimEventFilterGetNext>(152, kRead),
    Rpc<SimEventFilterRemove>(153, kAdminister),
    Rpc<SimEventActionAdd>(155, kAdminister),
    Rpc<SimEventActionGet>(156, kRead),
    Rpc<SimEventActionRemove>(157, kAdminister),
    Rpc<SimEventActionSet>(158, kAdminister),
    Rpc<SimSensorDescriptionGet>(167, kRead),
    Rpc<SimSensorDescriptionSet>(168, kConfigure),
    Rpc<SimSensorUserTypeGet>(169, kRead),
    Rpc<SimSensorUserTypeSet>(170, kConfigure),
    Rpc<SimSensorCoordinatesGet>(171, kRead),
    Rpc<SimSensorCoordinatesSet>(172, kConfigure),
    Rpc<SimSensorAttach>(173, kConfigure),
    Rpc<SimSensorDetach>(174, kConfigure),
    Rpc<SimSensorAttachStateGet>(175, kRead),
    Rpc<SimSensorManage>(176, kConfigure),
    Rpc<SimSensorManagedNumberGet>(177, kRead),
    Rpc<SimAdapterNameGet>(178, kRead),
    Rpc<SimMACAddressGet>(179, kRead),
    Rpc<SimIPv4AddressGet>(183, kRead),
    Rpc<SimGroupCreate>(234, kConfigure),
    Rpc<SimGroupDelete>(235, kConfigure),
    Rpc<SimGroupGetNext>(236, kRead),
    Rpc<SimGroupSensorAdd>(237, kConfigure),
    Rpc<SimGroupSensorDelete>(238, kConfigure),
    Rpc<SimGroupControlAdd>(240, kConfigure),
    Rpc<SimGroupControlDelete>(241, kConfigure),
    Rpc<SimGroupSensorGet>(243, kRead),
    Rpc<SimGroupControlGet>(244, kRead),
    Rpc<SimGroupControlStateAssignAsynchronous>(248, kControl),
    Rpc<SimGroupControlCancelAsynchronous>(249, kControl),
    Rpc<SimGroupControlGetProgressAsynchronous>(250, kRead),
    Rpc<SimGroupSensorReadingAggregateGet>(251, kRead),
    Rpc<SimCurrentPrivilegeMaskGet>(252, kRead),
    Rpc<SimCurrentUserMeasurementUnitsGet>(253, kRead),
    Rpc<SimCurrentUserMeasurementUnitsSet>(254, kRead),
    Rpc<SimUserMeasurementUnitsGet>(255, kRead),
    Rpc<SimUserMeasurementUnitsSet>(256, kRead),
    Rpc<SimGlobalMeasurementUnitsGet>(257, kRead),
    Rpc<SimGlobalMeasurementUnitsSet>(258, kAdminister),
    Rpc<SimCurrentUserWebParametersGet>(259, kRead),
    Rpc<SimCurrentUserWebParametersSet>(260, kRead),
    Rpc<SimUserWebParametersGet>(261, kRead),
    Rpc<SimUserWebParametersSet>(262, kRead),
    Rpc<SimGlobalWebParametersGet>(263, kRead),
    Rpc<SimGlobalWebParametersSet>(264, kAdminister),
    Rpc<SimCurrentLanguageGet>(265, kRead),
    Rpc<SimCurrentLanguageSet>(266, kAdminister),
    Rpc<SimUserInfoGetByName>(270, kRead),
    Rpc<SimUserRolesGet>(279, kRead),
    Rpc<SimUserPrivilegesGet>(281, kRead),
    Rpc<SimLoginAddressCheck>(315, kRead),
    Rpc<SimGetDeviceName>(316, kRead),
    Rpc<SimGetDeviceModel>(318, kRead),
    Rpc<SimGetHardwareVersion>(319, kRead),
    Rpc<SimGetFirmwareVersion>(320, kRead),
    Rpc<SimGetSerialNumber>(321, kRead),
    Rpc<SimGetUTCOffset>(322, kRead),
    Rpc<SimFindOutletInstruments>(323, kRead),
    Rpc<SimIpduCountsGet>(327, kRead),
    Rpc<SimOutletUserNameGet>(330, kRead),
    Rpc<SimOutletUserNameSet>(331, kConfigure),
    Rpc<SimOutletTypeGet>(332, kRead),
    Rpc<SimInstrumentNameSet>(347, kConfigure),
    Rpc<SimHostNameGet>(352, kRead),
    Rpc<SimHostNameSet>(353, kAdminister),
    Rpc<SimDateTimeGet>(361, kRead),
    Rpc<SimExternalSensorZCoordGet>(365, kRead),
    Rpc<SimExternalSensorZCoordSet>(366, kAdminister),
    Rpc<SimGroupSensorThresholdsSet>(369, kConfigure),
    Rpc<SimUserPasswordExpirationParametersGet>(372, kRead),
    Rpc<SimGenerateUserEvent>(403, kRead),
    Rpc<SimPeriodicExpressionCreate>(404, kAdminister),
    Rpc<SimEventFilterGetNext2>(405, kRead),
    Rpc<SimSensorUserTypeInfoGet>(412, kRead),
    Rpc<SimSensorUserTypeAdd>(414, kConfigure),
    Rpc<SimSensorUserTypeDelete>(415, kConfigure),
    Rpc<SimSensorUserTypeUpdate>(417, kConfigure),
    Rpc<SimSensorTypeSetByName>(419, kConfigure),
    Rpc<SimRdrListGet>(422, kRead),
    Rpc<SimCurrentUserLanguageGet>(423, kRead),
    Rpc<SimCurrentUserLanguageSet>(424, kRead),
    Rpc<SimUserLanguageGet>(425, kRead),
    Rpc<SimUserLanguageSet>(426, kRead),
    Rpc<SimSensorStatusGet>(427, kRead),
    Rpc<SimBACnetEnableAndDeviceIdGet>(429, kRead),
    Rpc<SimInstrumentNameSetDefault>(431, kConfigure),
    Rpc<SimControlStateTextGet>(432, kRead),
    Rpc<SimPersistentResourcesGet>(433, kRead),
    Rpc<SimPersistentResourceDelete>(434, kConfigure),
    Rpc<SimNamedActionListCreate>(437, kAdminister),
    Rpc<SimNamedActionListRemove>(438, kAdminister),
    Rpc<SimNamedActionListGetNext>(439, kRead),
    Rpc<SimEventActionListNameGet>(440, kRead),
    Rpc<SimEventActionListSetNamed>(441, kAdminister),
    Rpc<SimEventActionListSetAnonymous>(442, kAdminister),
    Rpc<SimNamedActionListActionAdd>(443, kAdminister),
    Rpc<SimNamedActionListActionGet>(444, kRead),
    Rpc<SimNamedActionListActionRemove>(445, kAdminister),
    Rpc<SimNamedActionListActionSet>(446, kAdminister),
    Rpc<SimGetProductName>(447, kRead),
    Rpc<SimVerifyExpressionForSensor>(449, kRead),
    Rpc<SimVerifyFilterForSensor>(450, kRead),
    Rpc<SimResourceRemove>(451, kConfigure),
    Rpc<SimEventActionListConvertToNamed>(452, kAdminister),
    Rpc<SimAssetTagGet>(453, kRead),
    Rpc<SimLocationGet>(455, kRead),
    Rpc<SimSensorAssertionDelayGet>(468, kRead),
    Rpc<SimSensorAssertionDelaySet>(469, kConfigure),
    Rpc<SimInstrumentDescriptionSet>(475, kConfigure),
    Rpc<SimInstrumentDescriptionGet>(476, kRead),
    Rpc<SimResourceDescriptionSet>(477, kConfigure),
    Rpc<SimResourceDescriptionGet>(478, kRead),
    Rpc<SimDeviceDescriptionSet>(479, kAdminister),
    Rpc<SimDeviceDescriptionGet>(480, kRead),
};

// Row position + 1 of each RPC number, 0 for none.
const std::array<uint16_t, 496> kRowIndex = [] {
  std::array<uint16_t, 496> index{};
  for (size_t i = 0; i < std::size(kSimRpcs); ++i) {
    if (kSimRpcs[i].number < index.size()) index[kSimRpcs[i].number] = static_cast<uint16_t>(i + 1);
  }
  return index;
}();

}  // namespace

std::span<const SimRpc> SimRpcTable() { return kSimRpcs; }

const SimRpc *FindSimRpc(uint32_t rpc) {
  if (rpc >= kRowIndex.size() || kRowIndex[rpc] == 0) return nullptr;
  return &kSimRpcs[kRowIndex[rpc] - 1];
}

}  // namespace kvnc::sim
