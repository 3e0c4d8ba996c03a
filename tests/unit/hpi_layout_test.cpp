// The in-memory layouts the marshal tables rely on: the standard's C layout
// with 64-bit members aligned to 8, as on the 32-bit ARM target and on 64-bit
// hosts. Sizes and offsets below are worked out from the member lists by hand.
#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

#include "client/hpi_types.h"
#include "client/kvn_types.h"

namespace {

struct AlignProbe {
  char c;
  int64_t v;
};
// i386 aligns 64-bit members to 4; the numbers below do not hold there.
constexpr bool kInt64AlignedTo8 = offsetof(AlignProbe, v) == 8;

#define LAYOUT(cond) static_assert(!kInt64AlignedTo8 || (cond), #cond)

LAYOUT(sizeof(SaHpiTextBufferT) == 264);
LAYOUT(offsetof(SaHpiTextBufferT, DataLength) == 8);
LAYOUT(sizeof(SaHpiEntityPathT) == 128);
LAYOUT(sizeof(SaHpiSensorReadingT) == 40 && offsetof(SaHpiSensorReadingT, Value) == 8);
LAYOUT(sizeof(SaHpiSensorThresholdsT) == 320);
LAYOUT(sizeof(SaHpiSensorRangeT) == 208 && offsetof(SaHpiSensorRangeT, Max) == 8);
LAYOUT(sizeof(SaHpiSensorDataFormatT) == 240 && offsetof(SaHpiSensorDataFormatT, Range) == 24 &&
       offsetof(SaHpiSensorDataFormatT, AccuracyFactor) == 232);
LAYOUT(sizeof(SaHpiSensorRecT) == 272 && offsetof(SaHpiSensorRecT, DataFormat) == 24 &&
       offsetof(SaHpiSensorRecT, ThresholdDefn) == 264 && offsetof(SaHpiSensorRecT, Oem) == 268);
LAYOUT(sizeof(SaHpiCtrlStateT) == 272 && offsetof(SaHpiCtrlStateT, StateUnion) == 4);
LAYOUT(offsetof(SaHpiCtrlStateTextT, Text) == 4 && sizeof(SaHpiCtrlStateOemT) == 260);
LAYOUT(sizeof(SaHpiCtrlRecT) == 308 && offsetof(SaHpiCtrlRecT, TypeUnion) == 12 &&
       offsetof(SaHpiCtrlRecT, DefaultMode) == 292 && offsetof(SaHpiCtrlRecT, Oem) == 304);
LAYOUT(sizeof(SaHpiRdrT) == 720 && offsetof(SaHpiRdrT, IsFru) == 136 && offsetof(SaHpiRdrT, RdrTypeUnion) == 144 &&
       offsetof(SaHpiRdrT, IdString) == 456);
LAYOUT(sizeof(SaHpiResourceInfoT) == 32 && offsetof(SaHpiResourceInfoT, Guid) == 13);
LAYOUT(sizeof(SaHpiRptEntryT) == 448 && offsetof(SaHpiRptEntryT, ResourceEntity) == 40 &&
       offsetof(SaHpiRptEntryT, ResourceTag) == 184);
LAYOUT(sizeof(SaHpiSensorEventT) == 112 && offsetof(SaHpiSensorEventT, TriggerReading) == 16 &&
       offsetof(SaHpiSensorEventT, PreviousState) == 96 && offsetof(SaHpiSensorEventT, SensorSpecific) == 104);
LAYOUT(sizeof(SaHpiEventT) == 296 && offsetof(SaHpiEventT, Timestamp) == 8 &&
       offsetof(SaHpiEventT, EventDataUnion) == 24);
LAYOUT(sizeof(SaHpiEventLogEntryT) == 312 && offsetof(SaHpiEventLogEntryT, Event) == 16);
LAYOUT(sizeof(SaHpiEventLogInfoT) == 40 && offsetof(SaHpiEventLogInfoT, UpdateTimestamp) == 16 &&
       offsetof(SaHpiEventLogInfoT, OverflowAction) == 36);
LAYOUT(sizeof(SaHpiConditionT) == 672 && offsetof(SaHpiConditionT, Name) == 146 &&
       offsetof(SaHpiConditionT, Mid) == 404 && offsetof(SaHpiConditionT, Data) == 408);
LAYOUT(sizeof(SaHpiAlarmT) == 696 && offsetof(SaHpiAlarmT, Severity) == 16 && offsetof(SaHpiAlarmT, AlarmCond) == 24);
LAYOUT(sizeof(SaHpiIdrInfoT) == 16 && sizeof(SaHpiIdrAreaHeaderT) == 16);
LAYOUT(sizeof(SaHpiIdrFieldT) == 280 && offsetof(SaHpiIdrFieldT, Field) == 16);

// Vendor records.
LAYOUT(sizeof(KvnWebParametersT) == 16 && offsetof(KvnWebParametersT, IdleTimeout) == 4);
LAYOUT(sizeof(KvnLoginRestrictionsT) == 40 && offsetof(KvnLoginRestrictionsT, StrongPasswords) == 20 &&
       offsetof(KvnLoginRestrictionsT, LowerCaseChars) == 32 && offsetof(KvnLoginRestrictionsT, HistoryDepth) == 36);
LAYOUT(sizeof(KvnSensorLogEntryT) == 56 && offsetof(KvnSensorLogEntryT, Average) == 16 &&
       offsetof(KvnSensorLogEntryT, AssertedEventStates) == 48);
LAYOUT(offsetof(KvnSensorInfoT, BaseUnitModifier) == 16 && offsetof(KvnSensorInfoT, Resolution) == 24 &&
       offsetof(KvnSensorInfoT, UnnamedTextA) == 64 && sizeof(KvnSensorInfoT) == 592);
LAYOUT(sizeof(KvnStartupSequenceT) == 512 && sizeof(KvnAssertionDelaysT) == 64);
// The severity list holds a pointer: 4 bytes on the target, 8 on 64-bit hosts.
static_assert(offsetof(KvnSeverityListT, Severities) == alignof(SaHpiSeverityT *));

template <typename... T>
constexpr bool kAllPlain = ((std::is_standard_layout_v<T> && std::is_trivially_copyable_v<T>)&&...);
static_assert(kAllPlain<SaHpiRdrT, SaHpiRptEntryT, SaHpiEventLogEntryT, SaHpiAlarmT, SaHpiCtrlStateT,
                        SaHpiSensorThresholdsT, SaHpiIdrFieldT, KvnSensorInfoT, KvnSeverityListT>);

TEST(HpiLayout, CheckedAtCompileTime) { SUCCEED() << (kInt64AlignedTo8 ? "checked" : "skipped"); }

}  // namespace
