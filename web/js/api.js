// The one way the console talks to the appliance: a JSON POST to /api.
// Every reply is {"MN", "response", "status": {"RC", "RCT", "IC"}}.

export class ApiError extends Error {
  constructor(rc, text) {
    super(text || `error ${rc}`);
    this.rc = rc;
  }
}

let sid = '';
let counter = 0;
let waitMs = 60000;
let onSessionLost = () => {};

export function setSession(id, waitSeconds) {
  sid = id || '';
  if (waitSeconds > 0) waitMs = waitSeconds * 1000;
}

export function hasSession() {
  return sid !== '';
}

export function whenSessionLost(handler) {
  onSessionLost = handler;
}

// Calls function `fn`; answers `response`, throws ApiError for any RC but 0.
export async function call(fn, prm) {
  const body = { FN: fn, MN: ++counter };
  if (sid) body.SID = sid;
  if (prm !== undefined) body.PRM = prm;
  const abort = new AbortController();
  const timer = setTimeout(() => abort.abort(), waitMs);
  let reply;
  try {
    const http = await fetch('/api', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(body),
      signal: abort.signal,
      cache: 'no-store',
    });
    // nginx answers some refusals itself, without a JSON body.
    if (http.status === 429) throw new ApiError(-429, 'Too many login attempts; wait a moment and try again.');
    if (!http.ok) throw new ApiError(-http.status, `The appliance answered HTTP ${http.status}.`);
    reply = await http.json();
  } catch (e) {
    if (e instanceof ApiError) throw e;
    throw new ApiError(-1, abort.signal.aborted ? 'The appliance did not answer in time.' : 'The appliance cannot be reached.');
  } finally {
    clearTimeout(timer);
  }
  const status = reply.status || {};
  if (status.RC === 2 && status.RCT === 'Bad session ID' && fn !== 0) {
    sid = '';
    onSessionLost();
  }
  if (status.RC !== 0) throw new ApiError(status.RC, status.RCT);
  return reply.response;
}
