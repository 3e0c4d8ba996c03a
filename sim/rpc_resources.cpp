// Resources, their records (RDRs), instrument names and descriptions, and
// inventory data repositories.
#include <string>
#include <vector>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

struct RdrRef {
  SaHpiRdrTypeT type;
  SaHpiInstrumentIdT num;
};

// A resource's records in the order of their record identifiers (index + 1).
std::vector<RdrRef> RecordsOf(const Resource &resource) {
  std::vector<RdrRef> records;
  for (const auto &entry : resource.controls) records.push_back({SAHPI_CTRL_RDR, entry.first});
  for (const auto &entry : resource.sensors) records.push_back({SAHPI_SENSOR_RDR, entry.first});
  for (const auto &entry : resource.inventories) records.push_back({SAHPI_INVENTORY_RDR, entry.first});
  return records;
}

SaHpiSensorRecT SensorRecord(SaHpiSensorNumT num, const Sensor &s) {
  SaHpiSensorRecT rec{};
  rec.Num = num;
  rec.Type = s.type;
  rec.Category = s.category;
  rec.EnableCtrl = s.enable_ctrl;
  rec.EventCtrl = s.event_ctrl;
  rec.Events = s.events;
  if (s.format) {
    const DataFormat &f = *s.format;
    SaHpiSensorDataFormatT &df = rec.DataFormat;
    df.IsSupported = SAHPI_TRUE;
    df.ReadingType = f.reading_type;
    df.BaseUnits = f.base_units;
    df.ModifierUnits = f.modifier_units;
    df.ModifierUse = f.modifier_use;
    df.Percentage = f.percentage;
    df.AccuracyFactor = f.accuracy;
    struct RangeSlot {
      SaHpiSensorRangeFlagsT flag;
      std::optional<double> SensorRange::*value;
      SaHpiSensorReadingT SaHpiSensorRangeT::*reading;
    };
    static constexpr RangeSlot kRangeSlots[] = {
        {SAHPI_SRF_MAX, &SensorRange::max, &SaHpiSensorRangeT::Max},
        {SAHPI_SRF_MIN, &SensorRange::min, &SaHpiSensorRangeT::Min},
        {SAHPI_SRF_NOMINAL, &SensorRange::nominal, &SaHpiSensorRangeT::Nominal},
        {SAHPI_SRF_NORMAL_MAX, &SensorRange::normal_max, &SaHpiSensorRangeT::NormalMax},
        {SAHPI_SRF_NORMAL_MIN, &SensorRange::normal_min, &SaHpiSensorRangeT::NormalMin},
    };
    for (const RangeSlot &slot : kRangeSlots) {
      if (const std::optional<double> &value = f.range.*slot.value) {
        df.Range.Flags |= slot.flag;
        df.Range.*slot.reading = MakeReading(f.reading_type, *value);
      }
    }
  }
  if (s.thresholds) {
    rec.ThresholdDefn.IsAccessible = SAHPI_TRUE;
    rec.ThresholdDefn.ReadThold = s.thresholds->read;
    rec.ThresholdDefn.WriteThold = s.thresholds->write;
    rec.ThresholdDefn.Nonlinear = s.thresholds->nonlinear;
  }
  return rec;
}

SaHpiCtrlRecT ControlRecord(SaHpiCtrlNumT num, const Control &k) {
  SaHpiCtrlRecT rec{};
  rec.Num = num;
  rec.OutputType = k.output;
  rec.Type = k.type;
  switch (k.type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      rec.TypeUnion.Digital.Default = static_cast<SaHpiCtrlStateDigitalT>(k.default_state);
      break;
    case SAHPI_CTRL_TYPE_DISCRETE:
      rec.TypeUnion.Discrete.Default = static_cast<SaHpiCtrlStateDiscreteT>(k.default_state);
      break;
    case SAHPI_CTRL_TYPE_ANALOG:
      rec.TypeUnion.Analog = {k.min, k.max, static_cast<SaHpiCtrlStateAnalogT>(k.default_state)};
      break;
    case SAHPI_CTRL_TYPE_TEXT:
      rec.TypeUnion.Text.MaxChars = k.max_chars;
      rec.TypeUnion.Text.MaxLines = k.max_lines;
      rec.TypeUnion.Text.Language = SAHPI_LANG_ENGLISH;
      rec.TypeUnion.Text.DataType = SAHPI_TL_TYPE_TEXT;
      rec.TypeUnion.Text.Default.Text = TextBufferFromString("");
      break;
    default:
      break;
  }
  rec.DefaultMode.Mode = k.default_mode;
  rec.DefaultMode.ReadOnly = k.mode_read_only;
  rec.WriteOnly = k.write_only;
  return rec;
}

