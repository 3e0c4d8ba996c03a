// The simulator's HPI sessions and the rights it grants each caller, through
// the client library, from threads that act as the test users.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "tests/support/sim_control.h"

namespace {

using kvnc::test::SimTest;
using kvnc::test::ThreadAsUser;
using Json = nlohmann::json;

constexpr uid_t kAdmin = 1001;
constexpr uid_t kViewer = 1003;
constexpr uid_t kBigId = 70000;  // operator, with viewer as other role
constexpr SaHpiResourceIdT kProbe = 2001;
constexpr SaHpiResourceIdT kOutlet3 = 4004;  // off in the demo appliance

using SimSessions = SimTest;
using SimRights = SimTest;

SaHpiSessionIdT Open() {
  SaHpiSessionIdT session = 0;
  EXPECT_EQ(saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr), SA_OK);
  return session;
}

SaErrorT Read(SaHpiSessionIdT session) {
  SaHpiSensorReadingT reading;
  SaHpiEventStateT state;
  return saHpiSensorReadingGet(session, kProbe, 1, &reading, &state);
}

SaErrorT SwitchOn(SaHpiSessionIdT session, SaHpiResourceIdT outlet) {
  SaHpiCtrlStateT on{};
  on.Type = SAHPI_CTRL_TYPE_DIGITAL;
  on.StateUnion.Digital = SAHPI_CTRL_STATE_ON;
  return saHpiControlSet(session, outlet, 1, SAHPI_CTRL_MODE_MANUAL, &on);
}

SaErrorT SetUpperMinor(SaHpiSessionIdT session, double value) {
  SaHpiSensorThresholdsT thresholds{};
  thresholds.UpMinor.IsSupported = SAHPI_TRUE;
  thresholds.UpMinor.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  thresholds.UpMinor.Value.SensorFloat64 = value;
  return saHpiSensorThresholdsSet(session, kProbe, 1, &thresholds);
}

SaErrorT FullName(SaHpiSessionIdT session, const std::string &user) {
  const SaHpiTextBufferT name = TextBufferFromString(user);
  SaHpiTextBufferT full, phone, email;
  SaHpiBoolT enabled, external;
  SaHpiUint32T uid;
  return kvnHpiUserInfoGetByName(session, &name, &full, &phone, &email, &enabled, &external, &uid);
}

