// The simulator's state: the appliance model, the HPI sessions, the faults
// that tests arrange and the journal of calls. Shared by every connection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "sim/model.h"

namespace kvnc::sim {

// A reply value replaced in an answer of SA_OK: reply value `output` (0 is
// the first after the SaErrorT), or integer member `member` of it when it is
// a record, takes `value` (cut to the integer's width). For daemons that
// hand out ids already seen, and the like.
struct OutputOverride {
  uint32_t output = 0;
  std::optional<uint32_t> member;
  uint64_t value = 0;
};

// What to do to the next `remaining` calls of one RPC (rpc 0: of any RPC).
struct FaultRule {
  uint32_t rpc = 0;
  uint32_t remaining = 1;
  std::optional<SaErrorT> error;         // answer this result without making the call
  uint32_t delay_ms = 0;                 // wait this long before serving the call
  bool drop = false;                     // close the connection without an answer
  bool cut = false;                      // close it halfway through the answer
  std::optional<uint32_t> reply_id;      // answer under this RPC number
  std::optional<OutputOverride> output;  // answer SA_OK with one value replaced
};

// One call as the journal keeps it: the request bytes, decoded only when the
// journal is read, so that serving a call costs no JSON.
struct JournalCall {
  uint64_t seq = 0;
  uint32_t rpc = 0;
  uint32_t uid = 0;
  int byte_order = 0;
  std::vector<uint8_t> payload;
  std::optional<SaErrorT> result;  // none: the connection was dropped unanswered
  const char *fault = nullptr;     // the fault applied to the call, if any
};

struct HpiSession {
  uint32_t uid = 0;  // who opened it: only they (and root) may use it
};

class Simulator {
 public:
  explicit Simulator(Model model);

  // The model and the sessions are guarded by one lock, held for a whole call.
  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(model_mutex_); }
  Model &model() { return model_; }
  const Model &pristine() const { return pristine_; }  // as loaded; changed only by Load
  std::map<uint32_t, HpiSession> &sessions() { return sessions_; }
  // A session identifier never handed out before.
  uint32_t NewSessionId() { return next_session_id_++; }

  // Replaces the model and what Reset returns to; clears faults and journal.
  void Load(Model model);
  // Back to the loaded model; clears faults and journal. Sessions stay open.
  void Reset();
  Json ModelJson();
  // Applies `change` to the JSON form of the model; throws (leaving the model
  // as it was) when the result is not a model.
  void ChangeModel(const std::function<void(Json &)> &change);

  void AddFault(const FaultRule &rule);
  void ClearFaults();
  // The fault for one call of `rpc`, counted as used; none when no rule applies.
  std::optional<FaultRule> TakeFault(uint32_t rpc);

  // Appends one call to the journal (the oldest entries go beyond kJournalLimit).
  void Record(JournalCall call);
  // The calls since the last clearing, oldest first; clears unless `keep`.
  std::vector<JournalCall> Journal(bool keep);

  static constexpr size_t kJournalLimit = 10000;

 private:
  std::mutex model_mutex_;
  Model model_;
  Model pristine_;
  std::map<uint32_t, HpiSession> sessions_;
  uint32_t next_session_id_ = 1;

  std::mutex control_mutex_;  // faults and journal
  std::vector<FaultRule> faults_;
  std::deque<JournalCall> journal_;
  uint64_t next_sequence_ = 1;
};

}  // namespace kvnc::sim
