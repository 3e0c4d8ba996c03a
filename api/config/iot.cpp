#include "api/config/iot.h"

#include <libintl.h>

#include <string>

#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr const char *kNoIot = "IoT configuration does not exist for this system!";

// What the daemon made of a configuration it was asked to write: a refusal
// comes with its own message, which the reply passes on.
struct Population {
  SaErrorT rv = SA_OK;
  SaHpiBoolT succeeded = SAHPI_FALSE;
  SaHpiTextBufferT message{};
};

// A configuration this system lacks (RC 12, `absent` translated), another
// HPI error (RC 9 naming `function`), or a refusal (RC 14, the daemon's
// message) ends the request.
void CheckPopulation(const Population &result, const char *function, const char *absent) {
  if (result.rv == SA_ERR_HPI_NOT_PRESENT) Fail(ErrorReplyMsg(kRcNotImplemented, gettext(absent)));
  CheckHpi(result.rv, function);
  if (result.succeeded == SAHPI_FALSE) Fail(ErrorReplyMsg(kRcSystemError, TextBufferToString(result.message)));
}

void SetWebSockets(HpiSession session, SaHpiUint8T use) {
  CheckHpi(kvnHpiIotUseWebSocketsSet(session, use), "kvnHpiIotUseWebSocketsSet");
}

}  // namespace

json SetAwsIotConfiguration(HpiSession session, const json &prm) {
  const std::string thing = RequireKey(prm, "thing").get<std::string>();
  const auto web_sockets = GetNumber<SaHpiUint8T>(RequireKey(prm, "ws"));
  const bool greengrass = RequireKey(prm, "gg").get<bool>();
  const SaHpiTextBufferT directory = TextBufferFromString(paths::kNvConfigDir);
  const SaHpiTextBufferT thing_name = TextBufferFromString(thing);
  const SaHpiTextBufferT unused = TextBufferFromString("");
  Population result;
  if (greengrass) {
    const SaHpiTextBufferT endpoint = TextBufferFromString(RequireKey(prm, "ep").get<std::string>());
    result.rv = kvnHpiPopulateAwsGreengrassConfigs(session, &directory, &thing_name, &unused, &endpoint,
                                                   &result.succeeded, &result.message);
    CheckPopulation(result, "kvnHpiPopulateAwsGreengrassConfigs", "AWS configuration does not exist for this system!");
  } else {
    result.rv = kvnHpiPopulateAwsConfigs(session, &directory, &thing_name, &unused, &result.succeeded, &result.message);
    CheckPopulation(result, "kvnHpiPopulateAwsConfigs", "AWS configuration does not exist for this system!");
  }
  SetWebSockets(session, web_sockets);
  return OkReply();
}

json GetIotStatus(HpiSession session, const json &) {
  SaHpiBoolT connected = SAHPI_FALSE;
  SaHpiTextBufferT name{}, provider{};
  SaHpiInt32T last_result = 0;
  const SaErrorT rv = kvnHpiIotIsConnected(session, &connected, &name, &provider, &last_result);
  if (rv == SA_ERR_HPI_UNSUPPORTED_API) return ErrorReplyMsg(kRcNotImplemented, gettext(kNoIot));
  if (rv == SA_ERR_HPI_INVALID_STATE) {
    return ErrorReplyMsg(kRcAbsent, gettext("Not connected to IoT: no MQTT dispatcher!"));
  }
  CheckHpi(rv, "kvnHpiIotIsConnected");
  SaHpiBoolT web_sockets = SAHPI_FALSE;
  CheckHpi(kvnHpiIotUseWebSocketsGet(session, &web_sockets), "kvnHpiIotUseWebSocketsGet");
  return OkReplyWithResponse({{"connected", connected},
                              {"lastrc", last_result},
                              {"name", TextBufferToString(name)},
                              {"provider", TextBufferToString(provider)},
                              {"ws", web_sockets}});
}

json UnconfigureIot(HpiSession session, const json &) {
  const SaHpiTextBufferT directory = TextBufferFromString(paths::kNvConfigDir);
  const SaErrorT rv = kvnHpiUnconfigureIot(session, &directory);
  if (rv == SA_ERR_HPI_NOT_PRESENT) return ErrorReplyMsg(kRcNotImplemented, gettext(kNoIot));
  CheckHpi(rv, "kvnHpiUnconfigureIot");
  return OkReply();
}

json SetAzureIotConfiguration(HpiSession session, const json &prm) {
  const std::string thing = RequireKey(prm, "thing").get<std::string>();
  const auto web_sockets = GetNumber<SaHpiUint8T>(RequireKey(prm, "ws"));
  const SaHpiTextBufferT directory = TextBufferFromString(paths::kNvConfigDir);
  const SaHpiTextBufferT thing_name = TextBufferFromString(thing);
  const SaHpiTextBufferT unused = TextBufferFromString("");
  Population result;
  result.rv = kvnHpiPopulateAzureConfigs(session, &directory, &thing_name, &unused, &result.succeeded, &result.message);
  CheckPopulation(result, "kvnHpiPopulateAzureConfigs", "Azure configuration does not exist for this system!");
  SetWebSockets(session, web_sockets);
  return OkReply();
}

}  // namespace kvnc
