#include "sim/rpc_dispatch.h"

#include <cstring>
#include <string>

#include "client/marshal_hpi.h"
#include "client/text_buffer.h"

namespace kvnc::sim {

namespace {

size_t ListLength(const MarshalType *const *list) {
  size_t n = 0;
  while (list[n] != nullptr) ++n;
  return n;
}

template <typename T>
Json Load(const uint8_t *value) {
  T v;
  std::memcpy(&v, value, sizeof v);
  return v;
}

// A decoded value in the journal: numbers as numbers, text buffers as
// strings, entity paths as [type, location] pairs up to the root, arrays and
// records as arrays (a union as its selected member, a counted array as its
// elements).
Json ValueJson(const MarshalType *type, const uint8_t *value) {
  if (type == &kHpiTextBuffer) {
    SaHpiTextBufferT text;
    std::memcpy(&text, value, sizeof text);
    return TextBufferToString(text);
  }
  if (type == &kHpiEntityPath) {
    SaHpiEntityPathT path;
    std::memcpy(&path, value, sizeof path);
    Json elements = Json::array();
    for (const SaHpiEntityT &e : path.Entry) {
      if (e.EntityType == SAHPI_ENT_ROOT) break;
      elements.push_back({e.EntityType, e.EntityLocation});
    }
    return elements;
  }
  switch (type->code) {
    case MT_UINT8:
      return Load<uint8_t>(value);
    case MT_UINT16:
      return Load<uint16_t>(value);
    case MT_UINT32:
      return Load<uint32_t>(value);
    case MT_UINT64:
      return Load<uint64_t>(value);
    case MT_INT8:
      return Load<int8_t>(value);
    case MT_INT16:
      return Load<int16_t>(value);
    case MT_INT32:
      return Load<int32_t>(value);
    case MT_INT64:
      return Load<int64_t>(value);
    case MT_FLOAT32:
      return Load<float>(value);
    case MT_FLOAT64:
      return Load<double>(value);
    case MT_ARRAY: {
      Json items = Json::array();
      for (uint32_t i = 0; i < type->operand1.number; ++i) {
        items.push_back(ValueJson(type->operand3.type, value + static_cast<size_t>(i) * type->operand2.number));
      }
      return items;
    }
    case MT_STRUCT: {
      Json members = Json::array();
      const MarshalType *elements = type->operand1.type;
      for (uint32_t i = 0; elements[i].code == MT_STRUCT_ELEMENT; ++i) {
        const MarshalType *member = elements[i].operand2.type;
        const uint8_t *field = value + elements[i].operand1.number;
        uint32_t selector = 0;
        if (member->code == MT_VAR_ARRAY) {
          GetStructElementIntegerValue(elements, member->operand1.number, value, &selector);
          const uint8_t *items;
          std::memcpy(&items, field, sizeof items);
          Json array = Json::array();
          for (uint32_t k = 0; k < selector && items != nullptr; ++k) {
            array.push_back(ValueJson(member->operand3.type, items + static_cast<size_t>(k) * member->operand2.number));
          }
          members.push_back(std::move(array));
        } else if (member->code == MT_UNION) {
          GetStructElementIntegerValue(elements, member->operand1.number, value, &selector);
          Json selected = nullptr;
          for (const MarshalType *u = member->operand2.type; u->code == MT_UNION_ELEMENT; ++u) {
            if (u->operand1.number == selector) selected = ValueJson(u->operand2.type, field);
          }
          members.push_back(std::move(selected));
        } else {
          members.push_back(ValueJson(member, field));
        }
      }
      return members;
    }
    default:
      return nullptr;
  }
}

Json ValuesJson(const MarshalType *const *list, void *const *values) {
  Json array = Json::array();
  for (size_t i = 0; list[i] != nullptr; ++i) array.push_back(ValueJson(list[i], static_cast<uint8_t *>(values[i])));
  return array;
}

// The integer that `output` replaces: its type, and its offset in the reply value.
const MarshalType *OverrideTarget(const RpcMarshalEntry &entry, const OutputOverride &output, size_t *offset) {
  if (output.output >= ListLength(entry.reply) - 1) return nullptr;
  const MarshalType *type = entry.reply[output.output + 1];
  *offset = 0;
  if (output.member) {
    if (type->code != MT_STRUCT) return nullptr;
    const MarshalType *elements = type->operand1.type;
    uint32_t i = 0;
    while (i < *output.member && elements[i].code == MT_STRUCT_ELEMENT) ++i;
    if (elements[i].code != MT_STRUCT_ELEMENT) return nullptr;
    *offset = elements[i].operand1.number;
    type = elements[i].operand2.type;
  }
  switch (type->code) {
    case MT_UINT8:
    case MT_INT8:
    case MT_UINT16:
    case MT_INT16:
    case MT_UINT32:
    case MT_INT32:
    case MT_UINT64:
    case MT_INT64:
      return type;
    default:
      return nullptr;
  }
}

template <typename T>
void StoreAs(uint8_t *where, uint64_t value) {
  const auto v = static_cast<T>(value);
  std::memcpy(where, &v, sizeof v);
}

void OverrideOutput(const RpcMarshalEntry &entry, const OutputOverride &output, void *const *outputs) {
  size_t offset = 0;
  const MarshalType *type = OverrideTarget(entry, output, &offset);
  if (type == nullptr) return;
  uint8_t *where = static_cast<uint8_t *>(outputs[output.output]) + offset;
  switch (type->code) {
    case MT_UINT8:
    case MT_INT8:
      StoreAs<uint8_t>(where, output.value);
      break;
    case MT_UINT16:
    case MT_INT16:
      StoreAs<uint16_t>(where, output.value);
      break;
    case MT_UINT32:
    case MT_INT32:
      StoreAs<uint32_t>(where, output.value);
      break;
    default:
      StoreAs<uint64_t>(where, output.value);
      break;
  }
}

void AnswerOnly(SaErrorT rv, RpcCall &call) {
  call.result = rv;
  call.reply.assign(4, 0);
  Marshal(&kMarshalInt32, &rv, call.reply.data(), call.reply.size());
}

}  // namespace

namespace {

Json DecodeArguments(const JournalCall &call) {
  const RpcMarshalEntry *entry = FindRpcMarshal(call.rpc);
  if (entry == nullptr) return nullptr;
  const size_t n = ListLength(entry->request);
  // One zero-filled, suitably aligned block per value, as large as its record says.
  std::vector<std::vector<std::max_align_t>> storage(n);
  std::vector<void *> values(n + 1, nullptr);
  for (size_t i = 0; i < n; ++i) {
    const size_t extent = MarshalMemoryExtent(entry->request[i]);
    if (extent == kMarshalExtentUnknown) return nullptr;
    storage[i].resize(extent / sizeof(std::max_align_t) + 1);
    values[i] = storage[i].data();
  }
  const int used = DemarshalArray(call.byte_order, entry->request, values.data(), call.payload.data(),
                                  static_cast<uint32_t>(call.payload.size()));
  if (used < 0) return nullptr;
  Json args = static_cast<size_t>(used) == call.payload.size() ? ValuesJson(entry->request, values.data()) : Json();
  FreeDemarshalledArray(entry->request, values.data());
  return args;
}

}  // namespace

Json JournalCallJson(const JournalCall &call) {
  const RpcMarshalEntry *entry = FindRpcMarshal(call.rpc);
  Json record = {
      {"seq", call.seq},
      {"rpc", call.rpc},
      {"function", entry != nullptr && entry->function_name != nullptr ? Json(entry->function_name) : Json(nullptr)},
      {"uid", call.uid},
      {"args", DecodeArguments(call)},
      {"result", call.result ? Json(*call.result) : Json(nullptr)}};
  if (call.fault != nullptr) record["fault"] = call.fault;
  return record;
}

bool DecodeRequest(const RpcMarshalEntry &entry, void *const *inputs, RpcCall &call) {
  const int used = DemarshalArray(call.byte_order, entry.request, inputs, call.payload, call.length);
  if (used >= 0 && static_cast<uint32_t>(used) == call.length) return true;
  if (used >= 0) ReleaseRequest(entry, inputs);  // trailing bytes: not a request of this RPC
  AnswerOnly(SA_ERR_HPI_INVALID_PARAMS, call);
  return false;
}

void ReleaseRequest(const RpcMarshalEntry &entry, void *const *inputs) { FreeDemarshalledArray(entry.request, inputs); }

SaErrorT Admit(Caller &caller, Access access, const uint32_t *session) {
  if (!caller.Known()) return KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
  if (access != Access::kOpen) {
    if (session == nullptr) return SA_ERR_HPI_INTERNAL_ERROR;
    auto it = caller.sim.sessions().find(*session);
    if (it == caller.sim.sessions().end() || (!caller.IsRoot() && it->second.uid != caller.uid)) {
      return SA_ERR_HPI_INVALID_SESSION;
    }
  }
  return caller.May(access) ? SA_OK : KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
}

void EncodeReply(const RpcMarshalEntry &entry, SaErrorT rv, void *const *outputs, RpcCall &call) {
  if (rv == SA_OK) {
    if (call.output) OverrideOutput(entry, *call.output, outputs);
    const size_t n = ListLength(entry.reply);
    std::vector<const void *> values(n + 1, nullptr);
    values[0] = &rv;
    for (size_t i = 1; i < n; ++i) values[i] = outputs[i - 1];
    // Marshalled into the thread's scratch frame, then copied at its length.
    thread_local std::vector<uint8_t> frame(kFrameMaxPayload);
    const int written = MarshalArray(entry.reply, values.data(), frame.data(), frame.size());
    if (written >= 0) {
      call.reply.assign(frame.begin(), frame.begin() + written);
      call.result = SA_OK;
      return;
    }
    rv = SA_ERR_HPI_INTERNAL_ERROR;
  }
  AnswerOnly(rv, call);
}

void ServeRpc(Simulator &sim, RpcCall &call) {
  const RpcMarshalEntry *entry = FindRpcMarshal(call.rpc);
  const SimRpc *row = FindSimRpc(call.rpc);
  if (entry != nullptr && row != nullptr) {
    row->serve(sim, *row, *entry, call);
    return;
  }
  AnswerOnly(call.injected.value_or(SA_ERR_HPI_UNSUPPORTED_API), call);
}

std::string CheckOutputOverride(uint32_t rpc, const OutputOverride &output) {
  const RpcMarshalEntry *entry = FindRpcMarshal(rpc);
  if (entry == nullptr) return "RPC " + std::to_string(rpc) + " is not known";
  size_t offset = 0;
  if (OverrideTarget(*entry, output, &offset) == nullptr) {
    return "RPC " + std::to_string(rpc) + " has no integer reply value " + std::to_string(output.output) +
           (output.member ? " member " + std::to_string(*output.member) : std::string());
  }
  return {};
}

std::vector<std::string> CheckSimRpcTable() {
  std::vector<std::string> problems;
  uint32_t previous = 0;
  for (const SimRpc &r : SimRpcTable()) {
    const SimRpc *row = &r;
    const uint32_t rpc = row->number;
    if (rpc <= previous) problems.push_back("RPC " + std::to_string(rpc) + ": row out of order or repeated");
    previous = rpc;
    const std::string name = "RPC " + std::to_string(rpc) + ": ";
    const RpcMarshalEntry *entry = FindRpcMarshal(rpc);
    if (entry == nullptr) {
      problems.push_back(name + "the client has no marshal entry");
      continue;
    }
    const std::vector<ParamShape> shapes = row->shape();
    std::vector<size_t> inputs, outputs;
    for (const ParamShape &p : shapes) (p.output ? outputs : inputs).push_back(p.size);
    const size_t request_count = ListLength(entry->request), reply_count = ListLength(entry->reply) - 1;
    if (inputs.size() != request_count || outputs.size() != reply_count) {
      problems.push_back(name + "the function takes " + std::to_string(inputs.size()) + " request and " +
                         std::to_string(outputs.size()) + " reply values, the marshal table has " +
                         std::to_string(request_count) + " and " + std::to_string(reply_count));
      continue;
    }
    auto check = [&](const MarshalType *type, size_t size, const char *side, size_t index) {
      const size_t extent = MarshalMemoryExtent(type);
      const bool exact = IsSimpleType(type->code) || type->code == MT_ARRAY;
      if (extent == kMarshalExtentUnknown || (exact ? extent != size : extent > size)) {
        problems.push_back(name + side + " value " + std::to_string(index) + " has " + std::to_string(size) +
                           " bytes, the marshal table describes " + std::to_string(extent));
      }
    };
    for (size_t i = 0; i < inputs.size(); ++i) check(entry->request[i], inputs[i], "request", i);
    for (size_t i = 0; i < outputs.size(); ++i) check(entry->reply[i + 1], outputs[i], "reply", i + 1);
    if (row->access != Access::kOpen && (request_count == 0 || entry->request[0]->code != MT_UINT32)) {
      problems.push_back(name + "needs a session but its first request value is not one");
    }
  }
  if (previous == 0) problems.emplace_back("no RPC is served");
  return problems;
}

}  // namespace kvnc::sim
