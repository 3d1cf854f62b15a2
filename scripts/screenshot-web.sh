#!/usr/bin/env bash
# Takes the README's picture of the page: opens dist/pevrand-<version>.html in headless Chromium
# (a 420 x 640 window), waits for the start-up result and writes docs/web-page.png.
#
# Usage: scripts/screenshot-web.sh   (builds the page first, unless PAGE=file names one; JOBS=n)
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(scripts/version.sh)
page=${PAGE:-$PWD/dist/pevrand-$version.html}
[ -n "${PAGE:-}" ] || JOBS=${JOBS:-$(nproc)} scripts/web-dist.sh >/dev/null
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT

/usr/bin/python3 - "$page" docs/web-page.png "$profile" <<'PY'
import sys, time
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

page, picture, profile = sys.argv[1:]
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--hide-scrollbars", f"--user-data-dir={profile}"]:
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    # The window's inner size, not its outer one, is what the picture shows.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 420, "height": 640, "deviceScaleFactor": 1, "mobile": False})
    driver.get("file://" + page)
    for _ in range(500):
        if driver.execute_script("return document.getElementById('txtOutputVal')?.value"):
            break
        time.sleep(0.01)
    time.sleep(0.3)  # fonts and the first paint
    driver.save_screenshot(picture)
finally:
    driver.quit()
PY
echo "screenshot-web: wrote docs/web-page.png"
