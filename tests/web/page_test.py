#!/usr/bin/python3
"""Drives the built page in headless Chromium as a user does (key presses and clicks) and reads
what it shows. Every number and message the page should show comes from the native
pevrand-convert at run time, for the same request. The folder to host (web/ beside the page) is
served by scripts/serve.py on 127.0.0.1, and the next version's folder (PEVRAND_WEB_NEXT,
default build-web/next-web) is deployed over it.

Usage: /usr/bin/python3 page_test.py PAGE.html PATH-TO-pevrand-convert [AXE.min.js [TEST...]]
Exit status 0 when every row passes, 1 when any fails or the page was not built.
"""

import contextlib
import functools
import gzip
import http.server
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select

PAGE, CONVERT = (os.path.abspath(a) for a in sys.argv[1:3])
AXE = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(__file__),
                                                         "node_modules/axe-core/axe.min.js")
URL = "file://" + PAGE
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WEB = os.path.join(os.path.dirname(PAGE), "web")
NEXT = os.environ.get("PEVRAND_WEB_NEXT") or os.path.join(ROOT, "build-web", "next-web")
QUANTITIES = ["energy", "wavelength", "nu", "velocity", "momentum", "temperature", "invcm", "q",
              "dspacing", "tof"]
TITLE = "Pevrand : Neutron Units Converter"
MB = 1 << 20
driver = None


def opt(quantity, side):
    return f"opt{quantity.capitalize()}{side}"


def native(src, dst, values, angle="", path="", constants="classic"):
    """[(output, message)] that pevrand-convert gives for `values` from `src` to `dst`: values as
    arguments, or on standard input when one is too long for a command line (128 KiB)."""
    args = [CONVERT, f"--angle={angle}", f"--path={path}", f"--constants={constants}", src, dst]
    long = any(len(v.encode()) > 100_000 for v in values)
    run = subprocess.run(args + ([] if long else ["--", *values]), capture_output=True,
                         input="".join(v + "\n" for v in values) if long else None,
                         encoding="utf-8", check=False)
    outputs, messages = run.stdout.split("\n")[:len(values)], [""] * len(values)
    for line in run.stderr.splitlines():
        number, message = re.fullmatch(r"pevrand-convert: (?:value|line) (\d+): (.*)",
                                       line).groups()
        messages[int(number) - 1] = message
    return list(zip(outputs, messages))


def js(script, *args):
    return driver.execute_script(script, *args)


def by_id(name):
    return driver.find_element(By.ID, name)


def keys(*sequence):
    """Presses keys on the focused control; a tuple is a chord (Alt+C)."""
    chain = ActionChains(driver, duration=0)
    for key in sequence:
        if isinstance(key, tuple):
            chain.key_down(key[0]).send_keys(key[1]).key_up(key[0])
        else:
            chain.send_keys(key)
    chain.perform()


def click(control):
    """A mouse click in the middle of `control` (an id or an element)."""
    element = by_id(control) if isinstance(control, str) else control
    ActionChains(driver, duration=0).click(element).perform()


def focused():
    return js("return document.activeElement && document.activeElement.id")


def settled(read, expected, tries=50):
    """What `read` gives once it gives `expected`, or after `tries` hundredths of a second: a
    dialog's close event, which may move the focus, comes in a task of its own."""
    for _ in range(tries):
        value = read()
        if value == expected:
            break
        time.sleep(0.01)
    return value


def shown():
    """The output text, and the message on show (None while no message box is open)."""
    return js("const m = document.getElementById('msgbox');"
              "return [document.getElementById('txtOutputVal').value,"
              "        m.open ? document.getElementById('msgtext').textContent : null]")


def checked(frame):
    return js(f"const o = document.querySelector('#{frame} input:checked'); return o && o.id")


def load(url=URL):
    """Opens the page afresh and waits for its start-up result."""
    driver.get(url)
    for _ in range(500):
        if js("return document.getElementById('txtOutputVal')?.value") or shown()[1]:
            return
        time.sleep(0.01)


def load_afresh(url):
    """Opens `url` as a new document, also where only its fragment differs from the open one."""
    driver.get("about:blank")
    load(url)


def stores():
    """The names of the origin's service-worker stores, once its page is under a worker."""
    settled(lambda: js("return !!navigator.serviceWorker.controller"), True, 1000)
    return driver.execute_async_script("caches.keys().then(arguments[0])")


