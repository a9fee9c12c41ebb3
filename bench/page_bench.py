# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's figures in one headless browser run, as "key value" lines for bench/table.awk.

    page_bench.py PAGE PAGE_DIR RUNS

PAGE is the built page; the floor is the same page put together from PAGE_DIR (web/page) by the
build's assembler without the module. Times are medians, in milliseconds (key_ms) and
microseconds (key_us); sizes in bytes.
"""

import gzip
import os
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web", "browser"))

from browser import Browser  # noqa: E402

# Runs before the page's own script: notes when the page has loaded and when the header row has
# been written, in milliseconds from the start of the navigation.
PROBE = """
window.vx40Probe = {};
addEventListener("load", () => { vx40Probe.load = performance.now(); });
new MutationObserver((_, observer) => {
  const cell = document.querySelector("#Grid1 td");
  if (cell && cell.textContent === "Frequenz") {
    vx40Probe.header = performance.now();
    observer.disconnect();
  }
}).observe(document, { subtree: true, childList: true, characterData: true });
"""

# 16 channels calculated and the image made by the page's module through its core script, as the
# bind script calls it; what the page then draws and downloads is the browser's work.
SIXTEEN = """
const [repeats, done] = [arguments[0], arguments[arguments.length - 1]];
const frequencies = [798300, 144075, 145125, 145975, 146525, 430025, 433075, 438975,
                     439125, 798325, 798375, 798425, 144100, 433100, 798350, 798450];
VX40Core.load().then((core) => {
  core.call(["start", ",", "."]);
  core.call(["FormActivate"]);
  let image = null;
  let last = null;
  const round = () => {
    for (let row = 1; row <= 16; ++row) {
      const text = String(frequencies[row - 1]);
      core.call(["Grid1Click", "0", String(row), text]);
      last = core.call(["RzButton1Click", "6000000", "12", "5", "2", text, "1", ""]);
    }
    image = core.call(["BinDateierzeugen1Click"]);
  };
  // Batches of rounds after one to warm up; the median batch gives the time of one round.
  const batches = [];
  for (let batch = 0; batch <= 21; ++batch) {
    const start = performance.now();
    for (let i = 0; i < repeats; ++i) {
      round();
    }
    batches.push((performance.now() - start) / repeats);
  }
  batches.shift();
  batches.sort((a, b) => a - b);
  const each = batches[10];
  done([each, Array.from(image.bytes), JSON.stringify(last.steps)]);
});
"""


def load_time(browser, path, key):
    browser.driver.get("file://" + os.path.abspath(path))
    return browser.driver.execute_script(
        "return new Promise(done => { const wait = () => vx40Probe[arguments[0]] && vx40Probe.load"
        " ? done(vx40Probe[arguments[0]]) : setTimeout(wait, 5); wait(); });", key)


def floor_page(page_dir, folder):
    """The page put together as the build does, without the module."""
    path = os.path.join(folder, "vx40-floor.html")
    assembler = os.path.join(page_dir, "..", "assemble-page.js")
    subprocess.run(["node", assembler, "--floor", page_dir, path], check=True)
    return path


def main():
    page, page_dir, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    folder = tempfile.TemporaryDirectory(prefix="vx40-page-bench-")
    floor = floor_page(page_dir, folder.name)
    browser = Browser()
    try:
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
        # The first opening of each warms the browser's caches; it is not counted.
        load_time(browser, floor, "load")
        load_time(browser, page, "header")
        activation, bare = [], []
        for _ in range(runs):
            bare.append(load_time(browser, floor, "load"))
            activation.append(load_time(browser, page, "header"))
        browser.driver.set_script_timeout(60)
        each, image, last_steps = browser.driver.execute_async_script(SIXTEEN, 50)
        # A refused channel would give an image of nothing but 0F.
        if len(image) != 128 or max(image) > 15 or min(image) == 15:
            raise SystemExit(f"the page did not calculate: {image}, {last_steps}")
        requests = browser.foreign_requests()
        if requests:
            raise SystemExit(f"the page made requests: {requests}")
    finally:
        browser.quit()
        folder.cleanup()
    with open(page, "rb") as data:
        content = data.read()
    print("page_activation_ms", f"{statistics.median(activation):.2f}")
    print("page_floor_ms", f"{statistics.median(bare):.2f}")
    print("page_bytes", len(content))
    print("page_gzip_bytes", len(gzip.compress(content, 9)))
    print("page_sixteen_us", f"{each * 1000:.1f}")


if __name__ == "__main__":
    main()
