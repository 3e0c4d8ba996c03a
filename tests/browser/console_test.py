#!/usr/bin/python3
"""The web console in a real browser, against the demo appliance.

console_test.py BUILD_DIR, inside tests/hermetic/run-hermetic: starts the
simulator, the API and nginx as the demo does, drives headless chromium
through the console, checks what the simulator saw, and saves a screenshot
of the dashboard as BUILD_DIR/console-dashboard.png. Then checks that
stopping the demo (its inner script, then scripts/demo.sh) leaves nothing
running.
"""
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
URL = 'http://127.0.0.1:8080/'
CONTROL = '/tmp/kvnc-sim.control'


def wait_for(what, check, timeout=15.0):
    """The first true value of check(), polled, or a failure naming `what`."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            value = check()
            if value:
                return value
        except Exception as e:  # the page may be between two renderings
            last = e
        time.sleep(0.1)
    raise AssertionError(f'timed out waiting for {what} (last error: {last})')


def expect(condition, text):
    if not condition:
        raise AssertionError(text)


class Sim:
    """The simulator's control channel: one JSON object a line each way."""

    def command(self, **command):
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(CONTROL)
            with s.makefile('rw') as f:
                f.write(json.dumps(command) + '\n')
                f.flush()
                answer = json.loads(f.readline())
        expect(answer.get('ok'), f'control command {command} failed: {answer}')
        return answer

    def set(self, pointer, value):
        self.command(cmd='set', pointer=pointer, value=value)

    def model(self):
        return self.command(cmd='dump')['model']

    def journal(self):
        return self.command(cmd='journal')['calls']

    def log_texts(self):
        texts = []
        for entry in self.model()['event_log']['entries']:
            data = entry['event'].get('data', {})
            texts.append(data.get('UserEventData') or data.get('OemEventData') or '')
        return texts


def api(fn, prm=None, sid=None):
    body = {'FN': fn, 'MN': 1}
    if prm is not None:
        body['PRM'] = prm
    if sid:
        body['SID'] = sid
    request = urllib.request.Request(URL + 'api', data=json.dumps(body).encode(), method='POST')
    with urllib.request.urlopen(request, timeout=30) as reply:
        return json.load(reply)


def descendants(pid):
    """The processes below `pid`, by their parent links in /proc."""
    children = {}
    for entry in os.listdir('/proc'):
        if entry.isdigit():
            try:
                with open(f'/proc/{entry}/stat') as f:
                    ppid = int(f.read().rsplit(')', 1)[1].split()[1])
            except OSError:
                continue
            children.setdefault(ppid, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def alive(pid):
    try:
        with open(f'/proc/{pid}/stat') as f:
            return f.read().rsplit(')', 1)[1].split()[0] != 'Z'
    except OSError:
        return False


def port_open():
    with socket.socket() as s:
        return s.connect_ex(('127.0.0.1', 8080)) == 0


def console_up():
    try:
        with urllib.request.urlopen(URL, timeout=2) as reply:
            return reply.status == 200
    except OSError:
        return False


def wait_until_serving(process, name, timeout):
    """The console answering, or a failure as soon as `process` has ended."""
    wait_for(f'{name} to serve the console', lambda: process.poll() is not None or console_up(), timeout)
    expect(process.poll() is None, f'{name} ended with status {process.returncode} before serving the console')


def stop_and_check(process, name):
    """SIGTERM to `process` alone must end it and everything it started."""
    below = descendants(process.pid)
    expect(below, f'{name} started nothing')
    process.send_signal(signal.SIGTERM)
    process.wait(timeout=30)
    wait_for(f'the processes of {name} to end', lambda: not any(alive(p) for p in below), 10)
    expect(not port_open(), f'something still listens on 8080 after {name} stopped')


def end(process):
    """After a failure: nothing of `process` may outlive the test and hold port 8080."""
    below = descendants(process.pid)
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    for pid in below:
        if alive(pid):
            os.kill(pid, signal.SIGKILL)


class Console:
    def __init__(self, profile):
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                    '--no-first-run', '--window-size=1100,1900', f'--user-data-dir={profile}'):
            options.add_argument(arg)
        # Chromium writes caches and crash reports under HOME: keep them in the profile.
        os.environ['HOME'] = profile
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.driver.get(URL)

    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def text(self, css):
        return self.find(css).text

    def shown(self, css):
        return self.find(css).is_displayed()

    def login(self, user, password):
        wait_for('the login page', lambda: self.shown('#login-page'))
        for field, value in (('#user', user), ('#password', password)):
            self.find(field).clear()
            self.find(field).send_keys(value)
        self.find('#login-button').click()

    def cell(self, row, column):
        return self.text(f'{row} td:nth-child({column})')


