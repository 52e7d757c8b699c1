"""The browsers the page test drives, one launch per engine: Chromium through
its driver, WebKitGTK through its driver (under an X server such as xvfb-run)
and Firefox over WebDriver BiDi. Each gives the test Selenium's driver
interface, as far as the test uses it, with a screen of the asked size.
"""
import asyncio
import base64
import json
import os
import re
import subprocess
import time
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import (JavascriptException, NoSuchElementException,
                                        StaleElementReferenceException, TimeoutException)
from selenium.webdriver.common.by import By

ENGINES = ("chromium", "firefox", "webkit")
START_SECONDS = 60

# What an engine's download leaves beside the file while it is still being written.
PARTIAL_DOWNLOAD = {"chromium": "*.crdownload", "firefox": "*.part", "webkit": "*.wkdownload"}

CHROMIUM_FLAGS = ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--disable-dev-shm-usage")

# A quiet Firefox profile: no first-run pages, updates or telemetry, and
# downloads saved to the profile's download folder without a question.
FIREFOX_PREFS = {
    "app.update.disabledForTesting": True,
    "browser.aboutwelcome.enabled": False,
    "browser.download.alwaysOpenPanel": False,
    "browser.download.always_ask_before_handling_new_types": False,
    "browser.download.folderList": 2,
    "browser.download.start_downloads_in_tmp_dir": False,
    "browser.download.useDownloadDir": True,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.startup.page": 0,
    "browser.tabs.warnOnClose": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
}

WEBKIT_BROWSERS = ("/usr/lib/*/webkit2gtk-4.1/MiniBrowser", "/usr/lib/*/webkit2gtk-4.0/MiniBrowser")


def launch(engine, profile, downloads, width, height, mobile):
    """A driver of a fresh browser of the engine, with its own profile folder
    and download folder, whose page is width x height CSS pixels (a phone's
    at twice the pixels, where the engine can say so)."""
    if engine == "chromium":
        return chromium(profile, downloads, width, height, mobile)
    if engine == "firefox":
        started = firefox(profile, downloads, width, height)
        try:
            return BidiDriver(started, width, height, mobile)
        except BaseException:
            started[0].kill()  # a browser the test cannot drive is not left running
            started[0].wait()
            raise
    if engine == "webkit":
        return webkit(profile, downloads, width, height)
    raise ValueError(f"no engine {engine!r}; one of {', '.join(ENGINES)}")


def chromium(profile, downloads, width, height, mobile):
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS + (f"--user-data-dir={profile}", f"--window-size={width},{height}"):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {
        "download.default_directory": str(downloads),
        "download.prompt_for_download": False,
    })
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # The screen exactly this size (a window's own bars would take from it).
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 2 if mobile else 1, "mobile": mobile})
    return driver


def webkit(profile, downloads, width, height):
    """The browser saves downloads in the user's download folder and keeps
    its data under the home folder: both are the browser's own folders here,
    given to the driver's process alone (the test's own stay as they are)."""
    from selenium.webdriver.webkitgtk.options import Options
    options = Options()
    options.binary_location = next(str(path) for pattern in WEBKIT_BROWSERS
                                   for path in sorted(Path("/").glob(pattern.lstrip("/"))))
    options.add_argument("--automation")
    config = Path(profile, "config")
    config.mkdir()
    (config / "user-dirs.dirs").write_text(f'XDG_DOWNLOAD_DIR="{downloads}"\n')
    driver = WebKitDriver(dict(os.environ, HOME=str(profile), XDG_CONFIG_HOME=str(config)), options)
    # The window grown by what its own frame takes, so the page gets the size.
    driver.set_window_size(width, height)
    inner = driver.execute_script("return [innerWidth, innerHeight]")
    driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])
    return driver


