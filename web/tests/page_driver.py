"""Drives the built web page in a headless browser as a user drives it.

The browser of the chosen engine (web/tests/engines.py) with its own profile
and download folder, the site served as the README serves it, the golden expectations of the native program read as the
page shows them, and the page's budget figures; web/tests/test_page.py holds
the cases and runs them with `run`.
"""
import contextlib
import re
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import unittest
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import engines
import lighthouse
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = Path(__file__).resolve().parents[2]
GOLDEN = ROOT / "tests" / "golden"
WAIT_SECONDS = 20
# The accessibility checker, installed by npm ci from web/package-lock.json.
AXE = ROOT / "web" / "node_modules" / "axe-core" / "axe.min.js"
SITE_FILES = [line for line in (ROOT / "web" / "site-files.txt").read_text().splitlines()
              if line and not line.startswith("#")]

# The console's text with each typed answer replaced by a marker, so that the
# program's own output and the answers' places can be checked apart.
CONSOLE_SCRIPT = """
const log = document.querySelector('[role="log"]');
let text = '';
for (const line of log.children) {
  for (const node of line.childNodes) {
    if (node.nodeType === Node.TEXT_NODE) text += node.data;
    else if (node.className === 'answer') text += '\\u0000' + node.textContent + '\\u0001';
    else text += node.textContent;
  }
}
return text;
"""


def golden(case, name):
    return (GOLDEN / case / name).read_bytes()


def answer_lines(case):
    return golden(case, "answers.txt").decode("cp1252").split("\n")[:-1]


def screen_text(stdout_bytes):
    """What the page shows of the native output: CR LF as a line break."""
    return stdout_bytes.decode("cp1252").replace("\r\n", "\n")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


