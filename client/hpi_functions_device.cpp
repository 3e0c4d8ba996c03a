// Device information, preferences, outlets, resources and instruments, configuration and IoT.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiGetDeviceName(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Name) {
  return HpiCall(316, {&SessionId}, {Name});
}

SaErrorT kvnHpiGetDeviceModel(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Model) {
  return HpiCall(318, {&SessionId}, {Model});
}

SaErrorT kvnHpiGetHardwareVersion(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Version) {
  return HpiCall(319, {&SessionId}, {Version});
}

SaErrorT kvnHpiGetFirmwareVersion(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Version) {
  return HpiCall(320, {&SessionId}, {Version});
}

SaErrorT kvnHpiGetSerialNumber(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SerialNumber) {
  return HpiCall(321, {&SessionId}, {SerialNumber});
}

SaErrorT kvnHpiGetUTCOffset(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Offset) {
  return HpiCall(322, {&SessionId}, {Offset});
}

SaErrorT kvnHpiFindOutletInstruments(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId,
                                     KvnOutletInstrumentsT *Instruments) {
  return HpiCall(323, {&SessionId, &OutletId}, {Instruments});
}

SaErrorT kvnHpiIpduCountsGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Inlets, SaHpiUint32T *Plugs, SaHpiUint32T *Phases,
                             SaHpiUint32T *Branches, SaHpiUint32T *Outlets, SaHpiUint32T *ResidualCurrentMonitors) {
  return HpiCall(327, {&SessionId}, {Inlets, Plugs, Phases, Branches, Outlets, ResidualCurrentMonitors});
}

SaErrorT kvnHpiOutletUserNameGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiTextBufferT *Name) {
  return HpiCall(330, {&SessionId, &OutletId}, {Name});
}

SaErrorT kvnHpiOutletUserNameSet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, const SaHpiTextBufferT *Name,
                                 SaHpiUint8T Flag) {
  return HpiCall(331, {&SessionId, &OutletId, Name, &Flag}, {});
}

SaErrorT kvnHpiOutletTypeGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T *OutletType) {
  return HpiCall(332, {&SessionId, &OutletId}, {OutletType});
}

SaErrorT kvnHpiOutletStartupSequenceGet(SaHpiSessionIdT SessionId, SaHpiUint32T Capacity, SaHpiUint32T *Count,
                                        KvnStartupSequenceT *Sequence) {
  return HpiCall(333, {&SessionId, &Capacity}, {Count, Sequence});
}

SaErrorT kvnHpiOutletStartupSequenceSet(SaHpiSessionIdT SessionId, SaHpiUint32T Count,
                                        const KvnStartupSequenceT *Sequence) {
  return HpiCall(334, {&SessionId, &Count, Sequence}, {});
}

SaErrorT kvnHpiOutletInitialStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T *InitialState) {
  return HpiCall(335, {&SessionId, &OutletId}, {InitialState});
}

SaErrorT kvnHpiOutletInitialStateSet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T InitialState) {
  return HpiCall(336, {&SessionId, &OutletId, &InitialState}, {});
}

SaErrorT kvnHpiOutletDefaultInitialStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T *InitialState) {
  return HpiCall(337, {&SessionId}, {InitialState});
}

SaErrorT kvnHpiInstrumentNameSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                 SaHpiInstrumentIdT InstrumentId, const SaHpiTextBufferT *Name) {
  return HpiCall(347, {&SessionId, &ResourceId, &RdrType, &InstrumentId, Name}, {});
}

SaErrorT kvnHpiForcedConfigWriteStart(SaHpiSessionIdT SessionId, SaHpiInt32T Mask, SaHpiInt32T *JobNumber) {
  return HpiCall(359, {&SessionId, &Mask}, {JobNumber});
}

SaErrorT kvnHpiForcedConfigWriteCompleted(SaHpiSessionIdT SessionId, SaHpiInt32T JobNumber, SaHpiBoolT *Completed) {
  return HpiCall(360, {&SessionId, &JobNumber}, {Completed});
}

SaErrorT kvnHpiDateTimeGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *DateTime, SaHpiTextBufferT *Timezone,
                           SaHpiTextBufferT *Timezone1) {
  return HpiCall(361, {&SessionId}, {DateTime, Timezone, Timezone1});
}

