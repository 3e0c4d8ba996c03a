// The marshal engine: walks MarshalType records over in-memory values and
// payload bytes. See marshal.h for the guarantees on untrusted reply bytes.
#include "client/marshal.h"

#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "client/eal_log.h"

namespace {

size_t SimpleSize(uint32_t code) { return MarshalSimpleSize(code); }

// Largest in-memory value the staging of DemarshalArray accepts; far above
// any HPI record, it only stops a broken table from asking for gigabytes.
constexpr size_t kMaxStagedExtent = 1u << 20;

// Every failed check ends here, so that each one is logged once by its name.
bool Fail(const char *check) {
  eal_log(EAL_LOG_ERROR, "marshal: check failed: %s\n", check);
  return false;
}

struct Writer {
  uint8_t *out;
  size_t capacity;
  size_t used;
};

struct Reader {
  const uint8_t *in;
  size_t length;
  size_t used;
  bool big_endian;
};

const uint8_t *At(const void *base, size_t offset) { return static_cast<const uint8_t *>(base) + offset; }

const void *LoadPointer(const void *member) {
  const void *p;
  memcpy(&p, member, sizeof p);
  return p;
}

void StorePointer(void *member, void *p) { memcpy(member, &p, sizeof p); }

// The element record at `index`, or nullptr when the list ends before it.
const MarshalType *ElementAt(const MarshalType *element_list, uint32_t index) {
  for (uint32_t i = 0;; ++i) {
    if (element_list[i].code != MT_STRUCT_ELEMENT) return nullptr;
    if (i == index) return &element_list[i];
  }
}

// The union element whose discriminator value is `value`, or nullptr.
const MarshalType *FindUnionMember(const MarshalType *union_list, uint32_t value) {
  if (union_list == nullptr) return nullptr;
  for (const MarshalType *e = union_list; e->code == MT_UNION_ELEMENT; ++e) {
    if (e->operand1.number == value) return e->operand2.type;
  }
  return nullptr;
}

// Discriminator of a union member `index` of a struct, read from `data`.
// Returns the selected member type, or nullptr after logging the failure.
const MarshalType *SelectUnionMember(const MarshalType *elements, uint32_t index, const MarshalType *union_type,
                                     const void *data) {
  if (union_type->operand1.number >= index) return Fail("mod2_idx < i"), nullptr;
  uint32_t discriminator;
  if (GetStructElementIntegerValue(elements, union_type->operand1.number, data, &discriminator) < 0) return nullptr;
  const MarshalType *member = FindUnionMember(union_type->operand2.type, discriminator);
  if (member == nullptr) return Fail("elem2"), nullptr;
  return member;
}

// Count of a var-array member `index` of a struct, read from `data`.
bool VarArrayCount(const MarshalType *elements, uint32_t index, const MarshalType *var_array, const void *data,
                   uint32_t *count) {
  if (var_array->operand1.number >= index) return Fail("nelems2_idx < i");
  return GetStructElementIntegerValue(elements, var_array->operand1.number, data, count) == 0;
}

// ---------------------------------------------------------------- marshal

bool WriteValue(const MarshalType *type, const uint8_t *source, Writer &w);

// Little-endian whatever the host: the frame header announces little-endian.
bool WriteSimple(uint32_t code, const uint8_t *source, Writer &w) {
  const size_t size = SimpleSize(code);
  if (w.capacity - w.used < size) return Fail("output buffer too small");
  if constexpr (std::endian::native == std::endian::little) {
    memcpy(w.out + w.used, source, size);
  } else {
    uint64_t v = 0;
    switch (size) {
      case 1:
        v = source[0];
        break;
      case 2: {
        uint16_t x;
        memcpy(&x, source, 2);
        v = x;
        break;
      }
      case 4: {
        uint32_t x;
        memcpy(&x, source, 4);
        v = x;
        break;
      }
      default:
        memcpy(&v, source, 8);
        break;
    }
    for (size_t i = 0; i < size; ++i) w.out[w.used + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  w.used += size;
  return true;
}

// Byte arrays (text data, GUIDs, sensor buffers) are copied in one piece.
bool IsByteArray(const MarshalType *element, uint32_t element_size) {
  return element != nullptr && (element->code == MT_UINT8 || element->code == MT_INT8) && element_size == 1;
}

bool WriteElements(const MarshalType *element, uint32_t count, uint32_t element_size, const uint8_t *source,
                   Writer &w) {
  if (IsByteArray(element, element_size)) {
    if (w.capacity - w.used < count) return Fail("output buffer too small");
    if (count != 0) memcpy(w.out + w.used, source, count);  // an empty var-array may have no storage
    w.used += count;
    return true;
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (!WriteValue(element, source + static_cast<size_t>(i) * element_size, w)) return false;
  }
  return true;
}

bool WriteStruct(const MarshalType *elements, const uint8_t *source, Writer &w) {
  if (elements == nullptr) return Fail("elems");
  for (uint32_t i = 0; elements[i].code == MT_STRUCT_ELEMENT; ++i) {
    const MarshalType *member = elements[i].operand2.type;
    const uint8_t *field = source + elements[i].operand1.number;
    if (member == nullptr) return Fail("member type");
    if (member->code == MT_VAR_ARRAY) {
      uint32_t count;
      if (!VarArrayCount(elements, i, member, source, &count)) return false;
      const uint8_t *items = static_cast<const uint8_t *>(LoadPointer(field));
      if (count > 0 && items == nullptr) return Fail("var-array storage");
      if (!WriteElements(member->operand3.type, count, member->operand2.number, items, w)) return false;
    } else if (member->code == MT_UNION) {
      const MarshalType *selected = SelectUnionMember(elements, i, member, source);
      if (selected == nullptr || !WriteValue(selected, field, w)) return false;
    } else if (!WriteValue(member, field, w)) {
      return false;
    }
  }
  return true;
}

bool WriteValue(const MarshalType *type, const uint8_t *source, Writer &w) {
  if (type == nullptr) return Fail("type");
  switch (type->code) {
    case MT_VOID:
      return true;
    case MT_UINT8:
    case MT_UINT16:
    case MT_UINT32:
    case MT_UINT64:
    case MT_INT8:
    case MT_INT16:
    case MT_INT32:
    case MT_INT64:
    case MT_FLOAT32:
    case MT_FLOAT64:
      return WriteSimple(type->code, source, w);
    case MT_ARRAY:
      if (type->operand1.number == 0) return Fail("nelems > 0");
      return WriteElements(type->operand3.type, type->operand1.number, type->operand2.number, source, w);
    case MT_STRUCT:
      return WriteStruct(type->operand1.type, source, w);
    case MT_USER_DEFINED: {
      if (type->operand1.marshal == nullptr) return Fail("marshaller");
      const int n = type->operand1.marshal(type, source, w.out + w.used, w.capacity - w.used, type->operand3.data);
      if (n < 0 || static_cast<size_t>(n) > w.capacity - w.used) return Fail("marshaller result");
      w.used += static_cast<size_t>(n);
      return true;
    }
    case MT_VAR_ARRAY:
    case MT_UNION:
    case MT_UNION_ELEMENT:
    case MT_STRUCT_ELEMENT:
      return Fail("struct member outside a struct");
    default:
      return Fail("type code");
  }
}

// ---------------------------------------------------------------- demarshal

bool ReadValue(const MarshalType *type, uint8_t *destination, Reader &r);
void Release(const MarshalType *type, uint8_t *value);

bool ReadSimple(uint32_t code, uint8_t *destination, Reader &r) {
  const size_t size = SimpleSize(code);
  if (r.length - r.used < size) return Fail("payload truncated");
  const uint8_t *in = r.in + r.used;
  r.used += size;
  constexpr bool kHostBigEndian = std::endian::native == std::endian::big;
  if (r.big_endian == kHostBigEndian) {
    memcpy(destination, in, size);
    return true;
  }
  uint8_t reversed[8];
  for (size_t i = 0; i < size; ++i) reversed[i] = in[size - 1 - i];
  memcpy(destination, reversed, size);
  return true;
}

// Fewest wire bytes a value of `type` can take; bounds var-array counts.
size_t MinimumWireSize(const MarshalType *type) {
  if (type == nullptr) return 0;
  switch (type->code) {
    case MT_UINT8:
    case MT_UINT16:
    case MT_UINT32:
    case MT_UINT64:
    case MT_INT8:
    case MT_INT16:
    case MT_INT32:
    case MT_INT64:
    case MT_FLOAT32:
    case MT_FLOAT64:
      return SimpleSize(type->code);
    case MT_ARRAY: {
      const size_t element = MinimumWireSize(type->operand3.type);
      const size_t count = type->operand1.number;
      return element != 0 && count > SIZE_MAX / element ? SIZE_MAX : count * element;
    }
    case MT_STRUCT: {
      size_t total = 0;
      const MarshalType *elements = type->operand1.type;
      for (uint32_t i = 0; elements != nullptr && elements[i].code == MT_STRUCT_ELEMENT; ++i) {
        const MarshalType *member = elements[i].operand2.type;
        size_t size = 0;
        if (member != nullptr && member->code == MT_UNION) {
          size = SIZE_MAX;
          for (const MarshalType *e = member->operand2.type; e != nullptr && e->code == MT_UNION_ELEMENT; ++e) {
            const size_t candidate = MinimumWireSize(e->operand2.type);
            if (candidate < size) size = candidate;
          }
          if (size == SIZE_MAX) size = 0;
        } else if (member != nullptr && member->code != MT_VAR_ARRAY) {
          size = MinimumWireSize(member);
        }
        total = size > SIZE_MAX - total ? SIZE_MAX : total + size;
      }
      return total;
    }
    default:
      return 0;
  }
}

bool ReadElements(const MarshalType *element, uint32_t count, uint32_t element_size, uint8_t *destination, Reader &r) {
  if (IsByteArray(element, element_size)) {
    if (r.length - r.used < count) return Fail("payload truncated");
    if (count != 0) memcpy(destination, r.in + r.used, count);
    r.used += count;
    return true;
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (!ReadValue(element, destination + static_cast<size_t>(i) * element_size, r)) {
      for (uint32_t k = 0; k < i; ++k) Release(element, destination + static_cast<size_t>(k) * element_size);
      return false;
    }
  }
  return true;
}

bool ReadVarArray(const MarshalType *var_array, uint32_t count, uint8_t *field, Reader &r) {
  const MarshalType *element = var_array->operand3.type;
  const size_t element_size = var_array->operand2.number;
  // The count comes from the peer: refuse it unless the unread bytes can hold
  // that many elements, so the allocation below stays bounded by the payload.
  size_t minimum = MinimumWireSize(element);
  if (minimum == 0) minimum = 1;
  if (count > (r.length - r.used) / minimum) return Fail("var-array count exceeds payload");
  if (element_size != 0 && count > SIZE_MAX / element_size) return Fail("var-array size");
  // A zero-size block is still requested, so that the caller always gets storage to free.
  const size_t bytes = static_cast<size_t>(count) * element_size;
  uint8_t *items = static_cast<uint8_t *>(calloc(bytes == 0 ? 1 : bytes, 1));
  if (items == nullptr) return Fail("var-array allocation");
  if (!ReadElements(element, count, var_array->operand2.number, items, r)) {
    free(items);
    return false;
  }
  StorePointer(field, items);
  return true;
}

// Frees the var-array storage of members [0, end) of a demarshalled struct.
void ReleaseMembers(const MarshalType *elements, uint32_t end, uint8_t *value) {
  for (uint32_t i = 0; i < end; ++i) {
    const MarshalType *member = elements[i].operand2.type;
    uint8_t *field = value + elements[i].operand1.number;
    if (member == nullptr) continue;
    if (member->code == MT_VAR_ARRAY) {
      uint8_t *items = static_cast<uint8_t *>(const_cast<void *>(LoadPointer(field)));
      if (items == nullptr) continue;
      uint32_t count;
      if (member->operand1.number < i &&
          GetStructElementIntegerValue(elements, member->operand1.number, value, &count) == 0) {
        for (uint32_t k = 0; k < count; ++k)
          Release(member->operand3.type, items + static_cast<size_t>(k) * member->operand2.number);
      }
      free(items);
      StorePointer(field, nullptr);
    } else if (member->code == MT_UNION) {
      uint32_t discriminator;
      if (member->operand1.number < i &&
          GetStructElementIntegerValue(elements, member->operand1.number, value, &discriminator) == 0) {
        Release(FindUnionMember(member->operand2.type, discriminator), field);
      }
    } else {
      Release(member, field);
    }
  }
}

bool ReadStruct(const MarshalType *elements, uint8_t *destination, Reader &r) {
  if (elements == nullptr) return Fail("elems");
  for (uint32_t i = 0; elements[i].code == MT_STRUCT_ELEMENT; ++i) {
    const MarshalType *member = elements[i].operand2.type;
    uint8_t *field = destination + elements[i].operand1.number;
    bool ok;
    if (member == nullptr) {
      ok = Fail("member type");
    } else if (member->code == MT_VAR_ARRAY) {
      uint32_t count;
      ok = VarArrayCount(elements, i, member, destination, &count) && ReadVarArray(member, count, field, r);
    } else if (member->code == MT_UNION) {
      const MarshalType *selected = SelectUnionMember(elements, i, member, destination);
      ok = selected != nullptr && ReadValue(selected, field, r);
    } else {
      ok = ReadValue(member, field, r);
    }
    if (!ok) {
      ReleaseMembers(elements, i, destination);
      return false;
    }
  }
  return true;
}

bool ReadValue(const MarshalType *type, uint8_t *destination, Reader &r) {
  if (type == nullptr) return Fail("type");
  switch (type->code) {
    case MT_VOID:
      return true;
    case MT_UINT8:
    case MT_UINT16:
    case MT_UINT32:
    case MT_UINT64:
    case MT_INT8:
    case MT_INT16:
    case MT_INT32:
    case MT_INT64:
    case MT_FLOAT32:
    case MT_FLOAT64:
      return ReadSimple(type->code, destination, r);
    case MT_ARRAY:
      if (type->operand1.number == 0) return Fail("nelems > 0");
      return ReadElements(type->operand3.type, type->operand1.number, type->operand2.number, destination, r);
    case MT_STRUCT:
      return ReadStruct(type->operand1.type, destination, r);
    case MT_USER_DEFINED: {
      if (type->operand2.demarshal == nullptr) return Fail("demarshaller");
      const int n = type->operand2.demarshal(r.big_endian ? kMarshalBigEndian : kMarshalLittleEndian, type, destination,
                                             r.in + r.used, r.length - r.used, type->operand3.data);
      if (n < 0 || static_cast<size_t>(n) > r.length - r.used) return Fail("demarshaller result");
      r.used += static_cast<size_t>(n);
      return true;
    }
    case MT_VAR_ARRAY:
    case MT_UNION:
    case MT_UNION_ELEMENT:
    case MT_STRUCT_ELEMENT:
      return Fail("struct member outside a struct");
    default:
      return Fail("type code");
  }
}

// Does a value of this type own var-array storage once demarshalled?
bool MayOwnStorage(const MarshalType *type) {
  return type != nullptr && (type->code == MT_STRUCT || (type->code == MT_ARRAY && MayOwnStorage(type->operand3.type)));
}

void Release(const MarshalType *type, uint8_t *value) {
  if (!MayOwnStorage(type)) return;
  if (type->code == MT_ARRAY) {
    for (uint32_t i = 0; i < type->operand1.number; ++i)
      Release(type->operand3.type, value + static_cast<size_t>(i) * type->operand2.number);
  } else if (type->operand1.type != nullptr) {
    const MarshalType *elements = type->operand1.type;
    uint32_t count = 0;
    while (elements[count].code == MT_STRUCT_ELEMENT) ++count;
    ReleaseMembers(elements, count, value);
  }
}

// The memory a value of `type` spans, when known and reasonable to stage.
bool MemoryExtent(const MarshalType *type, size_t *extent) {
  *extent = MarshalMemoryExtent(type);
  return *extent <= kMaxStagedExtent;
}

// Results are ints: never let a byte count overflow one.
size_t ClampToInt(size_t n) { return n > INT_MAX ? INT_MAX : n; }

// Reply lists are at most 16 values (the reply slots of an RPC call); this
// leaves room for direct callers.
constexpr size_t kMaxListValues = 32;

size_t Aligned(size_t n) {
  constexpr size_t kAlign = alignof(std::max_align_t);
  return (n + kAlign - 1) / kAlign * kAlign;
}

}  // namespace

bool IsSimpleType(uint32_t code) { return IsSimpleCode(code); }

int GetStructElementIntegerValue(const MarshalType *element_list, uint32_t index, const void *struct_data,
                                 uint32_t *value) {
  if (element_list == nullptr) return Fail("elems"), -1;
  const MarshalType *element = ElementAt(element_list, index);
  if (element == nullptr || element->operand2.type == nullptr) return Fail("integer member"), -1;
  const uint8_t *p = At(struct_data, element->operand1.number);
  switch (element->operand2.type->code) {
    case MT_UINT8:
    case MT_INT8:
      *value = p[0];
      return 0;
    case MT_UINT16: {
      uint16_t v;
      memcpy(&v, p, 2);
      *value = v;
      return 0;
    }
    case MT_INT16: {
      int16_t v;
      memcpy(&v, p, 2);
      *value = static_cast<uint32_t>(static_cast<int32_t>(v));
      return 0;
    }
    case MT_UINT32:
    case MT_INT32:
      memcpy(value, p, 4);
      return 0;
    case MT_UINT64:
    case MT_INT64: {
      uint64_t v;
      memcpy(&v, p, 8);
      *value = static_cast<uint32_t>(v);
      return 0;
    }
    default:
      return Fail("integer member"), -1;
  }
}

int Marshal(const MarshalType *type, const void *source, uint8_t *buffer, size_t capacity) {
  if (source == nullptr && !(type != nullptr && type->code == MT_VOID)) return Fail("source"), -1;
  if (buffer == nullptr && capacity != 0) return Fail("buffer"), -1;
  Writer w{buffer, ClampToInt(capacity), 0};
  if (!WriteValue(type, static_cast<const uint8_t *>(source), w)) return -1;
  return static_cast<int>(w.used);
}

int MarshalArray(const MarshalType *const *type_list, const void *const *value_pointers, uint8_t *buffer,
                 size_t capacity) {
  if (type_list == nullptr) return Fail("type list"), -1;
  if (buffer == nullptr && capacity != 0) return Fail("buffer"), -1;
  Writer w{buffer, ClampToInt(capacity), 0};
  for (size_t i = 0; type_list[i] != nullptr; ++i) {
    const void *source = value_pointers == nullptr ? nullptr : value_pointers[i];
    if (source == nullptr && type_list[i]->code != MT_VOID) return Fail("source"), -1;
    if (!WriteValue(type_list[i], static_cast<const uint8_t *>(source), w)) return -1;
  }
  return static_cast<int>(w.used);
}

int MarshalRequest(const RpcMarshalEntry *entry, uint8_t *buffer, size_t capacity, const void *const *value_pointers) {
  if (entry == nullptr) return Fail("entry"), -1;
  return MarshalArray(entry->request, value_pointers, buffer, capacity);
}

int Demarshal(int byte_order, const MarshalType *type, void *destination, const uint8_t *buffer, size_t length) {
  if (destination == nullptr && !(type != nullptr && type->code == MT_VOID)) return Fail("destination"), -1;
  if (buffer == nullptr && length != 0) return Fail("buffer"), -1;
  Reader r{buffer, ClampToInt(length), 0, byte_order != kMarshalLittleEndian};
  if (!ReadValue(type, static_cast<uint8_t *>(destination), r)) return -1;
  return static_cast<int>(r.used);
}

// All or nothing: the values are demarshalled into one zero-filled staging
// block and copied to the destinations only when the whole list succeeded.
// A null destination takes its value from the wire and drops it.
int DemarshalArray(int byte_order, const MarshalType *const *type_list, void *const *value_pointers,
                   const uint8_t *buffer, size_t length) {
  if (type_list == nullptr) return Fail("type list"), -1;
  if (buffer == nullptr && length != 0) return Fail("buffer"), -1;
  Reader r{buffer, ClampToInt(length), 0, byte_order != kMarshalLittleEndian};
  auto destination = [&](size_t i) { return value_pointers == nullptr ? nullptr : value_pointers[i]; };

  size_t extents[kMaxListValues];
  size_t count = 0, staging_size = 0;
  bool staged = true;
  for (; type_list[count] != nullptr; ++count) {
    if (count == kMaxListValues) return Fail("type list length"), -1;
    if (staged && MemoryExtent(type_list[count], &extents[count])) {
      staging_size += Aligned(extents[count]);
    } else {
      staged = false;
    }
  }

  if (!staged) {
    // Values whose size is not known (user-defined codecs) cannot be staged:
    // demarshal in place; what was allocated is still freed on failure.
    size_t i = 0;
    for (; i < count; ++i) {
      if (destination(i) == nullptr && type_list[i]->code != MT_VOID) {
        Fail("destination");
        break;
      }
      if (!ReadValue(type_list[i], static_cast<uint8_t *>(destination(i)), r)) break;
    }
    if (i == count) return static_cast<int>(r.used);
    for (size_t k = 0; k < i; ++k) Release(type_list[k], static_cast<uint8_t *>(destination(k)));
    return -1;
  }

  uint8_t *staging = static_cast<uint8_t *>(calloc(staging_size == 0 ? 1 : staging_size, 1));
  if (staging == nullptr) return Fail("staging allocation"), -1;
  size_t done = 0;
  for (size_t offset = 0; done < count; offset += Aligned(extents[done]), ++done) {
    if (!ReadValue(type_list[done], staging + offset, r)) break;
  }
  for (size_t i = 0, offset = 0; i < done; offset += Aligned(extents[i]), ++i) {
    if (done == count && destination(i) != nullptr) {
      memcpy(destination(i), staging + offset, extents[i]);  // var-array storage now belongs to the caller
    } else {
      Release(type_list[i], staging + offset);
    }
  }
  free(staging);
  return done == count ? static_cast<int>(r.used) : -1;
}

int DemarshalReply(int byte_order, const RpcMarshalEntry *entry, const uint8_t *buffer, size_t length,
                   void *const *value_pointers) {
  if (entry == nullptr || entry->reply == nullptr || entry->reply[0] == nullptr) return Fail("entry"), -1;
  const uint32_t first = entry->reply[0]->code;
  if (first != MT_INT32 && first != MT_UINT32) return Fail("reply begins with SaErrorT"), -1;
  int32_t error;
  if (Demarshal(byte_order, entry->reply[0], &error, buffer, length) != 4) return -1;
  if (value_pointers != nullptr && value_pointers[0] != nullptr) memcpy(value_pointers[0], &error, 4);
  if (error != 0) return 4;  // the values after a failed call are neither sent nor read
  return DemarshalArray(byte_order, entry->reply, value_pointers, buffer, length);
}

void FreeDemarshalled(const MarshalType *type, void *value) {
  if (value != nullptr) Release(type, static_cast<uint8_t *>(value));
}

void FreeDemarshalledArray(const MarshalType *const *type_list, void *const *value_pointers) {
  if (type_list == nullptr || value_pointers == nullptr) return;
  for (size_t i = 0; type_list[i] != nullptr; ++i) FreeDemarshalled(type_list[i], value_pointers[i]);
}

void FreeReply(const RpcMarshalEntry *entry, void *const *value_pointers) {
  if (entry == nullptr || entry->reply == nullptr || value_pointers == nullptr) return;
  FreeDemarshalledArray(entry->reply, value_pointers);
}

// The fixed-arity forms pass arrays of N pointers: a longer list would read past them.
bool MarshalListFits(const MarshalType *const *type_list, size_t count) {
  if (type_list == nullptr) return true;  // refused by the array form
  size_t length = 0;
  while (type_list[length] != nullptr) ++length;
  return length <= count || Fail("value count");
}
