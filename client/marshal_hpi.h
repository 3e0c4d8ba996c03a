// Type records of the HPI values and vendor records that cross the wire to
// the controller daemon. Each describes the C type named in its comment
// (client/hpi_types.h, client/kvn_types.h); wire sizes are given where fixed.
#pragma once

#include "client/marshal.h"

// SAF HPI types
extern const MarshalType kHpiTextBuffer;        // SaHpiTextBufferT, 264 bytes whatever DataLength
extern const MarshalType kHpiEntityPath;        // SaHpiEntityPathT, 128 bytes
extern const MarshalType kHpiSensorReading;     // SaHpiSensorReadingT, 13 bytes (37 for a BUFFER)
extern const MarshalType kHpiSensorThresholds;  // SaHpiSensorThresholdsT, eight readings
extern const MarshalType kHpiCtrlState;         // SaHpiCtrlStateT, Type then the selected state
extern const MarshalType kHpiRdr;               // SaHpiRdrT
extern const MarshalType kHpiRptEntry;          // SaHpiRptEntryT, 441 bytes
extern const MarshalType kHpiEvent;             // SaHpiEventT
extern const MarshalType kHpiEventLogInfo;      // SaHpiEventLogInfoT, 35 bytes
extern const MarshalType kHpiEventLogEntry;     // SaHpiEventLogEntryT
extern const MarshalType kHpiAlarm;             // SaHpiAlarmT, 689 bytes
extern const MarshalType kHpiIdrInfo;           // SaHpiIdrInfoT, 13 bytes
extern const MarshalType kHpiIdrAreaHeader;     // SaHpiIdrAreaHeaderT, 13 bytes
extern const MarshalType kHpiIdrField;          // SaHpiIdrFieldT, 277 bytes

// Vendor records of the extension functions
extern const MarshalType kKvnSeverityList;       // KvnSeverityListT: count byte, then count U32
extern const MarshalType kKvnMeasurementUnits;   // KvnMeasurementUnitsT, 3 bytes
extern const MarshalType kKvnWebParameters;      // KvnWebParametersT, 13 bytes
extern const MarshalType kKvnLoginRestrictions;  // KvnLoginRestrictionsT, 35 bytes
extern const MarshalType kKvnSensorLogEntry;     // KvnSensorLogEntryT, 50 bytes
extern const MarshalType kKvnSensorInfo;         // KvnSensorInfoT, 586 bytes
extern const MarshalType kKvnOutletInstruments;  // KvnOutletInstrumentsT, 20 bytes
extern const MarshalType kKvnStartupSequence;    // KvnStartupSequenceT, 64 pairs of U32, 512 bytes
extern const MarshalType kKvnAssertionDelays;    // KvnAssertionDelaysT, 16 U32, 64 bytes
