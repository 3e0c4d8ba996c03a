// Controls and iPDU outlets.
#include <string>

#include "client/text_buffer.h"
#include "sim/events.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// Line n of a text control (from 1); line 0 is every line, one after another.
std::string TextLines(const Control &control, SaHpiTxtLineNumT line) {
  if (line != SAHPI_TLN_ALL_LINES) return line <= control.lines.size() ? control.lines[line - 1] : std::string();
  std::string all;
  for (const std::string &l : control.lines) all += l;
  return all;
}

SaErrorT SetTextLines(Control &control, const SaHpiCtrlStateTextT &text) {
  const std::string value = TextBufferToString(text.Text);
  if (text.Line > control.max_lines) return SA_ERR_HPI_INVALID_DATA;
  const size_t room =
      static_cast<size_t>(control.max_chars) * (text.Line == SAHPI_TLN_ALL_LINES ? control.max_lines : 1);
  if (value.size() > room) return SA_ERR_HPI_INVALID_DATA;
  control.lines.resize(control.max_lines);
  if (text.Line != SAHPI_TLN_ALL_LINES) {
    control.lines[text.Line - 1] = value;
    return SA_OK;
  }
  for (size_t i = 0; i < control.lines.size(); ++i) {
    const size_t from = i * control.max_chars;
    control.lines[i] = from < value.size() ? value.substr(from, control.max_chars) : std::string();
  }
  return SA_OK;
}

// The manual state of a digital control after `wanted`: a pulse ends where it began.
SaErrorT NextDigitalState(int64_t current, SaHpiCtrlStateDigitalT wanted, int64_t *next) {
  switch (wanted) {
    case SAHPI_CTRL_STATE_OFF:
    case SAHPI_CTRL_STATE_ON:
      *next = wanted;
      return SA_OK;
    case SAHPI_CTRL_STATE_PULSE_ON:
      if (current == SAHPI_CTRL_STATE_ON) return SA_ERR_HPI_INVALID_REQUEST;
      *next = current;
      return SA_OK;
    case SAHPI_CTRL_STATE_PULSE_OFF:
      if (current == SAHPI_CTRL_STATE_OFF) return SA_ERR_HPI_INVALID_REQUEST;
      *next = current;
      return SA_OK;
    default:
      return SA_ERR_HPI_INVALID_PARAMS;
  }
}

// A state as the daemon's note of a switch names it.
std::string StateText(const Control &k, int64_t state) {
  if (k.type == SAHPI_CTRL_TYPE_DIGITAL) return state == SAHPI_CTRL_STATE_ON ? "on" : "off";
  const bool named =
      k.type == SAHPI_CTRL_TYPE_DISCRETE && state >= 0 && static_cast<uint64_t>(state) < k.state_names.size();
  return named ? k.state_names[static_cast<size_t>(state)] : std::to_string(state);
}

}  // namespace

SaErrorT SimControlGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                       const SaHpiCtrlStateT *requested, SaHpiCtrlModeT *mode, SaHpiCtrlStateT *state) {
  Control *k;
  if (SaErrorT rv = c.FindControl(resource, control, &k); rv != SA_OK) return rv;
  if (k->write_only != 0) return SA_ERR_HPI_INVALID_CMD;
  *mode = k->mode;
  state->Type = k->type;
  switch (k->type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      state->StateUnion.Digital = static_cast<SaHpiCtrlStateDigitalT>(k->state);
      break;
    case SAHPI_CTRL_TYPE_DISCRETE:
      state->StateUnion.Discrete = static_cast<SaHpiCtrlStateDiscreteT>(k->state);
      break;
    case SAHPI_CTRL_TYPE_ANALOG:
      state->StateUnion.Analog = static_cast<SaHpiCtrlStateAnalogT>(k->state);
      break;
    case SAHPI_CTRL_TYPE_TEXT: {
      const SaHpiTxtLineNumT line = requested->Type == SAHPI_CTRL_TYPE_TEXT ? requested->StateUnion.Text.Line : 0;
      if (line > k->max_lines) return SA_ERR_HPI_INVALID_DATA;
      state->StateUnion.Text.Line = line;
      state->StateUnion.Text.Text = TextBufferFromString(TextLines(*k, line));
      break;
    }
    default:  // stream and OEM states are not simulated: they read as empty
      break;
  }
  return SA_OK;
}

