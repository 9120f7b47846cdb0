#!/usr/bin/env python3
"""kevo-live end to end, on 127.0.0.1 only.

A generated contest goes to kevo-live as logger datagrams, with edits, deletes, repeats and bad
datagrams mixed in. The process is killed with SIGKILL half-way and started again on the same
journal: the summary must come back unchanged. At the end /summary must be the summary
kevo-replay gives for the contacts that remain (written as an ADIF log in the order kevo-live
last added them), the counters must match what was sent, and a stub scoreboard (HTTP) and a
stub dashboard (UDP) must have received well-formed dynamicresults documents whose score is
the library's. Every wait is bounded; the script stops kevo-live itself.

Usage: live_e2e.py KEVO_LIVE KEVO_REPLAY WORKDIR [--loader PROGRAM] [--stop-signal NAME]
  --loader       runs KEVO_LIVE through PROGRAM (wine for kevo-live.exe)
  --stop-signal  the signal of the clean stop at the end (default TERM; INT for a Windows
                 program, which Wine hands Ctrl+C only)
"""
import argparse
import http.server
import json
import queue
import os
import random
import re
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.request
import xml.etree.ElementTree as ElementTree

from live_checks import check, failures, start_live, wait_for

parser = argparse.ArgumentParser()
parser.add_argument("live")
parser.add_argument("replay")
parser.add_argument("work")
parser.add_argument("--loader", default=None)
parser.add_argument("--stop-signal", default="TERM", choices=["TERM", "INT"])
ARGS = parser.parse_args()
LIVE, REPLAY, WORK = (os.path.abspath(a) for a in (ARGS.live, ARGS.replay, ARGS.work))
LOADER = [ARGS.loader] if ARGS.loader else []
STOP = getattr(signal, "SIG" + ARGS.stop_signal)
BANDS = {"3.5": "80m", "7": "40m", "14": "20m", "21": "15m", "28": "10m"}
SETTINGS = ["--own-number", "12", "--own-region", "W"]


# --- the contest ---------------------------------------------------------------------------

def generate(seed=18):
    """Contacts with unique IDs; exchanges of two characters or more, so that no summary
    rewrites one, and calls that come back on other bands and as duplicates."""
    rng = random.Random(seed)
    calls = ["%s%d%s" % (rng.choice(["DL", "OK", "SP", "F", "I", "OE", "HA"]), rng.randint(1, 9),
                         "".join(rng.choice("ABCDEFGHKLMNPRSTUVWXYZ") for _ in range(3)))
             for _ in range(120)]
    contacts = []
    for n in range(400):
        minute = 600 + n  # one a minute from 10:00, so no two are the same contact
        exchange = rng.choice([str(rng.randint(10, 45)), rng.choice(["KV", "KVOE", "AB", "XY"])])
        contacts.append({
            "id": "%032X" % rng.getrandbits(128),
            "call": rng.choice(calls),
            "band": rng.choice(list(BANDS)),
            "mode": rng.choice(["CW", "CW", "USB", "LSB", "RTTY"]),
            "time": "2026-03-14 %02d:%02d:%02d" % (minute // 60 % 24, minute % 60,
                                                   rng.randint(0, 59)),
            "exchange": exchange,
            "region": rng.choice(["W", "E", "N", "W"]),
            "prefix": "DL",
        })
    return rng, contacts


def datagram(root, c):
    fields = [("app", "e2e"), ("contestname", "KEVO"), ("timestamp", c["time"]),
              ("mycall", "Q1TEST"), ("band", c["band"]), ("rxfreq", "0"), ("mode", c["mode"]),
              ("call", c["call"]), ("countryprefix", c["prefix"]), ("section", c["region"]),
              ("sntnr", "0"), ("rcvnr", "0"), ("exchange1", c["exchange"]),
              ("StationName", c.get("station", "PC1")), ("ID", c["id"])]
    if root == "contactdelete":
        fields = [f for f in fields if f[0] in ("ID", "timestamp", "call", "StationName")]
    body = "".join("<%s>%s</%s>" % (k, v, k) for k, v in fields)
    return ('<?xml version="1.0" encoding="utf-8"?>\n<%s>%s</%s>' % (root, body, root)).encode()


