// Serving one RPC. The request values are decoded with the client library's
// own marshal table entry of the RPC, passed to the RPC's function, and the
// function's outputs are encoded with the same entry as the reply. A function
// has the shape of the client function it answers:
//
//   SaErrorT SimSensorReadingGet(Caller &, SaHpiSessionIdT, SaHpiResourceIdT, SaHpiSensorNumT,
//                                SaHpiSensorReadingT *reading, SaHpiEventStateT *state);
//
// first the request values in wire order (simple values by value, records by
// const pointer), then one non-const pointer per reply value after the
// SaErrorT. The table of rows (rpc_table.cpp) is checked against the marshal
// table at start-up, so the two cannot drift apart.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "client/marshal.h"
#include "client/transport.h"
#include "sim/caller.h"
#include "sim/simulator.h"

namespace kvnc::sim {

// One request as it arrived, and what became of it. (Its destructor can throw
// only where the JSON library's does: when memory runs out while freeing.)
struct RpcCall {  // NOLINT(bugprone-exception-escape)
  uint32_t rpc = 0;
  uint32_t uid = 0;
  int byte_order = kFrameLittleEndian;
  const uint8_t *payload = nullptr;
  uint32_t length = 0;
  std::optional<SaErrorT> injected;      // a fault: answer this without making the call
  std::optional<OutputOverride> output;  // a fault: one reply value replaced

  SaErrorT result = SA_OK;
  std::vector<uint8_t> reply;  // the reply payload: the SaErrorT, then the values when SA_OK
};

struct ParamShape {
  size_t size;  // of the value in memory
  bool output;
};

struct SimRpc {
  uint32_t number;
  Access access;
  void (*serve)(Simulator &sim, const SimRpc &row, const RpcMarshalEntry &entry, RpcCall &call);
  std::vector<ParamShape> (*shape)();
};

// Serves one call: fills result and reply. RPC numbers without a row
// answer SA_ERR_HPI_UNSUPPORTED_API, as the daemon does for a call it lacks.
void ServeRpc(Simulator &sim, RpcCall &call);
// A journal line: {"seq", "rpc", "function", "uid", "args", "result"[, "fault"]}
// with the request values decoded by the RPC's marshal table entry ("args"
// null when they do not decode; "result" null when the call was dropped).
Json JournalCallJson(const JournalCall &call);

// The rows, in ascending RPC order (rpc_table.cpp).
std::span<const SimRpc> SimRpcTable();
const SimRpc *FindSimRpc(uint32_t rpc);
// Why `output` cannot be applied to answers of `rpc`; empty when it can.
std::string CheckOutputOverride(uint32_t rpc, const OutputOverride &output);
// Disagreements between the rows and the client's marshal table; none when empty.
std::vector<std::string> CheckSimRpcTable();

// ---- the steps of Serve that do not depend on the function -------------------

// Decodes the whole payload into `inputs`; on failure answers
// SA_ERR_HPI_INVALID_PARAMS and returns false.
bool DecodeRequest(const RpcMarshalEntry &entry, void *const *inputs, RpcCall &call);
void ReleaseRequest(const RpcMarshalEntry &entry, void *const *inputs);
// A known caller, a session of theirs (unless the call opens one), the right.
SaErrorT Admit(Caller &caller, Access access, const uint32_t *session);
void EncodeReply(const RpcMarshalEntry &entry, SaErrorT rv, void *const *outputs, RpcCall &call);

namespace detail {

// How a parameter of a function is stored and passed.
template <typename T>
struct Slot {  // a simple request value
  using Stored = T;
  static constexpr bool kOutput = false;
  static T Pass(Stored &value) { return value; }
};
template <typename T>
struct Slot<const T *> {  // a request record
  using Stored = T;
  static constexpr bool kOutput = false;
  static const T *Pass(Stored &value) { return &value; }
};
template <typename T>
struct Slot<T *> {  // a reply value
  using Stored = T;
  static constexpr bool kOutput = true;
  static T *Pass(Stored &value) { return &value; }
};

template <size_t N>
constexpr bool InputsFirst(const std::array<bool, N> &output) {
  for (size_t i = 1; i < N; ++i) {
    if (output[i - 1] && !output[i]) return false;
  }
  return true;
}

template <typename F>
struct Signature;

template <typename... Params>
struct Signature<SaErrorT (*)(Caller &, Params...)> {
  using Values = std::tuple<typename Slot<Params>::Stored...>;
  static constexpr size_t kCount = sizeof...(Params);
  static constexpr size_t kInputs = (size_t{0} + ... + (Slot<Params>::kOutput ? 0 : 1));
  static_assert(InputsFirst(std::array<bool, kCount>{Slot<Params>::kOutput...}),
                "the request values come before the outputs");
  // Whether the first request value can be a session identifier.
  static constexpr bool kFirstIsU32 = [] {
    if constexpr (kInputs > 0) {
      return std::is_same_v<std::tuple_element_t<0, Values>, uint32_t>;
    } else {
      return false;
    }
  }();

  template <auto Function, size_t... I>
  static SaErrorT Call(Caller &caller, Values &values, std::index_sequence<I...>) {
    return Function(caller, Slot<Params>::Pass(std::get<I>(values))...);
  }
  template <size_t... I>
  static void Pointers(Values &values, void **pointers, std::index_sequence<I...>) {
    ((pointers[I] = &std::get<I>(values)), ...);
  }
  static std::vector<ParamShape> Shapes() {
    return {ParamShape{sizeof(typename Slot<Params>::Stored), Slot<Params>::kOutput}...};
  }
};

}  // namespace detail

template <auto Function>
void Serve(Simulator &sim, const SimRpc &row, const RpcMarshalEntry &entry, RpcCall &call) {
  using S = detail::Signature<decltype(Function)>;
  using Indices = std::make_index_sequence<S::kCount>;
  typename S::Values values{};  // zero-filled: outputs a function leaves alone travel as zeros
  std::array<void *, S::kCount + 1> pointers{};
  S::Pointers(values, pointers.data(), Indices{});
  if (!DecodeRequest(entry, pointers.data(), call)) return;
  if (call.injected) {
    EncodeReply(entry, *call.injected, nullptr, call);
  } else {
    auto lock = sim.Lock();
    AdvanceGroupJobs(sim.model(), WallClockSeconds());  // a call sees the switches that are due
    Caller caller(sim, call.uid);
    const uint32_t *session = nullptr;
    if constexpr (S::kFirstIsU32) session = &std::get<0>(values);
    SaErrorT rv = Admit(caller, row.access, session);
    if (rv == SA_OK) rv = S::template Call<Function>(caller, values, Indices{});
    EncodeReply(entry, rv, pointers.data() + S::kInputs, call);  // while the caller's kept storage lives
  }
  ReleaseRequest(entry, pointers.data());
}

template <auto Function>
std::vector<ParamShape> Shape() {
  return detail::Signature<decltype(Function)>::Shapes();
}

// A row of the table: RPC `number` is served by `Function` for callers with `access`.
template <auto Function>
constexpr SimRpc Rpc(uint32_t number, Access access) {
  return {number, access, &Serve<Function>, &Shape<Function>};
}

}  // namespace kvnc::sim