SaErrorT SimControlSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                       SaHpiCtrlModeT mode, const SaHpiCtrlStateT *state) {
  Control *k;
  if (SaErrorT rv = c.FindControl(resource, control, &k); rv != SA_OK) return rv;
  if (mode != SAHPI_CTRL_MODE_AUTO && mode != SAHPI_CTRL_MODE_MANUAL) return SA_ERR_HPI_INVALID_PARAMS;
  if (k->mode_read_only != 0 && mode != k->mode) return SA_ERR_HPI_READ_ONLY;
  if (mode == SAHPI_CTRL_MODE_AUTO) {
    k->mode = mode;
    return SA_OK;
  }
  if (state->Type != k->type) return SA_ERR_HPI_INVALID_DATA;
  int64_t next = k->state;
  SaErrorT rv = SA_OK;
  switch (k->type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      rv = NextDigitalState(k->state, state->StateUnion.Digital, &next);
      break;
    case SAHPI_CTRL_TYPE_DISCRETE:
      next = state->StateUnion.Discrete;
      if (!k->state_names.empty() && static_cast<uint64_t>(next) >= k->state_names.size()) rv = SA_ERR_HPI_INVALID_DATA;
      break;
    case SAHPI_CTRL_TYPE_ANALOG:
      next = state->StateUnion.Analog;
      if (next < k->min || next > k->max) rv = SA_ERR_HPI_INVALID_DATA;
      break;
    case SAHPI_CTRL_TYPE_TEXT:
      rv = SetTextLines(*k, state->StateUnion.Text);
      break;
    default:
      rv = SA_ERR_HPI_INVALID_CMD;
      break;
  }
  if (rv != SA_OK) return rv;
  k->mode = mode;
  if (k->state != next && k->type != SAHPI_CTRL_TYPE_TEXT) {
    std::string note = "Control " + std::to_string(control) + " \"" + k->name + "\" set to " + StateText(*k, next);
    if (c.name != nullptr) note += " by " + *c.name;
    LogEvent(c.model, OemEventOf(resource, note, ApplianceTime(c.model)));
  }
  k->state = next;
  return SA_OK;
}

SaErrorT SimControlStateTextGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiCtrlNumT control,
                                SaHpiUint32T *state, SaHpiTextBufferT *name, SaHpiTextBufferT *name_rest) {
  Control *k;
  if (SaErrorT rv = c.FindControl(resource, control, &k); rv != SA_OK) return rv;
  if (k->type != SAHPI_CTRL_TYPE_DISCRETE) return SA_ERR_HPI_INVALID_CMD;
  *state = static_cast<SaHpiUint32T>(k->state);
  const bool named = k->state >= 0 && static_cast<uint64_t>(k->state) < k->state_names.size();
  *name =
      TextBufferFromString(named ? k->state_names[static_cast<size_t>(k->state)] : "State " + std::to_string(k->state));
  *name_rest = TextBufferFromString("");
  return SA_OK;
}

SaErrorT SimFindOutletInstruments(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, KvnOutletInstrumentsT *instruments) {
  const Outlet *o = c.model.outlets.Find(outlet);
  if (o == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *instruments = {o->resource, o->first_control, o->last_control, o->first_sensor, o->last_sensor};
  return SA_OK;
}

SaErrorT SimOutletUserNameGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, SaHpiTextBufferT *name) {
  const Outlet *o = c.model.outlets.Find(outlet);
  if (o == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *name = TextBufferFromString(o->user_name);
  return SA_OK;
}

SaErrorT SimOutletUserNameSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, const SaHpiTextBufferT *name,
                              SaHpiUint8T flag) {
  Outlet *o = c.model.outlets.Find(outlet);
  if (o == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  o->user_name = TextBufferToString(*name);
  o->name_flag = flag;
  return SA_OK;
}

}  // namespace kvnc::sim
