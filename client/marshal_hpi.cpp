// Type records of the HPI types and vendor records (see marshal_hpi.h).
//
// Every member is written FIELD(Struct, Member, record) and every union
// alternative ALT(Union, Member, discriminator, record): offsets and sizes
// come from the C declarations, and at compile time each record is checked
// against the member it describes (a simple value or array must match its
// size exactly, a nested record must fit), so the same tables hold on the
// 32-bit target and on a 64-bit host.
#include "client/marshal_hpi.h"

#include <cstddef>

#include "client/hpi_types.h"
#include "client/kvn_types.h"

namespace {

// Consteval checks fail to compile when a record does not fit its member.
consteval void Require(bool holds, const char *what) {
  if (!holds) throw what;
}

consteval size_t UnionExtent(const MarshalType *type) {
  size_t size = 0;
  for (const MarshalType *u = type->operand2.type; u->code == MT_UNION_ELEMENT; ++u) {
    const size_t candidate = MarshalMemoryExtent(u->operand2.type);
    Require(candidate != kMarshalExtentUnknown, "union alternative of unknown size");
    if (candidate > size) size = candidate;
  }
  return size;
}

consteval bool HasExactSize(const MarshalType *type) { return IsSimpleCode(type->code) || type->code == MT_ARRAY; }

consteval MarshalType Field(size_t offset, size_t member_size, const MarshalType *type) {
  size_t extent;
  if (type->code == MT_VAR_ARRAY) {
    extent = sizeof(void *);
    Require(MarshalMemoryExtent(type->operand3.type) == type->operand2.number, "var-array element size");
  } else if (type->code == MT_UNION) {
    extent = UnionExtent(type);
  } else {
    extent = MarshalMemoryExtent(type);
  }
  Require(extent != kMarshalExtentUnknown, "member of unknown size");
  Require(HasExactSize(type) || type->code == MT_VAR_ARRAY ? extent == member_size : extent <= member_size,
          "record does not match the member's declaration");
  return MarshalStructElement(static_cast<uint32_t>(offset), type);
}

consteval MarshalType Alternative(uint32_t value, size_t member_size, const MarshalType *type) {
  const size_t extent = MarshalMemoryExtent(type);
  Require(HasExactSize(type) ? extent == member_size : extent <= member_size,
          "record does not match the union member's declaration");
  return MarshalUnionElement(value, type);
}

consteval MarshalType Bytes(uint32_t count) { return MarshalArrayType(count, 1, &kMarshalUint8); }

#define FIELD(Struct, member, record) Field(offsetof(Struct, member), sizeof(Struct::member), &(record))
#define ALT(Union, member, value, record) Alternative(value, sizeof(Union::member), &(record))

constexpr MarshalType kUint8x4 = Bytes(SAHPI_CTRL_MAX_STREAM_LENGTH);
constexpr MarshalType kUint8x10 = Bytes(SAHPI_CTRL_OEM_CONFIG_LENGTH);
constexpr MarshalType kUint8x16 = Bytes(SAHPI_GUID_LENGTH);
constexpr MarshalType kUint8x32 = Bytes(SAHPI_SENSOR_BUFFER_LENGTH);
constexpr MarshalType kUint8x255 = Bytes(SAHPI_MAX_TEXT_BUFFER_LENGTH);
constexpr MarshalType kUint8x256 = Bytes(SA_HPI_MAX_NAME_LENGTH);

}  // namespace

// ---- text buffers and entity paths -------------------------------------------

constexpr MarshalType kTextBufferMembers[] = {
    FIELD(SaHpiTextBufferT, DataType, kMarshalUint32),
    FIELD(SaHpiTextBufferT, Language, kMarshalUint32),
    FIELD(SaHpiTextBufferT, DataLength, kMarshalUint8),
    FIELD(SaHpiTextBufferT, Data, kUint8x255),  // all 255 bytes, whatever DataLength says
    MarshalEnd(),
};
constexpr MarshalType kHpiTextBuffer = MarshalStructType(kTextBufferMembers);