@contextlib.contextmanager
def served(folder):
    """scripts/serve.py over a copy of `folder`, on an origin (a port) of its own: its address,
    the copy and a function that stops the server."""
    copy = tempfile.mkdtemp(prefix="pevrand-web-served-")
    shutil.copytree(folder, copy, dirs_exist_ok=True)
    server = subprocess.Popen([os.path.join(ROOT, "scripts", "serve.py"), copy], text=True,
                              env={**os.environ, "PORT": "0"}, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    try:
        yield re.search(r"http://\S+/", server.stdout.readline()).group(0), copy, server.terminate
    finally:
        server.terminate()
        server.wait()
        server.stdout.close()
        shutil.rmtree(copy)


def network(online):
    """Cuts the browser off the network, every URL blocked, or gives it back."""
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": [] if online else ["*"]})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": not online, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def version(folder, name="VERSION"):
    """The version of the folder to host `folder` (or its REVISION), as its worker names it."""
    with open(os.path.join(folder, "sw.js"), encoding="utf-8") as f:
        return re.search(rf'var {name} = "(.*)";', f.read()).group(1)


def store(url, folder):
    """The name of the store that the worker of `folder` served at `url` keeps."""
    return f"pevrand {url} {version(folder)} {version(folder, 'REVISION')}"


class Host(http.server.SimpleHTTPRequestHandler):
    """A static host with one habit of a real one (the server's habit): "redirect" sends
    /index.html to its folder, "csp" adds a policy of the host's own that blocks inline script."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

    def log_message(self, *args):
        pass

    def end_headers(self):
        if self.server.habit == "csp":
            self.send_header("Content-Security-Policy", "default-src 'self'")
        super().end_headers()

    def do_GET(self):
        if self.server.habit == "redirect" and self.path.split("?")[0].endswith("/index.html"):
            self.send_response(301)
            self.send_header("Location", "./")
            self.end_headers()
        else:
            super().do_GET()


@contextlib.contextmanager
def hosted(folder, habit):
    """`folder` served on 127.0.0.1, on an origin of its own, by a host with `habit`."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Host, directory=folder))
    server.habit = habit
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f"http://127.0.0.1:{server.server_port}/"
    finally:
        server.shutdown()
        server.server_close()


def console_errors():
    """The errors logged to the console since the last read (reading the log empties it)."""
    return [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]


def status_line():
    return settled(lambda: by_id("status").text, "Ready to work offline", 500)


def type_into(box, text):
    """Clicks into `box`, selects its text and types `text` over it (empty: deletes it)."""
    click(box)
    keys((Keys.CONTROL, "a"), text or Keys.BACKSPACE)


def choose(picker, value):
    """Chooses the entry valued `value` of the <select> `picker`, as a click on it does."""
    Select(by_id(picker)).select_by_value(value)


def edition():
    """The Constants choice and the note beside the result, as the user sees them."""
    return [by_id("cboConstants").get_attribute("value"), by_id("lblEdition").text]


def select(src, dst):
    click(opt(src, "In"))
    click(opt(dst, "Out"))


def axe_violations(rules=None):
    js(open(AXE, encoding="utf-8").read())
    return driver.execute_async_script(
        "arguments[arguments.length - 1];"
        f"axe.run(document, {json.dumps({'rules': rules or {}})})"
        ".then(r => arguments[arguments.length - 1]("
        "r.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target).join(' '))))")


# name, JavaScript that reads it, what the window shows right after start
START_UP = [
    ("title", "return document.title", TITLE),
    ("value", "return document.getElementById('txtInputVal').value", "25"),
    ("input_unit", "return document.querySelector('#fraUnitsIn input:checked').id", "optEnergyIn"),
    ("output_unit", "return document.querySelector('#fraUnitsOut input:checked').id",
     "optWavelengthOut"),
    ("result", "return document.getElementById('txtOutputVal').value", "1.8087"),
    ("focus", "return document.activeElement.id", "txtInputVal"),
    ("geometry_boxes_empty", "return document.getElementById('txtTwotheta').value +"
     "document.getElementById('txtTotalflightpath').value", ""),
    ("output_read_only", "return document.getElementById('txtOutputVal').readOnly", True),
    ("no_message", "return document.getElementById('msgbox').open", False),
    ("no_quit_nor_system_info", "return !!document.querySelector('#cmdQuit, #cmdSysInfo')", False),
]

# Each ordered pair at one of these values, with a geometry that is not the default one, so a
# page that ignores a box is caught; the values give exponent-form results too.
PAIR_VALUES = ["25", "1e8", "1e-6", "2.5", "0.37", "4000", "81.787"]
PAIR_ANGLE, PAIR_PATH = "75", "12.5"

# name, value, angle, flight path, pair, how Convert is started (Enter and keypad Enter in each
# box, a click, Alt+C), focus after OK: each way to convert and each place the focus goes (the texts themselves are the core's, checked natively)
MESSAGES = [
    ("empty_value", "", "", "", ("energy", "nu"), "enter", "txtInputVal"),
    ("non_positive_after_enter_stays", "-5", "", "", ("energy", "nu"), "enter", "txtInputVal"),
    ("non_positive_after_click_stays", "0", "", "", ("energy", "nu"), "click", "cmdConvert"),
    ("non_positive_after_enter_in_angle_stays", "abc", "75", "", ("energy", "q"), "enter_angle",
     "txtTwotheta"),
    ("decimal_comma_in_flight_path", "1000", "", "0,5", ("tof", "energy"), "click",
     "txtTotalflightpath"),
    ("decimal_comma_in_angle", "25", "1,000", "", ("energy", "q"), "keypad_enter", "txtTwotheta"),
    ("flight_path_missing", "1000", "", "", ("tof", "energy"), "alt_c", "txtTotalflightpath"),
    ("angle_missing", "25", "", "", ("energy", "q"), "click", "txtTwotheta"),
    ("value_out_of_range_from_flight_path_box", "1e39", "", "10", ("energy", "energy"),
     "enter_path", "txtInputVal"),
]
START = {"enter": ("txtInputVal", Keys.RETURN), "keypad_enter": ("txtTwotheta", Keys.ENTER),
         "enter_angle": ("txtTwotheta", Keys.RETURN),
         "enter_path": ("txtTotalflightpath", Keys.RETURN)}

# name, pair, what the user does after a result is shown (with the angle 75 and the flight
# path 12.5 in their boxes), output cleared: each way an edit or a choice reaches the reactions,
# whose rules are checked once without a page
CLEARING = [
    ("typing_a_digit_in_the_value", ("energy", "wavelength"), ("type", "txtInputVal", "5"), True),
    ("choosing_the_chosen_input_unit", ("energy", "wavelength"), ("click", "optEnergyIn"), True),
    ("clicking_an_option_caption", ("energy", "wavelength"), ("click", "label[for=optNuOut]"),
     True),
    ("arrow_key_in_a_group", ("energy", "wavelength"), ("arrow",), True),
    ("angle_edit_q_on_one_side", ("energy", "q"), ("type", "txtTwotheta", "5"), True),
    ("path_edit_tof_on_one_side", ("energy", "tof"), ("type", "txtTotalflightpath", "5"), True),
    ("choosing_another_edition", ("energy", "wavelength"), ("choose", "cboConstants", "codata2018"),
     True),
    ("typing_in_the_output_box", ("energy", "wavelength"), ("type", "txtOutputVal", "9"), False),
]

# name, option focused (and selected), key, option selected afterwards
ARROWS = [
    ("up_from_first_input_wraps_to_last", "optEnergyIn", Keys.UP, "optTofIn"),
    ("left_from_first_output_wraps_to_last", "optEnergyOut", Keys.LEFT, "optTofOut"),
    ("right_to_next_input", "optQIn", Keys.RIGHT, "optDspacingIn"),
]

# name, pair chosen first, the focus after each Tab from the value box
TAB_AFTER_VALUE = ["txtTwotheta", "txtTotalflightpath", "IN", "OUT", "cmdConvert", "txtOutputVal",
                   "cmdAbout", "cboConstants"]
TABS = [("default_units", ("energy", "wavelength")), ("time_of_flight_units", ("tof", "tof"))]


# name, keys (Alt is Chromium's access key modifier on Linux), focus afterwards, option then
# selected
ACCESS_KEYS = [
    ("alt_i_to_value", (Keys.ALT, "i"), "txtInputVal", None),
    ("alt_e_selects_input_energy", (Keys.ALT, "e"), "optEnergyIn", "optEnergyIn"),
    ("alt_n_selects_output_energy", (Keys.ALT, "n"), "optEnergyOut", "optEnergyOut"),
    ("alt_o_to_constants", (Keys.ALT, "o"), "cboConstants", None),
]

# name, text pasted into the value box (a megabyte of digits is checked natively as 100,000
# nines: both lie beyond the double range, and a command line holds no megabyte)
BAD_INPUT = [
    ("number_then_a_megabyte", "25 " + "x" * MB, None),
    ("megabyte_of_digits", "9" * MB, "9" * 100_000),
    ("emoji", "\U0001F600", None),
]

# name, fragment of the address the page opens with, then its boxes (value, angle, flight path),
# units and edition of the constants, and where the focus goes after OK when it shows a message;
# the result and the message are pevrand-convert's for those boxes
LINKS = [
    ("failing_value_moves_the_focus", "#v=25&from=energy&to=q&angle=200", ("25", "200", ""),
     ("energy", "q"), "classic", "txtTwotheta"),
    ("markup_stays_text", "#v=%3Cimg%20src%3Dx%20onerror%3Dwindow.hit%3D1%3E&from=nu&to=nu",
     ("<img src=x onerror=window.hit=1>", "", ""), ("nu", "nu"), "classic", "txtInputVal"),
    ("100_kB_cut_to_the_box", "#from=tof&to=tof&path=1&v=" + "9" * 100_000,
     ("9" * 32767, "", "1"), ("tof", "tof"), "classic", "txtInputVal"),
    ("control_characters_shown_not_dropped", "#v=12%003&from=nu&to=nu", ("12\ufffd3", "", ""),
     ("nu", "nu"), "classic", "txtInputVal"),
    ("edition_chosen_before_converting", "#constants=codata2022&v=25&from=energy&to=wavelength",
     ("25", "", ""), ("energy", "wavelength"), "codata2022", None),
]
# The note beside a result of each edition
EDITION_NOTES = {"classic": "", "codata2022": "CODATA 2022"}

# name, what the browser offers instead (stubbed), the status line afterwards
SHARES = [
    ("share_sheet", "navigator.share = d => { window.handed = [d.title, d.url]; "
     "return Promise.resolve(); }", None),
    ("clipboard_where_there_is_no_share_sheet", "delete Navigator.prototype.share;"
     "navigator.clipboard.writeText = t => { window.handed = [document.title, t]; "
     "return Promise.resolve(); }", "Link copied"),
]
BOXES = "return ['txtInputVal', 'txtTwotheta', 'txtTotalflightpath'].map(b => document.getElementById(b).value)"

ABOUT_TEXTS = [("lblTitle", TITLE), ("lblVersion", "Version 2.1"),
               ("lblDescription", "Author: Pevrand Team pevrand@druvel.example"),
               ("lblDisclaimer", "Use at your own risk!")]


class Page(unittest.TestCase):
    def setUp(self):
        load()

    def tearDown(self):
        self.assertEqual(console_errors(), [], "console errors")

    def prepare(self, pair, value=None, angle=None, path=None):
        select(*pair)
        for box, text in (("txtTwotheta", angle), ("txtTotalflightpath", path),
                          ("txtInputVal", value)):
            if text is not None:
                type_into(box, text)

    def test_start_up(self):
        for name, script, expected in START_UP:
            with self.subTest(name):
                self.assertEqual(js(script), expected)

    def test_every_pair_gives_the_native_result(self):
        rows = [(s, d, PAIR_VALUES[(10 * i + j) % len(PAIR_VALUES)])
                for i, s in enumerate(QUANTITIES) for j, d in enumerate(QUANTITIES)]
        expected = [native(s, d, [v], PAIR_ANGLE, PAIR_PATH)[0] for s, d, v in rows]
        self.assertTrue(any("E+" in o for o, _ in expected) and any("E-" in o for o, _ in expected))
        type_into("txtTwotheta", PAIR_ANGLE)
        type_into("txtTotalflightpath", PAIR_PATH)
        for (src, dst, value), (output, message) in zip(rows, expected):
            with self.subTest(f"{src}_to_{dst}_{value}"):
                self.assertEqual(message, "")
                self.prepare((src, dst), value)
                keys(Keys.RETURN)
                self.assertEqual(shown(), [output, None])

    def test_messages_and_focus_after_ok(self):
        for n, (name, value, angle, path, pair, how, focus) in enumerate(MESSAGES):
            with self.subTest(name):
                load()
                message = native(*pair, [value], angle, path)[0][1]
                self.prepare(pair, value, angle, path)
                if how == "click":
                    click("cmdConvert")
                elif how == "alt_c":
                    keys((Keys.ALT, "c"))
                else:
                    click(START[how][0])
                    keys(START[how][1])
                time.sleep(0.05)  # the Enter that raised the message must not also press OK
                self.assertEqual(shown(), ["", message])
                self.assertEqual(focused(), "msgok")
                keys(Keys.RETURN) if n % 2 else click("msgok")
                self.assertEqual(shown(), ["", None])
                self.assertEqual(settled(focused, focus), focus)

    def test_clearing_rules(self):
        for name, pair, action, cleared in CLEARING:
            with self.subTest(name):
                load()
                self.prepare(pair, "25", "75", "12.5")
                click("cmdConvert")
                before = shown()
                self.assertNotEqual(before[0], "")
                if action[0] == "type":
                    click(action[1])
                    keys(Keys.END, action[2])
                elif action[0] == "choose":
                    choose(*action[1:])
                elif action[0] == "arrow":  # Tab into the input group, then the next unit
                    click("txtTotalflightpath")
                    keys(Keys.TAB, Keys.DOWN)
                else:
                    css = "#" + action[1] if action[1].startswith("opt") else action[1]
                    click(driver.find_element(By.CSS_SELECTOR, css))
                self.assertEqual(shown(), ["", None] if cleared else before)

    def test_arrows_wrap_in_list_order(self):
        for name, start, key, selected in ARROWS:
            with self.subTest(name):
                click(start)
                groups = ["fraUnitsIn", "fraUnitsOut"][::1 if start.endswith("In") else -1]
                other = checked(groups[1])
                keys(key)
                self.assertEqual([checked(groups[0]), focused(), checked(groups[1])],
                                 [selected, selected, other])

    def test_tab_order(self):
        for name, (src, dst) in TABS:
            with self.subTest(name):
                load()
                select(src, dst)
                click("txtInputVal")
                order = []
                for _ in TAB_AFTER_VALUE:
                    keys(Keys.TAB)
                    order.append(focused())
                self.assertEqual(order, [{"IN": opt(src, "In"), "OUT": opt(dst, "Out")}.get(c, c)
                                         for c in TAB_AFTER_VALUE])

    def test_access_keys(self):
        for name, chord, focus, option in ACCESS_KEYS:
            with self.subTest(name):
                load()
                select("nu", "velocity")
                click("cmdConvert")
                keys(chord)
                self.assertEqual(focused(), focus)
                if option:
                    other = "optVelocityOut" if option.endswith("In") else "optNuIn"
                    self.assertEqual({checked("fraUnitsIn"), checked("fraUnitsOut")}, {option, other})
                    self.assertEqual(shown()[0], "")

    def test_about(self):
        for n, close in enumerate([("click",), Keys.RETURN, Keys.ESCAPE]):
            with self.subTest(f"open_and_close_{n}"):
                click("cmdAbout") if n % 2 == 0 else keys((Keys.ALT, "a"))
                self.assertTrue(js("return document.getElementById('frmAbout').open"))
                for label, text in ABOUT_TEXTS:
                    self.assertEqual(by_id(label).text, text)
                self.assertTrue(js("return !!document.querySelector('#frmAbout svg')"))
                self.assertEqual(focused(), "cmdOK")
                keys((Keys.ALT, "a"))  # About while About is open: still one
                self.assertEqual(js("return document.querySelectorAll('dialog[open]').length"), 1)
                click("cmdOK") if close == ("click",) else keys(close)
                self.assertFalse(js("return document.getElementById('frmAbout').open"))

    def test_phone_viewport(self):
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 360, "height": 740, "deviceScaleFactor": 2,
                                "mobile": True})
        try:
            with served(WEB) as (url, _, _):
                load(url + "#v=4&from=wavelength&to=nu&constants=codata2022")
                self.assertEqual(axe_violations({"target-size": {"enabled": True}}), [])
                # What a conversion needs, on the first screen: no option of a unit group drawn
                off_screen = js(
                    "return ['txtInputVal', 'cboUnitsIn', 'cboUnitsOut', 'cboConstants', "
                    "'cmdConvert', 'txtOutputVal'].map(i => [i, document.getElementById(i)"
                    ".getBoundingClientRect()]).filter(([, r]) => !r.height || r.top < 0 ||"
                    " r.bottom > innerHeight).map(([i, r]) => i + ' ' + r.top + '-' + r.bottom)"
                    ".concat(scrollY ? ['scrolled'] : [], [...document.querySelectorAll('.opt')]"
                    ".filter(o => o.getClientRects().length).map(o => o.htmlFor))")
                self.assertEqual(off_screen, [])
                self.assertEqual(js("return [cboUnitsIn.value, cboUnitsOut.value]"),
                                 ["optWavelengthIn", "optNuOut"])
                choose("cboUnitsOut", "optVelocityOut")  # the option's own click reaction
                self.assertEqual([checked("fraUnitsOut"), shown()], ["optVelocityOut", ["", None]])
                click("cmdConvert")
                self.assertEqual(shown(), [native("wavelength", "velocity", ["4"],
                                                  constants="codata2022")[0][0], None])
                width, scroll = js("return [innerWidth, document.documentElement.scrollWidth]")
                self.assertEqual((width, scroll), (360, 360))
                outside = js("return [...document.querySelectorAll('label, legend, button, input, select')]"
                             ".map(e => [e.id || e.textContent, e.getBoundingClientRect()])"
                             ".filter(([, r]) => r.left < 0 || r.right > innerWidth)"
                             ".map(([n]) => n)")
                self.assertEqual(outside, [])
        finally:
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def test_window_drawn_as_designed_at_desktop_width(self):
        load_afresh(URL + "#v=25&from=energy&to=wavelength&constants=codata2022")  # the note too
        moved = js("return [...document.querySelectorAll('#frmPevrand [style*=left]')].filter(e => "
                   "Object.entries({left: e.offsetLeft, top: e.offsetTop, width: e.offsetWidth,"
                   " height: e.offsetHeight}).some(([p, v]) => e.style[p] && parseFloat(e.style[p])"
                   " !== v)).map(e => e.id)")
        drawn = js("return [frmPevrand.offsetWidth, frmPevrand.offsetHeight, [...document"
                   ".querySelectorAll('.opt, .picker')].filter(e => e.getClientRects().length)"
                   ".map(e => e.tagName).join()]")
        self.assertEqual([moved, drawn], [[], [373, 599, ",".join(["LABEL"] * 20)]])

    def test_offline_and_no_request(self):
        driver.get_log("performance")
        network(online=False)
        try:
            load()
            self.assertEqual(shown(), ["1.8087", None])
            events = [json.loads(e["message"])["message"] for e in driver.get_log("performance")]
            requests = {e["params"]["request"]["url"] for e in events
                        if e["method"] == "Network.requestWillBeSent"}
            self.assertEqual({u for u in requests if not u.startswith(("data:", "blob:"))}, {URL})
            self.assertEqual(js("return performance.getEntriesByType('resource').map(e => e.name)"
                                ".filter(u => !/^(data|blob):/.test(u))"), [])
        finally:
            network(online=True)

    def test_links_open_their_conversion(self):
        for name, fragment, boxes, units, constants, focus in LINKS:
            with self.subTest(name):
                load_afresh(URL + fragment)
                output, message = native(*units, [boxes[0]], *boxes[1:], constants)[0]
                self.assertEqual(js(BOXES), list(boxes))
                self.assertEqual([checked("fraUnitsIn"), checked("fraUnitsOut")],
                                 [opt(units[0], "In"), opt(units[1], "Out")])
                self.assertEqual(shown(), [output, message or None])
                self.assertEqual(edition(), [constants, EDITION_NOTES[constants]])
                self.assertEqual(js("return [window.hit, document.querySelectorAll('[src=x]').length]"),
                                 [None, 0])
                if focus:
                    keys(Keys.RETURN)
                    self.assertEqual(settled(focused, focus), focus)

    def test_the_address_carries_the_conversion_on_show(self):
        self.assertEqual(js("return location.hash"), "#v=25&from=energy&to=wavelength")
        js("location.hash = '#v=4&from=wavelength&to=nu'")  # as if typed into the address bar
        self.assertEqual(settled(lambda: shown()[0], "1.2361"), "1.2361")
        entries = js("return history.length")
        self.prepare(("energy", "tof"), "1e3 m&x", "", "12.5")
        choose("cboConstants", "codata2018")
        click("cmdConvert")
        on_show = [shown(), js(BOXES), checked("fraUnitsIn"), checked("fraUnitsOut"), edition()]
        fragment = js("return location.hash")
        type_into("txtInputVal", "")
        keys(Keys.RETURN)  # a message: the address stays, and no edition is named
        self.assertEqual([shown()[1] is None, js("return [location.hash, history.length]"),
                          edition()], [False, [fragment, entries], ["codata2018", ""]])
        keys(Keys.RETURN)
        load_afresh(URL + fragment)
        self.assertEqual([shown(), js(BOXES), checked("fraUnitsIn"), checked("fraUnitsOut"),
                          edition()], on_show)

    def test_installs_and_opens_offline_after_one_visit(self):
        with served(WEB) as (url, _, stop):
            load(url)
            self.assertEqual(stores(), [store(url, WEB)])
            self.assertEqual(status_line(), "Ready to work offline")
            self.assertEqual(driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                             {"installabilityErrors": []})
            with open(os.path.join(WEB, "manifest.webmanifest"), encoding="utf-8") as f:
                icons = json.load(f)["icons"]
            for icon in icons:  # as the manifest says, which Chromium checks of one icon only
                with open(os.path.join(WEB, icon["src"]), "rb") as f:
                    self.assertEqual("%dx%d" % struct.unpack(">II", f.read(24)[16:]), icon["sizes"])
            stop()
            network(online=False)
            try:
                load_afresh(url + "#v=2&from=energy&to=velocity")
                self.assertEqual(shown(), [native("energy", "velocity", ["2"])[0][0], None])
            finally:
                network(online=True)

    def test_a_deployment_copied_worker_first_arrives_by_the_third_visit(self):
        with served(WEB) as (url, folder, _):
            # Files a day old to an HTTP cache: no stale copy may slip into the next version.
            for name in os.listdir(folder):
                os.utime(os.path.join(folder, name), (time.time() - 10 * 86400,) * 2)
            load(url)
            first = stores()
            shutil.copy(os.path.join(NEXT, "sw.js"), folder)  # the rest is still being copied
            load_afresh(url)
            time.sleep(1)
            self.assertEqual(settled(stores, first), first)
            shutil.copytree(NEXT, folder, dirs_exist_ok=True)
            load_afresh(url)
            ready = "Version " + ".".join(version(NEXT).split(".")[:2]) + " is ready"
            self.assertEqual(settled(lambda: by_id("status").text, ready + " Reload", 1000),
                             ready + " Reload")
            click(driver.find_element(By.CSS_SELECTOR, "#status button"))
            self.assertEqual(settled(lambda: js("return document.documentElement.dataset.version"),
                                     version(NEXT), 1000), version(NEXT))
            load(driver.current_url)
            self.assertEqual(stores(), [store(url, NEXT)])
            click("cmdAbout")
            self.assertEqual(by_id("lblVersion").text, ready.removesuffix(" is ready"))

    def test_hosts_habits(self):
        with self.subTest("redirects_index_html"), hosted(WEB, "redirect") as url:
            load(url)
            self.assertEqual(stores(), [store(url, WEB)])
            for online in (True, False):
                network(online)
                load_afresh(url + "#v=2&from=energy&to=velocity")
                self.assertEqual(shown(), [native("energy", "velocity", ["2"])[0][0], None])
            network(online=True)
        with self.subTest("own_policy_blocks_the_script"), hosted(WEB, "csp") as url:
            driver.get(url)
            self.assertTrue(by_id("nostart").is_displayed())
            refusals = console_errors()
            self.assertTrue(any("inline script" in e and "default-src 'self'" in e
                                for e in refusals), [e[:160] for e in refusals])
        with self.subTest("two_copies_on_one_origin"), tempfile.TemporaryDirectory() as root:
            folders = ["tools/pevrand/", "test/pevrand/"]
            for folder in folders:
                shutil.copytree(WEB, os.path.join(root, folder))
            with hosted(root, None) as origin:
                ids = []
                for folder in folders:
                    load_afresh(origin + folder)
                    stores()
                    ids.append(driver.execute_cdp_cmd("Page.getAppId", {})["appId"])
                self.assertEqual(ids, [origin + folder for folder in folders])
                self.assertEqual(sorted(stores()), sorted(store(origin + f, WEB) for f in folders))

    def test_a_rewritten_store_is_never_served(self):
        tamper = ("caches.open(arguments[0]).then(s => s.put(new URL('index.html', location).href,"
                  " new Response('<p>Another page</p>', {headers: {'Content-Type': 'text/html'}})))"
                  ".then(arguments[1])")
        with served(WEB) as (url, _, stop):
            load(url)
            driver.execute_async_script(tamper, stores()[0])
            load_afresh(url)  # fetched afresh and stored again
            self.assertEqual(shown(), ["1.8087", None])
            driver.execute_async_script(tamper, stores()[0])
            stop()
            network(online=False)
            try:
                driver.get("about:blank")
                driver.get(url)
                self.assertTrue(driver.find_element(By.TAG_NAME, "p").text
                                .startswith("Pevrand can't start"))
            finally:
                network(online=True)

    def test_share_link(self):
        for name, stub, status in SHARES:
            added = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                           {"source": stub})
            try:
                with self.subTest(name), served(WEB) as (url, _, _):
                    link = url + "#v=4&from=wavelength&to=nu"
                    load(link)
                    status_line()
                    click("share")
                    self.assertEqual(settled(lambda: js("return window.handed"), [TITLE, link]),
                                     [TITLE, link])
                    if status:
                        self.assertEqual(settled(lambda: by_id("status").text, status), status)
            finally:
                driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", added)

    def test_a_second_message_waits_for_the_first(self):
        type_into("txtInputVal", "")
        keys(Keys.RETURN)
        first = shown()[1]
        js("location.hash = '#v=25&from=energy&to=q&angle=200'")
        time.sleep(0.1)
        self.assertEqual(shown()[1], first)
        keys(Keys.RETURN)
        second = native("energy", "q", ["25"], "200")[0][1]
        self.assertEqual(settled(lambda: shown()[1], second), second)
        keys(Keys.RETURN)
        self.assertEqual(settled(focused, "txtTwotheta"), "txtTwotheta")

    def test_sizes_within_their_limits(self):
        with open(PAGE, "rb") as f:
            page = f.read()
        folder = sum(os.path.getsize(os.path.join(WEB, name)) for name in os.listdir(WEB))
        for name, size, limit in [("page", len(page), 250_000),
                                  ("page_gzipped", len(gzip.compress(page, 9)), 100_000),
                                  ("folder_to_host", folder, 400_000)]:
            with self.subTest(name):
                self.assertLessEqual(size, limit)

    def test_policy_lets_nothing_reach_another_origin(self):
        with served(WEB) as (url, _, _):
            for page in (URL, url):
                with self.subTest(page.split(":")[0]):
                    load_afresh(page)
                    refused = driver.execute_async_script(
                        "const done = arguments[0], seen = [];"
                        "addEventListener('securitypolicyviolation', e => seen.push(e.effectiveDirective));"
                        "new Image().src = 'http://127.0.0.2:9/i.png';"
                        "fetch('http://127.0.0.2:9/f').catch(() => setTimeout(() => done(seen), 50));")
                    self.assertEqual(sorted(refused), ["connect-src", "img-src"])
                    self.assertIsNone(js("try { const s = document.createElement('script');"
                                         "s.text = 'window.ran = 1'; document.body.append(s) }"
                                         "catch (e) {} return window.ran"))
                    refusals = console_errors()
                    for address in ("http://127.0.0.2:9/i.png", "http://127.0.0.2:9/f"):
                        self.assertTrue(any(address in e and "Content Security Policy" in e
                                            for e in refusals), [e[:160] for e in refusals])

    def test_a_browser_that_blocks_webassembly_says_so(self):
        added = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "WebAssembly.Module = function () { throw new Error('blocked'); };"
            "WebAssembly.instantiate = () => Promise.reject(new Error('blocked'))"})
        try:
            driver.get(URL)
            self.assertTrue(settled(lambda: js("return !nostart.hidden"), True))
        finally:
            driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", added)

    def test_axe_finds_no_violation(self):
        for name, action in [("start_up", None), ("message_open", "txtInputVal"),
                             ("about_open", "cmdAbout")]:
            with self.subTest(name):
                load()
                if action == "txtInputVal":
                    type_into("txtInputVal", "")
                    keys(Keys.RETURN)
                elif action:
                    click(action)
                self.assertEqual(axe_violations(), [])


def main():
    global driver
    if not os.path.isfile(PAGE):
        print(f"FAIL: the page {PAGE} was not built (make web, or make web-tests, which builds it)")
        return 1
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    profile = tempfile.TemporaryDirectory(prefix="pevrand-web-test-")
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-dev-shm-usage", "--window-size=1024,900",
                 f"--user-data-dir={profile.name}"]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        result = unittest.main(argv=[sys.argv[0], "-v", *sys.argv[4:]], exit=False).result
    finally:
        driver.quit()
        profile.cleanup()
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
