// Cost of the marshal engine on the two largest values a handler commonly
// moves: a sensor RDR and an event log entry carrying a sensor event.
#include <benchmark/benchmark.h>

#include <cstring>

#include "client/hpi_types.h"
#include "client/marshal.h"
#include "client/marshal_hpi.h"

namespace {

SaHpiSensorReadingT FloatReading(double value) {
  SaHpiSensorReadingT reading;
  memset(&reading, 0, sizeof reading);
  reading.IsSupported = SAHPI_TRUE;
  reading.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  reading.Value.SensorFloat64 = value;
  return reading;
}

SaHpiRdrT SensorRdr() {
  SaHpiRdrT rdr;
  memset(&rdr, 0, sizeof rdr);
  rdr.RecordId = 7;
  rdr.RdrType = SAHPI_SENSOR_RDR;
  rdr.Entity.Entry[0] = {SAHPI_ENT_POWER_DISTRIBUTION_UNIT, 1};
  rdr.Entity.Entry[1] = {SAHPI_ENT_ROOT, 0};
  SaHpiSensorRecT &s = rdr.RdrTypeUnion.SensorRec;
  s.Num = 0x21;
  s.Type = SAHPI_VOLTAGE;
  s.Category = SAHPI_EC_THRESHOLD;
  s.DataFormat.IsSupported = SAHPI_TRUE;
  s.DataFormat.ReadingType = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  s.DataFormat.Range.Flags = SAHPI_SRF_MIN | SAHPI_SRF_MAX;
  s.DataFormat.Range.Max = FloatReading(250.0);
  s.DataFormat.Range.Min = FloatReading(0.0);
  rdr.IdString.DataType = SAHPI_TL_TYPE_TEXT;
  rdr.IdString.Language = SAHPI_LANG_ENGLISH;
  rdr.IdString.DataLength = 7;
  memcpy(rdr.IdString.Data, "Voltage", 7);
  return rdr;
}

SaHpiEventLogEntryT SensorEventEntry() {
  SaHpiEventLogEntryT entry;
  memset(&entry, 0, sizeof entry);
  entry.EntryId = 0x10;
  entry.Timestamp = 1700000000000000000;
  entry.Event.EventType = SAHPI_ET_SENSOR;
  entry.Event.Severity = SAHPI_MAJOR;
  entry.Event.EventDataUnion.SensorEvent.SensorNum = 0x21;
  entry.Event.EventDataUnion.SensorEvent.TriggerReading = FloatReading(41.5);
  entry.Event.EventDataUnion.SensorEvent.TriggerThreshold = FloatReading(40.0);
  return entry;
}

template <typename T>
void BM_Marshal(benchmark::State &state, const MarshalType *type, T value) {
  uint8_t buffer[4096];
  int n = 0;
  for (auto _ : state) {
    n = Marshal(type, &value, buffer, sizeof buffer);
    benchmark::DoNotOptimize(buffer);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n);
}

template <typename T>
void BM_Demarshal(benchmark::State &state, const MarshalType *type, T value) {
  uint8_t buffer[4096];
  const int n = Marshal(type, &value, buffer, sizeof buffer);
  T out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Demarshal(kMarshalLittleEndian, type, &out, buffer, static_cast<size_t>(n)));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n);
}

// The whole reply path of saHpiRdrGet: SaErrorT, next id, RDR, staged.
void BM_DemarshalRdrGetReply(benchmark::State &state) {
  const SaHpiRdrT rdr = SensorRdr();
  const int32_t ok = 0;
  const uint32_t next = 8;
  const RpcMarshalEntry *entry = FindRpcMarshal(34);
  const void *const values[] = {&ok, &next, &rdr};
  uint8_t buffer[4096];
  const int n = MarshalArray(entry->reply, values, buffer, sizeof buffer);
  int32_t error;
  uint32_t next_out;
  SaHpiRdrT out;
  void *const outputs[] = {&error, &next_out, &out};
  for (auto _ : state) {
    benchmark::DoNotOptimize(DemarshalReply(kMarshalLittleEndian, entry, buffer, static_cast<size_t>(n), outputs));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n);
}

BENCHMARK_CAPTURE(BM_Marshal, SensorRdr, &kHpiRdr, SensorRdr());
BENCHMARK_CAPTURE(BM_Demarshal, SensorRdr, &kHpiRdr, SensorRdr());
BENCHMARK_CAPTURE(BM_Marshal, SensorEventLogEntry, &kHpiEventLogEntry, SensorEventEntry());
BENCHMARK_CAPTURE(BM_Demarshal, SensorEventLogEntry, &kHpiEventLogEntry, SensorEventEntry());
BENCHMARK(BM_DemarshalRdrGetReply);

}  // namespace
