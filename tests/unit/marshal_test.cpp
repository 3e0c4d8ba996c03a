// The marshal engine on small records of its own: widths and byte order,
// structs, unions, var-arrays, user-defined codecs, table errors, and the
// bounds kept against untrusted reply bytes.
#include "client/marshal.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/eal_log_capture.h"
#include "tests/unit/wire_builder.h"

namespace {

using kvnc::test::EalLogCapture;
using kvnc::test::Wire;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kSentinel = 0xA5;

// Marshals into a buffer of exactly `capacity` bytes followed by a sentinel.
Bytes MarshalChecked(const MarshalType *type, const void *source, size_t capacity, int *result) {
  Bytes buffer(capacity + 1, 0xEE);
  buffer[capacity] = kSentinel;
  *result = Marshal(type, source, buffer.data(), capacity);
  EXPECT_EQ(buffer[capacity], kSentinel) << "wrote past the output buffer";
  buffer.resize(*result > 0 ? static_cast<size_t>(*result) : 0);
  return buffer;
}

Bytes MarshalOk(const MarshalType *type, const void *source, size_t capacity = 4096) {
  int result;
  Bytes out = MarshalChecked(type, source, capacity, &result);
  EXPECT_GE(result, 0);
  return out;
}

// ---- test records --------------------------------------------------------

struct Inner {
  uint8_t a;
  uint32_t b;
};
const MarshalType kInnerElements[] = {
    MarshalStructElement(offsetof(Inner, a), &kMarshalUint8),
    MarshalStructElement(offsetof(Inner, b), &kMarshalUint32),
    MarshalEnd(),
};
const MarshalType kInner = MarshalStructType(kInnerElements);

struct Tagged {
  uint8_t flag;
  uint32_t kind;
  union {
    int64_t i;
    double d;
    uint8_t buffer[4];
  } value;
};
const MarshalType kBuffer4 = MarshalArrayType(4, 1, &kMarshalUint8);
const MarshalType kTaggedUnionElements[] = {
    MarshalUnionElement(0, &kMarshalInt64),
    MarshalUnionElement(2, &kMarshalFloat64),
    MarshalUnionElement(3, &kBuffer4),
    MarshalEnd(),
};
const MarshalType kTaggedUnion = MarshalUnionType(1, kTaggedUnionElements);
const MarshalType kTaggedElements[] = {
    MarshalStructElement(offsetof(Tagged, flag), &kMarshalUint8),
    MarshalStructElement(offsetof(Tagged, kind), &kMarshalUint32),
    MarshalStructElement(offsetof(Tagged, value), &kTaggedUnion),
    MarshalEnd(),
};
const MarshalType kTagged = MarshalStructType(kTaggedElements);

struct Counted {
  uint8_t count;
  uint32_t *values;
};
const MarshalType kCountedValues = MarshalVarArrayType(0, sizeof(uint32_t), &kMarshalUint32);
const MarshalType kCountedElements[] = {
    MarshalStructElement(offsetof(Counted, count), &kMarshalUint8),
    MarshalStructElement(offsetof(Counted, values), &kCountedValues),
    MarshalEnd(),
};
const MarshalType kCounted = MarshalStructType(kCountedElements);

// Two Counted in an array, to see storage of earlier elements released.
const MarshalType kCountedPair = MarshalArrayType(2, sizeof(Counted), &kCounted);

// ---- widths and byte order -----------------------------------------------

TEST(MarshalEngine, SimpleValuesHaveTheirWidthAndGoLittleEndian) {
  const uint8_t u8 = 0x81;
  const uint16_t u16 = 0x1234;
  const uint32_t u32 = 0x89ABCDEF;
  const uint64_t u64 = 0x0102030405060708;
  const int8_t i8 = -2;
  const int16_t i16 = -2;
  const int32_t i32 = -1011;
  const int64_t i64 = -2;
  const float f32 = 1.5f;    // 0x3FC00000
  const double f64 = -2.25;  // 0xC002000000000000
  EXPECT_EQ(MarshalOk(&kMarshalUint8, &u8), (Bytes{0x81}));
  EXPECT_EQ(MarshalOk(&kMarshalUint16, &u16), (Bytes{0x34, 0x12}));
  EXPECT_EQ(MarshalOk(&kMarshalUint32, &u32), (Bytes{0xEF, 0xCD, 0xAB, 0x89}));
  EXPECT_EQ(MarshalOk(&kMarshalUint64, &u64), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(MarshalOk(&kMarshalInt8, &i8), (Bytes{0xFE}));
  EXPECT_EQ(MarshalOk(&kMarshalInt16, &i16), (Bytes{0xFE, 0xFF}));
  EXPECT_EQ(MarshalOk(&kMarshalInt32, &i32), (Bytes{0x0D, 0xFC, 0xFF, 0xFF}));
  EXPECT_EQ(MarshalOk(&kMarshalInt64, &i64), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(MarshalOk(&kMarshalFloat32, &f32), (Bytes{0x00, 0x00, 0xC0, 0x3F}));
  EXPECT_EQ(MarshalOk(&kMarshalFloat64, &f64), (Bytes{0, 0, 0, 0, 0, 0, 0x02, 0xC0}));
  EXPECT_EQ(MarshalOk(&kMarshalVoid, &u8), Bytes{});

  for (uint32_t code = 0; code <= 20; ++code) EXPECT_EQ(IsSimpleType(code), code >= 2 && code <= 11) << code;
}

TEST(MarshalEngine, BigEndianRepliesAreReversedLittleEndianTakenAsTheyAre) {
  int32_t i32 = 0;
  const Bytes one{0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalInt32, &i32, one.data(), one.size()), 4);
  EXPECT_EQ(i32, 1);
  EXPECT_EQ(Demarshal(kMarshalLittleEndian, &kMarshalInt32, &i32, one.data(), one.size()), 4);
  EXPECT_EQ(i32, 0x01000000);

  uint16_t u16 = 0;
  const Bytes two{0x12, 0x34};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalUint16, &u16, two.data(), two.size()), 2);
  EXPECT_EQ(u16, 0x1234);

