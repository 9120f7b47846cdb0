"""What kevo-live's end-to-end scripts share: the failures they gather and bounded waits.

Each script imports it from its own folder; a failure is printed at once and the script
reports them all at its end, so one run names every fault it met.
"""
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
