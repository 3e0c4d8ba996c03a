#include "sim/simulator.h"

#include <utility>

namespace kvnc::sim {

Simulator::Simulator(Model model) : model_(model), pristine_(std::move(model)) {}

void Simulator::Load(Model model) {
  {
    auto lock = Lock();
    model_ = model;
    pristine_ = std::move(model);
  }
  std::lock_guard<std::mutex> lock(control_mutex_);
  faults_.clear();
  journal_.clear();
}

void Simulator::Reset() {
  {
    auto lock = Lock();
    model_ = pristine_;
  }
  std::lock_guard<std::mutex> lock(control_mutex_);
  faults_.clear();
  journal_.clear();
}

Json Simulator::ModelJson() {
  auto lock = Lock();
  AdvanceGroupJobs(model_, WallClockSeconds());
  return ModelToJson(model_);
}

void Simulator::ChangeModel(const std::function<void(Json &)> &change) {
  auto lock = Lock();
  Json json = ModelToJson(model_);
  change(json);
  model_ = ModelFromJson(json);
}

void Simulator::AddFault(const FaultRule &rule) {
  if (rule.remaining == 0) return;
  std::lock_guard<std::mutex> lock(control_mutex_);
  faults_.push_back(rule);
}

void Simulator::ClearFaults() {
  std::lock_guard<std::mutex> lock(control_mutex_);
  faults_.clear();
}

std::optional<FaultRule> Simulator::TakeFault(uint32_t rpc) {
  std::lock_guard<std::mutex> lock(control_mutex_);
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->rpc != 0 && it->rpc != rpc) continue;
    FaultRule fault = *it;
    if (--it->remaining == 0) faults_.erase(it);
    return fault;
  }
  return std::nullopt;
}

void Simulator::Record(JournalCall call) {
  std::lock_guard<std::mutex> lock(control_mutex_);
  call.seq = next_sequence_++;
  journal_.push_back(std::move(call));
  if (journal_.size() > kJournalLimit) journal_.pop_front();
}

std::vector<JournalCall> Simulator::Journal(bool keep) {
  std::lock_guard<std::mutex> lock(control_mutex_);
  std::vector<JournalCall> calls(journal_.begin(), journal_.end());
  if (!keep) journal_.clear();
  return calls;
}

}  // namespace kvnc::sim