// The record `ref` of `resource`, with identifier `record_id`.
SaHpiRdrT BuildRdr(const Resource &resource, RdrRef ref, SaHpiEntryIdT record_id) {
  SaHpiRdrT rdr{};
  rdr.RecordId = record_id;
  rdr.RdrType = ref.type;
  rdr.Entity = MakeEntityPath(resource.entity_path);
  std::string name;
  switch (ref.type) {
    case SAHPI_CTRL_RDR: {
      const Control &k = resource.controls.at(ref.num);
      rdr.RdrTypeUnion.CtrlRec = ControlRecord(ref.num, k);
      name = k.name;
      break;
    }
    case SAHPI_SENSOR_RDR: {
      const Sensor &s = resource.sensors.at(ref.num);
      rdr.RdrTypeUnion.SensorRec = SensorRecord(ref.num, s);
      name = s.name;
      break;
    }
    default: {
      const Inventory &i = resource.inventories.at(ref.num);
      rdr.RdrTypeUnion.InventoryRec.IdrId = ref.num;
      rdr.RdrTypeUnion.InventoryRec.Persistent = i.persistent;
      name = i.name;
      break;
    }
  }
  rdr.IdString = TextBufferFromString(name);
  return rdr;
}

// The name and description of an instrument of a (loaded or current) model.
template <typename ModelT, typename Text = std::conditional_t<std::is_const_v<ModelT>, const std::string, std::string>>
SaErrorT InstrumentTexts(ModelT &model, SaHpiResourceIdT resource, SaHpiRdrTypeT type, SaHpiInstrumentIdT num,
                         Text **name, Text **description) {
  auto *r = model.resources.Find(resource);
  if (r == nullptr) return SA_ERR_HPI_INVALID_RESOURCE;
  auto pick = [&](auto *instrument) {
    if (instrument == nullptr) return SA_ERR_HPI_NOT_PRESENT;
    *name = &instrument->name;
    *description = &instrument->description;
    return SA_OK;
  };
  switch (type) {
    case SAHPI_CTRL_RDR:
      return pick(r->controls.Find(num));
    case SAHPI_SENSOR_RDR:
      return pick(r->sensors.Find(num));
    case SAHPI_INVENTORY_RDR:
      return pick(r->inventories.Find(num));
    default:
      return type <= SAHPI_FUMI_RDR && type != SAHPI_NO_RECORD ? SA_ERR_HPI_NOT_PRESENT : SA_ERR_HPI_INVALID_PARAMS;
  }
}

bool IsSeverity(SaHpiSeverityT severity) { return severity <= SAHPI_OK || severity == SAHPI_DEBUG; }

// Walks entries with a type filter: the entry `id` (or the first one for
// SAHPI_FIRST_ENTRY) among those of `type` (every one for `any_type`), and
// the identifier of the next such entry or SAHPI_LAST_ENTRY.
template <typename Entry>
const Entry *WalkEntries(const std::vector<Entry> &entries, uint32_t type, uint32_t any_type, SaHpiEntryIdT id,
                         SaHpiEntryIdT *next) {
  const Entry *found = nullptr;
  for (const Entry &e : entries) {
    if (type != any_type && e.type != type) continue;
    if (found != nullptr) {
      *next = e.id;
      return found;
    }
    if (id == SAHPI_FIRST_ENTRY || e.id == id) found = &e;
  }
  *next = SAHPI_LAST_ENTRY;
  return found;
}

}  // namespace

SaErrorT SimResourceSeveritySet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSeverityT severity) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  if (!IsSeverity(severity)) return SA_ERR_HPI_INVALID_PARAMS;
  r->severity = severity;
  return SA_OK;
}

SaErrorT SimResourceTagSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, const SaHpiTextBufferT *tag) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  r->tag = TextBufferToString(*tag);
  return SA_OK;
}

SaErrorT SimResourceRemove(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  if (r->removable == 0) return SA_ERR_HPI_INVALID_REQUEST;
  c.model.resources.erase(resource);
  return SA_OK;
}

SaErrorT SimRdrGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiEntryIdT entry, SaHpiEntryIdT *next,
                   SaHpiRdrT *rdr) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  const std::vector<RdrRef> records = RecordsOf(*r);
  const size_t index = entry == SAHPI_FIRST_ENTRY ? 0 : entry - 1;
  if (index >= records.size()) return SA_ERR_HPI_NOT_PRESENT;
  *rdr = BuildRdr(*r, records[index], static_cast<SaHpiEntryIdT>(index + 1));
  *next = index + 1 < records.size() ? static_cast<SaHpiEntryIdT>(index + 2) : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT SimRdrGetByInstrumentId(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                 SaHpiInstrumentIdT instrument, SaHpiRdrT *rdr) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  if (type == SAHPI_NO_RECORD || type > SAHPI_FUMI_RDR) return SA_ERR_HPI_INVALID_PARAMS;
  const std::vector<RdrRef> records = RecordsOf(*r);
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == type && records[i].num == instrument) {
      *rdr = BuildRdr(*r, records[i], static_cast<SaHpiEntryIdT>(i + 1));
      return SA_OK;
    }
  }
  return SA_ERR_HPI_NOT_PRESENT;
}

