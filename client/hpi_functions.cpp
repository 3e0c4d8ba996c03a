// The SAF HPI client functions and their argument checks.
#include "client/hpi_functions.h"

#include <cstring>

#include "client/hpi_call.h"
#include "client/hpi_names.h"

namespace {

// The copy of a threshold reading that goes on the wire: an unsupported one
// travels empty, a supported one keeps only the bytes its Type uses.
// False when a supported reading has a Type the daemon cannot know.
bool CopyThresholdReading(const SaHpiSensorReadingT &from, SaHpiSensorReadingT *to) {
  *to = SaHpiSensorReadingT{};
  to->IsSupported = from.IsSupported;
  if (from.IsSupported != SAHPI_TRUE) return true;
  if (ReadingTypeName(from.Type) == nullptr) return false;
  to->Type = from.Type;
  if (from.Type == SAHPI_SENSOR_READING_TYPE_BUFFER) {
    memcpy(to->Value.SensorBuffer, from.Value.SensorBuffer, sizeof to->Value.SensorBuffer);
  } else {
    memcpy(&to->Value, &from.Value, sizeof(SaHpiUint64T));
  }
  return true;
}

// Acknowledge and delete act on every alarm of a severity when AlarmId is
// unspecified; only then must the severity be one the standard knows.
bool AlarmSelectionValid(SaHpiAlarmIdT alarm_id, SaHpiSeverityT severity) {
  return alarm_id != SAHPI_ENTRY_UNSPECIFIED || SeverityName(severity) != nullptr;
}

}  // namespace

SaErrorT saHpiSessionOpen(SaHpiDomainIdT DomainId, SaHpiSessionIdT *SessionId, void *SecurityParams) {
  if (SessionId == nullptr || SecurityParams != nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  // The daemon has one domain, its default domain 0.
  SaHpiDomainIdT domain = DomainId == SAHPI_UNSPECIFIED_DOMAIN_ID ? 0 : DomainId;
  return HpiCall(1, {&domain}, {SessionId});
}

SaErrorT saHpiSessionClose(SaHpiSessionIdT SessionId) { return HpiCall(2, {&SessionId}, {}); }

SaErrorT saHpiDiscover(SaHpiSessionIdT SessionId) { return HpiCall(3, {&SessionId}, {}); }

SaErrorT saHpiMyEntityPathGet(SaHpiSessionIdT SessionId, SaHpiEntityPathT *EntityPath) {
  return HpiCall(116, {&SessionId}, {EntityPath});
}

SaErrorT saHpiGetIdByEntityPath(SaHpiSessionIdT SessionId, SaHpiEntityPathT EntityPath, SaHpiRdrTypeT InstrumentType,
                                SaHpiUint32T *InstanceId, SaHpiResourceIdT *ResourceId,
                                SaHpiInstrumentIdT *InstrumentId, SaHpiUint32T *RptUpdateCount) {
  // A resource lookup (NO_RECORD) needs no place for an instrument number.
  SaHpiInstrumentIdT unused_instrument = 0;
  if (InstrumentId == nullptr && InstrumentType == SAHPI_NO_RECORD) InstrumentId = &unused_instrument;
  return HpiCall(12, {&SessionId, &EntityPath, &InstrumentType, InstanceId},
                 {InstanceId, ResourceId, InstrumentId, RptUpdateCount});
}

SaErrorT saHpiResourceSeveritySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSeverityT Severity) {
  if (ResourceId == SAHPI_UNSPECIFIED_RESOURCE_ID || SeverityName(Severity) == nullptr) {
    return SA_ERR_HPI_INVALID_PARAMS;
  }
  return HpiCall(9, {&SessionId, &ResourceId, &Severity}, {});
}

SaErrorT saHpiResourceTagSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                             const SaHpiTextBufferT *ResourceTag) {
  return HpiCall(10, {&SessionId, &ResourceId, ResourceTag}, {});
}