class WebKitDriver(webdriver.WebKitGTK):
    """The engine's driver, its process (and so the browser) started with the
    given environment."""

    def __init__(self, environment, options):
        from selenium.webdriver.remote.webdriver import WebDriver as RemoteDriver
        from selenium.webdriver.webkitgtk.service import Service
        self.service = Service("/usr/bin/WebKitWebDriver", env=environment)
        self.service.start()
        try:
            RemoteDriver.__init__(self, command_executor=self.service.service_url,
                                  desired_capabilities=options.to_capabilities())
        except BaseException:
            self.service.stop()
            raise
        self._is_remote = False


def firefox(profile, downloads, width, height):
    """Starts Firefox with BiDi on a free port; returns (process, address)."""
    prefs = dict(FIREFOX_PREFS, **{"browser.download.dir": str(downloads)})
    Path(profile, "user.js").write_text(
        "".join(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n" for name, value in prefs.items()))
    log = Path(profile, "firefox.log")
    env = dict(os.environ, MOZ_HEADLESS_WIDTH=str(width), MOZ_HEADLESS_HEIGHT=str(height))
    with open(log, "wb") as out:
        process = subprocess.Popen(["firefox-esr", "--headless", "--no-remote", "--profile", str(profile),
                                    "--remote-debugging-port=0", "about:blank"],
                                   stdout=out, stderr=subprocess.STDOUT, env=env)
    deadline = time.monotonic() + START_SECONDS
    while not (found := re.search(rb"WebDriver BiDi listening on (ws://\S+)", log.read_bytes())):
        if process.poll() is not None or time.monotonic() > deadline:
            process.kill()
            raise RuntimeError(f"Firefox did not start: {log.read_text(errors='replace')[-2000:]}")
        time.sleep(0.05)
    return process, found.group(1).decode() + "/session"


class BidiError(Exception):
    pass


class BidiConnection:
    """Commands over one WebDriver BiDi socket, each awaited in turn, and the
    browsing contexts with a page still loading, from the navigation events.
    Each connection runs on an event loop of its own, so a browser started on
    one thread serves on another."""

    def __init__(self, address):
        import websockets
        self.loop = asyncio.new_event_loop()

        async def connect():
            return await websockets.connect(address, max_size=None)
        self.socket = self.run(connect())
        self.next_id = 0
        self.loading = set()

    def run(self, work):
        """Runs a coroutine on the connection's loop, the calling thread's
        current loop meanwhile (the socket's library looks it up)."""
        asyncio.set_event_loop(self.loop)
        return self.loop.run_until_complete(work)

    def call(self, method, timeout=START_SECONDS, **params):
        return self.run(asyncio.wait_for(self._call(method, params), timeout))

    async def _call(self, method, params):
        self.next_id += 1
        await self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(await self.socket.recv())
            if message.get("id") != self.next_id:
                self.note(message)
                continue
            if message.get("type") == "error":
                raise BidiError(f"{method}: {message['error']}: {message.get('message', '')}")
            return message["result"]

    def note(self, event):
        context = event.get("params", {}).get("context")
        if event.get("method") == "browsingContext.navigationStarted":
            self.loading.add(context)
        elif event.get("method") in ("browsingContext.load", "browsingContext.navigationFailed"):
            self.loading.discard(context)

    def wait_loaded(self, context, timeout):
        """Returns once the context's page has loaded, as a classic driver
        waits before it runs a script (or after the timeout)."""
        async def events():
            while context in self.loading:
                self.note(json.loads(await self.socket.recv()))
        try:
            self.run(asyncio.wait_for(events(), timeout))
        except asyncio.TimeoutError:
            self.loading.discard(context)

    def close(self):
        self.run(self.socket.close())


def local_value(value):
    """A Python value as a BiDi argument."""
    if isinstance(value, BidiElement):
        return {"sharedId": value.shared_id}
    if value is None:
        return {"type": "null"}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [local_value(item) for item in value]}
    if isinstance(value, dict):
        return {"type": "object", "value": [[str(key), local_value(item)] for key, item in value.items()]}
    raise TypeError(f"cannot pass {value!r} to the page")


SPECIAL_NUMBERS = {"NaN": float("nan"), "-0": -0.0, "Infinity": float("inf"), "-Infinity": float("-inf")}


class BidiDriver:
    """Selenium's driver interface, as the page test uses it, over BiDi."""

    def __init__(self, started, width, height, mobile):
        self.process, address = started
        self.bidi = BidiConnection(address)
        self.bidi.call("session.new", capabilities={})
        self.bidi.call("session.subscribe", events=[
            "browsingContext.navigationStarted", "browsingContext.load", "browsingContext.navigationFailed"])
        self.context = self.bidi.call("browsingContext.getTree")["contexts"][0]["context"]
        self.screen = {"viewport": {"width": width, "height": height}, "devicePixelRatio": 2 if mobile else 1}
        self._set_screen()
        self.script_timeout = START_SECONDS
        self.switch_to = self

    def _set_screen(self):
        self.bidi.call("browsingContext.setViewport", context=self.context, **self.screen)

    # Navigation and windows.
    def get(self, url):
        self.bidi.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def refresh(self):
        self.bidi.call("browsingContext.reload", context=self.context, wait="complete")

    def new_window(self, kind="tab"):
        self.context = self.bidi.call("browsingContext.create", type=kind)["context"]
        self._set_screen()

    def save_screenshot(self, path):
        shot = self.bidi.call("browsingContext.captureScreenshot", context=self.context)
        Path(path).write_bytes(base64.b64decode(shot["data"]))

    def set_script_timeout(self, seconds):
        self.script_timeout = seconds

    def quit(self):
        try:
            self.bidi.call("browser.close", timeout=5)
        except Exception:
            pass
        try:
            self.bidi.close()
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    # Scripts.
    def call(self, declaration, *args, await_promise=False, timeout=None):
        self.bidi.wait_loaded(self.context, START_SECONDS)
        try:
            result = self.bidi.call(
                "script.callFunction", timeout=timeout or START_SECONDS,
                functionDeclaration=declaration, arguments=[local_value(arg) for arg in args],
                target={"context": self.context}, awaitPromise=await_promise, resultOwnership="none",
                serializationOptions={"maxDomDepth": 0})
        except BidiError as error:
            if "no such node" in str(error) or "stale element" in str(error):
                raise StaleElementReferenceException(str(error)) from error
            raise
        except asyncio.TimeoutError as error:
            raise TimeoutException(f"no answer from the page in {timeout} s") from error
        if result["type"] == "exception":
            raise JavascriptException(result["exceptionDetails"].get("text", "script error"))
        return self.python_value(result["result"])

    def python_value(self, remote):
        kind, value = remote["type"], remote.get("value")
        if kind in ("undefined", "null"):
            return None
        if kind == "number":
            return SPECIAL_NUMBERS.get(value, value) if isinstance(value, str) else value
        if kind in ("string", "boolean"):
            return value
        if kind == "bigint":
            return int(value)
        if kind in ("array", "set", "nodelist", "htmlcollection"):
            return [self.python_value(item) for item in value or []]
        if kind in ("object", "map"):
            return {key if isinstance(key, str) else self.python_value(key): self.python_value(item)
                    for key, item in value or []}
        if kind == "node":
            return BidiElement(self, remote["sharedId"])
        return value

    def execute_script(self, script, *args):
        return self.call(f"function() {{ {script}\n}}", *args)

    def execute_async_script(self, script, *args):
        return self.call("function(...args) { return new Promise((done) => "
                         f"(function() {{ {script}\n}}).apply(this, [...args, done])); }}",
                         *args, await_promise=True, timeout=self.script_timeout)

    # Elements.
    def find_elements(self, by, value, within=None):
        return self.call(FIND_SCRIPT, by, value, within)

    def find_element(self, by, value, within=None):
        found = self.find_elements(by, value, within)
        if not found:
            raise NoSuchElementException(f"no element {by}={value}")
        return found[0]

    def perform(self, *sources):
        self.bidi.call("input.performActions", context=self.context, actions=list(sources))


# Elements by Selenium's locators, in the document or in one element.
FIND_SCRIPT = """function(by, value, within) {
  const root = within || document;
  if (by === 'xpath') {
    const found = document.evaluate(value, root, null, XPathResult.ORDERED_NODE_SNAPSHOT_TYPE, null);
    return Array.from({ length: found.snapshotLength }, (_, index) => found.snapshotItem(index));
  }
  const selector = by === 'id' ? `[id="${CSS.escape(value)}"]` : by === 'tag name' ? value
    : by === 'class name' ? `.${CSS.escape(value)}` : by === 'name' ? `[name="${CSS.escape(value)}"]` : value;
  return [...root.querySelectorAll(selector)];
}"""


class BidiElement:
    """Selenium's element interface, as the page test uses it, over BiDi."""

    def __init__(self, driver, shared_id):
        self.driver, self.shared_id = driver, shared_id

    def __eq__(self, other):
        return isinstance(other, BidiElement) and other.shared_id == self.shared_id

    def __hash__(self):
        return hash(self.shared_id)

    def run(self, body, *args):
        return self.driver.call(f"function(element, ...args) {{ {body}\n}}", self, *args)

    def find_elements(self, by, value):
        return self.driver.find_elements(by, value, self)

    def find_element(self, by, value):
        return self.driver.find_element(by, value, self)

    @property
    def text(self):
        return self.run("return element.innerText.split('\\n').map((line) => line.trim()).join('\\n').trim()")

    @property
    def tag_name(self):
        return self.run("return element.localName")

    def get_attribute(self, name):
        """The property of that name where it is a plain value, else the attribute."""
        return self.run("""const [name] = args; const value = element[name];
            if (typeof value === 'boolean') return value ? 'true' : null;
            if (value !== undefined && value !== null && typeof value !== 'object' && typeof value !== 'function')
              return String(value);
            return element.getAttribute(name);""", name)

    def get_property(self, name):
        return self.run("return element[args[0]]", name)

    def is_displayed(self):
        return self.run("return element.checkVisibility({ opacityProperty: true, visibilityProperty: true })")

    def is_enabled(self):
        return self.run("return !element.matches(':disabled')")

    def clear(self):
        self.run("""element.focus(); element.value = '';
            element.dispatchEvent(new Event('input', { bubbles: true }));
            element.dispatchEvent(new Event('change', { bubbles: true }));""")

    def _into_view(self):
        self.run("""const box = element.getBoundingClientRect();
            if (box.top < 0 || box.left < 0 || box.bottom > innerHeight || box.right > innerWidth)
              element.scrollIntoView({ block: 'end', inline: 'nearest' });""")

    def click(self):
        self._into_view()
        self.driver.perform({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": [
            {"type": "pointerMove", "x": 0, "y": 0, "origin": {"type": "element", "element": {"sharedId": self.shared_id}}},
            {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def send_keys(self, text):
        """Types into the element (a file input is given the named file)."""
        if self.run("return element.localName === 'input' && element.type === 'file'"):
            self.driver.bidi.call("input.setFiles", context=self.driver.context,
                                  element={"sharedId": self.shared_id}, files=text.split("\n"))
            return
        self._into_view()
        self.run("""if (document.activeElement !== element) {
              element.focus();
              if (typeof element.value === 'string' && element.setSelectionRange)
                try { element.setSelectionRange(element.value.length, element.value.length); } catch {}
            }""")
        keys = [action for key in text for action in
                ({"type": "keyDown", "value": key}, {"type": "keyUp", "value": key})]
        self.driver.perform({"type": "key", "id": "keyboard", "actions": keys})
