#include "api/monitor/device_tree.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <istream>
#include <string>
#include <streambuf>

#include "api/events/id_walk.h"
#include "client/files.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// ---- tree files ----------------------------------------------------------------

constexpr SaHpiResourceIdT kEveryResource = 0xFFFFFFFF;
constexpr SaHpiRdrTypeT kEveryRdrType = 0;
constexpr const char *kCannotCreateTree = "Can't create tmpfile to load device's tree.";
constexpr const char *kCannotCreateUpdate = "Can't create tmpfile to update resource.";
constexpr const char *kCannotReadTree = "Can't read the device's tree file.";

struct TreeRequest {
  const char *file_template;
  bool one_resource;  // the resource is the request's "ID"; otherwise every resource
  SaHpiRdrTypeT rdr_type;
  const char *cannot_create;
};

constexpr TreeRequest kWholeTree = {paths::kTreeAllTemplate, false, kEveryRdrType, kCannotCreateTree};
constexpr TreeRequest kResourceUpdate = {paths::kTreeResourceTemplate, true, kEveryRdrType, kCannotCreateUpdate};
constexpr TreeRequest kSensorsUpdate = {paths::kTreeSensorsTemplate, false, SAHPI_SENSOR_RDR, kCannotCreateUpdate};
constexpr TreeRequest kControlsUpdate = {paths::kTreeControlsTemplate, false, SAHPI_CTRL_RDR, kCannotCreateUpdate};
constexpr TreeRequest kResourceLoad = {paths::kTreeResourceLoadTemplate, true, kEveryRdrType, kCannotCreateUpdate};

// A file made from a template, removed however the handler ends.
class TemporaryFile {
 public:
  // Creates the file; Fail()s with RC 14 and `cannot_create` when it cannot.
  TemporaryFile(const char *file_template, const char *cannot_create) : path_(file_template) {
    const int fd = mkostemp(path_.data(), O_CLOEXEC);
    if (fd < 0) Fail(ErrorReplyWithCode(kRcSystemError, errno, cannot_create));
    close(fd);  // the daemon writes it; it is opened afresh for reading
  }
  ~TemporaryFile() { unlink(path_.c_str()); }
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

// Reads a descriptor in blocks for the parser, so that a document of any
// size is parsed straight from the file and never held whole as text.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) {}
  // errno of a failed read, 0 when none failed.
  int error() const { return error_; }

 protected:
  int_type underflow() override {
    ssize_t n;
    do {
      n = read(fd_, block_, sizeof block_);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
      if (n < 0) error_ = errno;
      return traits_type::eof();
    }
    setg(block_, block_, block_ + n);
    return traits_type::to_int_type(block_[0]);
  }

 private:
  int fd_;
  int error_ = 0;
  char block_[64 * 1024];
};

// The document in `path`. A document that does not parse raises the JSON
// library's parse error, answered by the request loop; the file is removed
// first, as the caller's TemporaryFile goes on the way out.
json ParseTreeFile(const std::string &path) {
  const FileDescriptor fd(OpenFile(path.c_str(), O_RDONLY | O_NOFOLLOW));
  if (!fd.valid()) Fail(ErrorReplyWithCode(kRcSystemError, errno, kCannotReadTree));
  DescriptorBuffer buffer(fd.get());
  std::istream stream(&buffer);
  try {
    return json::parse(stream);
  } catch (const json::parse_error &) {
    // A read that failed midway is no fault of the document.
    if (buffer.error() != 0) Fail(ErrorReplyWithCode(kRcSystemError, buffer.error(), kCannotReadTree));
    throw;
  }
}

json ReplyWithTree(HpiSession session, const json &prm, const TreeRequest &request) {
  SaHpiResourceIdT rid = kEveryResource;
  if (request.one_resource) rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  const TemporaryFile file(request.file_template, request.cannot_create);
  const SaHpiTextBufferT name = TextBufferFromString(file.path());
  CheckHpi(saHpiRdrListGet(session, rid, request.rdr_type, &name), "saHpiRdrListGet");
  // The document is moved into the reply: a large tree is not copied again.
  json reply = OkReply();
  reply["response"] = ParseTreeFile(file.path());
  return reply;
}

// ---- inventory ---------------------------------------------------------------

json FieldData(const SaHpiTextBufferT &data) {
  if (data.DataType != SAHPI_TL_TYPE_BINARY) return TextBufferToString(data);
  json bytes = json::array();
  for (unsigned i = 0; i < data.DataLength; ++i) bytes.push_back(data.Data[i]);
  return bytes;
}

// The fields of one area. As with the areas, the list ends at the daemon's
// first refusal, which comes for the next id after the last field.
json AreaFields(HpiSession session, SaHpiResourceIdT rid, SaHpiIdrIdT idr, SaHpiEntryIdT area) {
  json fields = json::array();
  WalkGuard guard("saHpiIdrFieldGet");
  for (SaHpiEntryIdT id = SAHPI_FIRST_ENTRY;;) {
    guard.Visit(id);
    SaHpiEntryIdT next = SAHPI_LAST_ENTRY;
    SaHpiIdrFieldT field{};
    if (saHpiIdrFieldGet(session, rid, idr, area, SAHPI_IDR_FIELDTYPE_UNSPECIFIED, id, &next, &field) != SA_OK) {
      return fields;
    }
    fields.push_back(
        {{"ID", field.FieldId}, {"Type", field.Type}, {"ReadOnly", field.ReadOnly}, {"Data", FieldData(field.Field)}});
    id = next;
  }
}

}  // namespace

json GetInventory(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  const auto idr = GetNumber<SaHpiIdrIdT>(RequireKey(prm, "IID"));
  SaHpiIdrInfoT info{};
  CheckHpi(saHpiIdrInfoGet(session, rid, idr, &info), "saHpiIdrInfoGet");
  json areas = json::array();
  WalkGuard guard("saHpiIdrAreaHeaderGet");
  for (SaHpiEntryIdT id = SAHPI_FIRST_ENTRY;;) {
    guard.Visit(id);
    SaHpiEntryIdT next = SAHPI_LAST_ENTRY;
    SaHpiIdrAreaHeaderT header{};
    if (saHpiIdrAreaHeaderGet(session, rid, idr, SAHPI_IDR_AREATYPE_UNSPECIFIED, id, &next, &header) != SA_OK) break;
    areas.push_back({{"ID", header.AreaId},
                     {"Type", header.Type},
                     {"ReadOnly", header.ReadOnly},
                     {"NumFields", header.NumFields},
                     {"Fields", AreaFields(session, rid, idr, header.AreaId)}});
    id = next;
  }
  return OkReplyWithResponse({{"Inventory",
                               {{"UpdateCount", info.UpdateCount},
                                {"ReadOnly", info.ReadOnly},
                                {"NumAreas", info.NumAreas},
                                {"Areas", std::move(areas)}}}});
}

json GetDeviceTree(HpiSession session, const json &prm) { return ReplyWithTree(session, prm, kWholeTree); }
json UpdateResource(HpiSession session, const json &prm) { return ReplyWithTree(session, prm, kResourceUpdate); }
json UpdateSensors(HpiSession session, const json &prm) { return ReplyWithTree(session, prm, kSensorsUpdate); }
json LoadResource(HpiSession session, const json &prm) { return ReplyWithTree(session, prm, kResourceLoad); }
json UpdateControls(HpiSession session, const json &prm) { return ReplyWithTree(session, prm, kControlsUpdate); }

}  // namespace kvnc