SaErrorT saHpiRdrGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEntryIdT EntryId,
                     SaHpiEntryIdT *NextEntryId, SaHpiRdrT *Rdr) {
  return HpiCall(34, {&SessionId, &ResourceId, &EntryId}, {NextEntryId, Rdr});
}

SaErrorT saHpiRdrGetByInstrumentId(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                   SaHpiInstrumentIdT InstrumentId, SaHpiRdrT *Rdr) {
  if (RdrTypeName(RdrType) == nullptr || RdrType == SAHPI_NO_RECORD) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(35, {&SessionId, &ResourceId, &RdrType, &InstrumentId}, {Rdr});
}

SaErrorT saHpiRdrListGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                         const SaHpiTextBufferT *FileName) {
  return HpiCall(422, {&SessionId, &ResourceId, &RdrType, FileName}, {});
}

SaErrorT saHpiEventLogInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEventLogInfoT *Info) {
  return HpiCall(15, {&SessionId, &ResourceId}, {Info});
}

SaErrorT saHpiEventLogEntryGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEventLogEntryIdT EntryId,
                               SaHpiEventLogEntryIdT *PrevEntryId, SaHpiEventLogEntryIdT *NextEntryId,
                               SaHpiEventLogEntryT *EventLogEntry, SaHpiRdrT *Rdr, SaHpiRptEntryT *RptEntry) {
  // The daemon always sends the RDR and RPT entry; a caller without use for
  // them gets them read into scratch space.
  SaHpiRdrT unused_rdr;
  SaHpiRptEntryT unused_rpt_entry;
  return HpiCall(
      17, {&SessionId, &ResourceId, &EntryId},
      {PrevEntryId, NextEntryId, EventLogEntry, Rdr ? Rdr : &unused_rdr, RptEntry ? RptEntry : &unused_rpt_entry});
}

SaErrorT saHpiEventLogClear(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId) {
  return HpiCall(19, {&SessionId, &ResourceId}, {});
}

SaErrorT saHpiAlarmGetNext(SaHpiSessionIdT SessionId, SaHpiSeverityT Severity, SaHpiBoolT UnacknowledgedOnly,
                           SaHpiAlarmT *Alarm) {
  if (Alarm == nullptr || SeverityName(Severity) == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  if (Alarm->AlarmId == SAHPI_LAST_ENTRY) return SA_ERR_HPI_NOT_PRESENT;
  return HpiCall(29, {&SessionId, &Severity, &UnacknowledgedOnly, Alarm}, {Alarm});
}

SaErrorT saHpiAlarmAcknowledge(SaHpiSessionIdT SessionId, SaHpiAlarmIdT AlarmId, SaHpiSeverityT Severity) {
  if (!AlarmSelectionValid(AlarmId, Severity)) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(31, {&SessionId, &AlarmId, &Severity}, {});
}

SaErrorT saHpiAlarmDelete(SaHpiSessionIdT SessionId, SaHpiAlarmIdT AlarmId, SaHpiSeverityT Severity) {
  if (!AlarmSelectionValid(AlarmId, Severity)) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(33, {&SessionId, &AlarmId, &Severity}, {});
}

SaErrorT saHpiGenerateUserEvent(SaHpiSessionIdT SessionId, SaHpiUint32T EventCode, SaHpiUint32T Level,
                                const SaHpiTextBufferT *Text) {
  return HpiCall(403, {&SessionId, &EventCode, &Level, Text}, {});
}

SaErrorT saHpiSensorReadingGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                               SaHpiSensorReadingT *Reading, SaHpiEventStateT *EventState) {
  SaHpiSensorReadingT unused_reading;
  SaHpiEventStateT unused_state;
  return HpiCall(36, {&SessionId, &ResourceId, &SensorNum},
                 {Reading ? Reading : &unused_reading, EventState ? EventState : &unused_state});
}

SaErrorT saHpiSensorThresholdsGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiSensorThresholdsT *Thresholds) {
  return HpiCall(37, {&SessionId, &ResourceId, &SensorNum}, {Thresholds});
}

SaErrorT saHpiSensorThresholdsSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  const SaHpiSensorThresholdsT *Thresholds) {
  if (Thresholds == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  static constexpr SaHpiSensorReadingT SaHpiSensorThresholdsT::*kReadings[] = {
      &SaHpiSensorThresholdsT::LowCritical,      &SaHpiSensorThresholdsT::LowMajor,
      &SaHpiSensorThresholdsT::LowMinor,         &SaHpiSensorThresholdsT::UpCritical,
      &SaHpiSensorThresholdsT::UpMajor,          &SaHpiSensorThresholdsT::UpMinor,
      &SaHpiSensorThresholdsT::PosThdHysteresis, &SaHpiSensorThresholdsT::NegThdHysteresis,
  };
  SaHpiSensorThresholdsT sent;
  for (auto reading : kReadings) {
    if (!CopyThresholdReading(Thresholds->*reading, &(sent.*reading))) return SA_ERR_HPI_INVALID_DATA;
  }
  return HpiCall(38, {&SessionId, &ResourceId, &SensorNum, &sent}, {});
}

SaErrorT saHpiSensorEventMasksGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiEventStateT *AssertEventMask, SaHpiEventStateT *DeassertEventMask) {
  // The request carries the masks too; either may be missing.
  SaHpiEventStateT assert_mask = AssertEventMask ? *AssertEventMask : 0;
  SaHpiEventStateT deassert_mask = DeassertEventMask ? *DeassertEventMask : 0;
  SaErrorT rv =
      HpiCall(44, {&SessionId, &ResourceId, &SensorNum, &assert_mask, &deassert_mask}, {&assert_mask, &deassert_mask});
  if (rv != SA_OK) return rv;
  if (AssertEventMask) *AssertEventMask = assert_mask;
  if (DeassertEventMask) *DeassertEventMask = deassert_mask;
  return SA_OK;
}

SaErrorT saHpiSensorEventMasksSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiSensorEventMaskActionT Action, SaHpiEventStateT AssertEventMask,
                                  SaHpiEventStateT DeassertEventMask) {
  return HpiCall(45, {&SessionId, &ResourceId, &SensorNum, &Action, &AssertEventMask, &DeassertEventMask}, {});
}

SaErrorT saHpiControlGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                         SaHpiCtrlModeT *CtrlMode, SaHpiCtrlStateT *CtrlState) {
  SaHpiCtrlStateT request_state{};
  if (CtrlState != nullptr && CtrlTypeName(CtrlState->Type) != nullptr) {
    request_state = *CtrlState;
  } else {
    request_state.Type = SAHPI_CTRL_TYPE_TEXT;  // line 0: all lines
  }
  SaHpiCtrlModeT mode;
  SaHpiCtrlStateT state;
  SaErrorT rv = HpiCall(47, {&SessionId, &ResourceId, &CtrlNum, &request_state}, {&mode, &state});
  if (rv != SA_OK) return rv;
  if (CtrlMode) *CtrlMode = mode;
  if (CtrlState) *CtrlState = state;
  return SA_OK;
}