BAD = [
    (b"<contactinfo><call>X1</call>", "not well-formed XML"),
    (b"<contactinfo><call>X1</cal></contactinfo>", "not well-formed XML"),
    (b"\x00\x01binary", "not well-formed XML"),
    (b"<RadioInfo><Freq>1402500</Freq></RadioInfo>", "unknown root"),
    (b"<contactinfo><timestamp>2026-03-14 10:00:00</timestamp><band>14</band></contactinfo>",
     "no call"),
    (b"<contactinfo><call>X1</call><band>14</band></contactinfo>", "no time"),
]


def script(rng, contacts):
    """The datagrams to send, and the contacts kevo-live keeps at the end, in the order it last
    added them. Edits keep to bands in use; deletes leave every band some contacts."""
    sends, kept, repeats, bad = [], {}, 0, []
    for c in contacts:
        sends.append(datagram("contactinfo", c))
        kept[c["id"]] = c
        roll = rng.random()
        if roll < 0.08 and len(kept) > 5:
            victim = rng.choice(list(kept.values())[:-1])
            edited = dict(victim, exchange=str(rng.randint(10, 45)), band=rng.choice(list(BANDS)),
                          station="PC2")
            sends.append(datagram("contactreplace", edited))
            del kept[victim["id"]]
            kept[edited["id"]] = edited
        elif roll < 0.14 and len(kept) > 5:
            victim = rng.choice(list(kept.values()))
            sends.append(datagram("contactdelete", victim))
            del kept[victim["id"]]
            if rng.random() < 0.5:  # another PC re-sends the deleted contact: nothing changes
                sends.append(datagram("contactinfo", victim))
                repeats += 1
        elif roll < 0.20:
            sends.append(datagram("contactinfo", rng.choice(list(kept.values()))))
            repeats += 1
        elif roll < 0.23:
            payload, reason = rng.choice(BAD)
            sends.append(payload)
            bad.append((len(sends) - 1, reason))
    return sends, list(kept.values()), repeats, bad


def adif(contacts):
    out = ["kevo-live e2e\n<EOH>\n"]
    for c in contacts:
        date, clock = c["time"].split(" ")
        mode = "SSB" if c["mode"] in ("USB", "LSB") else c["mode"]
        fields = [("CALL", c["call"]), ("QSO_DATE", date.replace("-", "")),
                  ("TIME_ON", clock.replace(":", "")), ("BAND", BANDS[c["band"]]),
                  ("MODE", mode), ("SRX_STRING", c["exchange"]), ("PFX", c["prefix"]),
                  ("STATE", c["region"])]
        out.append(" ".join("<%s:%d>%s" % (k, len(v), v) for k, v in fields) + " <EOR>\n")
    return "".join(out)


# --- stubs ---------------------------------------------------------------------------------

posts = []