def check_dashboard(console, sim, build):
    # Readings in the user's units: admin asks for Fahrenheit.
    reading = 'tr[data-sensor="2001/1"]'
    wait_for('the inlet temperature in °F', lambda: console.cell(reading, 2) == '69.8 °F')
    expect(console.cell(reading, 3) == 'normal', 'threshold state of a normal reading')
    expect(console.cell(reading, 4) == '64.4 °F … 80.6 °F', f'normal range: {console.cell(reading, 4)}')
    sim.set('/resources/2001/sensors/1/reading/value', 28.0)
    wait_for('the next poll to show the new reading', lambda: console.cell(reading, 2) == '82.4 °F')
    expect(console.cell(reading, 3) == 'upper minor', f'state: {console.cell(reading, 3)}')

    # An outlet switched off: its state, the daemon's call, the new log entry.
    outlet = 'tr[data-outlet="1"]'
    wait_for('outlet 1 on', lambda: console.cell(outlet, 3) == 'on')
    sim.journal()
    console.find(f'{outlet} button').click()
    wait_for('outlet 1 off', lambda: console.cell(outlet, 3) == 'off')
    expect(sim.model()['resources']['4002']['controls']['1']['state'] == 0, 'outlet 1 still on in the simulator')
    sets = [c for c in sim.journal() if c['function'] == 'saHpiControlSet']
    expect(len(sets) == 1 and sets[0]['uid'] == 1001, f'one switch as admin: {sets}')
    switched = 'Control 1 "Outlet 1" set to off by admin'
    wait_for('the switch in the event log', lambda: switched in console.text('#events tbody'))
    time.sleep(1.5)  # another poll: only new entries are added
    expect(console.text('#events tbody').count(switched) == 1, 'the log tail shows an entry twice')
    # The unplugged probe has no reading to show.
    expect(console.cell('tr[data-sensor="2003/1"]', 3) == 'unavailable', 'a failed probe shows a reading')

    # An alarm raised in the simulator, acknowledged in the console.
    sim.set('/resources/2001/sensors/2/reading/value', 65.0)
    alarm = wait_for('the humidity alarm', lambda: [r for r in console.driver.find_elements(
        By.CSS_SELECTOR, '#alarms tbody tr') if 'Inlet humidity' in r.text and 'minor' in r.text])[0]
    alarm.find_element(By.CSS_SELECTOR, 'button').click()
    wait_for('the alarm acknowledged', lambda: all(
        a['acknowledged'] for a in sim.model()['alarms'] if a['resource'] == 2001 and a['sensor'] == 2))
    wait_for('the console to show it', lambda: 'Acknowledged' in console.text('#alarms tbody'))
    wait_for('the alarm named in the log', lambda: 'Inlet humidity: upper minor asserted' in console.text('#events'))

    console.driver.save_screenshot(os.path.join(build, 'console-dashboard.png'))
    console.find('#logout').click()
    wait_for('the login page after logout', lambda: console.shown('#login-page'))
    expect(sim.log_texts().count('admin: logged out from 127.0.0.1') == 1, 'logout not logged')


def check_sessions(console, sim):
    # Idle logout after the user's IDLE_TIMEOUT (seconds) without input.
    sim.set('/users/admin/web/idle_timeout', 3)
    console.login('admin', 'admin-secret')
    wait_for('the dashboard', lambda: console.shown('#dashboard'))
    started = time.monotonic()
    wait_for('the idle logout', lambda: 'without activity' in console.text('#login-error'))
    expect(time.monotonic() - started >= 2.5, 'logged out before the idle time-out')
    expect(sim.log_texts().count('admin: logged out from 127.0.0.1') == 2, 'idle logout not sent to the appliance')

    console.login('admin', 'wrong-password')
    wait_for('the refusal', lambda: console.text('#login-error') == 'Wrong user login or password')
    expect(console.shown('#login-page'), 'refused login left the login page')

    # A password that must be changed now, then a session ended elsewhere:
    # the next poll finds "Bad session ID" and goes back to the login page.
    console.login('mustchange', 'change-me-now')
    wait_for('the expired password notice', lambda: 'expired' in console.text('#password-notice'))
    admin = api(0, {'USER': 'admin', 'PWD': 'admin-secret'})['response']['SESSION']['ID']
    expect(api(40, {'NAME': 'mustchange', 'ENABLED': 0}, admin)['status']['RC'] == 0, 'disabling failed')
    wait_for('the login page after the session ended', lambda: 'session has ended' in console.text('#login-error'))


def main():
    expect(os.environ.get('KVNC_HERMETIC') == '1', 'run me inside tests/hermetic/run-hermetic')
    build = os.path.abspath(sys.argv[1])
    begun = time.monotonic()
    demo = subprocess.Popen([os.path.join(ROOT, 'scripts/demo-inside.sh'), ROOT, build],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_until_serving(demo, 'the demo', 30)
    sim = Sim()
    # Polled every second, a steady temperature, humidity below its alarm.
    sim.set('/appliance/web/log_polling', 1)
    sim.set('/users/admin/web/log_polling', 1)
    for sensor, value in ((1, 21.0), (2, 50.0)):
        sim.set(f'/resources/2001/sensors/{sensor}/reading/swing', 0)
        sim.set(f'/resources/2001/sensors/{sensor}/reading/value', value)
    try:
        with tempfile.TemporaryDirectory(prefix='console-profile.') as profile:
            console = Console(profile)
            try:
                console.login('admin', 'admin-secret')
                check_dashboard(console, sim, build)
                check_sessions(console, sim)
            finally:
                console.driver.quit()
        stop_and_check(demo, 'the demo inside')
    finally:
        end(demo)

    # The demo command itself: it prints the address first, and SIGTERM stops it all.
    with open(os.path.join(build, 'console-demo.log'), 'w') as log:
        demo = subprocess.Popen([os.path.join(ROOT, 'scripts/demo.sh'), build], stdout=log, stderr=log,
                                start_new_session=True)
        try:
            wait_until_serving(demo, 'scripts/demo.sh', 180)
            stop_and_check(demo, 'scripts/demo.sh')
        finally:
            end(demo)
    with open(os.path.join(build, 'console-demo.log')) as log:
        expect(URL in log.readline(), 'demo.sh does not print the console address first')
    print(f'console test passed in {time.monotonic() - begun:.0f} s')


if __name__ == '__main__':
    main()