SaErrorT saHpiControlSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                         SaHpiCtrlModeT CtrlMode, const SaHpiCtrlStateT *CtrlState) {
  if (CtrlModeName(CtrlMode) == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  if (CtrlState == nullptr && CtrlMode == SAHPI_CTRL_MODE_MANUAL) return SA_ERR_HPI_INVALID_PARAMS;
  if (CtrlState != nullptr) {
    if (CtrlState->Type == SAHPI_CTRL_TYPE_DIGITAL && CtrlStateDigitalName(CtrlState->StateUnion.Digital) == nullptr) {
      return SA_ERR_HPI_INVALID_PARAMS;
    }
    if (CtrlState->Type == SAHPI_CTRL_TYPE_STREAM &&
        CtrlState->StateUnion.Stream.StreamLength > SAHPI_CTRL_MAX_STREAM_LENGTH) {
      return SA_ERR_HPI_INVALID_PARAMS;
    }
    if (CtrlMode == SAHPI_CTRL_MODE_MANUAL && CtrlTypeName(CtrlState->Type) == nullptr) {
      return SA_ERR_HPI_INVALID_DATA;
    }
  }
  // In AUTO mode the daemon chooses the state itself.
  SaHpiCtrlStateT state{};
  if (CtrlMode == SAHPI_CTRL_MODE_MANUAL) state = *CtrlState;
  return HpiCall(48, {&SessionId, &ResourceId, &CtrlNum, &CtrlMode, &state}, {});
}

SaErrorT saHpiIdrInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                         SaHpiIdrInfoT *IdrInfo) {
  return HpiCall(49, {&SessionId, &ResourceId, &IdrId}, {IdrInfo});
}

SaErrorT saHpiIdrAreaHeaderGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                               SaHpiIdrAreaTypeT AreaType, SaHpiEntryIdT AreaId, SaHpiEntryIdT *NextAreaId,
                               SaHpiIdrAreaHeaderT *Header) {
  return HpiCall(50, {&SessionId, &ResourceId, &IdrId, &AreaType, &AreaId}, {NextAreaId, Header});
}

SaErrorT saHpiIdrFieldGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                          SaHpiEntryIdT AreaId, SaHpiIdrFieldTypeT FieldType, SaHpiEntryIdT FieldId,
                          SaHpiEntryIdT *NextFieldId, SaHpiIdrFieldT *Field) {
  if (IdrFieldTypeName(FieldType) == nullptr || AreaId == SAHPI_LAST_ENTRY || FieldId == SAHPI_LAST_ENTRY) {
    return SA_ERR_HPI_INVALID_PARAMS;
  }
  return HpiCall(54, {&SessionId, &ResourceId, &IdrId, &AreaId, &FieldType, &FieldId}, {NextFieldId, Field});
}

SaErrorT saHpiRestart(SaHpiSessionIdT SessionId) { return HpiCall(345, {&SessionId}, {}); }

SaErrorT saHpiReset(SaHpiSessionIdT SessionId) { return HpiCall(346, {&SessionId}, {}); }

SaErrorT saHpiReboot(SaHpiSessionIdT SessionId) { return HpiCall(373, {&SessionId}, {}); }

SaErrorT kvnHpiDebugLevel(SaHpiUint32T Level) { return HpiCall(129, {&Level}, {}); }

// The daemon answers SA_ERR_HPI_INVALID_CMD for a sensor without readable
// thresholds and means it as a partial success, but a reply that is not
// SA_OK carries no values the client reads. The outputs are then set empty
// (an unsupported reading, no state, no thresholds, no severities) so that a
// caller taking the partial success never reads stale values or a stale
// severity pointer.
SaErrorT kvnHpiSensorStatusGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                               SaHpiBoolT ReadThresholds, SaHpiEventStateT StateMask, SaHpiSensorReadingT *Reading,
                               SaHpiEventStateT *EventState, SaHpiSensorThresholdsT *Thresholds,
                               KvnSeverityListT *Severities) {
  SaErrorT rv = HpiCall(427, {&SessionId, &ResourceId, &SensorNum, &ReadThresholds, &StateMask},
                        {Reading, EventState, Thresholds, Severities});
  if (rv == SA_ERR_HPI_INVALID_CMD) {
    *Reading = SaHpiSensorReadingT{};
    *EventState = 0;
    *Thresholds = SaHpiSensorThresholdsT{};
    *Severities = KvnSeverityListT{0, nullptr};
  }
  return rv;
}
