// Records of the controller's extension functions (kvnHpi...), as they cross
// the wire. Member order and widths are the daemon's; the wire holds no
// padding, the in-memory layout is the plain C one of the target.
//
// Where the daemon has not told us what a member means, its name says only
// what it is (for example Unnamed32a); handlers pass such members through.
#pragma once

#include "client/hpi_types.h"

// The daemon refuses a call that the session's user has no right to make.
inline constexpr SaErrorT KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES = -1050;

// One severity per selected event state, lowest state bit first. On the wire:
// the count byte, then Count values. Severities received from the daemon are
// allocated by the client library and belong to the caller (release with free()).
inline constexpr SaHpiUint32T KVN_MAX_STATE_SEVERITIES = 16;
typedef struct {
  SaHpiUint8T Count;
  SaHpiSeverityT *Severities;
} KvnSeverityListT;

// Measurement-unit choices of a user or of the whole appliance; the numbers
// are the daemon's.
typedef struct {
  SaHpiUint8T Degrees;
  SaHpiUint8T Length;
  SaHpiUint8T Pressure;
} KvnMeasurementUnitsT;

// Web session parameters of a user or the appliance-wide defaults.
typedef struct {
  SaHpiUint8T IdleEnabled;
  SaHpiUint32T IdleTimeout;
  SaHpiUint32T WaitTimeout;
  SaHpiUint32T LogPollingPeriod;
} KvnWebParametersT;

// Password and login policy. JSON key of each member in the comment.
typedef struct {
  SaHpiUint8T MultipleLogons;   // "mlogon"
  SaHpiUint8T PasswordAging;    // "aging"
  SaHpiUint32T AgingInterval;   // "inter"
  SaHpiUint32T IdleTimeout;     // "idletim"
  SaHpiUint32T FailedAttempts;  // "failatt"
  SaHpiUint32T LockoutTime;     // "locktim"
  SaHpiUint8T StrongPasswords;  // "spen"
  SaHpiUint32T MinimumLength;   // "minl"
  SaHpiUint32T Unnamed32a;      // no JSON key
  SaHpiUint8T LowerCaseChars;   // "LCC"
  SaHpiUint8T UpperCaseChars;   // "UCC"
  SaHpiUint8T NumericChars;     // "NMC"
  SaHpiUint8T SpecialChars;     // "SPC"
  SaHpiUint32T HistoryDepth;    // "hsdep"
} KvnLoginRestrictionsT;

// One entry of a managed sensor's measurement log. JSON key in the comment.
typedef struct {
  SaHpiTimeT Timestamp;              // nanoseconds
  SaHpiUint32T ReadingCount;         // "RC"
  SaHpiUint32T EventStateCount;      // "ESC"
  SaHpiFloat64T Average;             // "AVR"
  SaHpiFloat64T Minimum;             // "MIN"
  SaHpiFloat64T Maximum;             // "MAX"
  SaHpiFloat64T Deviation;           // "DSP"
  SaHpiUint16T AssertedEventStates;  // "AES"
} KvnSensorLogEntryT;

// Extended information of a sensor. Only the unit modifiers, the resolution
// and the tolerance are read by the web API; the rest is passed through.
typedef struct {
  SaHpiUint32T Unnamed32a;
  SaHpiUint32T Unnamed32b;
  SaHpiUint64T Unnamed64;
  SaHpiInt8T BaseUnitModifier;      // "bum"
  SaHpiInt8T ModifierUnitModifier;  // "mum"
  SaHpiFloat64T Resolution;         // "res"
  SaHpiFloat64T Tolerance;          // "tol"
  SaHpiFloat64T UnnamedFloat64a;
  SaHpiFloat64T UnnamedFloat64b;
  SaHpiFloat64T UnnamedFloat64c;
  SaHpiTextBufferT UnnamedTextA;
  SaHpiTextBufferT UnnamedTextB;
} KvnSensorInfoT;

// The controls and sensors of one power outlet: numbers First..Last inclusive
// on ResourceId; First > Last means none. A ResourceId or FirstCtrlNum with
// all bits set means the outlet has no on/off control.
typedef struct {
  SaHpiResourceIdT ResourceId;
  SaHpiCtrlNumT FirstCtrlNum;
  SaHpiCtrlNumT LastCtrlNum;
  SaHpiSensorNumT FirstSensorNum;
  SaHpiSensorNumT LastSensorNum;
} KvnOutletInstrumentsT;

// Power-up order of the outlets: which outlet, after how long a delay.
inline constexpr SaHpiUint32T KVN_MAX_STARTUP_STEPS = 64;
typedef struct {
  SaHpiUint32T OutletId;
  SaHpiUint32T Delay;
} KvnStartupStepT;
typedef struct {
  KvnStartupStepT Step[KVN_MAX_STARTUP_STEPS];
} KvnStartupSequenceT;

// Delays before threshold event states are asserted, one slot per state in
// the order LOWER_MINOR, LOWER_MAJOR, LOWER_CRIT, UPPER_MINOR, UPPER_MAJOR,
// UPPER_CRIT (slots 6..15 unused); the presence mask bit of slot n is 1 << n.
inline constexpr SaHpiUint32T KVN_ASSERTION_DELAY_SLOTS = 16;
typedef struct {
  SaHpiUint32T Delay[KVN_ASSERTION_DELAY_SLOTS];
} KvnAssertionDelaysT;
