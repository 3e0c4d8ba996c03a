// Who makes the call being served, and the rights the simulated daemon grants.
//
// Every connection carries the effective uid of the thread that opened it
// (the API switches to the logged-in user before it connects). The daemon
// serves root (the API process itself: audit events before login, the
// language before login) and the enabled users of the model; anyone else is
// refused with KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES. Reading needs no
// privilege; changing needs a bit of the user's first privilege mask (the
// union of their roles' masks) that the model's Rights name for the Access
// of the RPC.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "sim/model.h"
#include "sim/simulator.h"

namespace kvnc::sim {

enum class Access {
  kOpen,        // saHpiSessionOpen: a known caller, no session yet
  kRead,        // a session of its own: reading, own preferences, audit events
  kControl,     // the model's rights.control
  kConfigure,   // rights.configure
  kAdminister,  // rights.administer: appliance-wide settings
};

// Built for one call while the simulator's model lock is held.
class Caller {
 public:
  Caller(Simulator &simulator, uint32_t uid);

  Simulator &sim;
  Model &model;
  const uint32_t uid;
  const std::string *name = nullptr;  // the user's name; null for root and unknown uids
  const User *user = nullptr;

  bool IsRoot() const { return uid == 0; }
  // Root, or an enabled user of the model.
  bool Known() const { return IsRoot() || (user != nullptr && user->enabled != 0); }
  PrivilegeMasks Privileges() const;
  bool May(Access access) const;
  // Reading or changing the settings of user `user_name`: their own, or as
  // an administrator.
  bool MayActFor(const std::string &user_name) const;

  // Look-ups that answer what the daemon answers for a missing object.
  SaErrorT FindResource(SaHpiResourceIdT id, Resource **resource);
  SaErrorT FindSensor(SaHpiResourceIdT id, SaHpiSensorNumT num, Sensor **sensor);
  SaErrorT FindControl(SaHpiResourceIdT id, SaHpiCtrlNumT num, Control **control);
  SaErrorT FindInventory(SaHpiResourceIdT id, SaHpiIdrIdT num, Inventory **inventory);
  // A user named by a text buffer whom the caller may act for.
  SaErrorT FindUser(const SaHpiTextBufferT *user_name, User **found);
  // The caller's own user record; SA_ERR_HPI_NOT_PRESENT for root.
  SaErrorT Self(User **self);

  // Storage for variable-length reply values; lives until the reply is written.
  SaHpiSeverityT *Keep(std::vector<SaHpiSeverityT> values);

 private:
  std::deque<std::vector<SaHpiSeverityT>> kept_;
};

}  // namespace kvnc::sim
