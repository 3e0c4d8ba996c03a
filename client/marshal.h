// Table-driven marshalling of HPI values between in-memory C structs and the
// payload bytes of the controller RPC protocol.
//
// Every value that crosses the wire is described by a static, read-only
// MarshalType record; every RPC by an RpcMarshalEntry listing the types of its
// request and reply values. The wire carries no padding: values follow each
// other directly. Requests are written little-endian (the appliance's own
// order, which the frame header announces); replies are read in the byte
// order their frame header announces (1234 little-endian, 4321 big-endian).
//
// Guarantees of the reply side (bytes from the daemon are untrusted):
//  - never reads past buffer + length; a truncated payload fails;
//  - a var-array count is checked against the bytes still unread before
//    anything is allocated, so allocation is bounded by the received length;
//  - a union discriminator without a matching element fails;
//  - nothing is written outside the destination values the caller passed;
//  - on failure every block allocated by that call is freed again and the
//    var-array pointers it had stored are reset to null;
//  - the array forms (and so DemarshalReply) are all or nothing: the values
//    are demarshalled aside and reach the destinations only when the whole
//    list succeeded;
//  - a non-zero SaErrorT leaves every output after it untouched.
// Every failed check is logged at error level with the check's name.
// The engine keeps no state: it is re-entrant and allocates nothing on the
// request side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

enum MarshalTypeCode : uint32_t {
  MT_UNKNOWN = 0,
  MT_VOID = 1,
  MT_UINT8 = 2,
  MT_UINT16 = 3,
  MT_UINT32 = 4,
  MT_UINT64 = 5,
  MT_INT8 = 6,
  MT_INT16 = 7,
  MT_INT32 = 8,
  MT_INT64 = 9,
  MT_FLOAT32 = 10,
  MT_FLOAT64 = 11,
  MT_ARRAY = 12,           // count, element size, element type
  MT_VAR_ARRAY = 13,       // index of the count member, element size, element type
  MT_STRUCT = 14,          // element list
  MT_STRUCT_ELEMENT = 15,  // member offset, member type
  MT_UNION = 16,           // index of the discriminator member, union element list
  MT_UNION_ELEMENT = 17,   // discriminator value, member type
  MT_USER_DEFINED = 18,    // marshal function, demarshal function, user data
};

struct MarshalType;

// User-defined codecs. Both return the bytes written / consumed or a negative
// number; they must respect capacity / length themselves.
typedef int (*MarshalUserFunction)(const MarshalType *type, const void *source, uint8_t *buffer, size_t capacity,
                                   const void *user_data);
typedef int (*DemarshalUserFunction)(int byte_order, const MarshalType *type, void *destination, const uint8_t *buffer,
                                     size_t length, const void *user_data);

// One operand of a type record: a number or a pointer, whichever the code
// asks for (a union so that pointers fit on 64-bit hosts too).
union MarshalOperand {
  uint32_t number;
  const MarshalType *type;  // element / member type, or an element list
  MarshalUserFunction marshal;
  DemarshalUserFunction demarshal;
  const void *data;
};

struct MarshalType {
  MarshalTypeCode code;
  MarshalOperand operand1;
  MarshalOperand operand2;
  MarshalOperand operand3;
};

// Builders for the static tables; all are constant expressions.
constexpr MarshalType MarshalSimple(MarshalTypeCode code) {
  return {code, {.number = 0}, {.number = 0}, {.number = 0}};
}
constexpr MarshalType MarshalArrayType(uint32_t count, uint32_t element_size, const MarshalType *element) {
  return {MT_ARRAY, {.number = count}, {.number = element_size}, {.type = element}};
}
constexpr MarshalType MarshalVarArrayType(uint32_t count_index, uint32_t element_size, const MarshalType *element) {
  return {MT_VAR_ARRAY, {.number = count_index}, {.number = element_size}, {.type = element}};
}
constexpr MarshalType MarshalStructType(const MarshalType *element_list) {
  return {MT_STRUCT, {.type = element_list}, {.number = 0}, {.number = 0}};
}
constexpr MarshalType MarshalStructElement(uint32_t offset, const MarshalType *member) {
  return {MT_STRUCT_ELEMENT, {.number = offset}, {.type = member}, {.number = 0}};
}
constexpr MarshalType MarshalUnionType(uint32_t discriminator_index, const MarshalType *element_list) {
  return {MT_UNION, {.number = discriminator_index}, {.type = element_list}, {.number = 0}};
}
constexpr MarshalType MarshalUnionElement(uint32_t value, const MarshalType *member) {
  return {MT_UNION_ELEMENT, {.number = value}, {.type = member}, {.number = 0}};
}
constexpr MarshalType MarshalUserDefined(MarshalUserFunction marshal, DemarshalUserFunction demarshal,
                                         const void *user_data) {
  return {MT_USER_DEFINED, {.marshal = marshal}, {.demarshal = demarshal}, {.data = user_data}};
}
// Ends an element list.
constexpr MarshalType MarshalEnd() { return MarshalSimple(MT_UNKNOWN); }