  int16_t i16 = 0;
  const Bytes minus_two{0xFF, 0xFE};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalInt16, &i16, minus_two.data(), 2), 2);
  EXPECT_EQ(i16, -2);

  uint64_t u64 = 0;
  const Bytes eight{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalUint64, &u64, eight.data(), 8), 8);
  EXPECT_EQ(u64, 0x0102030405060708u);

  double f64 = 0;
  const Bytes minus_two_and_a_quarter{0xC0, 0x02, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalFloat64, &f64, minus_two_and_a_quarter.data(), 8), 8);
  EXPECT_EQ(f64, -2.25);

  float f32 = 0;
  const Bytes one_and_a_half{0x3F, 0xC0, 0x00, 0x00};
  EXPECT_EQ(Demarshal(kMarshalBigEndian, &kMarshalFloat32, &f32, one_and_a_half.data(), 4), 4);
  EXPECT_EQ(f32, 1.5f);
}

TEST(MarshalEngine, GetStructElementIntegerValueFollowsTheWidthRules) {
  struct AllInts {
    uint8_t u8;
    int8_t i8;
    uint16_t u16;
    int16_t i16;
    uint32_t u32;
    int32_t i32;
    uint64_t u64;
    int64_t i64;
    double f64;
  } v{0xF0, -1, 0xFFFE, -2, 0x80000001u, -3, 0x1122334455667788u, -4, 1.0};
  const MarshalType elements[] = {
      MarshalStructElement(offsetof(AllInts, u8), &kMarshalUint8),
      MarshalStructElement(offsetof(AllInts, i8), &kMarshalInt8),
      MarshalStructElement(offsetof(AllInts, u16), &kMarshalUint16),
      MarshalStructElement(offsetof(AllInts, i16), &kMarshalInt16),
      MarshalStructElement(offsetof(AllInts, u32), &kMarshalUint32),
      MarshalStructElement(offsetof(AllInts, i32), &kMarshalInt32),
      MarshalStructElement(offsetof(AllInts, u64), &kMarshalUint64),
      MarshalStructElement(offsetof(AllInts, i64), &kMarshalInt64),
      MarshalStructElement(offsetof(AllInts, f64), &kMarshalFloat64),
      MarshalEnd(),
  };
  const uint32_t expected[] = {0xF0, 0xFF, 0xFFFE, 0xFFFFFFFE, 0x80000001u, 0xFFFFFFFD, 0x55667788, 0xFFFFFFFC};
  for (uint32_t i = 0; i < 8; ++i) {
    uint32_t value = 0;
    EXPECT_EQ(GetStructElementIntegerValue(elements, i, &v, &value), 0) << i;
    EXPECT_EQ(value, expected[i]) << i;
  }
  uint32_t value = 7;
  EXPECT_LT(GetStructElementIntegerValue(elements, 8, &v, &value), 0);  // a Float64
  EXPECT_LT(GetStructElementIntegerValue(elements, 9, &v, &value), 0);  // past the list
  EXPECT_EQ(value, 7u);
}