class Scoreboard(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        posts.append(body)
        self.send_response(200)
        self.end_headers()

    def log_message(self, *args):
        pass


def score_of(document):
    root = ElementTree.fromstring(document)
    check(root.tag == "dynamicresults", "posted root is %s" % root.tag)
    for name in ("contest", "call", "class", "score", "timestamp"):
        check(root.find(name) is not None, "posted document lacks <%s>" % name)
    check(root.findtext("call") == "Q1TEST", "posted call")
    totals = {e.tag: int(e.text) for e in root.iter() if e.get("band") == "total"}
    return int(root.findtext("score")), totals


# --- kevo-live -----------------------------------------------------------------------------

class Live:
    def __init__(self, args):
        self.process, self.udp, self.http = start_live(LOADER + [LIVE] + args, WORK)

    def get(self, path):
        with urllib.request.urlopen("http://%s%s" % (self.http, path), timeout=10) as answer:
            return answer.headers.get_content_type(), answer.read()

    def status(self):
        return json.loads(self.get("/status.json")[1])

    def send(self, payloads):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for payload in payloads:
            sock.sendto(payload, (self.udp[0], int(self.udp[1])))
            time.sleep(0.0005)  # a logger's pace, not a flood: this test counts, it does not time
        sock.close()

    def settle(self, received):
        wait_for("%d datagrams taken" % received,
                 lambda: self.status()["counters"]["received"] >= received, 60)


def main():
    os.makedirs(WORK, exist_ok=True)
    journal = os.path.join(WORK, "e2e.journal")
    for name in (journal, os.path.join(WORK, "stderr.txt")):
        if os.path.exists(name):
            os.remove(name)
    rng, contacts = generate()
    sends, kept, repeats, bad = script(rng, contacts)
    first, rest = sends[:40], sends[40:]
    half = len(sends) // 2

    board = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Scoreboard)
    threading.Thread(target=board.serve_forever, daemon=True).start()
    dashboard = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    dashboard.bind(("127.0.0.1", 0))
    dashboard.settimeout(20)
    def args(first_delay):
        return ["--udp", "127.0.0.1:0", "--http", "127.0.0.1:0", "--journal", journal,
                "--post", "http://127.0.0.1:%d/score" % board.server_address[1],
                "--post-udp", "127.0.0.1:%d" % dashboard.getsockname()[1],
                "--post-first-delay", str(first_delay), "--call", "Q1TEST",
                "--category-mode", "CW"] + SETTINGS
    live = Live(args(2))
    try:
        # The first post comes after the first contacts and carries their score.
        live.send(first)
        live.settle(len(first))
        score_then = live.status()["score"]
        wait_for("the first post", lambda: posts, 20)
        posted, totals = score_of(posts[0])
        check(posted == score_then, "first post's score %d, library's %d" % (posted, score_then))
        figures = live.status()["figures"]["total"]
        check(totals == {"qso": figures["qsos"], "point": figures["points"],
                         "mult": figures["mults"]}, "posted totals %s" % totals)
        sent_udp = dashboard.recvfrom(70000)[0]
        check(score_of(sent_udp)[0] == score_then, "dashboard's score")
        check(live.status()["post"]["last_answer"] == "200 OK", "post status")

        # Half the contest, then a crash: the journal gives back the same summary.
        live.send(sends[len(first):half])
        live.settle(half)
        before = live.get("/summary")
        check(before[0] == "text/plain", "/summary is %s" % before[0])
        live.process.send_signal(signal.SIGKILL)
        live.process.wait(10)
        # The restarted process posts its first score a while after its start: by then the
        # rest of the contest has arrived.
        live = Live(args(6))
        check(live.get("/summary") == before, "summary after the restart differs")

        # The rest; the last post carries the final score.
        replayed = live.status()["counters"]["received"]  # the accepted datagrams of the journal
        live.send(sends[half:])
        live.settle(replayed + len(sends) - half)
        status = live.status()
        final = live.get("/summary")[1]
        wait_for("a post of the final score",
                 lambda: any(score_of(p)[0] == status["score"] for p in posts), 30)
        live.process.send_signal(STOP)
        check(live.process.wait(10) == 0,
              "kevo-live did not stop cleanly on SIG" + ARGS.stop_signal)
    finally:
        if live.process.poll() is None:
            live.process.kill()
        board.shutdown()

    # Refused datagrams are never journaled: the restarted process counts only its own.
    counters = status["counters"]
    bad_since_restart = {}
    for index, reason in bad:
        if index >= half:
            bad_since_restart[reason] = bad_since_restart.get(reason, 0) + 1
    check(counters["rejected_by_reason"] == bad_since_restart,
          "rejected %s, sent %s" % (counters["rejected_by_reason"], bad_since_restart))
    check(counters["repeats"] == repeats, "repeats %d, sent %d" % (counters["repeats"], repeats))
    check(status["contacts"] == len(kept), "contacts %d, kept %d" % (status["contacts"], len(kept)))

    log = os.path.join(WORK, "kept.adi")
    with open(log, "w") as out:
        out.write(adif(kept))
    # The library's log holds the contacts in the order kevo-live added them, edits last, and
    # that order can change which of two alike contacts counts: replay the file as it stands.
    replay = subprocess.run([REPLAY] + SETTINGS + ["--order", "file", log], capture_output=True,
                            timeout=60)
    check(replay.returncode == 0, "kevo-replay exit %d" % replay.returncode)
    text = replay.stdout.decode("latin-1")
    expected = text[:re.search(r"Score: .* points", text).end()]
    got = final.decode("latin-1").replace("\r\n", "\n").rstrip("\n")
    check(got == expected.replace("\r\n", "\n"),
          "final summary differs from kevo-replay's:\n%s\n---\n%s" % (got, expected))
    print("%d datagrams, %d contacts kept, score %d, %d posts" %
          (len(sends), len(kept), status["score"], len(posts)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
