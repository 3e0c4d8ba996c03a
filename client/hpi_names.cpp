#include "client/hpi_names.h"

#include <cstddef>

namespace {

struct EnumName {
  SaHpiUint32T value;
  const char *name;
};

template <size_t N>
const char *Lookup(const EnumName (&table)[N], SaHpiUint32T value) {
  for (const EnumName &entry : table) {
    if (entry.value == value) return entry.name;
  }
  return nullptr;
}

const EnumName kSeverityNames[] = {
    {SAHPI_CRITICAL, "CRITICAL"},
    {SAHPI_MAJOR, "MAJOR"},
    {SAHPI_MINOR, "MINOR"},
    {SAHPI_INFORMATIONAL, "INFORMATIONAL"},
    {SAHPI_OK, "OK"},
    {SAHPI_DEBUG, "DEBUG"},
    {SAHPI_ALL_SEVERITIES, "ALL_SEVERITIES"},
};

const EnumName kCtrlTypeNames[] = {
    {SAHPI_CTRL_TYPE_DIGITAL, "DIGITAL"}, {SAHPI_CTRL_TYPE_DISCRETE, "DISCRETE"}, {SAHPI_CTRL_TYPE_ANALOG, "ANALOG"},
    {SAHPI_CTRL_TYPE_STREAM, "STREAM"},   {SAHPI_CTRL_TYPE_TEXT, "TEXT"},         {SAHPI_CTRL_TYPE_OEM, "OEM"},
};

const EnumName kCtrlModeNames[] = {
    {SAHPI_CTRL_MODE_AUTO, "AUTO"},
    {SAHPI_CTRL_MODE_MANUAL, "MANUAL"},
};

const EnumName kCtrlStateDigitalNames[] = {
    {SAHPI_CTRL_STATE_OFF, "OFF"},
    {SAHPI_CTRL_STATE_ON, "ON"},
    {SAHPI_CTRL_STATE_PULSE_OFF, "PULSE_OFF"},
    {SAHPI_CTRL_STATE_PULSE_ON, "PULSE_ON"},
};

const EnumName kRdrTypeNames[] = {
    {SAHPI_NO_RECORD, "NO_RECORD"},       {SAHPI_CTRL_RDR, "CTRL_RDR"},
    {SAHPI_SENSOR_RDR, "SENSOR_RDR"},     {SAHPI_INVENTORY_RDR, "INVENTORY_RDR"},
    {SAHPI_WATCHDOG_RDR, "WATCHDOG_RDR"}, {SAHPI_ANNUNCIATOR_RDR, "ANNUNCIATOR_RDR"},
    {SAHPI_DIMI_RDR, "DIMI_RDR"},         {SAHPI_FUMI_RDR, "FUMI_RDR"},
};

const EnumName kIdrFieldTypeNames[] = {
    {SAHPI_IDR_FIELDTYPE_CHASSIS_TYPE, "CHASSIS_TYPE"},
    {SAHPI_IDR_FIELDTYPE_MFG_DATETIME, "MFG_DATETIME"},
    {SAHPI_IDR_FIELDTYPE_MANUFACTURER, "MANUFACTURER"},
    {SAHPI_IDR_FIELDTYPE_PRODUCT_NAME, "PRODUCT_NAME"},
    {SAHPI_IDR_FIELDTYPE_PRODUCT_VERSION, "PRODUCT_VERSION"},
    {SAHPI_IDR_FIELDTYPE_SERIAL_NUMBER, "SERIAL_NUMBER"},
    {SAHPI_IDR_FIELDTYPE_PART_NUMBER, "PART_NUMBER"},
    {SAHPI_IDR_FIELDTYPE_FILE_ID, "FILE_ID"},
    {SAHPI_IDR_FIELDTYPE_ASSET_TAG, "ASSET_TAG"},
    {SAHPI_IDR_FIELDTYPE_CUSTOM, "CUSTOM"},
    {SAHPI_IDR_FIELDTYPE_UNSPECIFIED, "UNSPECIFIED"},
};

const EnumName kReadingTypeNames[] = {
    {SAHPI_SENSOR_READING_TYPE_INT64, "INT64"},
    {SAHPI_SENSOR_READING_TYPE_UINT64, "UINT64"},
    {SAHPI_SENSOR_READING_TYPE_FLOAT64, "FLOAT64"},
    {SAHPI_SENSOR_READING_TYPE_BUFFER, "BUFFER"},
};

}  // namespace

const char *SeverityName(SaHpiSeverityT value) { return Lookup(kSeverityNames, value); }
const char *CtrlTypeName(SaHpiCtrlTypeT value) { return Lookup(kCtrlTypeNames, value); }
const char *CtrlModeName(SaHpiCtrlModeT value) { return Lookup(kCtrlModeNames, value); }
const char *CtrlStateDigitalName(SaHpiCtrlStateDigitalT value) { return Lookup(kCtrlStateDigitalNames, value); }
const char *RdrTypeName(SaHpiRdrTypeT value) { return Lookup(kRdrTypeNames, value); }
const char *IdrFieldTypeName(SaHpiIdrFieldTypeT value) { return Lookup(kIdrFieldTypeNames, value); }
const char *ReadingTypeName(SaHpiSensorReadingTypeT value) { return Lookup(kReadingTypeNames, value); }
