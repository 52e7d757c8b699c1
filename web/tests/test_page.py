#!/usr/bin/python3
"""The built web page in a headless browser, driven as a user drives it.

Each case compares exact bytes with the golden expectations of the native
program (tests/golden): the report the page offers for download, the console
output it shows and the error report; the page's own controls are found by
the names a user sees. Every case runs in Chromium; those marked
@every_engine run in Firefox and WebKitGTK too, @in_engines(...) in those
named. It prints the page's budget figures.
Usage: web/tests/test_page.py [--engine=chromium|firefox|webkit] SITE-FOLDER [SCREENSHOT-FOLDER]
"""
import contextlib
import json
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from page_driver import (GOLDEN, ROOT, SITE_FILES, Browser, answer_lines, arguments, downloads, every_engine,
                         golden, in_engines, run, screen_text, served, wait_for_offline_copy, without_answers)

SITE, SHOTS, ENGINE = arguments(sys.argv)
WORKED = "worked-example"
REPORT = golden(WORKED, "files/relatorio.txt")
NAME_QUESTION = "Digite o nome do arquivo de saida (nome.txt)"
FCK_QUESTION = "digite o valor do fck requerido (Mpa)"


def undated(memo):
    """The memo less the date and time of its run, which the golden runs fix
    and a run in the browser takes from the clock."""
    if isinstance(memo, bytes):
        return re.sub(rb'(Data e hora do c\xc3\xa1lculo: |"data_hora": )[^\r\n]*', rb"\1...", memo)
    return re.sub(r"(Data e hora do cálculo: )[^\r\n]*", r"\1...", memo)


def memo_composition(memo):
    """The memo's own table of one cubic metre: name -> (mass, volume), as
    printed, less its totals row."""
    text = memo.decode("utf-8-sig") if isinstance(memo, bytes) else memo
    table = text.replace("\r\n", "\n").split("CONSUMO DE MATERIAIS POR m³ DE CONCRETO\n", 1)[1]
    rows = {}
    for line in table.split("\n")[1:]:
        row = re.fullmatch(r"\s+(\S.*?)\s+(-?[\d,.*]+)\s+(-?[\d,.*]+)", line)
        if row is None:
            break
        if not row[1].startswith("Total"):
            rows[row[1]] = (row[2], row[3])
    return rows


def composition_shown(section):
    """The page's list under the composition: name -> (mass, volume)."""
    shown = {}
    for item in section.find_elements(By.CSS_SELECTOR, "figure li"):
        name, volume, mass = item.text.split(" — ")
        shown[name] = (mass.removesuffix(" kg"), volume.removesuffix(" dm³"))
    return shown


def worked_answers():
    """The worked example's answers as typed: its file less the blank lines
    after the last answer."""
    lines = answer_lines(WORKED)
    while lines[-1] == "":
        lines.pop()
    return lines


def design_button(browser, name):
    return browser.driver.find_element(By.XPATH, f"//section[@id='designs-section']//button[@aria-label='{name}']")


