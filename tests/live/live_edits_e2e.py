#!/usr/bin/env python3
"""kevo-live end to end with what real loggers do, on 127.0.0.1 only.

Each case sends datagrams in the senders' shapes (made-up calls) to a fresh kevo-live, stops
it with SIGKILL, starts it again on the same journal and checks that the restart gives back
the same summary and contact count, and that the summary is kevo-replay's for the contacts
that remain:

- an edit sent as contactdelete then contactreplace keeps the (edited) contact;
- two IDs for one library entry: deleting one and moving the other;
- contacts marked not to count (IsClaimedQso 0, xqso true), and edits that toggle the mark;
- --only-contest / --only-call with other logs on the same port.

A stub scoreboard answers the first post with 500 and checks the Host header's port, the
Cabrillo band designators and the call taken from the datagrams' mycall; the retry must be
planned a whole posting interval later. Every wait is bounded; kevo-live is stopped here.

Usage: live_edits_e2e.py KEVO_LIVE KEVO_REPLAY WORKDIR
"""
import http.server
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
import xml.etree.ElementTree as ElementTree
from datetime import datetime

from live_checks import check, failures, start_live, wait_for

LIVE, REPLAY, WORK = (os.path.abspath(a) for a in sys.argv[1:4])
SETTINGS = ["--own-number", "12", "--own-region", "W"]


# --- datagrams in the senders' shapes -------------------------------------------------------

def contact(call, band, minute, exchange, cid, **extra):
    c = {"call": call, "band": band, "time": "2026-03-14 10:%02d:00" % minute,
         "exchange": exchange, "id": cid, "mode": "CW", "contest": "KEVO", "mycall": "Q1TEST"}
    c.update(extra)
    return c


def datagram(root, c):
    """The widely used family: ID, exchange1, IsClaimedQso; with guid=True the other family:
    guid, exch1, xqso."""
    if root == "contactdelete":
        body = "<timestamp>%s</timestamp><call>%s</call><StationName>PC1</StationName>" \
               "<ID>%s</ID>" % (c["time"], c["call"], c["id"])
    elif c.get("guid"):
        body = ("<logger>LoggerB</logger><contestname>%s</contestname><mycall>%s</mycall>"
                "<timestamp>%s</timestamp><band>%s</band><mode>%s</mode><call>%s</call>"
                "<countryprefix>DL</countryprefix><section>W</section><exch1>%s</exch1>"
                "<guid>%s</guid><xqso>%s</xqso>") % (
            c["contest"], c["mycall"], c["time"].replace(" ", "T") + "Z", c["band"], c["mode"],
            c["call"], c["exchange"], c["id"], "True" if c.get("x") else "False")
    else:
        body = ("<app>LoggerA</app><contestname>%s</contestname><timestamp>%s</timestamp>"
                "<mycall>%s</mycall><band>%s</band><rxfreq></rxfreq><mode>%s</mode>"
                "<call>%s</call><countryprefix>DL</countryprefix><section>W</section>"
                "<sntnr>0</sntnr><rcvnr>0</rcvnr><exchange1>%s</exchange1>"
                "<StationName>PC1</StationName><ID>%s</ID><IsClaimedQso>%d</IsClaimedQso>") % (
            c["contest"], c["time"], c["mycall"], c["band"], c["mode"], c["call"],
            c["exchange"], c["id"], 0 if c.get("x") else 1)
    return ('<?xml version="1.0" encoding="utf-8"?>\n<%s>%s</%s>' % (root, body, root)).encode()


ADIF_BANDS = {"14": "20m", "7": "40m", "3,5": "80m", "50": "6m", "144": "2m"}


def replay_summary(name, contacts):
    """kevo-replay's summary for the contacts, in this order."""
    out = ["kevo-live edits e2e\n<EOH>\n"]
    for c in contacts:
        date, clock = c["time"].split(" ")
        fields = [("CALL", c["call"]), ("QSO_DATE", date.replace("-", "")),
                  ("TIME_ON", clock.replace(":", "")), ("BAND", ADIF_BANDS[c["band"]]),
                  ("MODE", c["mode"]), ("SRX_STRING", c["exchange"]), ("PFX", "DL"),
                  ("STATE", "W")]
        out.append(" ".join("<%s:%d>%s" % (k, len(v), v) for k, v in fields) + " <EOR>\n")
    log = os.path.join(WORK, name + ".adi")
    with open(log, "w") as f:
        f.write("".join(out))
    run = subprocess.run([REPLAY] + SETTINGS + ["--order", "file", log], capture_output=True,
                         timeout=60)
    check(run.returncode == 0, "%s: kevo-replay exit %d" % (name, run.returncode))
    text = run.stdout.decode("latin-1").replace("\r\n", "\n")
    return text[:re.search(r"Score: .* points", text).end()]