SaErrorT kvnHpiDateTimeSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *DateTime,
                           const SaHpiTextBufferT *Timezone) {
  return HpiCall(362, {&SessionId, DateTime, Timezone}, {});
}

SaErrorT kvnHpiTransientAlarmSeverityGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Severity) {
  return HpiCall(363, {&SessionId}, {Severity});
}

SaErrorT kvnHpiTransientAlarmSeveritySet(SaHpiSessionIdT SessionId, SaHpiUint32T Severity) {
  return HpiCall(364, {&SessionId, &Severity}, {});
}

SaErrorT kvnHpiExternalSensorZCoordGet(SaHpiSessionIdT SessionId, SaHpiUint32T *ZCoordinate) {
  return HpiCall(365, {&SessionId}, {ZCoordinate});
}

SaErrorT kvnHpiExternalSensorZCoordSet(SaHpiSessionIdT SessionId, SaHpiUint32T ZCoordinate) {
  return HpiCall(366, {&SessionId, &ZCoordinate}, {});
}

SaErrorT kvnHpiIpduNominalVoltageFrequencyGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Voltage, SaHpiUint32T *Frequency,
                                              SaHpiUint32T *DefaultVoltage, SaHpiUint32T *DefaultFrequency) {
  return HpiCall(370, {&SessionId}, {Voltage, Frequency, DefaultVoltage, DefaultFrequency});
}

SaErrorT kvnHpiIpduNominalVoltageFrequencySet(SaHpiSessionIdT SessionId, SaHpiUint32T Voltage, SaHpiUint32T Frequency) {
  return HpiCall(371, {&SessionId, &Voltage, &Frequency}, {});
}

SaErrorT kvnHpiPopulateAwsConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                  const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                  SaHpiBoolT *Succeeded, SaHpiTextBufferT *Message) {
  return HpiCall(386, {&SessionId, Directory, ThingName, Unused}, {Succeeded, Message});
}

SaErrorT kvnHpiDiscoverAt(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Driver, const SaHpiTextBufferT *Address) {
  return HpiCall(406, {&SessionId, Driver, Address}, {});
}

SaErrorT kvnHpiCertificateInstall(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FileName) {
  return HpiCall(407, {&SessionId, FileName}, {});
}

SaErrorT kvnModbusSerialAttributesSet(SaHpiSessionIdT SessionId, SaHpiUint32T InterfaceNumber,
                                      const SaHpiTextBufferT *Attributes) {
  return HpiCall(408, {&SessionId, &InterfaceNumber, Attributes}, {});
}

SaErrorT kvnModbusSerialAttributesGet(SaHpiSessionIdT SessionId, SaHpiUint32T InterfaceNumber,
                                      SaHpiTextBufferT *Attributes) {
  return HpiCall(409, {&SessionId, &InterfaceNumber}, {Attributes});
}

SaErrorT kvnHpiInstrumentNameSetDefault(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, SaHpiTextBufferT *Name) {
  return HpiCall(431, {&SessionId, &ResourceId, &RdrType, &InstrumentId}, {Name});
}

SaErrorT kvnHpiControlStateTextGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                                   SaHpiUint32T *UnnamedResult32, SaHpiTextBufferT *StateText1,
                                   SaHpiTextBufferT *StateText2) {
  return HpiCall(432, {&SessionId, &ResourceId, &CtrlNum}, {UnnamedResult32, StateText1, StateText2});
}

SaErrorT kvnHpiPersistentResourcesGet(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                      SaHpiResourceIdT *ResourceId, SaHpiTextBufferT *Name) {
  return HpiCall(433, {&SessionId, &EntryId}, {NextEntryId, ResourceId, Name});
}

SaErrorT kvnHpiPersistentResourceDelete(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId) {
  return HpiCall(434, {&SessionId, &ResourceId}, {});
}

SaErrorT kvnHpiGetProductName(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Name) {
  return HpiCall(447, {&SessionId}, {Name});
}

SaErrorT kvnHpiResourceRemove(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId) {
  return HpiCall(451, {&SessionId, &ResourceId}, {});
}

SaErrorT kvnHpiAssetTagGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *AssetTag) {
  return HpiCall(453, {&SessionId}, {AssetTag});
}

