// Names of HPI enumeration values: the standard's constant names without
// their common prefix (SAHPI_CRITICAL is "CRITICAL"). The client functions
// take a value without a name as invalid. Each lookup returns a static text,
// or nullptr when the value has no name.
#pragma once

#include "client/hpi_types.h"

const char *SeverityName(SaHpiSeverityT value);
const char *CtrlTypeName(SaHpiCtrlTypeT value);
const char *CtrlModeName(SaHpiCtrlModeT value);
const char *CtrlStateDigitalName(SaHpiCtrlStateDigitalT value);
const char *RdrTypeName(SaHpiRdrTypeT value);
const char *IdrFieldTypeName(SaHpiIdrFieldTypeT value);
const char *ReadingTypeName(SaHpiSensorReadingTypeT value);
