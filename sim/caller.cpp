#include "sim/caller.h"

#include <utility>

#include "client/text_buffer.h"

namespace kvnc::sim {

Caller::Caller(Simulator &simulator, uint32_t caller_uid) : sim(simulator), model(simulator.model()), uid(caller_uid) {
  if (IsRoot()) return;
  for (const auto &[user_name, record] : model.users) {
    if (record.uid == uid) {
      name = &user_name;
      user = &record;
      return;
    }
  }
}

PrivilegeMasks Caller::Privileges() const {
  if (IsRoot()) return {~uint64_t{0}, ~uint64_t{0}};
  if (user == nullptr) return {};
  return UserPrivileges(model, *user);
}

bool Caller::May(Access access) const {
  if (!Known()) return false;
  const uint64_t mask = Privileges().first;
  switch (access) {
    case Access::kOpen:
    case Access::kRead:
      return true;
    case Access::kControl:
      return (mask & (model.rights.administer | model.rights.control)) != 0;
    case Access::kConfigure:
      return (mask & (model.rights.administer | model.rights.configure)) != 0;
    case Access::kAdminister:
      return (mask & model.rights.administer) != 0;
  }
  return false;
}

bool Caller::MayActFor(const std::string &user_name) const {
  return (name != nullptr && *name == user_name) || May(Access::kAdminister);
}

SaErrorT Caller::FindResource(SaHpiResourceIdT id, Resource **resource) {
  *resource = model.resources.Find(id);
  return *resource != nullptr ? SA_OK : SA_ERR_HPI_INVALID_RESOURCE;
}

namespace {

template <typename T>
SaErrorT FindInstrument(Caller &caller, SaHpiResourceIdT id, uint32_t num, ById<T> Resource::*instruments, T **found) {
  Resource *resource;
  if (SaErrorT rv = caller.FindResource(id, &resource); rv != SA_OK) return rv;
  *found = (resource->*instruments).Find(num);
  return *found != nullptr ? SA_OK : SA_ERR_HPI_NOT_PRESENT;
}

}  // namespace

SaErrorT Caller::FindSensor(SaHpiResourceIdT id, SaHpiSensorNumT num, Sensor **sensor) {
  return FindInstrument(*this, id, num, &Resource::sensors, sensor);
}

SaErrorT Caller::FindControl(SaHpiResourceIdT id, SaHpiCtrlNumT num, Control **control) {
  return FindInstrument(*this, id, num, &Resource::controls, control);
}

SaErrorT Caller::FindInventory(SaHpiResourceIdT id, SaHpiIdrIdT num, Inventory **inventory) {
  return FindInstrument(*this, id, num, &Resource::inventories, inventory);
}

SaErrorT Caller::FindUser(const SaHpiTextBufferT *user_name, User **found) {
  const std::string wanted = TextBufferToString(*user_name);
  if (!MayActFor(wanted)) return KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
  auto it = model.users.find(wanted);
  if (it == model.users.end()) return SA_ERR_HPI_NOT_PRESENT;
  *found = &it->second;
  return SA_OK;
}

SaErrorT Caller::Self(User **self) {
  if (user == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *self = &model.users.at(*name);
  return SA_OK;
}

SaHpiSeverityT *Caller::Keep(std::vector<SaHpiSeverityT> values) {
  kept_.push_back(std::move(values));
  return kept_.back().data();
}

}  // namespace kvnc::sim
