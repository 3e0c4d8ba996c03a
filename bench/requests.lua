-- wrk script of bench/load.sh and bench/ratio.sh:
--   wrk ... -s bench/requests.lua URL -- MODE SID
-- MODE "mix": FN 12, 13, 18 and 7 in turn (sensor readings, thresholds,
-- control states, resource records of the demo appliance); "fn13": FN 13
-- only. Every reply whose status.RC is not 0 (or that has no status) is
-- counted as an error; done() prints one RESULT line for the script to read.

local threads = {}

function setup(thread)
  table.insert(threads, thread)
end

local bodies = {}
local next_body = 0
errors = 0
replies = 0
first_bad = ""

function init(args)
  local mode, sid = args[1] or "mix", args[2] or ""
  local prm = {
    [7] = '{"ID":1000}',
    [12] = '{"SENS":[{"ID":2001,"SNUM":1,"THRES":1,"EMASK":63},{"ID":2001,"SNUM":2,"THRES":0,"EMASK":0}]}',
    [13] = '{"ID":2001,"SNUM":1}',
    [18] = '{"ID":1000,"CTRL":[{"NUM":1,"TYPE":0},{"NUM":2,"TYPE":1},{"NUM":3,"TYPE":2}]}',
  }
  local fns = mode == "fn13" and { 13 } or { 12, 13, 18, 7 }
  for i, fn in ipairs(fns) do
    bodies[i] = string.format('{"FN":%d,"SID":"%s","PRM":%s,"MN":%d}', fn, sid, prm[fn], i)
  end
  wrk.method = "POST"
  wrk.headers["Content-Type"] = "application/json"
end

function request()
  next_body = next_body % #bodies + 1
  return wrk.format(nil, "/api", nil, bodies[next_body])
end

function response(status, headers, body)
  replies = replies + 1
  -- Replies are compact with members in key order: "status":{"IC":..,"RC":..
  local rc = body:match('"status":{"IC":%-?%d+,"RC":(%d+)')
  if rc ~= "0" then
    errors = errors + 1
    if first_bad == "" then first_bad = string.format("HTTP %d %s", status, body:sub(1, 200)) end
  end
end

function done(summary, latency, requests)
  local rc_errors, replies_seen, sample = 0, 0, ""
  for _, thread in ipairs(threads) do
    rc_errors = rc_errors + thread:get("errors")
    replies_seen = replies_seen + thread:get("replies")
    if sample == "" then sample = thread:get("first_bad") end
  end
  local e = summary.errors
  io.write(string.format(
    "RESULT requests=%d seconds=%.2f rps=%.1f p50_ms=%.2f p99_ms=%.2f max_ms=%.1f rc_errors=%d non2xx=%d " ..
    "socket_errors=%d replies=%d\n",
    summary.requests, summary.duration / 1e6, summary.requests / (summary.duration / 1e6),
    latency:percentile(50) / 1000, latency:percentile(99) / 1000, latency.max / 1000, rc_errors, e.status,
    e.connect + e.read + e.write + e.timeout, replies_seen))
  if sample ~= "" then io.write("FIRST-ERROR " .. sample .. "\n") end
end
