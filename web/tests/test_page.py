#!/usr/bin/python3
"""The built web page in headless Chromium, driven as a user drives it.

Each case compares exact bytes with the golden expectations of the native
program (tests/golden): the report the page offers for download, the console
output it shows and the error report. It prints the page's budget figures.
Usage: web/tests/test_page.py SITE-FOLDER [SCREENSHOT-FOLDER]
"""
import base64
import contextlib
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = Path(__file__).resolve().parents[2]
GOLDEN = ROOT / "tests" / "golden"
SITE = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else ROOT / "build-web" / "site"
SHOTS = Path(sys.argv[2]).resolve() if len(sys.argv) > 2 else None
WAIT_SECONDS = 20

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
def served(folder):
    """The site under python3 -m http.server, as the README serves it."""
    port = free_port()
    server = subprocess.Popen(
        [sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1", "--directory", str(folder)],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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


class Browser:
    """One fresh headless Chromium with its own profile and download folder."""

    def __init__(self, width=1280, height=800, mobile=False):
        self.profile = tempfile.mkdtemp(prefix="dosmo-chromium-")
        self.downloads = Path(tempfile.mkdtemp(prefix="dosmo-downloads-"))
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-dev-shm-usage", f"--user-data-dir={self.profile}",
                     f"--window-size={width},{height}"):
            options.add_argument(flag)
        options.add_experimental_option("prefs", {
            "download.default_directory": str(self.downloads),
            "download.prompt_for_download": False,
        })
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        if mobile:
            self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": width, "height": height, "deviceScaleFactor": 2, "mobile": True})

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)
        shutil.rmtree(self.downloads, ignore_errors=True)

    def until(self, condition, message):
        return WebDriverWait(self.driver, WAIT_SECONDS, poll_frequency=0.02).until(
            lambda driver: condition(), message)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

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

    def press(self, name):
        runs = self.runs()
        self.driver.find_element(By.XPATH, f"//button[normalize-space()='{name}']").click()
        self.settled_after(runs)

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
        link.click()
        target = self.downloads / name
        self.until(lambda: target.exists() and not list(self.downloads.glob("*.crdownload")),
                   f"{name} was not downloaded")
        return name, target.read_bytes()

    def shoot(self, name, element_id=None):
        if SHOTS is not None:
            if element_id:
                self.js("document.getElementById(arguments[0]).scrollIntoView()", element_id)
            SHOTS.mkdir(parents=True, exist_ok=True)
            self.driver.save_screenshot(str(SHOTS / f"{name}.png"))


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