# --- the stub scoreboard ---------------------------------------------------------------------

posts = []


class Scoreboard(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        posts.append((self.headers.get("Host"), body))
        self.send_response(500 if len(posts) == 1 else 200)
        self.end_headers()

    def log_message(self, *args):
        pass


# --- kevo-live -------------------------------------------------------------------------------

class Live:
    def __init__(self, args):
        self.process, self.udp, self.http = start_live([LIVE] + args, WORK)

    def get(self, path):
        with urllib.request.urlopen("http://%s%s" % (self.http, path), timeout=10) as answer:
            return answer.read()

    def status(self):
        return json.loads(self.get("/status.json"))

    def send(self, payloads):
        received = self.status()["counters"]["received"]
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for payload in payloads:
            sock.sendto(payload, (self.udp[0], int(self.udp[1])))
            time.sleep(0.002)
        sock.close()
        wait_for("datagrams taken",
                 lambda: self.status()["counters"]["received"] >= received + len(payloads), 30)

    def kill(self):
        self.process.send_signal(signal.SIGKILL)
        self.process.wait(10)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            check(self.process.wait(10) == 0, "kevo-live did not stop cleanly")


def run_case(name, sends, kept, extra_args=(), expect=None, during=None, pause=0.0):
    """Sends, checks, kills, restarts on the journal and checks again; `pause` gives the
    figures drawn with the charts (at most once a second) time to follow."""
    journal = os.path.join(WORK, name + ".journal")
    if os.path.exists(journal):
        os.remove(journal)
    args = ["--udp", "127.0.0.1:0", "--http", "127.0.0.1:0", "--journal", journal,
            "--no-sync"] + SETTINGS + list(extra_args)
    live = Live(args)
    try:
        live.send(sends)
        time.sleep(pause)
        expected = replay_summary(name, kept)
        for attempt in ("live", "restarted"):
            status = live.status()
            got = live.get("/summary").decode("latin-1").replace("\r\n", "\n").rstrip("\n")
            check(got == expected, "%s (%s): summary differs from kevo-replay's:\n%s\n---\n%s" %
                  (name, attempt, got, expected))
            check(status["contacts"] == len(kept), "%s (%s): %d contacts, %d kept" %
                  (name, attempt, status["contacts"], len(kept)))
            if expect:
                expect(status, attempt)
            if during and attempt == "live":
                during(live)
            if attempt == "live":
                live.kill()
                live = Live(args)
    finally:
        if live.process.poll() is None:
            live.stop()
    print("%s: %d datagrams, %d contacts kept" % (name, len(sends), len(kept)))


# --- the cases -------------------------------------------------------------------------------

def delete_then_replace(board_port):
    a = contact("DL1AAA", "14", 1, "KV", "A" * 32)
    b = contact("OK1BBB", "7", 2, "12", "B" * 32)
    c = contact("SP1CCC", "50", 3, "JO62", "C" * 32)
    d = contact("DL2DDD", "144", 4, "JO31", "D" * 32)
    b_edited = dict(b, exchange="13")
    sends = [datagram("contactinfo", x) for x in (a, b, c, d)]
    sends += [datagram("contactdelete", b), datagram("contactreplace", b_edited),
              datagram("contactinfo", b)]  # a late re-send of the old state: a repeat

    def scoreboard(live):
        wait_for("the first post", lambda: posts, 20)
        host, document = posts[0]
        check(host == "127.0.0.1:%d" % board_port, "Host header %r" % host)
        root = ElementTree.fromstring(document)
        check(root.findtext("call") == "Q1TEST", "posted call %r" % root.findtext("call"))
        bands = {e.get("band") for e in root.iter("qso")}
        check(bands == {"20", "40", "50", "144", "total"}, "posted bands %s" % sorted(bands))
        status = wait_for("the failed post counted",
                          lambda: (lambda s: s if s["post"]["failed"] == 1 and
                                   s["post"]["next_time"] else None)(live.status()), 20)
        post = status["post"]
        spacing = (datetime.fromisoformat(post["next_time"]) -
                   datetime.fromisoformat(post["last_time"])).total_seconds()
        check(spacing >= 60, "a failed post is retried after %d s" % spacing)
        time.sleep(1)
        check(len(posts) == 1, "%d posts within a second of a failure" % len(posts))
        check(post["call"] == "Q1TEST", "status names the call %r" % post["call"])

    def expect(status, attempt):
        counters = status["counters"]
        if attempt == "live":
            check(counters["deleted"] == 1 and counters["added"] == 5 and counters["repeats"] == 1,
                  "delete_then_replace counters %s" % counters)
        check(status["station"] == "Q1TEST" and status["contest"] == "KEVO",
              "station %r contest %r" % (status["station"], status["contest"]))
        check(status["last_update"] != "", "no last update time")

    run_case("delete_then_replace", sends, [a, c, d, b_edited],
             ["--post", "http://127.0.0.1:%d/score" % board_port, "--post-first-delay", "1"],
             expect, scoreboard)


def two_ids_for_one_entry():
    keeper = contact("SP1KKK", "14", 1, "KV", "1" * 32)
    other = contact("OK1OOO", "7", 9, "23", "2" * 32)
    p1 = contact("DL1PPP", "14", 5, "17", "3" * 32)
    p2 = dict(p1, id="4" * 32)  # the same contact from another station PC
    p2_moved = dict(p2, time="2026-03-14 10:06:00")
    sends = [datagram("contactinfo", x) for x in (keeper, p1, p2, other)]
    sends += [datagram("contactdelete", p1), datagram("contactreplace", p2_moved)]
    run_case("two_ids_for_one_entry", sends, [keeper, other, p2_moved])
    # Deleting one of two IDs alone leaves the entry.
    run_case("two_ids_delete_one", sends[:5], [keeper, p1, other])


def not_to_count():
    a = contact("DL1AAA", "14", 1, "KV", "A1" * 16)
    keeper = contact("SP1KKK", "14", 2, "12", "A2" * 16)
    x1 = contact("DL5XXX", "14", 3, "19", "A3" * 16, x=True)
    x2 = contact("OK5YYY", "7", 4, "21", "a4a4a4a4-a4a4-a4a4-a4a4-a4a4a4a4a4a4", x=True, guid=True)
    sends = [datagram("contactinfo", x) for x in (a, keeper, x1, x2)]
    sends += [datagram("contactreplace", dict(x1, x=False)),   # the mark cleared: counts
              datagram("contactreplace", dict(a, x=True))]      # marked: taken out

    def expect(status, attempt):
        check(status["counters"]["left_out"] == 3, "left out %s" % status["counters"])

    run_case("not_to_count", sends, [keeper, dict(x1, x=False)], expect=expect)


def filters():
    ours = [contact("DL1AAA", "14", 1, "KV", "F1" * 16), contact("OK1BBB", "7", 2, "12", "F2" * 16),
            contact("DL9OLD", "14", 3, "15", "F5" * 16), contact("OK1CCC", "7", 5, "16", "F6" * 16)]
    # A logger's clock years off: scored, as a host would, but named.
    ours[2]["time"] = "2019-03-14 10:03:00"
    other_contest = contact("SP1CCC", "14", 3, "13", "F3" * 16, contest="OTHER-TEST")
    other_station = contact("DL2DDD", "14", 4, "14", "F4" * 16, mycall="Q2XX")
    sends = [datagram("contactinfo", x) for x in ours + [other_contest, other_station]]
    sends.append(datagram("contactdelete", other_station))  # another log's delete: no change

    def expect(status, attempt):
        logs = {(l["contest"], l["mycall"]): (l["contacts"], l["applied"]) for l in status["logs"]}
        check(status["outside_window"] == 1 and
              status["outside_lines"][0]["call"] == "DL9OLD",
              "outside the window: %d %s" % (status["outside_window"], status["outside_lines"]))
        check(logs == {("KEVO", "Q1TEST"): (4, True), ("OTHER-TEST", "Q1TEST"): (1, False),
                       ("KEVO", "Q2XX"): (1, False)}, "logs %s" % logs)
        check(status["counters"]["other_logs"] == 2, "other logs %s" % status["counters"])

    run_case("filters", sends, ours, ["--only-contest", "kevo", "--only-call", "q1test"], expect,
             pause=1.5)


def main():
    os.makedirs(WORK, exist_ok=True)
    board = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Scoreboard)
    threading.Thread(target=board.serve_forever, daemon=True).start()
    try:
        delete_then_replace(board.server_address[1])
        two_ids_for_one_entry()
        not_to_count()
        filters()
    finally:
        board.shutdown()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
