// The event log tail, read whole once and then only what is new (FN 6 with
// the fingerprint of the newest entry shown), and the alarms (FN 11, 82).
import { call } from './api.js';
import { el, eventText, row, severityName } from './format.js';

const SHOWN_ENTRIES = 20;
const ANY_ENTRY = [0, 0, 0, 0, 0];
const NO_ALARM = 8;

export class EventView {
  constructor(table, sensorName) {
    this.body = table.tBodies[0];
    this.sensorName = sensorName;
    this.newest = ANY_ENTRY;
  }

  async start() {
    this.newest = ANY_ENTRY;
    this.body.replaceChildren();
    await this.poll();
  }

  async poll() {
    const { events } = await call(6, { last: this.newest });
    if (!events || events.length === 0) return;
    // Newest first, as the table shows them.
    this.newest = events[0].entry.CRC;
    const rows = events.slice(0, SHOWN_ENTRIES).map(({ entry, event }) => {
      const tr = row([entry.TS, severityName(event.severity), eventText(event, this.sensorName)]);
      tr.className = `sev-${severityName(event.severity)}`;
      return tr;
    });
    this.body.prepend(...rows);
    while (this.body.rows.length > SHOWN_ENTRIES) this.body.lastElementChild.remove();
  }
}

export class AlarmView {
  constructor(table, onError) {
    this.body = table.tBodies[0];
    this.onError = onError;
  }

  start() {
    return this.poll();
  }

  async poll() {
    let alarms = [];
    try {
      alarms = await call(11);
    } catch (e) {
      if (e.rc !== NO_ALARM) throw e;
    }
    this.body.replaceChildren(...alarms.map((a) => this.alarmRow(a)));
  }

  alarmRow(alarm) {
    const button = el('button', 'ack', alarm.ack ? 'Acknowledged' : 'Acknowledge');
    button.type = 'button';
    button.disabled = alarm.ack;
    button.addEventListener('click', async () => {
      button.disabled = true;
      try {
        await call(82, [{ ID: alarm.alid, SEVERITY: alarm.svrt }]);
        await this.poll();
      } catch (e) {
        button.disabled = false;
        this.onError(`Alarm ${alarm.alid}: ${e.message}`);
      }
    });
    const tr = row([alarm.time, severityName(alarm.svrt), alarm.name || `resource ${alarm.rid}`, button]);
    tr.dataset.alarm = String(alarm.alid);
    tr.className = `sev-${severityName(alarm.svrt)}`;
    return tr;
  }
}
