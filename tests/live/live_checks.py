"""What kevo-live's end-to-end scripts share: the failures they gather and bounded waits.

Each script imports it from its own folder; a failure is printed at once and the script
reports them all at its end, so one run names every fault it met.
"""
import os
import queue
import re
import subprocess
import threading
import time

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def wait_for(what, predicate, seconds=30):
    """The predicate's first true value, polled every 50 ms; gives up after seconds."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise SystemExit("gave up waiting for " + what)


def start_live(command, work):
    """Starts kevo-live in work, its stderr appended to work/stderr.txt, and reads its first
    line: the process and the UDP (address, port) and HTTP address it says it listens on."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE,
                               stderr=open(os.path.join(work, "stderr.txt"), "ab"), cwd=work)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(l) for l in process.stdout], daemon=True).start()
    try:
        line = lines.get(timeout=30).decode()
    except queue.Empty:
        process.kill()
        raise SystemExit("kevo-live said nothing at start")
    udp = re.search(r"udp ([0-9.]+):(\d+)", line).groups()
    http = re.search(r"http://([0-9.:]+)/", line).group(1)
    return process, udp, http