// Two threads pass Meet() together; one left alone goes on after 5 s, so a
// thread that failed early cannot hang the test.
class Rendezvous {
 public:
  void Meet() {
    std::unique_lock<std::mutex> lock(mutex_);
    const int round = round_;
    if (++arrived_ == 2) {
      arrived_ = 0;
      ++round_;
      met_.notify_all();
      return;
    }
    met_.wait_for(lock, std::chrono::seconds(5), [&] { return round_ != round; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable met_;
  int arrived_ = 0;
  int round_ = 0;
};

TEST_F(SimSessions, IdentifiersAreDistinctAndEndWithClose) {
  const SaHpiSessionIdT a = Open(), b = Open();
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(Read(a), SA_OK);
  EXPECT_EQ(saHpiSessionClose(a), SA_OK);
  EXPECT_EQ(Read(a), SA_ERR_HPI_INVALID_SESSION);
  EXPECT_EQ(Read(b), SA_OK);
  EXPECT_EQ(Read(b + 1000), SA_ERR_HPI_INVALID_SESSION);  // never handed out
  const SaHpiSessionIdT c = Open();
  EXPECT_NE(c, a);  // a closed identifier is not handed out again
  EXPECT_NE(c, b);

  SaHpiSessionIdT other_domain;
  EXPECT_EQ(saHpiSessionOpen(5, &other_domain, nullptr), SA_ERR_HPI_INVALID_DOMAIN);

  const Json listed = sim().Command({{"cmd", "sessions"}});
  Json open = Json::array();
  for (const Json &s : listed["sessions"]) open.push_back(s["id"]);
  EXPECT_EQ(open, Json({b, c}));
  EXPECT_EQ(saHpiSessionClose(b), SA_OK);
  EXPECT_EQ(saHpiSessionClose(c), SA_OK);
}

TEST_F(SimRights, TwoUsersAtOnceGetTheirOwnMasksAndRefusals) {
  struct Seen {
    SaErrorT masks = 1, read = 1, control = 1, thresholds = 1, own_info = 1, other_info = 1, foreign_session = 1;
    SaHpiUint64T first = 0, second = 0;
  };
  Rendezvous rendezvous;
  SaHpiSessionIdT admin_session = 0, viewer_session = 0;
  auto act = [&](SaHpiSessionIdT *mine, const SaHpiSessionIdT *theirs, const std::string &me, const std::string &other,
                 SaHpiResourceIdT outlet, Seen *seen) {
    *mine = Open();
    rendezvous.Meet();  // both users hold a session before either goes on
    seen->masks = kvnHpiCurrentPrivilegeMaskGet(*mine, &seen->first, &seen->second);
    seen->read = Read(*mine);
    seen->control = SwitchOn(*mine, outlet);
    seen->thresholds = SetUpperMinor(*mine, 26.5);
    seen->own_info = FullName(*mine, me);
    seen->other_info = FullName(*mine, other);
    seen->foreign_session = Read(*theirs);
    rendezvous.Meet();  // neither closes a session the other still tries
    EXPECT_EQ(saHpiSessionClose(*mine), SA_OK);
  };
  Seen admin, viewer;
  std::thread a = ThreadAsUser(kAdmin, [&] { act(&admin_session, &viewer_session, "admin", "viewer", 4002, &admin); });
  std::thread v =
      ThreadAsUser(kViewer, [&] { act(&viewer_session, &admin_session, "viewer", "admin", kOutlet3, &viewer); });
  a.join();
  v.join();

  EXPECT_EQ(admin.masks, SA_OK);
  EXPECT_EQ(admin.first, 2047u);  // the demo's admin role
  EXPECT_EQ(admin.second, 1u);
  EXPECT_EQ(viewer.masks, SA_OK);
  EXPECT_EQ(viewer.first, 1u);
  EXPECT_EQ(viewer.second, 0u);

  EXPECT_EQ(admin.read, SA_OK);
  EXPECT_EQ(viewer.read, SA_OK);
  EXPECT_EQ(admin.control, SA_OK);
  EXPECT_EQ(viewer.control, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(admin.thresholds, SA_OK);
  EXPECT_EQ(viewer.thresholds, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(admin.own_info, SA_OK);
  EXPECT_EQ(admin.other_info, SA_OK);  // an administrator reads anybody's settings
  EXPECT_EQ(viewer.own_info, SA_OK);
  EXPECT_EQ(viewer.other_info, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(admin.foreign_session, SA_ERR_HPI_INVALID_SESSION);  // a session belongs to its opener
  EXPECT_EQ(viewer.foreign_session, SA_ERR_HPI_INVALID_SESSION);

  // The refused switch changed nothing; the journal names who asked.
  const Json model = sim().Dump();
  EXPECT_EQ(model["resources"]["4004"]["controls"]["1"]["state"], 0);
  EXPECT_EQ(model["resources"]["4002"]["controls"]["1"]["state"], 1);
  std::map<uint32_t, SaErrorT> control_results;
  for (const Json &call : sim().Journal()) {
    if (call["rpc"] == 48) control_results[call["uid"].get<uint32_t>()] = call["result"].get<SaErrorT>();
  }
  EXPECT_EQ(control_results, (std::map<uint32_t, SaErrorT>{{kAdmin, SA_OK}, {kViewer, -1050}}));
}

TEST_F(SimRights, OperatorControlsAndConfiguresButDoesNotAdminister) {
  struct Seen {
    SaErrorT control = 1, thresholds = 1, host_name = 1, global_units = 1, own_units = 1, others_units = 1;
    SaErrorT roles = 1, privileges = 1;
    std::string roles_text, other_roles_text;
    SaHpiUint64T first = 0;
  } seen;
  std::thread t = ThreadAsUser(kBigId, [&] {  // a uid above 16 bits
    const SaHpiSessionIdT s = Open();
    seen.control = SwitchOn(s, kOutlet3);
    seen.thresholds = SetUpperMinor(s, 26);
    const SaHpiTextBufferT host = TextBufferFromString("renamed");
    seen.host_name = kvnHpiHostNameSet(s, &host);
    const KvnMeasurementUnitsT imperial{1, 1, 1};
    seen.global_units = kvnHpiGlobalMeasurementUnitsSet(s, &imperial);
    seen.own_units = kvnHpiCurrentUserMeasurementUnitsSet(s, &imperial);
    const SaHpiTextBufferT me = TextBufferFromString("bigid"), admin = TextBufferFromString("admin");
    seen.others_units = kvnHpiUserMeasurementUnitsSet(s, &admin, &imperial);
    SaHpiTextBufferT roles, other_roles;
    seen.roles = kvnHpiUserRolesGet(s, &me, &roles, &other_roles);
    seen.roles_text = TextBufferToString(roles);
    seen.other_roles_text = TextBufferToString(other_roles);
    SaHpiUint64T second;
    seen.privileges = kvnHpiUserPrivilegesGet(s, &me, &seen.first, &second);
    saHpiSessionClose(s);
  });
  t.join();
  EXPECT_EQ(seen.control, SA_OK);
  EXPECT_EQ(seen.thresholds, SA_OK);
  EXPECT_EQ(seen.host_name, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(seen.global_units, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(seen.own_units, SA_OK);
  EXPECT_EQ(seen.others_units, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(seen.roles, SA_OK);
  EXPECT_EQ(seen.roles_text, "operator");
  EXPECT_EQ(seen.other_roles_text, "viewer");
  EXPECT_EQ(seen.privileges, SA_OK);
  EXPECT_EQ(seen.first, 13u);  // operator 0xD | viewer 0x1

  // The bits that grant a right are the model's.
  sim().Set("/rights/control", 0x10);
  SaErrorT control_after = 1;
  std::thread again = ThreadAsUser(kBigId, [&] {
    const SaHpiSessionIdT s = Open();
    control_after = SwitchOn(s, kOutlet3);
    saHpiSessionClose(s);
  });
  again.join();
  EXPECT_EQ(control_after, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);

  const Json model = sim().Dump();
  EXPECT_EQ(model["appliance"]["host_name"], "korvane-demo");
  EXPECT_EQ(model["users"]["bigid"]["units"], Json({{"degrees", 1}, {"length", 1}, {"pressure", 1}}));
  EXPECT_EQ(model["users"]["admin"]["units"]["pressure"], 1);
}

TEST_F(SimRights, UnknownAndDisabledUsersAreRefusedAndRootMayUseAnySession) {
  SaErrorT stranger = 1, disabled = 1, viewer_open = 1;
  SaHpiSessionIdT viewer_session = 0;
  std::thread t = ThreadAsUser(4242, [&] {
    SaHpiSessionIdT s;
    stranger = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &s, nullptr);
  });
  t.join();
  EXPECT_EQ(stranger, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);

  std::thread v = ThreadAsUser(
      kViewer, [&] { viewer_open = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &viewer_session, nullptr); });
  v.join();
  ASSERT_EQ(viewer_open, SA_OK);
  EXPECT_EQ(Read(viewer_session), SA_OK);                // we are root here
  EXPECT_EQ(SwitchOn(viewer_session, kOutlet3), SA_OK);  // the caller's rights count, not the opener's

  sim().Set("/users/viewer/enabled", 0);
  std::thread d = ThreadAsUser(kViewer, [&] { disabled = Read(viewer_session); });
  d.join();
  EXPECT_EQ(disabled, KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(saHpiSessionClose(viewer_session), SA_OK);
}

}  // namespace
