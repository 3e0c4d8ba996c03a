#include "api/config/ipdu.h"

#include <vector>

#include "client/hpi_functions.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

struct Step {
  SaHpiUint32T outlet = 0;
  SaHpiUint32T delay = 0;
  SaHpiUint32T initial_state = 0;
};

// The whole request, read before anything is written: a bad element is
// answered without half a sequence applied. The sequence has 64 places, so
// a longer one is refused rather than cut.
std::vector<Step> ReadSteps(const json &prm) {
  const json &seq = RequireKey(prm, "seq");
  if (!seq.is_array()) {
    throw json::type_error::create(302, std::string("type must be array, but is ") + seq.type_name(), &seq);
  }
  if (seq.size() > KVN_MAX_STARTUP_STEPS) Fail(ErrorReplyMsg(kRcBadValue, "seq"));
  std::vector<Step> steps;
  steps.reserve(seq.size());
  for (const json &element : seq) {
    Step step;
    step.outlet = GetNumber<SaHpiUint32T>(RequireKey(element, "ID"));
    step.delay = GetNumber<SaHpiUint32T>(RequireKey(element, "DELAY"));
    step.initial_state = GetNumber<SaHpiUint32T>(RequireKey(element, "INIT"));
    steps.push_back(step);
  }
  return steps;
}

}  // namespace

json GetIpduSettings(HpiSession session, const json & /*prm*/) {
  SaHpiUint32T inlets = 0, plugs = 0, phases = 0, branches = 0, outlets = 0, rcms = 0;
  CheckHpi(kvnHpiIpduCountsGet(session, &inlets, &plugs, &phases, &branches, &outlets, &rcms), "kvnHpiIpduCountsGet");
  SaHpiUint32T voltage = 0, frequency = 0, default_voltage = 0, default_frequency = 0;
  CheckHpi(kvnHpiIpduNominalVoltageFrequencyGet(session, &voltage, &frequency, &default_voltage, &default_frequency),
           "kvnHpiIpduNominalVoltageFrequencyGet");
  SaHpiUint32T default_state = 0;
  CheckHpi(kvnHpiOutletDefaultInitialStateGet(session, &default_state), "kvnHpiOutletDefaultInitialStateGet");
  SaHpiUint32T count = 0;
  KvnStartupSequenceT sequence{};
  CheckHpi(kvnHpiOutletStartupSequenceGet(session, KVN_MAX_STARTUP_STEPS, &count, &sequence),
           "kvnHpiOutletStartupSequenceGet");
  // A count past the capacity would read beyond the record: the daemon is faulty.
  if (count > KVN_MAX_STARTUP_STEPS) {
    Fail(ErrorReplyWithCode(kRcHpiError, SA_ERR_HPI_INVALID_DATA, "kvnHpiOutletStartupSequenceGet"));
  }
  json seq = json::array();
  for (SaHpiUint32T i = 0; i < count; ++i) {
    const KvnStartupStepT &step = sequence.Step[i];
    SaHpiUint32T state = 0;
    CheckHpi(kvnHpiOutletInitialStateGet(session, step.OutletId, &state), "kvnHpiOutletInitialStateGet");
    seq.push_back({{"DELAY", step.Delay}, {"ID", step.OutletId}, {"INIT", state}});
  }
  return OkReplyWithResponse({{"BRANCHES", branches},
                              {"DEFAULT", {{"FREQUENCY", default_frequency}, {"VOLTAGE", default_voltage}}},
                              {"INLETS", inlets},
                              {"NOMINAL", {{"FREQUENCY", frequency}, {"VOLTAGE", voltage}}},
                              {"OUTLETS", outlets},
                              {"PHASES", phases},
                              {"PLUGS", plugs},
                              {"STARTUP", {{"DEFAULT", default_state}, {"SEQ", seq}}}});
}

json SetIpduNominalValues(HpiSession session, const json &prm) {
  const auto voltage = GetNumber<SaHpiUint32T>(RequireKey(prm, "voltage"));
  const auto frequency = GetNumber<SaHpiUint32T>(RequireKey(prm, "frequency"));
  CheckHpi(kvnHpiIpduNominalVoltageFrequencySet(session, voltage, frequency), "kvnHpiIpduNominalVoltageFrequencySet");
  return OkReply();
}

json SetOutletStartupSequence(HpiSession session, const json &prm) {
  const std::vector<Step> steps = ReadSteps(prm);
  KvnStartupSequenceT sequence{};
  for (size_t i = 0; i < steps.size(); ++i) {
    CheckHpi(kvnHpiOutletInitialStateSet(session, steps[i].outlet, steps[i].initial_state),
             "kvnHpiOutletInitialStateSet");
    sequence.Step[i] = {steps[i].outlet, steps[i].delay};
  }
  CheckHpi(kvnHpiOutletStartupSequenceSet(session, static_cast<SaHpiUint32T>(steps.size()), &sequence),
           "kvnHpiOutletStartupSequenceSet");
  return OkReply();
}

}  // namespace kvnc