SaErrorT kvnHpiAssetTagSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *AssetTag) {
  return HpiCall(454, {&SessionId, AssetTag}, {});
}

SaErrorT kvnHpiLocationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Location) {
  return HpiCall(455, {&SessionId}, {Location});
}

SaErrorT kvnHpiLocationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Location) {
  return HpiCall(456, {&SessionId, Location}, {});
}

SaErrorT kvnHpiPopulateAzureConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                    const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                    SaHpiBoolT *Succeeded, SaHpiTextBufferT *Message) {
  return HpiCall(459, {&SessionId, Directory, ThingName, Unused}, {Succeeded, Message});
}

SaErrorT kvnHpiIotIsConnected(SaHpiSessionIdT SessionId, SaHpiBoolT *Connected, SaHpiTextBufferT *Name,
                              SaHpiTextBufferT *Provider, SaHpiInt32T *LastResult) {
  return HpiCall(460, {&SessionId}, {Connected, Name, Provider, LastResult});
}

SaErrorT kvnHpiIotUseWebSocketsGet(SaHpiSessionIdT SessionId, SaHpiBoolT *UseWebSockets) {
  return HpiCall(461, {&SessionId}, {UseWebSockets});
}

SaErrorT kvnHpiIotUseWebSocketsSet(SaHpiSessionIdT SessionId, SaHpiBoolT UseWebSockets) {
  return HpiCall(462, {&SessionId, &UseWebSockets}, {});
}

SaErrorT kvnHpiW1PollIntervalGet(SaHpiSessionIdT SessionId, SaHpiUint32T *PollInterval) {
  return HpiCall(466, {&SessionId}, {PollInterval});
}

SaErrorT kvnHpiW1PollIntervalSet(SaHpiSessionIdT SessionId, SaHpiUint32T PollInterval) {
  return HpiCall(467, {&SessionId, &PollInterval}, {});
}

SaErrorT kvnHpiLuaConfigurationGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint32T *Timeout) {
  return HpiCall(470, {&SessionId}, {Enabled, Timeout});
}

SaErrorT kvnHpiLuaConfigurationSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint32T Timeout) {
  return HpiCall(471, {&SessionId, &Enabled, &Timeout}, {});
}

SaErrorT kvnHpiSupportedDriverListGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *DriverClass,
                                      SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId, SaHpiTextBufferT *DriverName) {
  return HpiCall(472, {&SessionId, DriverClass, &EntryId}, {NextEntryId, DriverName});
}

SaErrorT kvnHpiUnconfigureIot(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory) {
  return HpiCall(473, {&SessionId, Directory}, {});
}

SaErrorT kvnHpiLuaVerifyScript(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ScriptName, SaHpiTextBufferT *Result,
                               SaHpiBoolT *Valid) {
  return HpiCall(474, {&SessionId, ScriptName}, {Result, Valid});
}

SaErrorT kvnHpiInstrumentDescriptionSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, const SaHpiTextBufferT *Description) {
  return HpiCall(475, {&SessionId, &ResourceId, &RdrType, &InstrumentId, Description}, {});
}

SaErrorT kvnHpiInstrumentDescriptionGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, SaHpiTextBufferT *Description) {
  return HpiCall(476, {&SessionId, &ResourceId, &RdrType, &InstrumentId}, {Description});
}

SaErrorT kvnHpiResourceDescriptionSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                      const SaHpiTextBufferT *Description) {
  return HpiCall(477, {&SessionId, &ResourceId, Description}, {});
}

SaErrorT kvnHpiResourceDescriptionGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                      SaHpiTextBufferT *Description) {
  return HpiCall(478, {&SessionId, &ResourceId}, {Description});
}

SaErrorT kvnHpiDeviceDescriptionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Description) {
  return HpiCall(479, {&SessionId, Description}, {});
}

SaErrorT kvnHpiDeviceDescriptionGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Description) {
  return HpiCall(480, {&SessionId}, {Description});
}

SaErrorT kvnHpiPopulateAwsGreengrassConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                            const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                            const SaHpiTextBufferT *Endpoint, SaHpiBoolT *Succeeded,
                                            SaHpiTextBufferT *Message) {
  return HpiCall(484, {&SessionId, Directory, ThingName, Unused, Endpoint}, {Succeeded, Message});
}
