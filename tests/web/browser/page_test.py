# SPDX-License-Identifier: GPL-3.0-or-later
"""The built page in a real headless browser, opened from file://, driven by key events and clicks.

    page_test.py --page build-web/vx40.html --tool build/tools/vx40-tool [--screenshot FILE]

Exits with 77 (skipped) when the page has not been built.
"""

import argparse
import csv
import os
import subprocess
import sys
import tempfile
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from browser import Browser

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "data")
ARGS = None

HEADER = ["Frequenz", "n0", "n1", "n2", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"]
PLAN = [798300, 144075, 145125, 145975, 146525, 430025, 433075, 438975,
        439125, 798325, 798375, 798425, 144100, 433100, 798350, 798450]
SPECIAL_KEYS = {"<Enter>": Keys.ENTER, "<Backspace>": Keys.BACKSPACE, "<Space>": " "}
# Counts the beeps the bind script asks for; installed after each load.
COUNT_BEEPS = "window.beeps = 0; const beep = View.beep; View.beep = () => { ++window.beeps; beep(); };"


def parse_field(notation):
    """A field of the case tables: its text, "|" at the caret, "[...]" around the selection."""
    text, caret, start, end = "", None, None, None
    for c in notation:
        if c == "|":
            caret = len(text)
        elif c == "[":
            start = len(text)
        elif c == "]":
            end = len(text)
        else:
            text += c
    if start is None:
        return text, caret, caret, "none"
    return text, start, end, "backward" if caret == start else "forward"


def show_field(text, start, end, direction):
    if start == end:
        return text[:start] + "|" + text[start:]
    opening = "|[" if direction == "backward" else "["
    return text[:start] + opening + text[start:end] + "]" + text[end:]


def run_tool(*arguments):
    return subprocess.run([ARGS.tool, *arguments], check=True, capture_output=True, text=True).stdout


class PageTest(unittest.TestCase):
    browser = None

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser()
        cls.files = tempfile.TemporaryDirectory(prefix="vx40-page-test-")

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.files.cleanup()

    def setUp(self):
        self.open_page(self.browser)

    def tearDown(self):
        # Nothing may leave the browser: every test's requests are counted.
        self.assertEqual(self.browser.foreign_requests(), [])

    def open_page(self, browser):
        self.driver = browser.driver
        self.driver.get("file://" + os.path.abspath(ARGS.page))
        WebDriverWait(self.driver, 20).until(lambda d: self.cell(0, 0) == "Frequenz")
        self.driver.execute_script(COUNT_BEEPS)

    def path(self, name, content=None):
        path = os.path.join(self.files.name, name)
        if content is not None:
            with open(path, "wb") as out:
                out.write(content)
        return path

    def element(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def cell_element(self, column, row):
        return self.driver.find_element(
            By.CSS_SELECTOR, f'#Grid1 td[data-column="{column}"][data-row="{row}"]')

    def cell(self, column, row):
        return self.driver.execute_script(
            "return document.getElementById('Grid1').rows[arguments[1]].cells[arguments[0]].textContent;",
            column, row)

    def row(self, row):
        return [self.cell(column, row) for column in range(12)]

    def cells(self):
        return self.driver.execute_script(
            "return Array.from(document.getElementById('Grid1').rows, r => Array.from(r.cells, c => c.textContent));")

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def type_into(self, element_id, text):
        self.element(element_id).click()
        self.chord(Keys.CONTROL, "a")
        self.keys(text)

    def calculate_row(self, row, frequency):
        self.type_into("FR_Input", str(frequency))
        self.cell_element(0, row).click()
        self.element("RzButton1").click()

    def dialog_text(self, dialog_id):
        """The text of the open dialog as shown, line by line; closes it with Enter."""
        dialog = self.element(dialog_id)
        WebDriverWait(self.driver, 10).until(lambda d: dialog.get_attribute("open") is not None)
        self.assertEqual(dialog.find_element(By.CSS_SELECTOR, ".titlebar").text, "VX40")
        self.assertEqual([b.text for b in dialog.find_elements(By.TAG_NAME, "button")], ["OK"])
        text = dialog.find_element(By.CSS_SELECTOR, ".text").text
        self.keys(Keys.ENTER)
        WebDriverWait(self.driver, 10).until(lambda d: dialog.get_attribute("open") is None)
        return text.split("\n")

    def wait_for_download(self, ending):
        """The bytes of the one finished download whose name ends so."""
        folder = self.browser.downloads

        def finished(_):
            names = [n for n in os.listdir(folder) if n.endswith(ending)]
            return names[0] if len(names) == 1 else None

        name = WebDriverWait(self.driver, 20).until(finished)
        with open(os.path.join(folder, name), "rb") as data:
            return data.read()

    def test_typical_road(self):
        self.assertEqual(self.row(0), HEADER)
        self.cell_element(0, 1).click()
        self.element("RzButton1").click()
        self.assertEqual(self.element("Overall").get_attribute("value"), "12500")
        self.assertEqual(self.row(1), ["798300", "120", "114", "3",
                                       "05", "08", "03", "07", "02", "07", "08", "04"])
        self.assertEqual(self.driver.execute_script("return window.beeps"), 0)
        if ARGS.screenshot:
            for row, frequency in enumerate(PLAN[9:12], start=2):
                self.calculate_row(row, frequency)
            self.element("WerkbankRaster").click()
            WebDriverWait(self.driver, 10).until(
                lambda d: self.element("WerkbankRasterOutput").text != "")
            self.driver.find_element(By.CLASS_NAME, "desk").screenshot(ARGS.screenshot)

    def test_refusal_shows_its_message_and_the_0F_row(self):
        self.calculate_row(1, 798301)
        self.assertEqual(self.dialog_text("MessageDialog"), ["Frequenz nicht berechenbar"])
        # The data nibbles follow once the dialog's close event has been handled.
        WebDriverWait(self.driver, 10).until(lambda d: self.cell(11, 1) == "0F")
        self.assertEqual(self.row(1), ["798301", " ", " ", " "] + ["0F"] * 8)
        self.assertEqual(self.row(0), HEADER)

    def test_failure_report_for_an_r2_of_0(self):
        self.type_into("R2_Input", "0")
        self.element("RzButton1").click()
        self.assertEqual(self.dialog_text("FailureReport"), ["Division by zero."])
        self.assertEqual(self.element("Overall").get_attribute("value"), "")

    def test_tab_order_follows_the_window(self):
        order = ["Quarz", "R0_INPUT", "R1_Input", "R2_Input", "Edit1", "Overall", "FR_Input",
                 "Modulator", "Testfunktion", "RzButton1", "Grid1", "loeschen"]
        self.element("Quarz").click()
        visited = ["Quarz"]
        for _ in order[1:]:
            self.keys(Keys.TAB)
            visited.append(self.driver.switch_to.active_element.get_attribute("id"))
        self.assertEqual(visited, order)

    def test_frequency_keys(self):
        with open(os.path.join(DATA, "frequency-keys.tsv"), newline="", encoding="utf-8") as table:
            rows = [line for line in table if not line.startswith("#") and line.strip()]
        cases = list(csv.DictReader(rows, delimiter="\t"))
        self.assertTrue(cases)
        german = None
        try:
            for case in cases:
                if case["german"] == "yes":
                    german = german or Browser(language="de-DE")
                    self.open_page(german)
                else:
                    self.open_page(self.browser)
                with self.subTest(case["name"]):
                    self.check_key(case)
        finally:
            self.driver = self.browser.driver
            if german:
                self.assertEqual(german.foreign_requests(), [])
                german.quit()

    def check_key(self, case):
        text, start, end, direction = parse_field(case["field"])
        self.element("FR_Input").click()
        self.driver.execute_script(
            "const f = document.getElementById('FR_Input'); f.value = arguments[0];"
            "f.setSelectionRange(arguments[1], arguments[2], arguments[3]); window.beeps = 0;",
            text, start, end, direction)
        self.keys(SPECIAL_KEYS.get(case["key"], case["key"]))
        after = self.driver.execute_script(
            "const f = document.getElementById('FR_Input');"
            "return [f.value, f.selectionStart, f.selectionEnd, f.selectionDirection, window.beeps];")
        self.assertEqual(show_field(*after[:4]), case["after"])
        self.assertEqual(after[4], int(case["beeps"]))

    def test_image_download_equals_the_tool_plan(self):
        for row, frequency in enumerate(PLAN, start=1):
            self.calculate_row(row, frequency)
        self.chord(Keys.ALT, "d")
        self.keys("b")
        downloaded = self.wait_for_download(".bin")
        plan = self.path("plan.txt", "".join(f"{f}\n" for f in PLAN).encode())
        run_tool("plan", plan, "-o", self.path("plan.bin"))
        with open(self.path("plan.bin"), "rb") as expected:
            self.assertEqual(downloaded, expected.read())

    def test_pickers_open_a_channel_table_and_an_image(self):
        plan = self.path("picked.txt", "".join(f"{f}\n" for f in PLAN).encode())
        run_tool("plan", plan, "-o", self.path("picked.bin"), "--vx4", self.path("picked.vx4"))
        shown = list(csv.reader(run_tool("show", "--csv", self.path("picked.vx4")).splitlines()))
        expected = [line[1:] for line in shown[1:]]
        self.element("OpenDialog").send_keys(self.path("picked.vx4"))
        WebDriverWait(self.driver, 10).until(lambda d: self.cell(0, 16) == str(PLAN[15]))
        self.assertEqual(self.cells()[1:], expected)
        self.assertIn("picked.vx4", self.driver.title)
        self.assertIn("picked.vx4", self.element("Caption").text)

        self.element("loeschen").click()
        self.element("BinOpen").send_keys(self.path("picked.bin"))
        WebDriverWait(self.driver, 10).until(lambda d: self.cell(4, 16) != "  ")
        self.assertEqual(self.cells()[1:], [["  "] * 4 + line[4:] for line in expected])

    def test_refused_image_shows_three_lines_and_changes_no_cell(self):
        self.calculate_row(1, 798300)
        before = self.cells()
        self.element("BinOpen").send_keys(self.path("refused.bin", b"\x10" + b"\x03" * 127))
        self.assertEqual(self.dialog_text("MessageDialog"),
                         ["Während des Einlesens wurden Daten",
                          "entdeckt die nicht Brenstadel konform sind",
                          "(>0F oder Bitstream falsch)"])
        self.assertEqual(self.cells(), before)

    def test_plan_picker_fills_the_table_as_the_tool_plans(self):
        # A spreadsheet's table in MHz with its channels in another order and a gap.
        plan = self.path("plan.csv", "\ufeffKanal;Frequenz (MHz);Name\r\n2;145,125;B\r\n1;798,300;A\r\n"
                         "16;438,975;C\r\n".encode())
        run_tool("plan", plan, "-o", self.path("plan.bin"), "--vx4", self.path("plan.vx4"))
        shown = list(csv.reader(run_tool("show", "--csv", self.path("plan.vx4")).splitlines()))
        self.element("WerkbankPlanFile").send_keys(plan)
        WebDriverWait(self.driver, 10).until(lambda d: self.cell(0, 16) == "438975")
        self.assertEqual(self.cells()[1:], [line[1:] for line in shown[1:]])

    def test_sheet_prints_and_saves_the_tools_sheet(self):
        plan = self.path("blatt.txt", "".join(f"{f}\n" for f in PLAN).encode())
        run_tool("plan", plan, "-o", self.path("blatt.bin"), "--vx4", self.path("blatt.vx4"))
        expected = subprocess.run([os.path.abspath(ARGS.tool), "sheet", "blatt.vx4"], cwd=self.files.name, check=True,
                                  capture_output=True, text=True).stdout
        self.element("OpenDialog").send_keys(self.path("blatt.vx4"))
        WebDriverWait(self.driver, 10).until(lambda d: self.cell(0, 16) == str(PLAN[15]))
        # The print dialog itself is the browser's: the frame's window prints nothing here.
        self.driver.execute_script(
            "const frame = document.getElementById('WerkbankSheetFrame');"
            "frame.addEventListener('load', () => { frame.contentWindow.print = () => {"
            " window.sheetPrinted = true; }; }, { capture: true, once: true });")
        self.element("WerkbankSheetPrint").click()
        WebDriverWait(self.driver, 10).until(lambda d: d.execute_script("return window.sheetPrinted"))
        frame = self.driver.execute_script(
            "const frame = document.getElementById('WerkbankSheetFrame'), doc = frame.contentDocument;"
            "return [frame.srcdoc, doc.styleSheets.length, doc.body.innerText];")
        self.assertEqual(frame[0], expected)
        # Its style is allowed under the page's policy, and the channels are there to print.
        self.assertGreater(frame[1], 0)
        self.assertIn(f"{PLAN[15]}", frame[2])
        self.element("WerkbankSheetSave").click()
        self.assertEqual(self.wait_for_download("-Blatt.html").decode(), expected)

    def test_controls_stand_at_the_window_places(self):
        # Left, top, width, height in the client area; inside the group box add its 8, 16.
        places = {"RzGroupBox1": [8, 16, 361, 177], "Quarz": [104, 40, 73, 21],
                  "R0_INPUT": [104, 69, 73, 21], "R1_Input": [104, 93, 73, 21],
                  "R2_Input": [104, 117, 73, 21], "Edit1": [104, 147, 73, 21],
                  "Overall": [256, 37, 97, 19], "FR_Input": [256, 70, 57, 22],
                  "RzButton1": [296, 160, 65, 25], "loeschen": [200, 160, 89, 25]}
        shown = self.driver.execute_script(
            "const c = document.getElementById('ClientArea').getBoundingClientRect();"
            "return Object.fromEntries(arguments[0].map(id => {"
            " const r = document.getElementById(id).getBoundingClientRect();"
            " return [id, [r.left - c.left, r.top - c.top, r.width, r.height]]; }));", list(places))
        self.assertEqual(shown, places)
        widths = self.driver.execute_script(
            "return Array.from(document.getElementById('Grid1').rows[1].cells,"
            " c => c.getBoundingClientRect().width);")
        # Each cell with the grid line beside it.
        self.assertEqual(widths, [79, 46, 45, 45, 21, 20, 20, 20, 19, 19, 19, 19])

    def test_every_field_has_a_label_for_screen_readers(self):
        unlabelled = self.driver.execute_script(
            "return Array.from(document.querySelectorAll('input, select, textarea'))"
            ".filter(f => f.labels.length === 0 && !f.getAttribute('aria-label')).map(f => f.id);")
        self.assertEqual(unlabelled, [])

    def test_layout_holds_at_200_percent(self):
        # 200 % of a 1280 pixels wide screen leaves 640 CSS pixels.
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                    {"width": 640, "height": 400, "deviceScaleFactor": 2, "mobile": False})
        try:
            boxes = self.driver.execute_script(
                "const box = id => document.getElementById(id).getBoundingClientRect();"
                "const c = box('ClientArea'), w = box('Form1'), b = box('Werkbank');"
                "return [c.width, c.height, w.right <= b.left || w.bottom <= b.top,"
                " document.documentElement.scrollWidth <= innerWidth];")
            self.assertEqual(boxes, [376, 476, True, True])
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--screenshot")
    ARGS, rest = parser.parse_known_args()
    if not os.path.isfile(ARGS.page):
        print(f"SKIPPED: the page {ARGS.page} has not been built (bash scripts/setup.sh web)")
        return 77
    result = unittest.main(argv=[sys.argv[0], *rest], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
