#!/usr/bin/env bash
# Takes the documents' pictures of the page in headless Chromium, once it shows its result:
#   docs/web-page.png  dist/pevrand-<version>.html from disk, in a 420 x 660 window, the
#                      Constants choice below the window included;
#   docs/phone.png     dist/web/ served on 127.0.0.1 (scripts/serve.py), at a phone's 360 x 740
#                      viewport (two device pixels a CSS pixel), opened from a link that shares
#                      a conversion with CODATA 2022's constants, once it is ready offline: the
#                      whole page, scrolled part too.
#
# Usage: scripts/screenshot-web.sh   (builds the page first, unless PAGE=file names one; JOBS=n)
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(scripts/version.sh)
page=${PAGE:-$PWD/dist/pevrand-$version.html}
[ -n "${PAGE:-}" ] || JOBS=${JOBS:-$(nproc)} scripts/web-dist.sh >/dev/null
profile=$(mktemp -d)
address=$(mktemp)
server=""
trap '[ -z "$server" ] || kill "$server"; rm -rf "$profile" "$address"' EXIT
PORT=0 scripts/serve.py "$(dirname "$page")/web" >"$address" 2>/dev/null &
server=$!
for _ in $(seq 100); do grep -q http "$address" && break; sleep 0.05; done
url=$(grep -o 'http://[^ ]*' "$address")

/usr/bin/python3 - "$page" "$url" "$profile" <<'PY'
import base64, sys, time
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

page, url, profile = sys.argv[1:]
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--hide-scrollbars", f"--user-data-dir={profile}"]:
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    # The window's inner size, not its outer one, is what a picture shows.
    for address, picture, width, height, scale, mobile in [
            ("file://" + page, "docs/web-page.png", 420, 660, 1, False),
            (url + "#v=4&from=wavelength&to=nu&constants=codata2022", "docs/phone.png", 360, 740, 2,
             True)]:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": mobile})
        driver.get(address)
        for _ in range(500):
            if driver.execute_script("return document.getElementById('txtOutputVal')?.value"):
                break
            time.sleep(0.01)
        time.sleep(0.3)  # fonts and the first paint
        if not mobile:
            driver.save_screenshot(picture)
            continue
        for _ in range(500):
            if driver.execute_script("return document.getElementById('status').textContent"):
                break
            time.sleep(0.01)
        height = driver.execute_script("return document.documentElement.scrollHeight")
        shot = driver.execute_cdp_cmd("Page.captureScreenshot", {"captureBeyondViewport": True,
            "clip": {"x": 0, "y": 0, "width": width, "height": height, "scale": 1}})
        with open(picture, "wb") as f:
            f.write(base64.b64decode(shot["data"]))
finally:
    driver.quit()
PY
echo "screenshot-web: wrote docs/web-page.png and docs/phone.png"