// The simple types shared by every table.
inline constexpr MarshalType kMarshalVoid = MarshalSimple(MT_VOID);
inline constexpr MarshalType kMarshalUint8 = MarshalSimple(MT_UINT8);
inline constexpr MarshalType kMarshalUint16 = MarshalSimple(MT_UINT16);
inline constexpr MarshalType kMarshalUint32 = MarshalSimple(MT_UINT32);
inline constexpr MarshalType kMarshalUint64 = MarshalSimple(MT_UINT64);
inline constexpr MarshalType kMarshalInt8 = MarshalSimple(MT_INT8);
inline constexpr MarshalType kMarshalInt16 = MarshalSimple(MT_INT16);
inline constexpr MarshalType kMarshalInt32 = MarshalSimple(MT_INT32);
inline constexpr MarshalType kMarshalInt64 = MarshalSimple(MT_INT64);
inline constexpr MarshalType kMarshalFloat32 = MarshalSimple(MT_FLOAT32);
inline constexpr MarshalType kMarshalFloat64 = MarshalSimple(MT_FLOAT64);

constexpr bool IsSimpleCode(uint32_t code) { return code >= MT_UINT8 && code <= MT_FLOAT64; }

// In-memory (and wire) width of a simple code.
constexpr size_t MarshalSimpleSize(uint32_t code) {
  constexpr uint8_t kSize[] = {1, 2, 4, 8, 1, 2, 4, 8, 4, 8};
  return IsSimpleCode(code) ? kSize[code - MT_UINT8] : 0;
}

// How many bytes of memory, from its start, a value of `type` spans as far as
// its record tells: what a demarshalled value may write. kMarshalExtentUnknown
// for user-defined codecs and for records that make no sense. Usable at
// compile time, where the tables check each member against its C declaration.
inline constexpr size_t kMarshalExtentUnknown = SIZE_MAX;

// A missing record. At compile time a null pointer cannot be followed anyway,
// and some compilers refuse to compare the address of an inline variable
// with null in a constant expression.
constexpr bool IsMissing(const void *record) { return !std::is_constant_evaluated() && record == nullptr; }

constexpr size_t MarshalMemoryExtent(const MarshalType *type) {
  if (IsMissing(type)) return kMarshalExtentUnknown;
  if (type->code == MT_VOID) return 0;
  if (IsSimpleCode(type->code)) return MarshalSimpleSize(type->code);
  if (type->code == MT_ARRAY) {
    const size_t count = type->operand1.number, size = type->operand2.number;
    const size_t element = MarshalMemoryExtent(type->operand3.type);
    if (count == 0 || element == kMarshalExtentUnknown || element > size) return kMarshalExtentUnknown;
    const uint64_t total = static_cast<uint64_t>(count) * size;
    return total < kMarshalExtentUnknown ? static_cast<size_t>(total) : kMarshalExtentUnknown;
  }
  if (type->code != MT_STRUCT || IsMissing(type->operand1.type)) return kMarshalExtentUnknown;
  size_t end = 0;
  for (const MarshalType *e = type->operand1.type; e->code == MT_STRUCT_ELEMENT; ++e) {
    const MarshalType *member = e->operand2.type;
    size_t size = 0;
    if (IsMissing(member)) return kMarshalExtentUnknown;
    if (member->code == MT_VAR_ARRAY) {
      size = sizeof(void *);
    } else if (member->code == MT_UNION) {
      if (IsMissing(member->operand2.type)) return kMarshalExtentUnknown;
      for (const MarshalType *u = member->operand2.type; u->code == MT_UNION_ELEMENT; ++u) {
        const size_t candidate = MarshalMemoryExtent(u->operand2.type);
        if (candidate == kMarshalExtentUnknown) return kMarshalExtentUnknown;
        if (candidate > size) size = candidate;
      }
    } else {
      size = MarshalMemoryExtent(member);
      if (size == kMarshalExtentUnknown) return kMarshalExtentUnknown;
    }
    if (size > kMarshalExtentUnknown - 1 - e->operand1.number) return kMarshalExtentUnknown;
    if (e->operand1.number + size > end) end = e->operand1.number + size;
  }
  return end;
}