// ---- structs, unions, var-arrays -----------------------------------------

TEST(MarshalEngine, UnionCarriesTheMemberItsDiscriminatorSelectsOrFails) {
  Tagged known{};
  known.kind = 3;
  memcpy(known.value.buffer, "\x01\x02\x03\x04", 4);
  EXPECT_EQ(MarshalOk(&kTagged, &known), (Bytes{0, 3, 0, 0, 0, 1, 2, 3, 4}));

  Tagged t{};
  t.kind = 7;  // no such member
  {
    EalLogCapture log;
    int result;
    MarshalChecked(&kTagged, &t, 64, &result);
    EXPECT_LT(result, 0);
    EXPECT_NE(log.Take().find("elem2"), std::string::npos);
  }
  Tagged back;
  memset(&back, 0x5A, sizeof back);
  const Bytes wire = Wire().U8(1).U32(7).U64(0).bytes();
  EXPECT_LT(Demarshal(kMarshalLittleEndian, &kTagged, &back, wire.data(), wire.size()), 0);
  EXPECT_EQ(back.value.buffer[0], 0x5A) << "no member may be written for an unknown discriminator";
}

TEST(MarshalEngine, VarArrayTakesItsCountFromAnEarlierMember) {
  Counted broken{1, nullptr};
  int result;
  MarshalChecked(&kCounted, &broken, 64, &result);
  EXPECT_LT(result, 0) << "a count without storage cannot be marshalled";

  Counted out{};
  const Bytes wire{2, 0, 0, 0, 9, 0, 0, 0, 10};
  ASSERT_EQ(Demarshal(kMarshalBigEndian, &kCounted, &out, wire.data(), wire.size()), 9);
  EXPECT_EQ(out.values[1], 10u);
  FreeDemarshalled(&kCounted, &out);
  EXPECT_EQ(out.values, nullptr);

  const Bytes empty{0};
  ASSERT_EQ(Demarshal(kMarshalLittleEndian, &kCounted, &out, empty.data(), empty.size()), 1);
  EXPECT_NE(out.values, nullptr) << "count 0 still gets a block of its own";
  FreeDemarshalled(&kCounted, &out);
}