@contextlib.contextmanager
def served(folder, log=None):
    """The site under python3 -m http.server, as the README serves it; its
    request log (one line per request, with the status) goes to `log`."""
    port = free_port()
    server = subprocess.Popen(
        [sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1", "--directory", str(folder)],
        stdout=subprocess.DEVNULL, stderr=log or subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.05)
        yield server, f"http://127.0.0.1:{port}/"
    finally:
        server.terminate()
        server.wait()


ENGINES = ("chromium", "firefox", "webkit")


def in_engines(*engines):
    """Marks a case that runs in these engines too; the others run in
    Chromium only."""
    def marked(test):
        test.engines = ("chromium",) + engines
        return test
    return marked


every_engine = in_engines(*ENGINES)


def start(engine, width, height, mobile):
    """A fresh browser of the engine with its own new profile and download
    folder: (profile, downloads, driver)."""
    profile = tempfile.mkdtemp(prefix=f"dosmo-{engine}-")
    downloads = Path(tempfile.mkdtemp(prefix="dosmo-downloads-"))
    try:
        return profile, downloads, engines.launch(engine, profile, downloads, width, height, mobile)
    except BaseException:
        stop(profile, downloads, None)
        raise


def stop(profile, downloads, driver):
    if driver is not None:
        driver.quit()
    shutil.rmtree(profile, ignore_errors=True)
    shutil.rmtree(downloads, ignore_errors=True)


class Launcher:
    """Starts the browsers one case ahead: when a case takes a browser of a
    kind (engine and screen), the next of that kind starts in the background
    while the case runs, and a browser a case is done with ends in the
    background. Each browser still serves one case only, fresh, with its own
    profile and download folder. `finish` waits for both and ends the
    browsers no case took, so that nothing runs beside what follows."""

    def __init__(self):
        self.starting = ThreadPoolExecutor(max_workers=1)
        self.ending = ThreadPoolExecutor(max_workers=1)
        self.spares = {}
        self.ends = []

    def take(self, kind, ahead=True):
        """A browser of the kind; without ahead, none starts or ends beside
        the case (it measures the page's timings)."""
        spare = self.spares.pop(kind, None)
        started = spare.result() if spare is not None else start(*kind)
        if ahead:
            self.spares[kind] = self.starting.submit(start, *kind)
        else:
            self.settle()
        return started

    def settle(self):
        for spare in self.spares.values():
            with contextlib.suppress(Exception):
                spare.result()
        for ended in self.ends:
            with contextlib.suppress(Exception):
                ended.result()
        self.ends.clear()

    def end(self, started):
        self.ends.append(self.ending.submit(stop, *started))

    def finish(self):
        for spare in self.spares.values():
            with contextlib.suppress(Exception):
                self.end(spare.result())
        self.spares.clear()
        self.settle()


LAUNCHER = Launcher()


class Browser:
    """One fresh browser of the engine with its own profile and download
    folder; with ahead, the next of its kind starts meanwhile (Launcher)."""

    def __init__(self, width=1280, height=800, mobile=False, shots=None, engine="chromium", ahead=True):
        self.name = "phone" if mobile else "desktop"
        self.engine = engine
        self.shots = shots
        self.profile, self.downloads, self.driver = LAUNCHER.take((engine, width, height, mobile), ahead)

    def close(self):
        LAUNCHER.end((self.profile, self.downloads, self.driver))

    def until(self, condition, message):
        return WebDriverWait(self.driver, WAIT_SECONDS, poll_frequency=0.02).until(
            lambda driver: condition(), message)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def js_async(self, script, *args):
        """Runs a script that calls its last argument with its result."""
        self.driver.set_script_timeout(WAIT_SECONDS)
        return self.driver.execute_async_script(script, *args)

    def runs(self):
        return int(self.js("return document.querySelector('[role=\"log\"]').dataset.runs || '0'"))

    def settled_after(self, runs_before):
        self.until(lambda: self.runs() > runs_before and self.js(
            "return document.querySelector('[role=\"log\"]').getAttribute('aria-busy') === 'false'"),
            "the page did not show the program's next screen")

    def open(self, url):
        self.driver.get(url)
        self.settled_after(0)

    def field(self):
        return self.driver.find_element(By.XPATH, "//input[@id=//label[normalize-space()='Resposta']/@for]")

    def waiting(self):
        return self.field().is_enabled()

    def answer(self, text):
        """Types one answer and Enter; it must show right below the screen it answered."""
        runs, before = self.runs(), self.console()
        self.field().send_keys(text + Keys.ENTER)
        self.settled_after(runs)
        after = self.console()
        if not after.startswith(before + "\0" + text + "\1"):
            raise AssertionError(f"{text!r} is not shown where it was typed:\n{after[len(before) - 200:]!r}")

    def button(self, name):
        return self.driver.find_element(By.XPATH, f"//button[normalize-space()='{name}']")

    def press(self, name):
        runs = self.runs()
        self.button(name).click()
        self.settled_after(runs)

    def dialog_choice(self, name):
        """Presses a button of the open dialog and waits for the run it starts."""
        runs = self.runs()
        self.until(lambda: self.button(name).is_displayed(), f"no dialog offers {name!r}")
        self.button(name).click()
        self.settled_after(runs)

    def answer_with_comma(self, text, choice, field=None):
        """Types an answer with a decimal comma (in the answer field, or in
        the given field of Respostas); the dialog must stop it."""
        runs = self.runs()
        if field is not None:
            field.clear()
        (field or self.field()).send_keys(text + Keys.ENTER)
        self.until(lambda: self.js("return document.querySelector('dialog[open]') !== null"), "no dialog")
        self.shoot(f"{self.name}-comma-dialog")
        if self.runs() != runs:
            raise AssertionError(f"{text!r} ran the program before the choice")
        self.dialog_choice(choice)

    def answer_field(self, question):
        """The field of Respostas labelled with the question's text."""
        return self.driver.find_element(By.XPATH, "//section[@aria-label='Respostas']"
                                        f"//input[@id=//label[normalize-space()='{question}']/@for]")

    def change(self, question, text):
        runs = self.runs()
        field = self.answer_field(question)
        field.clear()
        field.send_keys(text + Keys.ENTER)
        self.settled_after(runs)

    def given_answers(self):
        return self.js("return [...document.querySelectorAll('section[aria-label=\"Respostas\"] input')]"
                       ".map((field) => field.value)")

    def in_view(self, element):
        return self.js("""const box = arguments[0].getBoundingClientRect();
            return box.height > 0 && box.top >= 0 && box.bottom <= innerHeight""", element)

    def focused(self, element):
        return self.js("return document.activeElement === arguments[0]", element)

    def hash(self):
        return self.js("return location.hash")

    def answer_all(self, lines):
        """Types each line while the program waits; returns the lines typed."""
        typed = []
        for line in lines:
            if not self.waiting():
                break
            self.answer(line)
            typed.append(line)
        return typed

    def console(self):
        return self.js(CONSOLE_SCRIPT)

    def open_answers(self, path):
        runs = self.runs()
        self.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(path))
        self.settled_after(runs)

    def download_link(self):
        return self.driver.find_element(By.XPATH, "//a[starts-with(normalize-space(), 'Baixar')]")

    def download_report(self):
        return self.download(self.download_link())

    def download(self, link):
        """Clicks a download link; returns the file's name and bytes."""
        name = link.get_attribute("download")
        partial = engines.PARTIAL_DOWNLOAD[self.engine]
        target = self.downloads / name
        target.unlink(missing_ok=True)  # a second download of a name is checked too
        link.click()
        # Some engines make the file before its bytes arrive; no file here is empty.
        self.until(lambda: target.exists() and target.stat().st_size > 0 and not list(self.downloads.glob(partial)),
                   f"{name} was not downloaded")
        return name, target.read_bytes()

    def accessibility_violations(self):
        """axe-core's violations on the page as it stands: "rule: targets"."""
        if not self.js("return typeof axe === 'object'"):
            self.js(AXE.read_text())
        found = self.js_async("axe.run(document).then((result) => arguments[arguments.length - 1]("
                              "result.violations.map((v) => v.id + ': ' + v.nodes.map((n) => n.target).join(' '))))")
        return found

    def shoot(self, name):
        if self.shots is not None:
            self.shots.mkdir(parents=True, exist_ok=True)
            self.driver.save_screenshot(str(self.shots / f"{name}.png"))


