// The console: the service agreement and login page, then the dashboard,
// polled at the user's LOG_POLLING until logout, idle time-out or a session
// the appliance no longer knows.
import { ApiError, call, hasSession, setSession, whenSessionLost } from './api.js';
import { EventView, AlarmView } from './events.js';
import { sessionOf, unitsOf } from './format.js';
import { OutletView } from './outlets.js';
import { SensorView } from './sensors.js';

const $ = (id) => document.getElementById(id);
const ACTIVITY = ['pointerdown', 'pointermove', 'keydown', 'wheel', 'touchstart'];

let login = null;
let views = null;
let pollTimer = 0;
let idleTimer = 0;
let lastActivity = Date.now();

function showPage(name) {
  $('login-page').hidden = name !== 'login';
  $('dashboard').hidden = name !== 'dashboard';
}

function message(id, text) {
  $(id).textContent = text || '';
  $(id).hidden = !text;
}

async function showAgreement() {
  let agreement = { needed: false };
  try {
    agreement = await call(118);
  } catch {
    // No agreement stored: nothing to show.
  }
  const box = $('agreement');
  box.hidden = !agreement.needed;
  $('agreement-text').textContent = agreement.text || '';
  const enforced = agreement.needed && agreement.enforced;
  $('agreement-accept').hidden = !enforced;
  $('accept').checked = false;
  $('accept').required = enforced;
}

function toLoginPage(text) {
  stopSession();
  showPage('login');
  $('password').value = '';
  message('login-error', text);
  showAgreement();
  $('user').focus();
}

async function onLogin(event) {
  event.preventDefault();
  message('login-error', '');
  const button = $('login-button');
  button.disabled = true;
  try {
    login = await call(0, { USER: $('user').value, PWD: $('password').value });
    $('password').value = '';
    await startSession();
  } catch (e) {
    // RC 2 and 3 carry the text to show (PAM's, the address policy's).
    message('login-error', e instanceof ApiError ? e.message : String(e));
  } finally {
    button.disabled = false;
  }
}

async function startSession() {
  const session = sessionOf(login);
  setSession(login.SESSION.ID, session.WAIT_TIMEOUT);
  $('who').textContent = `${login.SESSION.FNAME || login.SESSION.USER} on ${login.SESSION.HOST}`;
  const expiry = login.EXPIRATION || {};
  message('password-notice', expiry.EXPIRED
    ? 'Your password has expired and must be changed now.'
    : expiry.WARN && expiry.DAYS > 0 ? `Your password expires in ${expiry.DAYS} days.` : '');
  message('error', '');
  showPage('dashboard');
  const report = (text) => message('error', text);
  const sensors = new SensorView($('sensors'), unitsOf(login));
  views = {
    sensors,
    outlets: new OutletView($('outlets'), () => views && refresh(views.events), report),
    events: new EventView($('events'), (rid, num) => sensors.nameOf(rid, num)),
    alarms: new AlarmView($('alarms'), report),
  };
  lastActivity = Date.now();
  if (session.IDLE_ENABLED && session.IDLE_TIMEOUT > 0) {
    idleTimer = setInterval(() => checkIdle(session.IDLE_TIMEOUT), 1000);
  }
  await Promise.all(Object.values(views).map((v) => refresh(v, 'start')));
  schedule(Math.max(1, session.LOG_POLLING || 10));
}

async function refresh(view, what = 'poll') {
  try {
    await view[what]();
  } catch (e) {
    if (hasSession()) message('error', e.message);
  }
}

function schedule(seconds) {
  pollTimer = setTimeout(async () => {
    for (const view of Object.values(views || {})) {
      if (!hasSession()) return;
      await refresh(view);
    }
    if (hasSession()) {
      $('updated').textContent = `Updated ${new Date().toLocaleTimeString()}`;
      schedule(seconds);
    }
  }, seconds * 1000);
}

function stopSession() {
  clearTimeout(pollTimer);
  clearInterval(idleTimer);
  setSession('');
  views = null;
}

async function logout(reason) {
  const user = login && login.SESSION.USER;
  if (hasSession()) await call(1, { un: user }).catch(() => {});
  login = null;
  toLoginPage(reason);
}

function checkIdle(timeoutSeconds) {
  if (Date.now() - lastActivity >= timeoutSeconds * 1000) {
    clearInterval(idleTimer);
    clearTimeout(pollTimer);
    logout('You were logged out after a time without activity.');
  }
}

function init() {
  for (const name of ACTIVITY) document.addEventListener(name, () => { lastActivity = Date.now(); }, true);
  whenSessionLost(() => toLoginPage('Your session has ended. Please log in again.'));
  $('login-form').addEventListener('submit', onLogin);
  $('logout').addEventListener('click', () => logout(''));
  toLoginPage('');
}

init();
