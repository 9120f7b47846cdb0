#!/usr/bin/env python3
"""kevo-live as an operator starts it from an unpacked release, on 127.0.0.1 only.

kevo-live starts in a folder of its own with no --library: it must load the plug-in beside
its executable by itself. A few contacts go to it as logger datagrams; its page and its
/summary must show them scored, and after the stop signal it must end cleanly with every
contact in its journal. Every wait is bounded; the script stops kevo-live itself.

Usage: live_smoke.py KEVO_LIVE WORKDIR [--loader PROGRAM] [--stop-signal TERM|INT]
"""
import argparse
import json
import os
import queue
import re
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.request

START_SECONDS = 400
CONTACTS = [("OK1ABC", "14", "CW", "10:01:00", "KV"), ("SP2XYZ", "7", "CW", "10:02:00", "23"),
            ("DL3QQ", "14", "USB", "10:03:00", "41")]


def datagram(call, band, mode, clock, exchange, number):
    fields = [("contestname", "KEVO"), ("timestamp", "2026-03-14 " + clock),
              ("mycall", "Q1TEST"), ("band", band), ("mode", mode), ("call", call),
              ("countryprefix", call[:2]), ("section", "E"), ("exchange1", exchange),
              ("StationName", "PC1"), ("ID", "%032X" % number)]
    body = "".join("<%s>%s</%s>" % (k, v, k) for k, v in fields)
    return ('<?xml version="1.0" encoding="utf-8"?>\n<contactinfo>%s</contactinfo>'
            % body).encode()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("live")
    parser.add_argument("work")
    parser.add_argument("--loader", default=None)
    parser.add_argument("--stop-signal", default="TERM", choices=["TERM", "INT"])
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    journal = os.path.join(work, "smoke.journal")
    if os.path.exists(journal):
        os.remove(journal)
    command = ([args.loader] if args.loader else []) + [
        os.path.abspath(args.live), "--udp", "127.0.0.1:0", "--http", "127.0.0.1:0",
        "--journal", "smoke.journal", "--own-number", "12", "--own-region", "W"]
    process = subprocess.Popen(command, cwd=work, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT)
    lines = queue.Queue()

    def read_output():
        for line in process.stdout:
            lines.put(line.decode(errors="replace"))
        lines.put("")  # the end of the output

    threading.Thread(target=read_output, daemon=True).start()
    problems = []
    try:
        # 32-bit Wine on an emulated CPU takes minutes to start a program.
        try:
            first = lines.get(timeout=START_SECONDS)
        except queue.Empty:
            raise SystemExit("kevo-live said nothing in %d s" % START_SECONDS)
        if not first:
            raise SystemExit("kevo-live ended at start (exit status %s)" % process.wait(10))
        udp = re.search(r"udp ([0-9.]+):(\d+)", first)
        page = re.search(r"http://([0-9.:]+)/", first)
        if not udp or not page:
            raise SystemExit("kevo-live did not start: " + first)

        def get(path):
            url = "http://%s%s" % (page.group(1), path)
            with urllib.request.urlopen(url, timeout=300) as answer:
                return answer.read().decode("utf-8")

        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for number, contact in enumerate(CONTACTS, 1):
            sock.sendto(datagram(*contact, number), (udp.group(1), int(udp.group(2))))
        sock.close()
        deadline = time.monotonic() + 120
        while json.loads(get("/status.json"))["contacts"] < len(CONTACTS):
            if time.monotonic() > deadline:
                raise SystemExit("the contacts never arrived: " + get("/status.json"))
            time.sleep(0.1)
        status = json.loads(get("/status.json"))
        if status["score"] <= 0:
            problems.append("score %s after %d contacts" % (status["score"], len(CONTACTS)))
        if "<html" not in get("/").lower():
            problems.append("/ is no page")
        if not re.search(r"Score: .* points", get("/summary")):
            problems.append("/summary shows no score")
        process.send_signal(getattr(signal, "SIG" + args.stop_signal))
        code = process.wait(120)
        if code != 0:
            problems.append("exit status %d after SIG%s" % (code, args.stop_signal))
    finally:
        if process.poll() is None:
            process.kill()
    output = first
    while not lines.empty():
        output += lines.get()
    if "library: " not in output:
        problems.append("no library named at start")
    with open(journal, "rb") as saved:
        lines_saved = saved.read().split(b"\n")
    # The first line names the journal's format; every other whole line is one datagram.
    if not lines_saved[0].startswith(b"# kevo-live journal"):
        problems.append("the journal does not start with its header line")
    kept = sum(1 for line in lines_saved[1:] if line)
    if kept != len(CONTACTS):
        problems.append("the journal holds %d datagrams, not %d" % (kept, len(CONTACTS)))
    for problem in problems:
        print("FAIL: " + problem)
    if problems:
        print(output)
        return 1
    print("%d contacts scored, score %d, journal intact" % (len(CONTACTS), status["score"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
