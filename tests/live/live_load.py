#!/usr/bin/env python3
"""kevo-live's load figures, measured on 127.0.0.1 (a measurement to read, not a test).

1. A burst of BURST datagrams (distinct contacts) sent as fast as the loopback takes them:
   how many arrived, how long the intake took to score them all, and how long the page took
   to answer while it did.
2. At SIZE contacts (given to kevo-live as a journal, replayed at start): the delay from one
   more datagram to the /summary that shows it, over a few tries.

Usage: live_load.py KEVO_LIVE WORKDIR [BURST [SIZE]] [-- extra kevo-live options]
"""
import os
import re
import socket
import statistics
import subprocess
import sys
import threading
import time
import urllib.request

args = sys.argv[1:]
extra = []
if "--" in args:
    extra = args[args.index("--") + 1:]
    args = args[:args.index("--")]
LIVE, WORK = os.path.abspath(args[0]), os.path.abspath(args[1])
BURST = int(args[2]) if len(args) > 2 else 10000
SIZE = int(args[3]) if len(args) > 3 else 20000
BANDS = ["3.5", "7", "14", "21", "28"]


def letters(n):
    """A distinct suffix for every contact number, so that no contact is a duplicate."""
    out = ""
    for _ in range(4):
        out += chr(65 + n % 26)
        n //= 26
    return out


def contact(n, root="contactinfo"):
    minute = n // 4
    return ("<%s><timestamp>2026-03-14 %02d:%02d:%02d</timestamp><band>%s</band><mode>CW</mode>"
            "<call>Q%dX%s</call><exchange1>%d</exchange1><rcvnr>0</rcvnr><section>E</section>"
            "<ID>%032X</ID></%s>" % (root, minute // 60 % 24, minute % 60, n % 60,
                                     BANDS[n % 5], n % 9, letters(n), 10 + n % 30, n,
                                     root)).encode()


def start(journal):
    process = subprocess.Popen([LIVE, "--udp", "127.0.0.1:0", "--http", "127.0.0.1:0",
                                "--journal", journal, "--own-number", "12"] + extra,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = process.stdout.readline().decode()
    udp = re.search(r"udp ([0-9.]+):(\d+)", line).groups()
    page = "http://" + re.search(r"http://([0-9.:]+)/", line).group(1)
    threading.Thread(target=process.stdout.read, daemon=True).start()
    return process, (udp[0], int(udp[1])), page


def get(url):
    with urllib.request.urlopen(url, timeout=10) as answer:
        return answer.read()


def received(page):
    return int(re.search(rb'"received":(\d+)', get(page + "/status.json")).group(1))


def burst():
    journal = os.path.join(WORK, "burst.journal")
    if os.path.exists(journal):
        os.remove(journal)
    process, udp, page = start(journal)
    payloads = [contact(n) for n in range(BURST)]
    page_times = []
    stop = threading.Event()

    def ask_page():
        while not stop.is_set():
            began = time.monotonic()
            get(page + "/")
            get(page + "/status.json")
            page_times.append(time.monotonic() - began)
            time.sleep(0.1)

    asker = threading.Thread(target=ask_page)
    asker.start()
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    began = time.monotonic()
    for payload in payloads:
        sock.sendto(payload, udp)
    sent_in = time.monotonic() - began
    deadline = time.monotonic() + 300
    count = 0
    while time.monotonic() < deadline:
        count = received(page)
        if count >= BURST:
            break
        time.sleep(0.05)
    drained_in = time.monotonic() - began
    time.sleep(0.5)
    count = received(page)
    stop.set()
    asker.join()
    process.terminate()
    process.wait(10)
    print("burst: %d datagrams sent in %.2f s; %d received (%d lost); all scored after %.2f s"
          % (BURST, sent_in, count, BURST - count, drained_in))
    print("page during the burst: %d answers (page + status), median %.1f ms, worst %.1f ms"
          % (len(page_times), 1000 * statistics.median(page_times), 1000 * max(page_times)))


def delay():
    journal = os.path.join(WORK, "big.journal")
    with open(journal, "wb") as out:
        for n in range(SIZE):
            out.write(contact(n) + b"\n")
    began = time.monotonic()
    process, udp, page = start(journal)
    print("start with %d contacts in the journal: %.2f s until listening"
          % (SIZE, time.monotonic() - began))
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    delays = []
    for n in range(SIZE, SIZE + 20):
        before = get(page + "/summary")
        began = time.monotonic()
        sock.sendto(contact(n), udp)
        while get(page + "/summary") == before and time.monotonic() - began < 10:
            pass
        delays.append(time.monotonic() - began)
    process.terminate()
    process.wait(10)
    print("at %d contacts: datagram to updated /summary median %.1f ms, worst %.1f ms "
          "(20 tries, HTTP polling included)" % (SIZE, 1000 * statistics.median(delays),
                                                 1000 * max(delays)))


os.makedirs(WORK, exist_ok=True)
burst()
delay()