SaErrorT SimInstrumentNameSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                              SaHpiInstrumentIdT instrument, const SaHpiTextBufferT *name) {
  std::string *current, *description;
  if (SaErrorT rv = InstrumentTexts(c.model, resource, type, instrument, &current, &description); rv != SA_OK) {
    return rv;
  }
  *current = TextBufferToString(*name);
  return SA_OK;
}

SaErrorT SimInstrumentNameSetDefault(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, SaHpiTextBufferT *name) {
  std::string *current, *description;
  if (SaErrorT rv = InstrumentTexts(c.model, resource, type, instrument, &current, &description); rv != SA_OK) {
    return rv;
  }
  const std::string *loaded, *loaded_description;
  if (InstrumentTexts(c.sim.pristine(), resource, type, instrument, &loaded, &loaded_description) == SA_OK) {
    *current = *loaded;
  }
  *name = TextBufferFromString(*current);
  return SA_OK;
}

SaErrorT SimInstrumentDescriptionGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, SaHpiTextBufferT *description) {
  std::string *name, *current;
  if (SaErrorT rv = InstrumentTexts(c.model, resource, type, instrument, &name, &current); rv != SA_OK) return rv;
  *description = TextBufferFromString(*current);
  return SA_OK;
}

SaErrorT SimInstrumentDescriptionSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                                     SaHpiInstrumentIdT instrument, const SaHpiTextBufferT *description) {
  std::string *name, *current;
  if (SaErrorT rv = InstrumentTexts(c.model, resource, type, instrument, &name, &current); rv != SA_OK) return rv;
  *current = TextBufferToString(*description);
  return SA_OK;
}

SaErrorT SimResourceDescriptionGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource,
                                   SaHpiTextBufferT *description) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  *description = TextBufferFromString(r->description);
  return SA_OK;
}

SaErrorT SimResourceDescriptionSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource,
                                   const SaHpiTextBufferT *description) {
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  r->description = TextBufferToString(*description);
  return SA_OK;
}

SaErrorT SimIdrInfoGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiIdrIdT idr, SaHpiIdrInfoT *info) {
  Inventory *i;
  if (SaErrorT rv = c.FindInventory(resource, idr, &i); rv != SA_OK) return rv;
  *info = {idr, i->update_count, i->read_only, static_cast<SaHpiUint32T>(i->areas.size())};
  return SA_OK;
}

SaErrorT SimIdrAreaHeaderGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiIdrIdT idr,
                             SaHpiIdrAreaTypeT area_type, SaHpiEntryIdT area, SaHpiEntryIdT *next_area,
                             SaHpiIdrAreaHeaderT *header) {
  Inventory *i;
  if (SaErrorT rv = c.FindInventory(resource, idr, &i); rv != SA_OK) return rv;
  if (area == SAHPI_LAST_ENTRY) return SA_ERR_HPI_INVALID_PARAMS;
  const IdrArea *a = WalkEntries(i->areas, area_type, SAHPI_IDR_AREATYPE_UNSPECIFIED, area, next_area);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *header = {a->id, a->type, a->read_only, static_cast<SaHpiUint32T>(a->fields.size())};
  return SA_OK;
}

SaErrorT SimIdrFieldGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiIdrIdT idr, SaHpiEntryIdT area,
                        SaHpiIdrFieldTypeT field_type, SaHpiEntryIdT field, SaHpiEntryIdT *next_field,
                        SaHpiIdrFieldT *result) {
  Inventory *i;
  if (SaErrorT rv = c.FindInventory(resource, idr, &i); rv != SA_OK) return rv;
  if (area == SAHPI_LAST_ENTRY || field == SAHPI_LAST_ENTRY) return SA_ERR_HPI_INVALID_PARAMS;
  const IdrArea *a = nullptr;
  for (const IdrArea &candidate : i->areas) {
    if (candidate.id == area) a = &candidate;
  }
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  const IdrField *f = WalkEntries(a->fields, field_type, SAHPI_IDR_FIELDTYPE_UNSPECIFIED, field, next_field);
  if (f == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *result = {a->id, f->id, f->type, f->read_only, TextBufferFromString(f->text)};
  return SA_OK;
}

}  // namespace kvnc::sim