def without_answers(text):
    """The console text less each answer and the line break typed before it."""
    out, answers = [], []
    rest = text
    while "\0" in rest:
        before, _, after = rest.partition("\0")
        answer, _, rest = after.partition("\1")
        out.append(before[:-1] if before.endswith("\n") else before)
        answers.append(answer)
    out.append(rest)
    return "".join(out), answers


def wait_for_offline_copy(browser):
    browser.js_async("""
        const done = arguments[arguments.length - 1];
        navigator.serviceWorker.ready.then(() => {
          if (navigator.serviceWorker.controller) done();
          else navigator.serviceWorker.addEventListener('controllerchange', () => done());
        });""")


def downloads(log):
    """Full downloads (status 200) per path in the server's request log."""
    counts = {}
    for match in re.finditer(r'"GET /([^ ?]*)[^"]*" 200 ', log.read_text()):
        path = match.group(1) or "index.html"
        counts[path] = counts.get(path, 0) + 1
    return counts


def page_bytes(site):
    return sum((site / file).stat().st_size for file in SITE_FILES + ["sw.js"])


def first_question_times(site, engine, visits=6):
    """Navigation to the first question on the screen (the page's first
    paint with content) and to the program waiting for its answer: a first
    visit, then later visits."""
    LAUNCHER.finish()  # nothing starts or ends beside the visits
    browser = Browser(engine=engine, ahead=False)
    try:
        with served(site) as (_, url):
            times = []
            for _ in range(visits):
                browser.open(url)
                times.append(browser.js("""return [
                    performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN,
                    performance.getEntriesByName('first-question')[0].startTime]"""))
            return times
    finally:
        browser.close()
        LAUNCHER.finish()


def print_budget(site, budget, engine):
    print(f"budget: page files {page_bytes(site)} bytes (aim <= 409600)")
    (shown, ready), *later = first_question_times(site, engine)
    print(f"budget, {engine}: navigation to first question shown {shown:.1f} ms on a first visit, "
          f"median {statistics.median(times[0] for times in later):.1f} ms over {len(later)} later visits "
          "(aim <= 500)")
    print(f"budget, {engine}: navigation to the program waiting for the first answer {ready:.1f} ms on a first "
          f"visit, median {statistics.median(times[1] for times in later):.1f} ms over later visits")
    answers = budget.get("answers")
    if answers:
        print(f"budget, {engine}: answer to next question, median of {len(answers)}: "
              f"{statistics.median(answers):.1f} ms (aim <= 20)")
    changes = budget.get("changes")
    if changes:
        print(f"budget, {engine}: changed early answer to updated report, median of {len(changes)}: "
              f"{statistics.median(changes):.1f} ms (aim <= 100)")
    if engine == "chromium":
        print_lighthouse(site)


def print_lighthouse(site):
    """Lighthouse's figures, printed, not checked: on a machine shared with
    other work its simulated blocking time and score vary from run to run."""
    if not lighthouse.available():
        print("lighthouse: not installed (scripts/test-web.sh installs it)")
        return
    try:
        with served(site) as (_, url):
            found = lighthouse.figures(url)
    except (OSError, subprocess.SubprocessError) as error:
        print(f"lighthouse: no figures ({error})")
        return
    print(f"lighthouse, mobile preset: {lighthouse.described(found)} (aim: performance >= 0.98, LCP <= 2500 ms)")


def arguments(argv):
    """The site folder, the screenshot folder (or None) and the engine
    (--engine=NAME, Chromium by default) the test was given."""
    engine = next((word.split("=", 1)[1] for word in argv[1:] if word.startswith("--engine=")), "chromium")
    if engine not in engines.ENGINES:
        raise SystemExit(f"--engine: one of {', '.join(engines.ENGINES)}")
    words = [word for word in argv[1:] if not word.startswith("--engine=")]
    site = Path(words[0]).resolve() if words else ROOT / "build-web" / "site"
    shots = Path(words[1]).resolve() if len(words) > 1 else None
    return site, shots, engine


def run(test_case, site, budget, engine):
    """Runs the cases (in an engine other than Chromium, those marked for
    every engine), prints the budget figures; the process status."""
    suite = unittest.TestSuite(
        test for test in unittest.defaultTestLoader.loadTestsFromTestCase(test_case)
        if engine in getattr(getattr(test, test._testMethodName), "engines", ("chromium",)))
    try:
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        LAUNCHER.finish()
    print_budget(site, budget, engine)
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1
