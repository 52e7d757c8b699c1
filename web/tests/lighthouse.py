"""The page's load figures from Lighthouse's mobile preset (simulated slow
network and CPU) run on Debian's Chromium: the performance score, the
largest and first contentful paint, layout shift and blocking time. The
pinned Lighthouse is installed by scripts/test-web.sh (web/tests/package.json).
"""
import json
import os
import subprocess
import tempfile
from pathlib import Path

LIGHTHOUSE = Path(__file__).resolve().parent / "node_modules" / ".bin" / "lighthouse"
CHROMIUM_FLAGS = ("--headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                  "--disable-background-networking --disable-component-update --disable-sync")
RUN_SECONDS = 300
# The figures printed, from the report's audits: (name, audit, format).
FIGURES = (("LCP", "largest-contentful-paint", "{:.0f} ms"), ("FCP", "first-contentful-paint", "{:.0f} ms"),
           ("CLS", "cumulative-layout-shift", "{:.3f}"), ("TBT", "total-blocking-time", "{:.0f} ms"),
           ("SI", "speed-index", "{:.0f} ms"))


def available():
    return LIGHTHOUSE.exists()


def figures(url):
    """One run on the page at url: {'score': …, 'LCP': …, …} (times in ms)."""
    with tempfile.TemporaryDirectory(prefix="dosmo-lighthouse-") as folder:
        report = Path(folder) / "report.json"
        subprocess.run([str(LIGHTHOUSE), url, "--only-categories=performance", "--output=json",
                        f"--output-path={report}", "--quiet", f"--chrome-flags={CHROMIUM_FLAGS}"],
                       env=dict(os.environ, CHROME_PATH="/usr/bin/chromium", TMPDIR=folder),
                       check=True, timeout=RUN_SECONDS, stdout=subprocess.DEVNULL)
        result = json.loads(report.read_text())
    audits = result["audits"]
    found = {"score": result["categories"]["performance"]["score"]}
    found.update((name, audits[audit]["numericValue"]) for name, audit, _ in FIGURES)
    return found


def described(found):
    return f"performance {found['score']:.2f}, " + ", ".join(
        f"{name} {form.format(found[name])}" for name, _, form in FIGURES)
