// Small helpers shared by the views: building elements (text only, never
// markup from data) and showing values as the user's preferences say.

export function el(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = String(text);
  return node;
}

export function row(cells) {
  const tr = el('tr');
  for (const cell of cells) {
    const td = el('td');
    if (cell instanceof Node) td.append(cell);
    else td.textContent = cell;
    tr.append(td);
  }
  return tr;
}

export const SEVERITIES = { 0: 'critical', 1: 'major', 2: 'minor', 3: 'info', 4: 'ok', 240: 'debug' };

export function severityName(n) {
  return SEVERITIES[n] || `severity ${n}`;
}

// The units in effect: the user's own when the login reply has them.
export function unitsOf(login) {
  const p = login.PREFERENCES || {};
  return p.USE_DEFAULT === false && 'DEGREES' in p ? p : p.DEFAULT || {};
}

// The session parameters in effect (idle logout, polling), likewise.
export function sessionOf(login) {
  const s = login.SESSION || {};
  return s.USE_DEFAULT === false && 'LOG_POLLING' in s ? s : s.DEFAULT || {};
}

const TEMPERATURE = 1;
const UNITS = { 2: 'V', 3: 'A', 4: 'RPM', 11: '%' };

// A sensor reading (or threshold) in the user's units. The appliance reports
// temperatures in degrees Celsius; DEGREES 1 asks for Fahrenheit.
export function quantity(value, sensorType, units) {
  if (value === null || value === undefined) return '—';
  if (sensorType === TEMPERATURE) {
    return units.DEGREES === 1 ? `${(value * 1.8 + 32).toFixed(1)} °F` : `${value.toFixed(1)} °C`;
  }
  const unit = UNITS[sensorType];
  return unit ? `${value.toFixed(unit === 'V' ? 0 : 2)} ${unit}` : value.toFixed(2);
}

// Event state bits of a threshold sensor, lowest first.
const THRESHOLD_STATES = [
  ['lower minor', 'minor'], ['lower major', 'major'], ['lower critical', 'critical'],
  ['upper minor', 'minor'], ['upper major', 'major'], ['upper critical', 'critical'],
];
const RANK = { normal: 0, minor: 1, major: 2, critical: 3 };

// The worst asserted threshold state: [text, class].
export function thresholdState(state) {
  let worst = ['normal', 'normal'];
  THRESHOLD_STATES.forEach(([name, level], bit) => {
    if (state & (1 << bit) && RANK[level] >= RANK[worst[1]]) worst = [name, level];
  });
  return worst;
}

// A log entry's text as a person reads it.
export function eventText(event, sensorName) {
  const d = event.data;
  if (typeof d === 'string') return d;
  if (!d) return '';
  if (typeof d.data === 'string') return d.data;
  if (event.type === 1) {
    const what = thresholdState(d.estate)[0];
    return `${sensorName(event.rid, d.num)}: ${what} ${d.assert ? 'asserted' : 'deasserted'}`;
  }
  return `Event type ${event.type} of resource ${event.rid}`;
}
