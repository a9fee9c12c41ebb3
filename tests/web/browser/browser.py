# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's Chromium headless through its chromedriver, with a fresh profile and no network of its own."""

import json
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
FLAGS = (
    "--headless",
    "--no-sandbox",
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--no-first-run",
    "--window-size=1100,900",
)


class Browser:
    """One browser; downloads go into a folder of their own, requests are logged."""

    def __init__(self, language=None):
        self.profile = tempfile.mkdtemp(prefix="vx40-chromium-")
        self.downloads = tempfile.mkdtemp(prefix="vx40-downloads-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in FLAGS:
            options.add_argument(flag)
        options.add_argument("--user-data-dir=" + self.profile)
        prefs = {
            "download.default_directory": self.downloads,
            "download.prompt_for_download": False,
            "safebrowsing.enabled": False,
        }
        if language:
            options.add_argument("--lang=" + language)
            prefs["intl.accept_languages"] = language
        options.add_experimental_option("prefs", prefs)
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.execute_cdp_cmd(
            "Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": self.downloads}
        )
        # What the browser loaded for itself before it was given the page is not the page's.
        self.driver.get_log("performance")

    def foreign_requests(self):
        """The requests since the last call other than to the page's file and its data: and blob: URLs."""
        foreign = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message.get("method") != "Network.requestWillBeSent":
                continue
            url = message["params"]["request"]["url"]
            if not url.startswith(("file://", "data:", "blob:")):
                foreign.append(url)
        return foreign

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)
        shutil.rmtree(self.downloads, ignore_errors=True)