constexpr MarshalType kEntityMembers[] = {
    FIELD(SaHpiEntityT, EntityType, kMarshalUint32),
    FIELD(SaHpiEntityT, EntityLocation, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kHpiEntity = MarshalStructType(kEntityMembers);
constexpr MarshalType kEntityPathEntries = MarshalArrayType(SAHPI_MAX_ENTITY_PATH, sizeof(SaHpiEntityT), &kHpiEntity);
constexpr MarshalType kEntityPathMembers[] = {
    FIELD(SaHpiEntityPathT, Entry, kEntityPathEntries),
    MarshalEnd(),
};
constexpr MarshalType kHpiEntityPath = MarshalStructType(kEntityPathMembers);

// ---- sensors ---------------------------------------------------------------

constexpr MarshalType kReadingValueAlternatives[] = {
    ALT(SaHpiSensorReadingUnionT, SensorInt64, SAHPI_SENSOR_READING_TYPE_INT64, kMarshalInt64),
    ALT(SaHpiSensorReadingUnionT, SensorUint64, SAHPI_SENSOR_READING_TYPE_UINT64, kMarshalUint64),
    ALT(SaHpiSensorReadingUnionT, SensorFloat64, SAHPI_SENSOR_READING_TYPE_FLOAT64, kMarshalFloat64),
    ALT(SaHpiSensorReadingUnionT, SensorBuffer, SAHPI_SENSOR_READING_TYPE_BUFFER, kUint8x32),
    MarshalEnd(),
};
constexpr MarshalType kReadingValue = MarshalUnionType(1 /* Type */, kReadingValueAlternatives);
constexpr MarshalType kReadingMembers[] = {
    FIELD(SaHpiSensorReadingT, IsSupported, kMarshalUint8),
    FIELD(SaHpiSensorReadingT, Type, kMarshalUint32),
    FIELD(SaHpiSensorReadingT, Value, kReadingValue),
    MarshalEnd(),
};
constexpr MarshalType kHpiSensorReading = MarshalStructType(kReadingMembers);

constexpr MarshalType kThresholdsMembers[] = {
    FIELD(SaHpiSensorThresholdsT, LowCritical, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, LowMajor, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, LowMinor, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, UpCritical, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, UpMajor, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, UpMinor, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, PosThdHysteresis, kHpiSensorReading),
    FIELD(SaHpiSensorThresholdsT, NegThdHysteresis, kHpiSensorReading),
    MarshalEnd(),
};
constexpr MarshalType kHpiSensorThresholds = MarshalStructType(kThresholdsMembers);

constexpr MarshalType kSensorRangeMembers[] = {
    FIELD(SaHpiSensorRangeT, Flags, kMarshalUint8),
    FIELD(SaHpiSensorRangeT, Max, kHpiSensorReading),  // every reading travels, whatever Flags say
    FIELD(SaHpiSensorRangeT, Min, kHpiSensorReading),
    FIELD(SaHpiSensorRangeT, Nominal, kHpiSensorReading),
    FIELD(SaHpiSensorRangeT, NormalMax, kHpiSensorReading),
    FIELD(SaHpiSensorRangeT, NormalMin, kHpiSensorReading),
    MarshalEnd(),
};
constexpr MarshalType kSensorRange = MarshalStructType(kSensorRangeMembers);

constexpr MarshalType kSensorDataFormatMembers[] = {
    FIELD(SaHpiSensorDataFormatT, IsSupported, kMarshalUint8),
    FIELD(SaHpiSensorDataFormatT, ReadingType, kMarshalUint32),
    FIELD(SaHpiSensorDataFormatT, BaseUnits, kMarshalUint32),
    FIELD(SaHpiSensorDataFormatT, ModifierUnits, kMarshalUint32),
    FIELD(SaHpiSensorDataFormatT, ModifierUse, kMarshalUint32),
    FIELD(SaHpiSensorDataFormatT, Percentage, kMarshalUint8),
    FIELD(SaHpiSensorDataFormatT, Range, kSensorRange),
    FIELD(SaHpiSensorDataFormatT, AccuracyFactor, kMarshalFloat64),
    MarshalEnd(),
};
constexpr MarshalType kSensorDataFormat = MarshalStructType(kSensorDataFormatMembers);

constexpr MarshalType kSensorThdDefnMembers[] = {
    FIELD(SaHpiSensorThdDefnT, IsAccessible, kMarshalUint8),
    FIELD(SaHpiSensorThdDefnT, ReadThold, kMarshalUint8),
    FIELD(SaHpiSensorThdDefnT, WriteThold, kMarshalUint8),
    FIELD(SaHpiSensorThdDefnT, Nonlinear, kMarshalUint8),
    MarshalEnd(),
};
constexpr MarshalType kSensorThdDefn = MarshalStructType(kSensorThdDefnMembers);

constexpr MarshalType kSensorRecMembers[] = {
    FIELD(SaHpiSensorRecT, Num, kMarshalUint32),           FIELD(SaHpiSensorRecT, Type, kMarshalUint32),
    FIELD(SaHpiSensorRecT, Category, kMarshalUint8),       FIELD(SaHpiSensorRecT, EnableCtrl, kMarshalUint8),
    FIELD(SaHpiSensorRecT, EventCtrl, kMarshalUint32),     FIELD(SaHpiSensorRecT, Events, kMarshalUint16),
    FIELD(SaHpiSensorRecT, DataFormat, kSensorDataFormat), FIELD(SaHpiSensorRecT, ThresholdDefn, kSensorThdDefn),
    FIELD(SaHpiSensorRecT, Oem, kMarshalUint32),           MarshalEnd(),
};
constexpr MarshalType kSensorRec = MarshalStructType(kSensorRecMembers);

// ---- controls --------------------------------------------------------------

constexpr MarshalType kCtrlStateStreamMembers[] = {
    FIELD(SaHpiCtrlStateStreamT, Repeat, kMarshalUint8),
    FIELD(SaHpiCtrlStateStreamT, StreamLength, kMarshalUint32),
    FIELD(SaHpiCtrlStateStreamT, Stream, kUint8x4),
    MarshalEnd(),
};
constexpr MarshalType kCtrlStateStream = MarshalStructType(kCtrlStateStreamMembers);

constexpr MarshalType kCtrlStateTextMembers[] = {
    FIELD(SaHpiCtrlStateTextT, Line, kMarshalUint8),
    FIELD(SaHpiCtrlStateTextT, Text, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kCtrlStateText = MarshalStructType(kCtrlStateTextMembers);

constexpr MarshalType kCtrlStateOemMembers[] = {
    FIELD(SaHpiCtrlStateOemT, MId, kMarshalUint32),
    FIELD(SaHpiCtrlStateOemT, BodyLength, kMarshalUint8),
    FIELD(SaHpiCtrlStateOemT, Body, kUint8x255),
    MarshalEnd(),
};
constexpr MarshalType kCtrlStateOem = MarshalStructType(kCtrlStateOemMembers);

constexpr MarshalType kCtrlStateAlternatives[] = {
    ALT(SaHpiCtrlStateUnionT, Digital, SAHPI_CTRL_TYPE_DIGITAL, kMarshalUint32),
    ALT(SaHpiCtrlStateUnionT, Discrete, SAHPI_CTRL_TYPE_DISCRETE, kMarshalUint32),
    ALT(SaHpiCtrlStateUnionT, Analog, SAHPI_CTRL_TYPE_ANALOG, kMarshalInt32),
    ALT(SaHpiCtrlStateUnionT, Stream, SAHPI_CTRL_TYPE_STREAM, kCtrlStateStream),
    ALT(SaHpiCtrlStateUnionT, Text, SAHPI_CTRL_TYPE_TEXT, kCtrlStateText),
    ALT(SaHpiCtrlStateUnionT, Oem, SAHPI_CTRL_TYPE_OEM, kCtrlStateOem),
    MarshalEnd(),
};
constexpr MarshalType kCtrlStateUnion = MarshalUnionType(0 /* Type */, kCtrlStateAlternatives);
constexpr MarshalType kCtrlStateMembers[] = {
    FIELD(SaHpiCtrlStateT, Type, kMarshalUint32),
    FIELD(SaHpiCtrlStateT, StateUnion, kCtrlStateUnion),
    MarshalEnd(),
};
constexpr MarshalType kHpiCtrlState = MarshalStructType(kCtrlStateMembers);

constexpr MarshalType kCtrlRecDigitalMembers[] = {
    FIELD(SaHpiCtrlRecDigitalT, Default, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecDiscreteMembers[] = {
    FIELD(SaHpiCtrlRecDiscreteT, Default, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecAnalogMembers[] = {
    FIELD(SaHpiCtrlRecAnalogT, Min, kMarshalInt32),
    FIELD(SaHpiCtrlRecAnalogT, Max, kMarshalInt32),
    FIELD(SaHpiCtrlRecAnalogT, Default, kMarshalInt32),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecStreamMembers[] = {
    FIELD(SaHpiCtrlRecStreamT, Default, kCtrlStateStream),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecTextMembers[] = {
    FIELD(SaHpiCtrlRecTextT, MaxChars, kMarshalUint8),  FIELD(SaHpiCtrlRecTextT, MaxLines, kMarshalUint8),
    FIELD(SaHpiCtrlRecTextT, Language, kMarshalUint32), FIELD(SaHpiCtrlRecTextT, DataType, kMarshalUint32),
    FIELD(SaHpiCtrlRecTextT, Default, kCtrlStateText),  MarshalEnd(),
};
constexpr MarshalType kCtrlRecOemMembers[] = {
    FIELD(SaHpiCtrlRecOemT, MId, kMarshalUint32),
    FIELD(SaHpiCtrlRecOemT, ConfigData, kUint8x10),
    FIELD(SaHpiCtrlRecOemT, Default, kCtrlStateOem),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecDigital = MarshalStructType(kCtrlRecDigitalMembers);
constexpr MarshalType kCtrlRecDiscrete = MarshalStructType(kCtrlRecDiscreteMembers);
constexpr MarshalType kCtrlRecAnalog = MarshalStructType(kCtrlRecAnalogMembers);
constexpr MarshalType kCtrlRecStream = MarshalStructType(kCtrlRecStreamMembers);
constexpr MarshalType kCtrlRecText = MarshalStructType(kCtrlRecTextMembers);
constexpr MarshalType kCtrlRecOem = MarshalStructType(kCtrlRecOemMembers);

constexpr MarshalType kCtrlRecAlternatives[] = {
    ALT(SaHpiCtrlRecUnionT, Digital, SAHPI_CTRL_TYPE_DIGITAL, kCtrlRecDigital),
    ALT(SaHpiCtrlRecUnionT, Discrete, SAHPI_CTRL_TYPE_DISCRETE, kCtrlRecDiscrete),
    ALT(SaHpiCtrlRecUnionT, Analog, SAHPI_CTRL_TYPE_ANALOG, kCtrlRecAnalog),
    ALT(SaHpiCtrlRecUnionT, Stream, SAHPI_CTRL_TYPE_STREAM, kCtrlRecStream),
    ALT(SaHpiCtrlRecUnionT, Text, SAHPI_CTRL_TYPE_TEXT, kCtrlRecText),
    ALT(SaHpiCtrlRecUnionT, Oem, SAHPI_CTRL_TYPE_OEM, kCtrlRecOem),
    MarshalEnd(),
};
constexpr MarshalType kCtrlRecUnion = MarshalUnionType(2 /* Type */, kCtrlRecAlternatives);

constexpr MarshalType kCtrlDefaultModeMembers[] = {
    FIELD(SaHpiCtrlDefaultModeT, Mode, kMarshalUint32),
    FIELD(SaHpiCtrlDefaultModeT, ReadOnly, kMarshalUint8),
    MarshalEnd(),
};
constexpr MarshalType kCtrlDefaultMode = MarshalStructType(kCtrlDefaultModeMembers);

constexpr MarshalType kCtrlRecMembers[] = {
    FIELD(SaHpiCtrlRecT, Num, kMarshalUint32),           FIELD(SaHpiCtrlRecT, OutputType, kMarshalUint32),
    FIELD(SaHpiCtrlRecT, Type, kMarshalUint32),          FIELD(SaHpiCtrlRecT, TypeUnion, kCtrlRecUnion),
    FIELD(SaHpiCtrlRecT, DefaultMode, kCtrlDefaultMode), FIELD(SaHpiCtrlRecT, WriteOnly, kMarshalUint8),
    FIELD(SaHpiCtrlRecT, Oem, kMarshalUint32),           MarshalEnd(),
};
constexpr MarshalType kCtrlRec = MarshalStructType(kCtrlRecMembers);

// ---- the other instruments -------------------------------------------------

constexpr MarshalType kInventoryRecMembers[] = {
    FIELD(SaHpiInventoryRecT, IdrId, kMarshalUint32),
    FIELD(SaHpiInventoryRecT, Persistent, kMarshalUint8),
    FIELD(SaHpiInventoryRecT, Oem, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kWatchdogRecMembers[] = {
    FIELD(SaHpiWatchdogRecT, WatchdogNum, kMarshalUint32),
    FIELD(SaHpiWatchdogRecT, Oem, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kAnnunciatorRecMembers[] = {
    FIELD(SaHpiAnnunciatorRecT, AnnunciatorNum, kMarshalUint32),
    FIELD(SaHpiAnnunciatorRecT, AnnunciatorType, kMarshalUint32),
    FIELD(SaHpiAnnunciatorRecT, ModeReadOnly, kMarshalUint8),
    FIELD(SaHpiAnnunciatorRecT, MaxConditions, kMarshalUint32),
    FIELD(SaHpiAnnunciatorRecT, Oem, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kDimiRecMembers[] = {
    FIELD(SaHpiDimiRecT, DimiNum, kMarshalUint32),
    FIELD(SaHpiDimiRecT, Oem, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kFumiRecMembers[] = {
    FIELD(SaHpiFumiRecT, Num, kMarshalUint32),        FIELD(SaHpiFumiRecT, AccessProt, kMarshalUint32),
    FIELD(SaHpiFumiRecT, Capability, kMarshalUint32), FIELD(SaHpiFumiRecT, NumBanks, kMarshalUint8),
    FIELD(SaHpiFumiRecT, Oem, kMarshalUint32),        MarshalEnd(),
};
constexpr MarshalType kInventoryRec = MarshalStructType(kInventoryRecMembers);
constexpr MarshalType kWatchdogRec = MarshalStructType(kWatchdogRecMembers);
constexpr MarshalType kAnnunciatorRec = MarshalStructType(kAnnunciatorRecMembers);
constexpr MarshalType kDimiRec = MarshalStructType(kDimiRecMembers);
constexpr MarshalType kFumiRec = MarshalStructType(kFumiRecMembers);

// ---- resource data records -------------------------------------------------

constexpr MarshalType kRdrAlternatives[] = {
    // An event log entry that concerns no instrument carries an RDR of this
    // type: it has no record, so nothing travels for it.
    MarshalUnionElement(SAHPI_NO_RECORD, &kMarshalVoid),
    ALT(SaHpiRdrTypeUnionT, CtrlRec, SAHPI_CTRL_RDR, kCtrlRec),
    ALT(SaHpiRdrTypeUnionT, SensorRec, SAHPI_SENSOR_RDR, kSensorRec),
    ALT(SaHpiRdrTypeUnionT, InventoryRec, SAHPI_INVENTORY_RDR, kInventoryRec),
    ALT(SaHpiRdrTypeUnionT, WatchdogRec, SAHPI_WATCHDOG_RDR, kWatchdogRec),
    ALT(SaHpiRdrTypeUnionT, AnnunciatorRec, SAHPI_ANNUNCIATOR_RDR, kAnnunciatorRec),
    ALT(SaHpiRdrTypeUnionT, DimiRec, SAHPI_DIMI_RDR, kDimiRec),
    ALT(SaHpiRdrTypeUnionT, FumiRec, SAHPI_FUMI_RDR, kFumiRec),
    MarshalEnd(),
};
constexpr MarshalType kRdrUnion = MarshalUnionType(1 /* RdrType */, kRdrAlternatives);
constexpr MarshalType kRdrMembers[] = {
    FIELD(SaHpiRdrT, RecordId, kMarshalUint32),
    FIELD(SaHpiRdrT, RdrType, kMarshalUint32),
    FIELD(SaHpiRdrT, Entity, kHpiEntityPath),
    FIELD(SaHpiRdrT, IsFru, kMarshalUint8),
    FIELD(SaHpiRdrT, RdrTypeUnion, kRdrUnion),
    FIELD(SaHpiRdrT, IdString, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kHpiRdr = MarshalStructType(kRdrMembers);

// ---- resources -------------------------------------------------------------

constexpr MarshalType kResourceInfoMembers[] = {
    FIELD(SaHpiResourceInfoT, ResourceRev, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, SpecificVer, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, DeviceSupport, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, ManufacturerId, kMarshalUint32),
    FIELD(SaHpiResourceInfoT, ProductId, kMarshalUint16),
    FIELD(SaHpiResourceInfoT, FirmwareMajorRev, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, FirmwareMinorRev, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, AuxFirmwareRev, kMarshalUint8),
    FIELD(SaHpiResourceInfoT, Guid, kUint8x16),
    MarshalEnd(),
};
constexpr MarshalType kResourceInfo = MarshalStructType(kResourceInfoMembers);

constexpr MarshalType kRptEntryMembers[] = {
    FIELD(SaHpiRptEntryT, EntryId, kMarshalUint32),
    FIELD(SaHpiRptEntryT, ResourceId, kMarshalUint32),
    FIELD(SaHpiRptEntryT, ResourceInfo, kResourceInfo),
    FIELD(SaHpiRptEntryT, ResourceEntity, kHpiEntityPath),
    FIELD(SaHpiRptEntryT, ResourceCapabilities, kMarshalUint32),
    FIELD(SaHpiRptEntryT, HotSwapCapabilities, kMarshalUint32),
    FIELD(SaHpiRptEntryT, ResourceSeverity, kMarshalUint32),
    FIELD(SaHpiRptEntryT, ResourceFailed, kMarshalUint8),
    FIELD(SaHpiRptEntryT, ResourceTag, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kHpiRptEntry = MarshalStructType(kRptEntryMembers);

// ---- events ----------------------------------------------------------------

constexpr MarshalType kResourceEventMembers[] = {
    FIELD(SaHpiResourceEventT, ResourceEventType, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kDomainEventMembers[] = {
    FIELD(SaHpiDomainEventT, Type, kMarshalUint32),
    FIELD(SaHpiDomainEventT, DomainId, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kSensorEventMembers[] = {
    FIELD(SaHpiSensorEventT, SensorNum, kMarshalUint32),
    FIELD(SaHpiSensorEventT, SensorType, kMarshalUint32),
    FIELD(SaHpiSensorEventT, EventCategory, kMarshalUint8),
    FIELD(SaHpiSensorEventT, Assertion, kMarshalUint8),
    FIELD(SaHpiSensorEventT, EventState, kMarshalUint16),
    FIELD(SaHpiSensorEventT, OptionalDataPresent, kMarshalUint8),
    FIELD(SaHpiSensorEventT, TriggerReading, kHpiSensorReading),
    FIELD(SaHpiSensorEventT, TriggerThreshold, kHpiSensorReading),
    FIELD(SaHpiSensorEventT, PreviousState, kMarshalUint16),
    FIELD(SaHpiSensorEventT, CurrentState, kMarshalUint16),
    FIELD(SaHpiSensorEventT, Oem, kMarshalUint32),
    FIELD(SaHpiSensorEventT, SensorSpecific, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kSensorEnableChangeEventMembers[] = {
    FIELD(SaHpiSensorEnableChangeEventT, SensorNum, kMarshalUint32),
    FIELD(SaHpiSensorEnableChangeEventT, SensorType, kMarshalUint32),
    FIELD(SaHpiSensorEnableChangeEventT, EventCategory, kMarshalUint8),
    FIELD(SaHpiSensorEnableChangeEventT, SensorEnable, kMarshalUint8),
    FIELD(SaHpiSensorEnableChangeEventT, SensorEventEnable, kMarshalUint8),
    FIELD(SaHpiSensorEnableChangeEventT, AssertEventMask, kMarshalUint16),
    FIELD(SaHpiSensorEnableChangeEventT, DeassertEventMask, kMarshalUint16),
    FIELD(SaHpiSensorEnableChangeEventT, OptionalDataPresent, kMarshalUint8),
    FIELD(SaHpiSensorEnableChangeEventT, CurrentState, kMarshalUint16),
    FIELD(SaHpiSensorEnableChangeEventT, CriticalAlarms, kMarshalUint16),
    FIELD(SaHpiSensorEnableChangeEventT, MajorAlarms, kMarshalUint16),
    FIELD(SaHpiSensorEnableChangeEventT, MinorAlarms, kMarshalUint16),
    MarshalEnd(),
};
constexpr MarshalType kHotSwapEventMembers[] = {
    FIELD(SaHpiHotSwapEventT, HotSwapState, kMarshalUint32),
    FIELD(SaHpiHotSwapEventT, PreviousHotSwapState, kMarshalUint32),
    FIELD(SaHpiHotSwapEventT, CauseOfStateChange, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kWatchdogEventMembers[] = {
    FIELD(SaHpiWatchdogEventT, WatchdogNum, kMarshalUint32),
    FIELD(SaHpiWatchdogEventT, WatchdogAction, kMarshalUint32),
    FIELD(SaHpiWatchdogEventT, WatchdogPreTimerAction, kMarshalUint32),
    FIELD(SaHpiWatchdogEventT, WatchdogUse, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kHpiSwEventMembers[] = {
    FIELD(SaHpiHpiSwEventT, MId, kMarshalUint32),
    FIELD(SaHpiHpiSwEventT, Type, kMarshalUint32),
    FIELD(SaHpiHpiSwEventT, EventData, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kOemEventMembers[] = {
    FIELD(SaHpiOemEventT, MId, kMarshalUint32),
    FIELD(SaHpiOemEventT, OemEventData, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kUserEventMembers[] = {
    FIELD(SaHpiUserEventT, UserEventData, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kDimiEventMembers[] = {
    FIELD(SaHpiDimiEventT, DimiNum, kMarshalUint32),
    FIELD(SaHpiDimiEventT, TestNum, kMarshalUint32),
    FIELD(SaHpiDimiEventT, DimiTestRunStatus, kMarshalUint32),
    FIELD(SaHpiDimiEventT, DimiTestPercentCompleted, kMarshalUint8),
    MarshalEnd(),
};
constexpr MarshalType kDimiUpdateEventMembers[] = {
    FIELD(SaHpiDimiUpdateEventT, DimiNum, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kFumiEventMembers[] = {
    FIELD(SaHpiFumiEventT, FumiNum, kMarshalUint32),
    FIELD(SaHpiFumiEventT, BankNum, kMarshalUint8),
    FIELD(SaHpiFumiEventT, UpgradeStatus, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kResourceEvent = MarshalStructType(kResourceEventMembers);
constexpr MarshalType kDomainEvent = MarshalStructType(kDomainEventMembers);
constexpr MarshalType kSensorEvent = MarshalStructType(kSensorEventMembers);
constexpr MarshalType kSensorEnableChangeEvent = MarshalStructType(kSensorEnableChangeEventMembers);
constexpr MarshalType kHotSwapEvent = MarshalStructType(kHotSwapEventMembers);
constexpr MarshalType kWatchdogEvent = MarshalStructType(kWatchdogEventMembers);
constexpr MarshalType kHpiSwEvent = MarshalStructType(kHpiSwEventMembers);
constexpr MarshalType kOemEvent = MarshalStructType(kOemEventMembers);
constexpr MarshalType kUserEvent = MarshalStructType(kUserEventMembers);
constexpr MarshalType kDimiEvent = MarshalStructType(kDimiEventMembers);
constexpr MarshalType kDimiUpdateEvent = MarshalStructType(kDimiUpdateEventMembers);
constexpr MarshalType kFumiEvent = MarshalStructType(kFumiEventMembers);

constexpr MarshalType kEventAlternatives[] = {
    ALT(SaHpiEventUnionT, ResourceEvent, SAHPI_ET_RESOURCE, kResourceEvent),
    ALT(SaHpiEventUnionT, DomainEvent, SAHPI_ET_DOMAIN, kDomainEvent),
    ALT(SaHpiEventUnionT, SensorEvent, SAHPI_ET_SENSOR, kSensorEvent),
    ALT(SaHpiEventUnionT, SensorEnableChangeEvent, SAHPI_ET_SENSOR_ENABLE_CHANGE, kSensorEnableChangeEvent),
    ALT(SaHpiEventUnionT, HotSwapEvent, SAHPI_ET_HOTSWAP, kHotSwapEvent),
    ALT(SaHpiEventUnionT, WatchdogEvent, SAHPI_ET_WATCHDOG, kWatchdogEvent),
    ALT(SaHpiEventUnionT, HpiSwEvent, SAHPI_ET_HPI_SW, kHpiSwEvent),
    ALT(SaHpiEventUnionT, OemEvent, SAHPI_ET_OEM, kOemEvent),
    ALT(SaHpiEventUnionT, UserEvent, SAHPI_ET_USER, kUserEvent),
    ALT(SaHpiEventUnionT, DimiEvent, SAHPI_ET_DIMI, kDimiEvent),
    ALT(SaHpiEventUnionT, DimiUpdateEvent, SAHPI_ET_DIMI_UPDATE, kDimiUpdateEvent),
    ALT(SaHpiEventUnionT, FumiEvent, SAHPI_ET_FUMI, kFumiEvent),
    MarshalEnd(),
};
constexpr MarshalType kEventUnion = MarshalUnionType(1 /* EventType */, kEventAlternatives);
constexpr MarshalType kEventMembers[] = {
    FIELD(SaHpiEventT, Source, kMarshalUint32),      FIELD(SaHpiEventT, EventType, kMarshalUint32),
    FIELD(SaHpiEventT, Timestamp, kMarshalInt64),    FIELD(SaHpiEventT, Severity, kMarshalUint32),
    FIELD(SaHpiEventT, EventDataUnion, kEventUnion), MarshalEnd(),
};
constexpr MarshalType kHpiEvent = MarshalStructType(kEventMembers);

// ---- event logs ------------------------------------------------------------

constexpr MarshalType kEventLogInfoMembers[] = {
    FIELD(SaHpiEventLogInfoT, Entries, kMarshalUint32),
    FIELD(SaHpiEventLogInfoT, Size, kMarshalUint32),
    FIELD(SaHpiEventLogInfoT, UserEventMaxSize, kMarshalUint32),
    FIELD(SaHpiEventLogInfoT, UpdateTimestamp, kMarshalInt64),
    FIELD(SaHpiEventLogInfoT, CurrentTime, kMarshalInt64),
    FIELD(SaHpiEventLogInfoT, Enabled, kMarshalUint8),
    FIELD(SaHpiEventLogInfoT, OverflowFlag, kMarshalUint8),
    FIELD(SaHpiEventLogInfoT, OverflowResetable, kMarshalUint8),
    FIELD(SaHpiEventLogInfoT, OverflowAction, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kHpiEventLogInfo = MarshalStructType(kEventLogInfoMembers);

constexpr MarshalType kEventLogEntryMembers[] = {
    FIELD(SaHpiEventLogEntryT, EntryId, kMarshalUint32),
    FIELD(SaHpiEventLogEntryT, Timestamp, kMarshalInt64),
    FIELD(SaHpiEventLogEntryT, Event, kHpiEvent),
    MarshalEnd(),
};
constexpr MarshalType kHpiEventLogEntry = MarshalStructType(kEventLogEntryMembers);

// ---- alarms ----------------------------------------------------------------

constexpr MarshalType kNameMembers[] = {
    FIELD(SaHpiNameT, Length, kMarshalUint16),
    FIELD(SaHpiNameT, Value, kUint8x256),
    MarshalEnd(),
};
constexpr MarshalType kName = MarshalStructType(kNameMembers);

constexpr MarshalType kConditionMembers[] = {
    FIELD(SaHpiConditionT, Type, kMarshalUint32),
    FIELD(SaHpiConditionT, Entity, kHpiEntityPath),
    FIELD(SaHpiConditionT, DomainId, kMarshalUint32),
    FIELD(SaHpiConditionT, ResourceId, kMarshalUint32),
    FIELD(SaHpiConditionT, SensorNum, kMarshalUint32),
    FIELD(SaHpiConditionT, EventState, kMarshalUint16),
    FIELD(SaHpiConditionT, Name, kName),
    FIELD(SaHpiConditionT, Mid, kMarshalUint32),
    FIELD(SaHpiConditionT, Data, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kCondition = MarshalStructType(kConditionMembers);

constexpr MarshalType kAlarmMembers[] = {
    FIELD(SaHpiAlarmT, AlarmId, kMarshalUint32),  FIELD(SaHpiAlarmT, Timestamp, kMarshalInt64),
    FIELD(SaHpiAlarmT, Severity, kMarshalUint32), FIELD(SaHpiAlarmT, Acknowledged, kMarshalUint8),
    FIELD(SaHpiAlarmT, AlarmCond, kCondition),    MarshalEnd(),
};
constexpr MarshalType kHpiAlarm = MarshalStructType(kAlarmMembers);

// ---- inventory data repositories -------------------------------------------

constexpr MarshalType kIdrInfoMembers[] = {
    FIELD(SaHpiIdrInfoT, IdrId, kMarshalUint32),
    FIELD(SaHpiIdrInfoT, UpdateCount, kMarshalUint32),
    FIELD(SaHpiIdrInfoT, ReadOnly, kMarshalUint8),
    FIELD(SaHpiIdrInfoT, NumAreas, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kHpiIdrInfo = MarshalStructType(kIdrInfoMembers);

constexpr MarshalType kIdrAreaHeaderMembers[] = {
    FIELD(SaHpiIdrAreaHeaderT, AreaId, kMarshalUint32),
    FIELD(SaHpiIdrAreaHeaderT, Type, kMarshalUint32),
    FIELD(SaHpiIdrAreaHeaderT, ReadOnly, kMarshalUint8),
    FIELD(SaHpiIdrAreaHeaderT, NumFields, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kHpiIdrAreaHeader = MarshalStructType(kIdrAreaHeaderMembers);

constexpr MarshalType kIdrFieldMembers[] = {
    FIELD(SaHpiIdrFieldT, AreaId, kMarshalUint32), FIELD(SaHpiIdrFieldT, FieldId, kMarshalUint32),
    FIELD(SaHpiIdrFieldT, Type, kMarshalUint32),   FIELD(SaHpiIdrFieldT, ReadOnly, kMarshalUint8),
    FIELD(SaHpiIdrFieldT, Field, kHpiTextBuffer),  MarshalEnd(),
};
constexpr MarshalType kHpiIdrField = MarshalStructType(kIdrFieldMembers);

// ---- vendor records --------------------------------------------------------

constexpr MarshalType kSeverities = MarshalVarArrayType(0 /* Count */, sizeof(SaHpiSeverityT), &kMarshalUint32);
constexpr MarshalType kSeverityListMembers[] = {
    FIELD(KvnSeverityListT, Count, kMarshalUint8),
    FIELD(KvnSeverityListT, Severities, kSeverities),
    MarshalEnd(),
};
constexpr MarshalType kKvnSeverityList = MarshalStructType(kSeverityListMembers);

constexpr MarshalType kMeasurementUnitsMembers[] = {
    FIELD(KvnMeasurementUnitsT, Degrees, kMarshalUint8),
    FIELD(KvnMeasurementUnitsT, Length, kMarshalUint8),
    FIELD(KvnMeasurementUnitsT, Pressure, kMarshalUint8),
    MarshalEnd(),
};
constexpr MarshalType kKvnMeasurementUnits = MarshalStructType(kMeasurementUnitsMembers);

constexpr MarshalType kWebParametersMembers[] = {
    FIELD(KvnWebParametersT, IdleEnabled, kMarshalUint8),
    FIELD(KvnWebParametersT, IdleTimeout, kMarshalUint32),
    FIELD(KvnWebParametersT, WaitTimeout, kMarshalUint32),
    FIELD(KvnWebParametersT, LogPollingPeriod, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kKvnWebParameters = MarshalStructType(kWebParametersMembers);

constexpr MarshalType kLoginRestrictionsMembers[] = {
    FIELD(KvnLoginRestrictionsT, MultipleLogons, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, PasswordAging, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, AgingInterval, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, IdleTimeout, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, FailedAttempts, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, LockoutTime, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, StrongPasswords, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, MinimumLength, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, Unnamed32a, kMarshalUint32),
    FIELD(KvnLoginRestrictionsT, LowerCaseChars, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, UpperCaseChars, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, NumericChars, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, SpecialChars, kMarshalUint8),
    FIELD(KvnLoginRestrictionsT, HistoryDepth, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kKvnLoginRestrictions = MarshalStructType(kLoginRestrictionsMembers);

constexpr MarshalType kSensorLogEntryMembers[] = {
    FIELD(KvnSensorLogEntryT, Timestamp, kMarshalInt64),
    FIELD(KvnSensorLogEntryT, ReadingCount, kMarshalUint32),
    FIELD(KvnSensorLogEntryT, EventStateCount, kMarshalUint32),
    FIELD(KvnSensorLogEntryT, Average, kMarshalFloat64),
    FIELD(KvnSensorLogEntryT, Minimum, kMarshalFloat64),
    FIELD(KvnSensorLogEntryT, Maximum, kMarshalFloat64),
    FIELD(KvnSensorLogEntryT, Deviation, kMarshalFloat64),
    FIELD(KvnSensorLogEntryT, AssertedEventStates, kMarshalUint16),
    MarshalEnd(),
};
constexpr MarshalType kKvnSensorLogEntry = MarshalStructType(kSensorLogEntryMembers);

constexpr MarshalType kSensorInfoMembers[] = {
    FIELD(KvnSensorInfoT, Unnamed32a, kMarshalUint32),
    FIELD(KvnSensorInfoT, Unnamed32b, kMarshalUint32),
    FIELD(KvnSensorInfoT, Unnamed64, kMarshalUint64),
    FIELD(KvnSensorInfoT, BaseUnitModifier, kMarshalInt8),
    FIELD(KvnSensorInfoT, ModifierUnitModifier, kMarshalInt8),
    FIELD(KvnSensorInfoT, Resolution, kMarshalFloat64),
    FIELD(KvnSensorInfoT, Tolerance, kMarshalFloat64),
    FIELD(KvnSensorInfoT, UnnamedFloat64a, kMarshalFloat64),
    FIELD(KvnSensorInfoT, UnnamedFloat64b, kMarshalFloat64),
    FIELD(KvnSensorInfoT, UnnamedFloat64c, kMarshalFloat64),
    FIELD(KvnSensorInfoT, UnnamedTextA, kHpiTextBuffer),
    FIELD(KvnSensorInfoT, UnnamedTextB, kHpiTextBuffer),
    MarshalEnd(),
};
constexpr MarshalType kKvnSensorInfo = MarshalStructType(kSensorInfoMembers);

constexpr MarshalType kOutletInstrumentsMembers[] = {
    FIELD(KvnOutletInstrumentsT, ResourceId, kMarshalUint32),
    FIELD(KvnOutletInstrumentsT, FirstCtrlNum, kMarshalUint32),
    FIELD(KvnOutletInstrumentsT, LastCtrlNum, kMarshalUint32),
    FIELD(KvnOutletInstrumentsT, FirstSensorNum, kMarshalUint32),
    FIELD(KvnOutletInstrumentsT, LastSensorNum, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kKvnOutletInstruments = MarshalStructType(kOutletInstrumentsMembers);

constexpr MarshalType kStartupStepMembers[] = {
    FIELD(KvnStartupStepT, OutletId, kMarshalUint32),
    FIELD(KvnStartupStepT, Delay, kMarshalUint32),
    MarshalEnd(),
};
constexpr MarshalType kStartupStep = MarshalStructType(kStartupStepMembers);
constexpr MarshalType kStartupSteps = MarshalArrayType(KVN_MAX_STARTUP_STEPS, sizeof(KvnStartupStepT), &kStartupStep);
constexpr MarshalType kStartupSequenceMembers[] = {
    FIELD(KvnStartupSequenceT, Step, kStartupSteps),
    MarshalEnd(),
};
constexpr MarshalType kKvnStartupSequence = MarshalStructType(kStartupSequenceMembers);

constexpr MarshalType kAssertionDelayValues = MarshalArrayType(KVN_ASSERTION_DELAY_SLOTS, 4, &kMarshalUint32);
constexpr MarshalType kAssertionDelaysMembers[] = {
    FIELD(KvnAssertionDelaysT, Delay, kAssertionDelayValues),
    MarshalEnd(),
};
constexpr MarshalType kKvnAssertionDelays = MarshalStructType(kAssertionDelaysMembers);

// Whole records must fit their C types too (a nested record checked only
// against its member would otherwise go unchecked at the top).
#define FITS(record, Type) static_assert(MarshalMemoryExtent(&(record)) <= sizeof(Type), #Type)
FITS(kHpiTextBuffer, SaHpiTextBufferT);
FITS(kHpiEntityPath, SaHpiEntityPathT);
FITS(kHpiSensorReading, SaHpiSensorReadingT);
FITS(kHpiSensorThresholds, SaHpiSensorThresholdsT);
FITS(kHpiCtrlState, SaHpiCtrlStateT);
FITS(kHpiRdr, SaHpiRdrT);
FITS(kHpiRptEntry, SaHpiRptEntryT);
FITS(kHpiEvent, SaHpiEventT);
FITS(kHpiEventLogInfo, SaHpiEventLogInfoT);
FITS(kHpiEventLogEntry, SaHpiEventLogEntryT);
FITS(kHpiAlarm, SaHpiAlarmT);
FITS(kHpiIdrInfo, SaHpiIdrInfoT);
FITS(kHpiIdrAreaHeader, SaHpiIdrAreaHeaderT);
FITS(kHpiIdrField, SaHpiIdrFieldT);
FITS(kKvnSeverityList, KvnSeverityListT);
FITS(kKvnMeasurementUnits, KvnMeasurementUnitsT);
FITS(kKvnWebParameters, KvnWebParametersT);
FITS(kKvnLoginRestrictions, KvnLoginRestrictionsT);
FITS(kKvnSensorLogEntry, KvnSensorLogEntryT);
FITS(kKvnSensorInfo, KvnSensorInfoT);
FITS(kKvnOutletInstruments, KvnOutletInstrumentsT);
FITS(kKvnStartupSequence, KvnStartupSequenceT);
FITS(kKvnAssertionDelays, KvnAssertionDelaysT);