TEST(MarshalEngine, VarArrayCountBeyondThePayloadFailsBeforeAllocating) {
  Counted out{};
  uint32_t marker = 0;
  out.values = &marker;
  // 255 values announced, one present: refused on the count itself, before
  // any storage is requested.
  const Bytes wire{0xFF, 1, 0, 0, 0};
  EalLogCapture log;
  EXPECT_LT(Demarshal(kMarshalLittleEndian, &kCounted, &out, wire.data(), wire.size()), 0);
  EXPECT_NE(log.Take().find("var-array count exceeds payload"), std::string::npos);
  EXPECT_EQ(out.values, &marker);

  // Exactly enough bytes for the count passes.
  const Bytes three{3, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
  ASSERT_EQ(Demarshal(kMarshalLittleEndian, &kCounted, &out, three.data(), three.size()), 13);
  EXPECT_EQ(out.values[2], 3u);
  FreeDemarshalled(&kCounted, &out);
}

struct CountedThenMore {
  uint8_t count;
  uint32_t *values;
  uint32_t more;
};
const MarshalType kCountedThenMoreValues = MarshalVarArrayType(0, sizeof(uint32_t), &kMarshalUint32);
const MarshalType kCountedThenMoreElements[] = {
    MarshalStructElement(offsetof(CountedThenMore, count), &kMarshalUint8),
    MarshalStructElement(offsetof(CountedThenMore, values), &kCountedThenMoreValues),
    MarshalStructElement(offsetof(CountedThenMore, more), &kMarshalUint32),
    MarshalEnd(),
};
const MarshalType kCountedThenMore = MarshalStructType(kCountedThenMoreElements);

TEST(MarshalEngine, FailureAfterAnAllocationReleasesIt) {
  // The var-array member is whole, the member after it is cut short: the
  // block must be freed (checked by the sanitizer build) and its pointer reset.
  CountedThenMore value{};
  const Bytes cut{1, 7, 0, 0, 0, 8, 0};
  EXPECT_LT(Demarshal(kMarshalLittleEndian, &kCountedThenMore, &value, cut.data(), cut.size()), 0);
  EXPECT_EQ(value.values, nullptr);

  // Likewise for an earlier element of an array.
  Counted pair[2] = {};
  const Bytes wire{1, 7, 0, 0, 0, 2, 8, 0, 0, 0, 9, 0};
  EXPECT_LT(Demarshal(kMarshalLittleEndian, &kCountedPair, pair, wire.data(), wire.size()), 0);
  EXPECT_EQ(pair[0].values, nullptr);
}

// ---- user-defined records ------------------------------------------------

// A 24-bit number: three bytes on the wire, a uint32_t in memory.
int Marshal24(const MarshalType *, const void *source, uint8_t *buffer, size_t capacity, const void *user_data) {
  const unsigned width = *static_cast<const unsigned *>(user_data);
  if (capacity < width) return -1;
  uint32_t v;
  memcpy(&v, source, 4);
  for (unsigned i = 0; i < width; ++i) buffer[i] = static_cast<uint8_t>(v >> (8 * i));
  return static_cast<int>(width);
}
int Demarshal24(int, const MarshalType *, void *destination, const uint8_t *buffer, size_t length,
                const void *user_data) {
  const unsigned width = *static_cast<const unsigned *>(user_data);
  if (length < width) return -1;
  uint32_t v = 0;
  for (unsigned i = 0; i < width; ++i) v |= static_cast<uint32_t>(buffer[i]) << (8 * i);
  memcpy(destination, &v, 4);
  return static_cast<int>(width);
}
const unsigned kWidth24 = 3;
const MarshalType kUint24 = MarshalUserDefined(Marshal24, Demarshal24, &kWidth24);

TEST(MarshalEngine, UserDefinedRecordsUseTheirOwnCodecs) {
  struct WithUser {
    uint8_t tag;
    uint32_t value;
  } in{9, 0x00ABCDEF}, out{};
  const MarshalType elements[] = {
      MarshalStructElement(offsetof(WithUser, tag), &kMarshalUint8),
      MarshalStructElement(offsetof(WithUser, value), &kUint24),
      MarshalEnd(),
  };
  const MarshalType with_user = MarshalStructType(elements);
  EXPECT_EQ(MarshalOk(&with_user, &in), (Bytes{9, 0xEF, 0xCD, 0xAB}));
  const Bytes wire{9, 0xEF, 0xCD, 0xAB};
  EXPECT_EQ(Demarshal(kMarshalLittleEndian, &with_user, &out, wire.data(), wire.size()), 4);
  EXPECT_EQ(out.value, 0x00ABCDEFu);

  // Unstaged path of the array form: the user codec's size is unknown.
  const MarshalType *const list[] = {&kMarshalUint8, &with_user, nullptr};
  uint8_t first = 0;
  WithUser second{};
  void *const pointers[] = {&first, &second};
  const Bytes two{4, 9, 1, 2, 3};
  EXPECT_EQ(DemarshalArray(kMarshalLittleEndian, list, pointers, two.data(), two.size()), 5);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(second.value, 0x030201u);
}

// ---- table errors ----------------------------------------------------------

int NoMarshal(const MarshalType *, const void *, uint8_t *, size_t, const void *) { return 0; }
int NoDemarshal(int, const MarshalType *, void *, const uint8_t *, size_t, const void *) { return 0; }

struct TwoWords {
  uint32_t first;
  uint32_t second;
};
const MarshalType kZeroArray = MarshalArrayType(0, 4, &kMarshalUint32);
const MarshalType kNoElements = MarshalStructType(nullptr);
const MarshalType kLateUnionElements[] = {MarshalUnionElement(0, &kMarshalUint32), MarshalEnd()};
const MarshalType kLateUnion = MarshalUnionType(1, kLateUnionElements);  // its own index
const MarshalType kUnionSelfIndexed[] = {
    MarshalStructElement(offsetof(TwoWords, first), &kMarshalUint32),
    MarshalStructElement(offsetof(TwoWords, second), &kLateUnion),
    MarshalEnd(),
};
const MarshalType kLateVar = MarshalVarArrayType(1, 4, &kMarshalUint32);
const MarshalType kVarSelfIndexed[] = {
    MarshalStructElement(offsetof(TwoWords, first), &kMarshalUint32),
    MarshalStructElement(offsetof(TwoWords, second), &kLateVar),
    MarshalEnd(),
};
const MarshalType kFloatCountVar = MarshalVarArrayType(0, 4, &kMarshalUint32);
const MarshalType kFloatCounted[] = {
    MarshalStructElement(0, &kMarshalFloat32),
    MarshalStructElement(4, &kFloatCountVar),
    MarshalEnd(),
};
const MarshalType kUnionIndexed = MarshalStructType(kUnionSelfIndexed);
const MarshalType kVarIndexed = MarshalStructType(kVarSelfIndexed);
const MarshalType kFloatCount = MarshalStructType(kFloatCounted);
const MarshalType kNoMarshaller = MarshalUserDefined(nullptr, NoDemarshal, nullptr);
const MarshalType kNoDemarshaller = MarshalUserDefined(NoMarshal, nullptr, nullptr);
const MarshalType kBadCode = {static_cast<MarshalTypeCode>(19), {.number = 0}, {.number = 0}, {.number = 0}};
const MarshalType kUnknownCode = MarshalSimple(MT_UNKNOWN);

TEST(MarshalEngine, TableErrorsFailOnBothSidesAndNameTheirCheck) {
  struct Case {
    const char *what;
    const MarshalType *type;
    const char *marshal_check;  // expected in the log, or nullptr
    const char *demarshal_check;
  } cases[] = {
      {"array of 0 elements", &kZeroArray, "nelems > 0", "nelems > 0"},
      {"struct without element list", &kNoElements, "elems", "elems"},
      {"union indexed at itself", &kUnionIndexed, "mod2_idx < i", "mod2_idx < i"},
      {"var-array indexed at itself", &kVarIndexed, "nelems2_idx < i", "nelems2_idx < i"},
      {"user-defined without marshaller", &kNoMarshaller, "marshaller", nullptr},
      {"user-defined without demarshaller", &kNoDemarshaller, nullptr, "demarshaller"},
      {"code 19", &kBadCode, nullptr, nullptr},
      {"code 0", &kUnknownCode, nullptr, nullptr},
      {"union outside a struct", &kLateUnion, nullptr, nullptr},
      {"union element outside a struct", &kLateUnionElements[0], nullptr, nullptr},
      {"var-array outside a struct", &kLateVar, nullptr, nullptr},
      {"count held by a float", &kFloatCount, nullptr, nullptr},
  };
  const Bytes wire(64, 0);
  for (const Case &c : cases) {
    uint64_t value[8] = {};
    EalLogCapture log;
    int result;
    MarshalChecked(c.type, value, 64, &result);
    const bool marshal_failed = result < 0;
    const int demarshalled = Demarshal(kMarshalLittleEndian, c.type, value, wire.data(), wire.size());
    std::string lines = log.Take();
    std::erase(lines, '\r');
    if (c.type != &kNoDemarshaller) {
      EXPECT_TRUE(marshal_failed) << c.what;
    }
    if (c.type != &kNoMarshaller) {
      EXPECT_LT(demarshalled, 0) << c.what;
    }
    for (const char *check : {c.marshal_check, c.demarshal_check}) {
      if (check == nullptr) continue;
      EXPECT_NE(lines.find(std::string("check failed: ") + check + "\n"), std::string::npos) << c.what << ": " << lines;
    }
  }
}

// ---- bounds ----------------------------------------------------------------

TEST(MarshalEngine, OutputNeverExceedsTheCapacity) {
  const Inner in{1, 2};
  int result;
  MarshalChecked(&kInner, &in, 4, &result);  // 5 bytes needed
  EXPECT_LT(result, 0);
  MarshalChecked(&kInner, &in, 5, &result);
  EXPECT_EQ(result, 5);

  uint32_t values[] = {1, 2, 3};
  Counted three{3, values};
  MarshalChecked(&kCounted, &three, 12, &result);  // 13 needed
  EXPECT_LT(result, 0);
}

// ---- array forms -----------------------------------------------------------

const MarshalType *const kThreeValues[] = {&kMarshalInt32, &kCounted, &kInner, nullptr};

TEST(MarshalArrayForms, ValuesFollowEachOtherInListOrder) {
  const int32_t error = 0;
  uint32_t values[] = {6};
  const Counted counted{1, values};
  const Inner inner{3, 4};
  const void *const pointers[] = {&error, &counted, &inner};
  uint8_t buffer[15];
  buffer[14] = kSentinel;
  ASSERT_EQ(MarshalArray(kThreeValues, pointers, buffer, 14), 14);
  EXPECT_EQ(Bytes(buffer, buffer + 14), (Bytes{0, 0, 0, 0, 1, 6, 0, 0, 0, 3, 4, 0, 0, 0}));
  EXPECT_EQ(buffer[14], kSentinel);

  const MarshalType *const empty[] = {nullptr};
  EXPECT_EQ(MarshalArray(empty, nullptr, buffer, 0), 0);

  const void *const with_null[] = {&error, nullptr, &inner};
  EXPECT_LT(MarshalArray(kThreeValues, with_null, buffer, 14), 0) << "a null source is refused, not read";
}

TEST(MarshalArrayForms, AFailedListLeavesEveryDestinationAsItWas) {
  int32_t error = 77;
  Counted counted{9, nullptr};
  Inner inner{1, 1};
  void *const pointers[] = {&error, &counted, &inner};
  // Int32 and the Counted are whole; the Inner lacks its last byte.
  const Bytes wire{0, 0, 0, 0, 2, 1, 0, 0, 0, 2, 0, 0, 0, 3, 4, 0, 0};
  EXPECT_LT(DemarshalArray(kMarshalLittleEndian, kThreeValues, pointers, wire.data(), wire.size()), 0);
  EXPECT_EQ(error, 77);
  EXPECT_EQ(counted.count, 9);
  EXPECT_EQ(counted.values, nullptr);
  EXPECT_EQ(inner.b, 1u);

  // The whole payload is accepted and fills all three.
  Bytes whole = wire;
  whole.push_back(0);
  ASSERT_EQ(DemarshalArray(kMarshalLittleEndian, kThreeValues, pointers, whole.data(), whole.size()), 18);
  EXPECT_EQ(error, 0);
  ASSERT_EQ(counted.count, 2);
  EXPECT_EQ(counted.values[1], 2u);
  EXPECT_EQ(inner.a, 3);
  EXPECT_EQ(inner.b, 4u);
  FreeDemarshalledArray(kThreeValues, pointers);
}

TEST(MarshalArrayForms, ANullDestinationConsumesItsValueAndKeepsNothing) {
  int32_t error = 1;
  Inner inner{};
  void *const pointers[] = {&error, nullptr, &inner};
  const Bytes wire{0, 0, 0, 0, 2, 1, 0, 0, 0, 2, 0, 0, 0, 3, 4, 0, 0, 0};
  EXPECT_EQ(DemarshalArray(kMarshalLittleEndian, kThreeValues, pointers, wire.data(), wire.size()), 18);
  EXPECT_EQ(inner.b, 4u);
}

const MarshalType *const kInnerReply[] = {&kMarshalInt32, &kInner, nullptr};
const RpcMarshalEntry kInnerEntry = {9999, kThreeValues, kInnerReply, "test"};

TEST(MarshalArrayForms, DemarshalReplyReadsValuesOnlyAfterSaOk) {
  int32_t error = 5;
  Inner inner{0x11, 0x22};
  void *const pointers[] = {&error, &inner};
  const Bytes failed{0x0D, 0xFC, 0xFF, 0xFF};  // -1011, nothing after it
  EXPECT_EQ(DemarshalReply(kMarshalLittleEndian, &kInnerEntry, failed.data(), failed.size(), pointers), 4);
  EXPECT_EQ(error, -1011);
  EXPECT_EQ(inner.a, 0x11);
  EXPECT_EQ(inner.b, 0x22u);

  EXPECT_LT(DemarshalReply(kMarshalLittleEndian, &kInnerEntry, failed.data(), 3, pointers), 0);

  const Bytes ok = Wire(true).I32(0).U8(1).U32(0x01020304).bytes();
  EXPECT_EQ(DemarshalReplyValues(kMarshalBigEndian, &kInnerEntry, ok.data(), ok.size(), &error, &inner), 9);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(inner.b, 0x01020304u);

  // Fixed-arity forms refuse lists longer than their pointers.
  uint8_t buffer[64];
  EXPECT_LT(MarshalRequestValues(&kInnerEntry, buffer, sizeof buffer, &error, &inner), 0);
  EXPECT_LT(DemarshalReplyValues(kMarshalLittleEndian, &kInnerEntry, ok.data(), ok.size(), &error), 0);
}

}  // namespace
