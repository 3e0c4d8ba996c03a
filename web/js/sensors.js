// Sensors: found once in the device tree (FN 300), then read together with
// FN 12 at every poll.
import { call } from './api.js';
import { el, quantity, row, thresholdState } from './format.js';

const SENSOR_RECORD = 2;
const THRESHOLD_CATEGORY = 1;

export class SensorView {
  constructor(table, units) {
    this.body = table.tBodies[0];
    this.units = units;
    this.sensors = [];
  }

  async start() {
    const tree = await call(300);
    this.sensors = [];
    this.body.replaceChildren();
    for (const resource of tree.resources || []) {
      for (const rdr of resource.rdrs || []) {
        if (rdr.rdr_type !== SENSOR_RECORD) continue;
        const cells = [el('span', '', '…'), el('span', 'state', '…'), el('span', 'limits', '')];
        const tr = row([`${rdr.name}`, ...cells]);
        tr.dataset.sensor = `${resource.id}/${rdr.num}`;
        this.body.append(tr);
        this.sensors.push({
          rid: resource.id, num: rdr.num, name: rdr.name, type: rdr.type, category: rdr.category,
          failed: Boolean(resource.failed), cells,
        });
      }
    }
    await this.poll();
  }

  nameOf(rid, num) {
    const sensor = this.sensors.find((s) => s.rid === rid && s.num === num);
    return sensor ? sensor.name : `Sensor ${rid}/${num}`;
  }

  async poll() {
    if (this.sensors.length === 0) return;
    const wanted = this.sensors.map((s) => ({
      ID: s.rid, SNUM: s.num, THRES: s.category === THRESHOLD_CATEGORY ? 1 : 0, EMASK: 0,
    }));
    const readings = await call(12, { SENS: wanted });
    readings.forEach((r, i) => this.show(this.sensors[i], r));
  }

  show(sensor, r) {
    const [value, state, limits] = sensor.cells;
    // A failed resource (a probe unplugged) still answers, with a meaningless reading.
    if (!r.is_ok || sensor.failed) {
      value.textContent = '—';
      state.textContent = 'unavailable';
      state.className = 'state unavailable';
      return;
    }
    value.textContent = r.sup ? quantity(r.value, sensor.type, this.units) : '—';
    if (sensor.category === THRESHOLD_CATEGORY) {
      const [text, level] = thresholdState(r.state);
      state.textContent = text;
      state.className = `state ${level}`;
      limits.textContent = this.limits(sensor, r.thres || {});
    } else {
      state.textContent = `state ${r.state}`;
      state.className = 'state';
    }
  }

  // The minor thresholds, the range in which the reading counts as normal.
  limits(sensor, t) {
    const show = (k) => (t[k] && t[k].sup ? quantity(t[k].value, sensor.type, this.units) : '');
    const low = show('LMn');
    const high = show('UMn');
    if (low && high) return `${low} … ${high}`;
    if (high) return `below ${high}`;
    return low ? `above ${low}` : '';
  }
}