// A type list is a null-terminated array of pointers to type records.
struct RpcMarshalEntry {
  uint32_t rpc_number;
  const MarshalType *const *request;
  const MarshalType *const *reply;  // begins with the SaErrorT
  const char *function_name;        // for diagnostics; nullptr when not known
};

// The entry of that RPC, or nullptr for a number without one.
const RpcMarshalEntry *FindRpcMarshal(uint32_t rpc_number);

// Byte orders announced in the frame header.
enum : int { kMarshalLittleEndian = 1234, kMarshalBigEndian = 4321 };

// True for the codes MT_UINT8 .. MT_FLOAT64.
bool IsSimpleType(uint32_t code);

// Member number `index` of an in-memory struct as an unsigned integer: 8-bit
// members without sign extension, Int16 with sign, 32- and 64-bit members by
// their low 32 bits. Returns 0, or negative when the member does not exist or
// is not an integer.
int GetStructElementIntegerValue(const MarshalType *element_list, uint32_t index, const void *struct_data,
                                 uint32_t *value);

// Request side. Returns bytes written, or negative on a table error, a null
// source, a var-array count without storage, or when the values would not
// fit `capacity`.
int Marshal(const MarshalType *type, const void *source, uint8_t *buffer, size_t capacity);
int MarshalArray(const MarshalType *const *type_list, const void *const *value_pointers, uint8_t *buffer,
                 size_t capacity);
int MarshalRequest(const RpcMarshalEntry *entry, uint8_t *buffer, size_t capacity, const void *const *value_pointers);

// Reply side. Returns bytes consumed, or negative (table error, truncated
// payload, bad discriminator, ...). Never reads past buffer + length.
// Demarshal writes into `destination` as it goes; a failure may leave it
// partly written (but owning no storage).
int Demarshal(int byte_order, const MarshalType *type, void *destination, const uint8_t *buffer, size_t length);
// All or nothing. A null destination takes its value off the wire and drops it.
int DemarshalArray(int byte_order, const MarshalType *const *type_list, void *const *value_pointers,
                   const uint8_t *buffer, size_t length);
// Reads the SaErrorT into value_pointers[0]; only when it is 0 (SA_OK) are
// the other reply values read into value_pointers[1], ...
int DemarshalReply(int byte_order, const RpcMarshalEntry *entry, const uint8_t *buffer, size_t length,
                   void *const *value_pointers);

// Frees the var-array storage that a successful Demarshal stored in `value`
// and resets those pointers to null. Safe on values holding null pointers.
void FreeDemarshalled(const MarshalType *type, void *value);
void FreeDemarshalledArray(const MarshalType *const *type_list, void *const *value_pointers);
// The same for every reply value of an RPC after its SaErrorT.
void FreeReply(const RpcMarshalEntry *entry, void *const *value_pointers);

// Whether a null-terminated list holds at most `count` types (logged when not).
bool MarshalListFits(const MarshalType *const *type_list, size_t count);

// Fixed-arity forms: 1 to 6 separate value pointers, collected into an array
// for the array form. A list longer than the pointers given is refused.
template <typename... Values>
int MarshalRequestValues(const RpcMarshalEntry *entry, uint8_t *buffer, size_t capacity, const Values *...values) {
  static_assert(sizeof...(values) >= 1 && sizeof...(values) <= 6, "1 to 6 values");
  const void *const pointers[] = {values...};
  if (entry != nullptr && !MarshalListFits(entry->request, sizeof...(values))) return -1;
  return MarshalRequest(entry, buffer, capacity, pointers);
}
template <typename... Values>
int DemarshalReplyValues(int byte_order, const RpcMarshalEntry *entry, const uint8_t *buffer, size_t length,
                         Values *...values) {
  static_assert(sizeof...(values) >= 1 && sizeof...(values) <= 6, "1 to 6 values");
  void *const pointers[] = {values...};
  if (entry != nullptr && !MarshalListFits(entry->reply, sizeof...(values))) return -1;
  return DemarshalReply(byte_order, entry, buffer, length, pointers);
}
