// Outlets: their controls found with FN 8, states read with FN 18, switched
// with FN 19.
import { call } from './api.js';
import { el, row } from './format.js';

const MAX_OUTLETS = 64;
const DIGITAL = 0;
const MANUAL = 1;

export class OutletView {
  constructor(table, onSwitched, onError) {
    this.body = table.tBodies[0];
    this.onSwitched = onSwitched;
    this.onError = onError;
    this.outlets = [];
  }

  async start() {
    this.outlets = [];
    this.body.replaceChildren();
    // Outlets are numbered from 1; the first number the daemon does not know ends the list.
    for (let n = 1; n <= MAX_OUTLETS; n++) {
      let found;
      try {
        found = await call(8, { ID: n });
      } catch (e) {
        if (e.rc === 9) break;
        throw e;
      }
      const control = (found.controls || [])[0];
      if (!control) continue;
      const info = await call(301, { NUM: n }).catch(() => ({ name: '' }));
      this.add(n, control, info.name);
    }
    await this.poll();
  }

  add(number, control, userName) {
    const state = el('span', 'state', '…');
    const button = el('button', 'switch', '…');
    button.type = 'button';
    const outlet = { number, rid: control.rid, num: control.num, state, button, on: null };
    button.addEventListener('click', () => this.toggle(outlet));
    const tr = row([String(number), userName ? `${control.name} (${userName})` : control.name, state, button]);
    tr.dataset.outlet = String(number);
    this.body.append(tr);
    this.outlets.push(outlet);
  }

  async poll() {
    for (const outlet of this.outlets) {
      const [c] = await call(18, { ID: outlet.rid, CTRL: [{ NUM: outlet.num, TYPE: DIGITAL }] });
      this.show(outlet, typeof c.stat === 'number' ? c.stat % 2 === 1 : null);
    }
  }

  show(outlet, on) {
    outlet.on = on;
    outlet.state.textContent = on === null ? 'unknown' : on ? 'on' : 'off';
    outlet.state.className = `state ${on ? 'on' : 'off'}`;
    outlet.button.textContent = on ? 'Switch off' : 'Switch on';
    outlet.button.disabled = on === null;
  }

  async toggle(outlet) {
    const target = outlet.on ? 0 : 1;
    outlet.button.disabled = true;
    try {
      await call(19, { ID: outlet.rid, CNUM: outlet.num, MODE: MANUAL, STATE: target });
      this.show(outlet, target === 1);
      this.onSwitched();
    } catch (e) {
      outlet.button.disabled = false;
      this.onError(`Outlet ${outlet.number}: ${e.message}`);
    }
  }
}
