#!/usr/bin/python3
"""The built web page in headless Chromium, driven as a user drives it.

Each case compares exact bytes with the golden expectations of the native
program (tests/golden): the report the page offers for download, the console
output it shows and the error report; the page's own controls are found by
the names a user sees. It prints the page's budget figures.
Usage: web/tests/test_page.py SITE-FOLDER [SCREENSHOT-FOLDER]
"""
import base64
import contextlib
import json
import os
import re
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


class Browser:
    """One fresh headless Chromium with its own profile and download folder."""

    def __init__(self, width=1280, height=800, mobile=False):
        self.name = "phone" if mobile else "desktop"
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
        # The screen exactly this size (a window's own bars would take from it).
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 2 if mobile else 1, "mobile": mobile})

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
        if SHOTS is not None:
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
        link.click()
        target = self.downloads / name
        self.until(lambda: target.exists() and not list(self.downloads.glob("*.crdownload")),
                   f"{name} was not downloaded")
        return name, target.read_bytes()

    def shoot(self, name):
        if SHOTS is not None:
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


SITE_FILES = [line for line in (ROOT / "web" / "site-files.txt").read_text().splitlines()
              if line and not line.startswith("#")]
WORKED = "worked-example"
REPORT = golden(WORKED, "files/relatorio.txt")
NAME_QUESTION = "Digite o nome do arquivo de saida (nome.txt)"
FCK_QUESTION = "digite o valor do fck requerido (Mpa)"


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

    def assertResultInView(self, browser):
        """A finished run: the report's heading and its download in view, the
        download focused."""
        link = browser.download_link()
        browser.until(lambda: browser.in_view(link), "the report's download is not in view")
        self.assertTrue(browser.in_view(browser.driver.find_element(By.ID, "report-title")))
        self.assertTrue(browser.focused(link))

    def assertErrorInView(self, browser, sentence):
        """A failed run: its error lines, the word on them and Voltar in view,
        Voltar focused; the error lines marked as English."""
        explanation = browser.driver.find_element(By.ID, "explanation")
        self.assertIn(sentence, explanation.text)
        errors = browser.driver.find_elements(By.CSS_SELECTOR, "#console .error")
        self.assertTrue(errors and all(error.get_attribute("lang") == "en" for error in errors))
        for element in (errors[0], errors[-1], explanation, browser.button("Voltar")):
            self.assertTrue(browser.in_view(element), element.text)
        self.assertTrue(browser.focused(browser.button("Voltar")))

    def assertFitsTheScreen(self, browser):
        """Every control a finger's size, the program's text 14 px or more and
        nothing wider than the screen."""
        small = browser.js("""return [...document.querySelectorAll('button, a.button, input:not([type=file])')]
            .filter((control) => control.getClientRects().length > 0)
            .map((control) => [control.textContent || control.id, control.getBoundingClientRect()])
            .filter(([, box]) => box.width < 44 || box.height < 44).map(([name]) => name)""")
        self.assertEqual(small, [])
        sizes = browser.js("return [...document.querySelectorAll('.console, .report-text')]"
                           ".map((text) => parseFloat(getComputedStyle(text).fontSize))")
        self.assertTrue(all(size >= 14 for size in sizes), sizes)
        self.assertEqual(browser.js(
            "return document.documentElement.scrollWidth - document.documentElement.clientWidth"), 0)
        self.assertEqual(browser.js("return [...document.querySelectorAll('.report-text')]"
                                    ".filter((text) => text.scrollWidth > text.clientWidth).length"), 0)

    def test_worked_example_typed_gives_the_native_report(self):
        browser = self.browser()
        browser.open(self.url)
        lines = answer_lines(WORKED)
        typed = browser.answer_all(lines)
        self.assertTrue(all(line == "" for line in lines[len(typed):]), "the run ended before its last answer")
        self.assertScreen(browser, WORKED, typed)
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
        PageTest.budget["answers"] = browser.js(
            "return performance.getEntriesByName('answer-to-question').map((m) => m.duration)")
        # An early answer changed back and forth: the report follows each time.
        for fck in ("26", "25") * 4:
            browser.change(FCK_QUESTION, fck)
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
        PageTest.budget["changes"] = browser.js(
            "return performance.getEntriesByName('change-to-report').map((m) => m.duration)")
        # The same answers from a file show the same screen, once Recomeçar
        # is confirmed; the answers are saved under the report's name.
        typed_screen = browser.console()
        browser.button("Recomeçar").click()
        browser.button("Cancelar").click()
        self.assertEqual(browser.console(), typed_screen)
        browser.button("Recomeçar").click()
        browser.dialog_choice("Esquecer as respostas")
        self.assertTrue(browser.waiting())
        self.assertEqual(browser.given_answers(), [])
        browser.open_answers(GOLDEN / WORKED / "answers.txt")
        self.assertEqual(browser.console(), typed_screen)
        self.assertEqual(browser.download(browser.driver.find_element(By.ID, "save")),
                         ("relatorio-respostas.txt", golden(WORKED, "answers.txt")))

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
        self.assertEqual(browser.js("return document.querySelectorAll('#console b, #answers-section b').length"), 0)
        self.assertErrorInView(browser, "ponto decimal")
        browser.press("Voltar")
        self.assertTrue(browser.waiting())
        browser.answer_all(answer_lines(WORKED)[3:])
        self.assertEqual(browser.download_report(), ("dosagem_nº1.txt", REPORT))

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
                         ("tres-respostas.txt", golden(case, "answers.txt")))

    def test_each_state_in_view_on_desktop_and_phone(self):
        for size in ({}, {"width": 375, "height": 667, "mobile": True}):
            browser = self.browser(**size)
            browser.open(self.url)
            lines = answer_lines(WORKED)
            browser.answer_all(lines[:8])
            self.assertTrue(browser.in_view(browser.field()) and browser.focused(browser.field()))
            self.assertFitsTheScreen(browser)
            browser.shoot(f"{browser.name}-dialogue")
            browser.answer_all(lines[8:13])
            browser.answer_with_comma("1,4", "Enviar 1.4")
            browser.answer_all(lines[14:])
            self.assertResultInView(browser)
            self.assertFitsTheScreen(browser)
            browser.shoot(f"{browser.name}-report")
            self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
            browser.change(FCK_QUESTION, "30")
            browser.shoot(f"{browser.name}-edited")
            # A ratio of "0,55" sent as typed is read as 0: the run ends in
            # the division by zero, explained.
            browser.change(FCK_QUESTION, "25")
            browser.answer_with_comma("0,55", "Enviar como digitado",
                                      browser.answer_field("digite o valor da relacao a/c escolhido ="))
            self.assertScreen(browser, "ratio-zero", lines[:7] + ["0,55"])
            self.assertErrorInView(browser, "divisão por zero")
            self.assertFitsTheScreen(browser)
            browser.shoot(f"{browser.name}-error")

    def test_finished_run_shows_the_memo_after_the_report(self):
        memo = golden(WORKED, "memorial/relatorio-memorial.txt")
        parts = json.loads(golden(WORKED, "memorial/relatorio-memorial.json"))["composicao_m3"]
        for size in ({}, {"width": 375, "height": 667, "mobile": True}):
            browser = self.browser(**size)
            browser.open(self.url)
            browser.answer_all(answer_lines(WORKED))
            section = browser.driver.find_element(
                By.XPATH, "//section[@aria-labelledby=//h2[normalize-space()='Memorial de cálculo']/@id]")
            self.assertEqual(section.find_element(By.TAG_NAME, "pre").get_attribute("textContent"),
                             memo.decode("utf-8-sig").replace("\r\n", "\n"))
            link = section.find_element(By.XPATH, ".//a[normalize-space()='Baixar memorial']")
            self.assertEqual(browser.download(link), ("relatorio-memorial.txt", memo))
            # One part a component, as wide as its volume, its mass in the list.
            widths = [float(rect.get_attribute("width")) for rect in section.find_elements(By.CSS_SELECTOR, "svg rect")]
            self.assertEqual(widths, [part["volume"]["valor"] for part in parts])
            items = [item.text for item in section.find_elements(By.CSS_SELECTOR, "figure li")]
            self.assertEqual(len(items), len(parts))
            for item, part in zip(items, parts):
                self.assertTrue(item.startswith(part["nome"]) and f"{part['massa']['valor']:.2f} kg".replace(".", ",") in item, item)
            browser.js("document.getElementById('memorial-section').scrollIntoView()")
            browser.shoot(f"{browser.name}-memo")
            self.assertFitsTheScreen(browser)
        browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        self.assertEqual(browser.js("return [...document.querySelectorAll('pre')]"
                                    ".filter((text) => text.getClientRects().length > 0).map((text) => text.id)"),
                         ["report", "memorial"])

    def test_changed_answers_keep_the_later_ones_where_still_asked(self):
        browser = self.browser()
        browser.open(self.url)
        browser.answer_all(answer_lines(WORKED))
        browser.change(NAME_QUESTION, "cp32.txt")
        browser.change(FCK_QUESTION, "20")
        browser.change("digite o número da opcao desejada", "5.5")
        # The second route asks two questions the first did not: they wait.
        browser.change("Digite o numero da opcao desejada", "2")
        self.assertTrue(browser.waiting())
        browser.answer_all(["2", "1"])
        case = "route2-cp32-keep1"
        given = browser.given_answers()
        self.assertScreen(browser, case, given)
        self.assertEqual(given, answer_lines(case)[:len(given)])
        self.assertEqual(browser.download_report(), ("cp32.txt", golden(case, "files/cp32.txt")))
        self.assertEqual(browser.hash(), "#respostas=" + "/".join(given))

    def test_answers_survive_a_reload_and_a_closed_tab(self):
        browser = self.browser()
        browser.open(self.url)
        browser.answer_all(answer_lines(WORKED)[:5])
        screen, address = browser.console(), browser.hash()
        browser.driver.refresh()
        browser.settled_after(0)
        self.assertEqual((browser.console(), browser.hash()), (screen, address))
        browser.driver.switch_to.new_window("tab")
        browser.open(self.url)
        self.assertEqual((browser.console(), browser.hash()), (screen, address))
        self.assertEqual(browser.given_answers(), answer_lines(WORKED)[:5])

    def test_shared_address_gives_the_same_report_elsewhere(self):
        browser = self.browser()
        browser.open(self.url)
        browser.answer_all(answer_lines(WORKED))
        # Where there is no share sheet, the address is copied.
        browser.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": self.url.rstrip("/"), "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        browser.button("Compartilhar").click()
        browser.until(lambda: "copiado" in browser.driver.find_element(By.ID, "status").text, "nothing copied")
        browser.driver.set_script_timeout(WAIT_SECONDS)
        address = browser.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[arguments.length - 1])")
        self.assertEqual(address, browser.js("return location.href"))
        browser.js("navigator.share = (data) => { window.shared = data; return Promise.resolve(); }")
        browser.button("Compartilhar").click()
        browser.until(lambda: browser.js("return window.shared?.url") == address, "the share sheet got no address")
        phone = self.browser(width=375, height=667, mobile=True)
        phone.open(address)
        self.assertEqual(phone.download_report(), ("relatorio.txt", REPORT))

    def test_opened_answer_file_with_decimal_commas_asks_once(self):
        browser = self.browser()
        browser.open(self.url)
        folder = Path(tempfile.mkdtemp(prefix="dosmo-answers-"))
        self.addCleanup(shutil.rmtree, folder)
        answers = folder / "virgulas.txt"
        answers.write_bytes(golden(WORKED, "answers.txt").replace(b"0.55", b"0,55").replace(b"1.4\n", b"1,4\n"))
        runs = browser.runs()
        browser.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(answers))
        browser.until(lambda: browser.button("Enviar com ponto").is_displayed(), "no dialog for the file")
        self.assertEqual(browser.runs(), runs)
        browser.dialog_choice("Enviar com ponto")
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))

    def test_opened_from_disk_says_it_needs_a_server(self):
        browser = self.browser()
        browser.driver.get((SITE / "index.html").as_uri())
        status = browser.driver.find_element(By.ID, "status")
        browser.until(lambda: "servidor web" in status.text, "the page does not say it needs a server")
        self.assertIn("python3 -m http.server", status.text)
        self.assertFalse(any(control.is_enabled() for control in
                             browser.driver.find_elements(By.CSS_SELECTOR, "#answer, .dialogue button")))

    def test_one_download_per_file_and_a_new_version_offered(self):
        folder = Path(tempfile.mkdtemp(prefix="dosmo-site-"))
        self.addCleanup(shutil.rmtree, folder)
        shutil.copytree(SITE, folder, dirs_exist_ok=True)
        log = folder.parent / f"{folder.name}.log"
        self.addCleanup(log.unlink)
        browser = self.browser()
        with open(log, "w") as log_file, served(folder, log_file) as (server, url):
            browser.open(url)
            wait_for_offline_copy(browser)
            installable = browser.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            self.assertEqual(installable.get("installabilityErrors"), [])
            first = downloads(log)
            self.assertEqual({path: count for path, count in first.items() if count != 1}, {})
            self.assertTrue(set(SITE_FILES) <= set(first), first)
            # A new version: the kept page still opens, says so and reloads.
            with open(folder / "style.css", "a") as style:
                style.write(":root { --published: 2; }\n")
            subprocess.run(["bash", str(ROOT / "scripts" / "write-service-worker.sh"), str(folder)], check=True)
            browser.open(url)
            browser.until(lambda: browser.button("Recarregar").is_displayed(), "no new version offered")
            browser.button("Recarregar").click()
            browser.until(lambda: browser.js(
                "return getComputedStyle(document.documentElement).getPropertyValue('--published').trim()") == "2",
                "the new version did not load")
            again = downloads(log)
            fetched_again = {path: again[path] - first.get(path, 0) for path in again if path != "sw.js"}
            self.assertEqual({path: count for path, count in fetched_again.items() if count}, {"style.css": 1})
            # Offline, the new version runs the program.
            server.terminate()
            server.wait()
            browser.open(url)
            browser.answer_all(answer_lines(WORKED))
            self.assertEqual(browser.download_report()[1], REPORT)


def wait_for_offline_copy(browser):
    browser.driver.set_script_timeout(WAIT_SECONDS)
    browser.driver.execute_async_script("""
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


def page_bytes():
    return sum((SITE / file).stat().st_size for file in SITE_FILES + ["sw.js"])


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
    changes = PageTest.budget.get("changes")
    if changes:
        print(f"budget: changed early answer to updated report, median of {len(changes)}: "
              f"{statistics.median(changes):.1f} ms (aim <= 100)")


def main():
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(PageTest)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    print_budget()
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