class PageTest(unittest.TestCase):
    budget = {}

    @classmethod
    def setUpClass(cls):
        cls.stack = contextlib.ExitStack()
        cls.server, cls.url = cls.stack.enter_context(served(SITE))

    @classmethod
    def tearDownClass(cls):
        cls.stack.close()

    def browser(self, **size):
        browser = Browser(**size)
        self.addCleanup(browser.close)
        return browser

    def assertScreen(self, browser, case, typed):
        shown, answers = without_answers(browser.console())
        self.assertEqual(shown, screen_text(golden(case, "stdout.txt")) + screen_text(golden(case, "stderr.txt")))
        self.assertEqual(answers, typed)

    def test_worked_example_typed_gives_the_native_report(self):
        browser = self.browser()
        browser.open(self.url)
        lines = answer_lines("worked-example")
        typed = browser.answer_all(lines[:8])
        browser.shoot("desktop-dialogue")
        typed += browser.answer_all(lines[8:])
        self.assertTrue(all(line == "" for line in lines[len(typed):]), "the run ended before its last answer")
        self.assertScreen(browser, "worked-example", typed)
        self.assertEqual(browser.download_report(), ("relatorio.txt", golden("worked-example", "files/relatorio.txt")))
        browser.shoot("desktop-report", "report-section")
        PageTest.budget["answers"] = browser.js(
            "return performance.getEntriesByName('answer-to-question').map((m) => m.duration)")
        # The same answers from a file show the same screen.
        typed_screen = browser.console()
        browser.press("Recomeçar")
        browser.open_answers(GOLDEN / "worked-example" / "answers.txt")
        self.assertEqual(browser.console(), typed_screen)

    def test_refused_answer_shows_the_error_and_back_mends_it(self):
        browser = self.browser()
        browser.open(self.url)
        # The name's "º" must reach the program as one Windows-1252 byte, or
        # the 15-letter name loses its last letter; the refused slump holds
        # markup: it must show as typed, as text.
        lines = ["dosagem_nº1.txt"] + answer_lines("invalid-answer")[1:-1] + ["<b>x</b>"]
        browser.answer_all(lines)
        self.assertFalse(browser.waiting())
        self.assertScreen(browser, "invalid-answer", lines)
        self.assertEqual(browser.js("return document.querySelectorAll('#console b').length"), 0)
        browser.shoot("desktop-error")
        browser.press("Voltar")
        self.assertTrue(browser.waiting())
        browser.answer_all(answer_lines("worked-example")[3:])
        self.assertEqual(browser.download_report(), ("dosagem_nº1.txt", golden("worked-example", "files/relatorio.txt")))

    def test_opened_answer_file_gives_the_native_screen_and_report(self):
        browser = self.browser()
        browser.open(self.url)
        case = "three-gradations"
        browser.open_answers(GOLDEN / case / "answers.txt")
        shown, _ = without_answers(browser.console())
        self.assertEqual(shown, screen_text(golden(case, "stdout.txt")))
        (report,) = (GOLDEN / case / "files").iterdir()
        self.assertEqual(browser.download_report(), (report.name, report.read_bytes()))
        self.assertEqual(browser.download(browser.driver.find_element(By.ID, "save")),
                         ("respostas.txt", golden(case, "answers.txt")))

    def test_phone_layout_never_scrolls_sideways(self):
        browser = self.browser(width=375, height=667, mobile=True)
        browser.open(self.url)
        overflow = "return document.documentElement.scrollWidth - document.documentElement.clientWidth"
        browser.answer_all(answer_lines("worked-example")[:8])
        self.assertEqual(browser.js(overflow), 0)
        browser.shoot("phone-dialogue")
        browser.answer_all(answer_lines("worked-example")[8:])
        browser.until(lambda: browser.download_link().is_displayed(), "no report shown")
        self.assertEqual(browser.js(overflow), 0)
        browser.shoot("phone-report", "report-section")

    def test_second_visit_runs_without_the_network(self):
        browser = self.browser()
        with served(SITE) as (server, url):
            browser.open(url)
            browser.driver.set_script_timeout(WAIT_SECONDS)
            browser.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                navigator.serviceWorker.ready.then(() => {
                  if (navigator.serviceWorker.controller) done();
                  else navigator.serviceWorker.addEventListener('controllerchange', () => done());
                });""")
            installable = browser.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            self.assertEqual(installable.get("installabilityErrors"), [])
            server.terminate()
            server.wait()
            browser.open(url)
            browser.answer_all(answer_lines("worked-example"))
            self.assertEqual(browser.download_report()[1], golden("worked-example", "files/relatorio.txt"))


def page_bytes():
    return sum(path.stat().st_size for path in SITE.rglob("*") if path.is_file() and "LICENSE" not in path.name)


def first_question_times(visits=6):
    """Navigation to the first question: a first visit, then later visits."""
    browser = Browser()
    try:
        with served(SITE) as (_, url):
            times = []
            for _ in range(visits):
                browser.open(url)
                times.append(browser.js("return performance.getEntriesByName('first-question')[0].startTime"))
            return times
    finally:
        browser.close()


def print_budget():
    print(f"budget: page files {page_bytes()} bytes (aim <= 409600)")
    first, *later = first_question_times()
    print(f"budget: navigation to first question {first:.1f} ms on a first visit, "
          f"median {statistics.median(later):.1f} ms over {len(later)} later visits (aim <= 500)")
    answers = PageTest.budget.get("answers")
    if answers:
        print(f"budget: answer to next question, median of {len(answers)}: "
              f"{statistics.median(answers):.1f} ms (aim <= 20)")


def main():
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(PageTest)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    print_budget()
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