class PageTest(unittest.TestCase):
    budget = {}

    @classmethod
    def setUpClass(cls):
        cls.stack = contextlib.ExitStack()
        cls.server, cls.url = cls.stack.enter_context(served(SITE))

    @classmethod
    def tearDownClass(cls):
        cls.stack.close()

    def browser(self, measured=False, **size):
        browser = Browser(**size, shots=SHOTS, engine=ENGINE, ahead=not measured)
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

    @every_engine
    def test_worked_example_typed_gives_the_native_report(self):
        browser = self.browser(measured=True)  # it records the budget's timings
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
            self.assertEqual(undated(section.find_element(By.TAG_NAME, "pre").get_attribute("textContent")),
                             undated(memo.decode("utf-8-sig").replace("\r\n", "\n")))
            link = section.find_element(By.XPATH, ".//a[normalize-space()='Baixar memorial']")
            name, downloaded = browser.download(link)
            self.assertEqual((name, undated(downloaded)), ("relatorio-memorial.txt", undated(memo)))
            # The memo's alerts above the report; the run still finished.
            alerts = json.loads(golden(WORKED, "memorial/relatorio-memorial.json"))["alertas"]
            self.assertEqual([item.text for item in browser.driver.find_elements(By.CSS_SELECTOR, "#alerts li")],
                             [alert["texto"] for alert in alerts])
            self.assertIn("Cálculo concluído", browser.driver.find_element(By.ID, "status").text)
            link = section.find_element(By.XPATH, ".//a[normalize-space()='Baixar memorial (JSON)']")
            name, downloaded = browser.download(link)
            self.assertEqual((name, undated(downloaded)),
                             ("relatorio-memorial.json", undated(golden(WORKED, "memorial/relatorio-memorial.json"))))
            # One part a component, as wide as its volume, its mass in the list.
            widths = [float(rect.get_attribute("width")) for rect in section.find_elements(By.CSS_SELECTOR, "svg rect")]
            self.assertEqual(widths, [part["volume"]["valor"] for part in parts])
            self.assertEqual(composition_shown(section), memo_composition(memo))
            browser.js("document.getElementById('memorial-section').scrollIntoView()")
            browser.shoot(f"{browser.name}-memo")
            self.assertFitsTheScreen(browser)
        browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        self.assertEqual(browser.js("return [...document.querySelectorAll('pre')]"
                                    ".filter((text) => text.getClientRects().length > 0).map((text) => text.id)"),
                         ["report", "memorial"])

    def test_composition_shows_the_memo_table_figures(self):
        browser = self.browser()
        for design in (answer_lines(WORKED), "rel.txt 25 5.5 3 200 1 1 0.50 1 1 72 1.55 1.45".split()):
            browser.open(self.url + "#respostas=" + "/".join(design))
            section = browser.driver.find_element(By.ID, "memorial-section")
            memo = section.find_element(By.TAG_NAME, "pre").get_attribute("textContent")
            self.assertEqual(composition_shown(section), memo_composition(memo), design)

    def test_no_action_loses_an_answer(self):
        browser = self.browser()
        browser.open(self.url)
        lines = worked_answers()
        browser.answer_all(lines)
        typo = lines[:1] + ["3O"] + lines[2:]
        # A typo in an early answer: the error, with the field to correct
        # named; every later answer stays in the address and the storage.
        browser.change(FCK_QUESTION, "3O")
        self.assertEqual(browser.hash(), "#respostas=" + "/".join(typo))
        self.assertIn("“3O” (fck (MPa))", browser.driver.find_element(By.ID, "explanation").text)
        browser.change(FCK_QUESTION, "25")
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
        browser.change(FCK_QUESTION, "3O")
        browser.driver.refresh()
        browser.settled_after(0)
        self.assertEqual(browser.hash(), "#respostas=" + "/".join(typo))
        # Voltar takes back the typo and keeps what follows it, also in the
        # address: the corrected answer brings the report back.
        browser.press("Voltar")
        self.assertEqual(browser.hash(), "#respostas=relatorio.txt&seguintes=" + "/".join(lines[2:]))
        browser.answer("25")
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))

    @every_engine
    def test_links_and_files_never_overwrite_a_stored_design(self):
        browser = self.browser()
        browser.open(self.url)
        mine = ["meu.txt", "40", "4", "8", "25", "1"]
        browser.answer_all(mine)
        browser.driver.switch_to.new_window("tab")
        browser.open(self.url + "#respostas=" + "/".join(worked_answers()))
        browser.driver.switch_to.new_window("tab")
        browser.open(self.url)
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
        designs = browser.driver.find_elements(By.CSS_SELECTOR, "#design-list li")
        self.assertEqual([design.find_element(By.TAG_NAME, "strong").text for design in designs],
                         ["relatorio.txt (aberto)", "meu.txt"])
        self.assertIn("fc28 31,60 MPa · a/c 0,55 · cimento 344,17 kg/m³", designs[0].text)
        runs = browser.runs()
        design_button(browser, "Abrir meu.txt").click()
        browser.settled_after(runs)
        self.assertEqual(browser.hash(), "#respostas=" + "/".join(mine))
        # Renamed and deleted only when confirmed.
        design_button(browser, "Renomear meu.txt").click()
        field = browser.driver.find_element(By.ID, "rename-name")
        field.clear()
        field.send_keys("Pilar P1" + Keys.ENTER)
        browser.until(lambda: browser.driver.find_elements(By.XPATH, "//button[@aria-label='Excluir Pilar P1']"),
                      "not renamed")
        for choice, left in (("Cancelar", 2), ("Excluir", 1)):
            design_button(browser, "Excluir relatorio.txt").click()
            browser.driver.find_element(By.XPATH, f"//dialog[@open]//button[normalize-space()='{choice}']").click()
            browser.until(lambda: len(browser.driver.find_elements(By.CSS_SELECTOR, "#design-list li")) == left,
                          f"{choice} left the wrong designs")
        # A file that is not an answer file is refused; the design stays.
        folder = Path(tempfile.mkdtemp(prefix="dosmo-answers-"))
        self.addCleanup(shutil.rmtree, folder)
        (folder / "planta.pdf").write_bytes(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\x00\x01stream\n")
        browser.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(folder / "planta.pdf"))
        browser.until(lambda: "não é um arquivo de respostas" in browser.driver.find_element(By.ID, "status").text,
                      "the file was not refused")
        self.assertEqual(browser.hash(), "#respostas=" + "/".join(mine))

    def test_one_comma_rule_on_every_path(self):
        browser = self.browser()
        lines = worked_answers()
        # From a link: asked before the program runs.
        link = "/".join(lines[:-2] + ["1,59", "1,4"])
        browser.driver.get(self.url + "#respostas=" + link)
        browser.until(lambda: browser.button("Enviar com ponto").is_displayed(), "no dialog for the link")
        self.assertEqual(browser.runs(), 0)
        browser.dialog_choice("Enviar com ponto")
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))
        # Sent as typed, the explanation of the error says what the comma did.
        browser.driver.get(self.url + "#respostas=" + "/".join(lines[:7] + ["0,55"]))
        browser.dialog_choice("Enviar como digitado")
        self.assertIn("vírgula decimal", browser.driver.find_element(By.ID, "explanation").text)
        # Typed ahead while the dialog is open: nothing reaches a later question.
        browser.press("Voltar")
        runs = browser.runs()
        browser.field().send_keys("0,55" + Keys.ENTER + "1" + Keys.ENTER + "1" + Keys.ENTER)
        self.assertTrue(browser.button("Enviar 0.55").is_displayed())
        self.assertEqual(browser.runs(), runs)
        browser.dialog_choice("Enviar 0.55")
        self.assertEqual(browser.given_answers(), lines[:7] + ["0.55"])
        self.assertTrue(browser.waiting())

    def test_keyboard_screen_readers_and_applied_edits(self):
        for size in ({}, {"width": 375, "height": 667, "mobile": True}):
            browser = self.browser(**size)
            browser.open(self.url)
            lines = answer_lines(WORKED)
            self.assertEqual(browser.accessibility_violations(), [])
            self.assertIn("Digite o nome do arquivo de saida", browser.field().accessible_name)
            browser.answer_all(lines[:2])
            self.assertEqual(browser.field().get_attribute("inputmode"), "decimal")
            browser.answer_all(lines[2:])
            self.assertEqual(browser.accessibility_violations(), [])
            # Questions that read alike have labels of their own.
            shorts = [short.text for short in browser.driver.find_elements(By.CSS_SELECTOR, "#answer-list .short")]
            self.assertEqual(shorts[2], "Nível de controle (4 / 5,5 / 7)")
            self.assertEqual(len(set(shorts)), len(shorts), shorts)
            # Tab reaches every control, Salvar respostas among them.
            browser.js("document.activeElement.blur()")
            reached = set()
            for _ in range(60):
                browser.driver.switch_to.active_element.send_keys(Keys.TAB)
                reached.add(browser.js("return document.activeElement.id || document.activeElement.textContent"))
            self.assertTrue({"save", "share", "back", "download", "print"} <= reached, reached)
            # An edit not applied is marked; applied, the changed key figures
            # are said beside it, and one tap reaches the report.
            field = browser.answer_field(FCK_QUESTION)
            field.clear()
            field.send_keys("30")
            self.assertIn("Ainda não aplicada", field.find_element(By.XPATH, "..").text)
            self.assertEqual(browser.accessibility_violations(), [])
            runs = browser.runs()
            field.send_keys(Keys.ENTER)
            browser.settled_after(runs)
            note = field.find_element(By.XPATH, "../p[@class='change-note']")
            browser.until(lambda: "fc28 31,60 MPa → 36,60 MPa" in note.text, "no change said")
            self.assertNotIn("Ainda não aplicada", field.find_element(By.XPATH, "..").text)
            note.find_element(By.TAG_NAME, "button").click()
            browser.until(lambda: browser.in_view(browser.download_link()), "the report is not one tap away")
            browser.shoot(f"{browser.name}-applied-edit")
            # An error: its explanation is announced with it.
            browser.change(FCK_QUESTION, "3O")
            self.assertEqual(browser.driver.find_element(By.ID, "explanation").get_attribute("role"), "alert")
            self.assertEqual(browser.accessibility_violations(), [])

    def test_memo_tables_wrapped_printed_pages_and_renamed_reports(self):
        browser = self.browser(width=375, height=667, mobile=True)
        long_name = "dosagem" * 6 + ".txt"
        browser.open(self.url + "#respostas=" + "/".join([long_name] + answer_lines(WORKED)[1:]))
        name = browser.download_link().get_attribute("download")
        self.assertNotEqual(name, long_name)
        said = browser.driver.find_element(By.ID, "report-renamed").text
        self.assertIn(f"O programa gravou como “{name}”", said)
        # Wrapped, the memo's prose wraps and its tables keep their columns.
        self.assertEqual(browser.button("Quebrar linhas").get_attribute("aria-pressed"), "true")
        rows = browser.driver.find_elements(By.CSS_SELECTOR, "#memorial .table-rows")
        self.assertTrue(rows)
        self.assertTrue(all(row.value_of_css_property("white-space") == "pre" for row in rows))
        self.assertTrue(any("CONSUMO DE MATERIAIS" not in row.text and "Cimento" in row.text for row in rows))
        browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        browser.js("window.dispatchEvent(new Event('beforeprint'))")
        heading = browser.driver.find_element(By.ID, "print-heading")
        self.assertTrue(heading.is_displayed())
        self.assertIn(name, heading.text)

    def test_memo_quantities_for_a_volume_and_loss(self):
        browser = self.browser()
        browser.open(self.url + "#respostas=" + "/".join(worked_answers()))
        memo = browser.driver.find_element(By.ID, "memorial")
        without = memo.get_attribute("textContent")
        for volume, loss, refused in (("abc", "", "valor invalido para --volume: 'abc'"),
                                      ("10", "120", "valor invalido para --perda: '120'"), ("", "5", "--perda precisa de --volume")):
            for field, text in (("volume", volume), ("loss", loss)):
                browser.driver.find_element(By.ID, field).clear()
                browser.driver.find_element(By.ID, field).send_keys(text)
            browser.button("Calcular quantidades").click()
            message = browser.driver.find_element(By.ID, "quantities-message")
            browser.until(lambda: refused in message.text, f"{volume!r} {loss!r} not refused")
            self.assertEqual(memo.get_attribute("textContent"), without)
        browser.driver.find_element(By.ID, "volume").clear()
        browser.driver.find_element(By.ID, "volume").send_keys("10")
        runs = browser.runs()
        browser.button("Calcular quantidades").click()
        browser.settled_after(runs)
        expected = golden("memo-volume", "files/relatorio-memorial.txt")
        self.assertEqual(undated(memo.get_attribute("textContent")),
                         undated(expected.decode("utf-8-sig").replace("\r\n", "\n")))
        link = browser.driver.find_element(By.XPATH, "//a[normalize-space()='Baixar memorial (JSON)']")
        name, downloaded = browser.download(link)
        self.assertEqual((name, undated(downloaded)),
                         ("relatorio-memorial.json", undated(golden("memo-volume", "files/relatorio-memorial.json"))))
        self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))

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

    @every_engine
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

    @every_engine
    def test_shared_address_gives_the_same_report_elsewhere(self):
        browser = self.browser()
        browser.open(self.url)
        browser.answer_all(answer_lines(WORKED))
        address = browser.js("return location.href")
        if ENGINE == "chromium":  # the one driver that can grant the clipboard
            # Where there is no share sheet, the address is copied.
            browser.driver.execute_cdp_cmd("Browser.grantPermissions", {
                "origin": self.url.rstrip("/"), "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
            browser.button("Compartilhar").click()
            browser.until(lambda: "copiado" in browser.driver.find_element(By.ID, "status").text, "nothing copied")
            self.assertEqual(browser.js_async("navigator.clipboard.readText().then(arguments[arguments.length - 1])"),
                             address)
        browser.js("navigator.share = (data) => { window.shared = data; return Promise.resolve(); }")
        browser.button("Compartilhar").click()
        browser.until(lambda: browser.js("return window.shared?.url") == address, "the share sheet got no address")
        phone = self.browser(width=375, height=667, mobile=True)
        phone.open(address)
        self.assertEqual(phone.download_report(), ("relatorio.txt", REPORT))

    @every_engine
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

    @every_engine
    def test_one_visit_keeps_the_page_for_use_offline(self):
        folder = Path(tempfile.mkdtemp(prefix="dosmo-site-"))
        self.addCleanup(shutil.rmtree, folder)
        shutil.copytree(SITE, folder, dirs_exist_ok=True)
        browser = self.browser()
        with served(folder) as (server, url):
            browser.open(url)
            # The page fetches the program once (WebKit fetched a preload again).
            self.assertEqual(browser.js("return performance.getEntriesByType('resource')"
                                        ".filter((e) => new URL(e.name).pathname === '/dosmo.wasm').length"), 1)
            wait_for_offline_copy(browser)
            server.terminate()
            server.wait()
            browser.open(url)
            browser.answer_all(answer_lines(WORKED))
            self.assertEqual(browser.download_report(), ("relatorio.txt", REPORT))

    # WebKitGTK fetches some files twice on a first visit, its own cache
    # bypassed by the service worker's force-cache fetches.
    @in_engines("firefox")
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
            if ENGINE == "chromium":
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
            # The new page names the new style sheet.
            self.assertEqual({path: count for path, count in fetched_again.items() if count},
                             {"style.css": 1, "index.html": 1})
            # Offline, the new version runs the program.
            server.terminate()
            server.wait()
            browser.open(url)
            browser.answer_all(answer_lines(WORKED))
            self.assertEqual(browser.download_report()[1], REPORT)


if __name__ == "__main__":
    sys.exit(run(PageTest, SITE, PageTest.budget, ENGINE))
