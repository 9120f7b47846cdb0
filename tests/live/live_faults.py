#!/usr/bin/env python3
"""kevo-live under faults, on 127.0.0.1 only: a full disk, a file that is no journal, two
instances on one journal or one port, a restart from a large journal, descriptors used up, bad
HTTP requests and senders outside --allow. After each fault the process is stopped and started
again on the same journal, and it must give back every contact its page showed as kept.

The full disk is a small tmpfs when the machine lets this script mount one (as root), else a
file-size limit (RLIMIT_FSIZE), under which space never comes back within one run.

Usage: live_faults.py KEVO_LIVE WORKDIR [disk files instances large descriptors messages]
"""
import json
import os
import queue
import re
import resource
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.error
import urllib.request

from live_checks import check, failures, wait_for

LIVE, WORK = (os.path.abspath(a) for a in sys.argv[1:3])
HEADER = b"# kevo-live journal, format 1\n"


def datagram(n, root="contactinfo", call=None):
    minute = n % 1440
    fields = [("timestamp", "2026-03-14 %02d:%02d:%02d" % (minute // 60, minute % 60, n % 60)),
              ("band", ["3.5", "7", "14", "21", "28"][n % 5]), ("mode", "CW"),
              ("call", call or "Q%dX%s" % (n % 10, chr(65 + n // 10 % 26) + chr(65 + n // 260 % 26)
                                           + chr(65 + n // 6760 % 26))),
              ("countryprefix", "DL"), ("section", "W"), ("exchange1", str(10 + n % 30)),
              ("ID", "%032X" % (n + 1))]
    # The rest of what a logger sends with each contact, so that the journal's lines have
    # their usual length.
    fields += [("app", "faults"), ("contestname", "KEVO"), ("contestnr", "17"),
               ("mycall", "Q1TEST"), ("rxfreq", "1402500"), ("txfreq", "1402500"),
               ("operator", "Q1OP"), ("zone", "14"), ("snt", "599"), ("rcv", "599"),
               ("sntnr", str(n + 1)), ("rcvnr", "0"), ("gridsquare", ""), ("points", "1"),
               ("wpxprefix", "Q1"), ("continent", "EU"), ("power", "100"),
               ("misctext", ""), ("isrun", "1"), ("radionr", "1"), ("StationName", "PC1"),
               ("IsOriginal", "True"), ("NetBiosName", "STATION-PC1"), ("IsRunQSO", "1")]
    body = "".join("<%s>%s</%s>" % (k, v, k) for k, v in fields)
    return ("<%s>%s</%s>" % (root, body, root)).encode()


class Live:
    """One kevo-live on loopback; `start_ok` False when it refused to start."""

    def __init__(self, journal, extra=(), limits=None, expect_start=True):
        self.stderr_path = os.path.join(WORK, "stderr-%d.txt" % time.monotonic_ns())
        def preexec():
            for which, value in (limits or {}).items():
                resource.setrlimit(which, (value, value))
        self.process = subprocess.Popen(
            [LIVE, "--udp", "127.0.0.1:0", "--http", "127.0.0.1:0", "--journal", journal,
             "--no-sync"] + list(extra),
            stdout=subprocess.PIPE, stderr=open(self.stderr_path, "wb"), cwd=WORK,
            preexec_fn=preexec)
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(l) for l in self.process.stdout] + [lines.put(b"")],
                         daemon=True).start()
        try:
            self.banner = lines.get(timeout=60).decode()
        except queue.Empty:
            self.process.kill()
            raise SystemExit("kevo-live said nothing at start")
        self.start_ok = bool(self.banner)
        if not self.start_ok:
            self.process.wait(10)
            return
        for _ in range(2):
            self.banner += lines.get(timeout=10).decode()
        self.udp = re.search(r"udp ([0-9.]+):(\d+)", self.banner).groups()
        self.http = re.search(r"http://([0-9.:]+)/", self.banner).group(1)

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def get(self, path, timeout=10):
        with urllib.request.urlopen("http://%s%s" % (self.http, path), timeout=timeout) as answer:
            return answer.read()

    def status(self):
        return json.loads(self.get("/status.json"))

    def send(self, payloads):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for payload in payloads:
            sock.sendto(payload, (self.udp[0], int(self.udp[1])))
            time.sleep(0.0003)
        sock.close()

    def settle(self, received):
        return wait_for("%d datagrams taken" % received,
                        lambda: (lambda s: s if s["counters"]["received"] >= received else None)(
                            self.status()))

    def stop(self, how=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(how)
            self.process.wait(20)


def journal_lines_whole(path):
    with open(path, "rb") as f:
        data = f.read()
    return data.endswith(b"\n") and data.startswith(HEADER)


def restart_gives_back(journal, shown, what, extra=()):
    live = Live(journal, extra)
    try:
        got = live.status()["contacts"]
        check(got == shown, "%s: the restart gives %d contacts, the page showed %d kept" %
              (what, got, shown))
    finally:
        live.stop()


# --- 1. a full disk ------------------------------------------------------------------------

def full_disk():
    mount = os.path.join(WORK, "small-disk")
    os.makedirs(mount, exist_ok=True)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", mount],
                             capture_output=True).returncode == 0
    try:
        if mounted:
            full_disk_tmpfs(mount)
        else:
            print("no tmpfs here: the full disk is a file-size limit", flush=True)
            full_disk_file_limit()
    finally:
        if mounted:
            subprocess.run(["umount", mount])


def fill(directory):
    """Fills the file system; the filler file is the space given back later."""
    filler = os.path.join(directory, "filler")
    descriptor = os.open(filler, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    try:
        for size in (65536, 4096, 512, 1):
            try:
                while os.write(descriptor, b"\0" * size) > 0:
                    pass
            except OSError:
                pass
    finally:
        os.close(descriptor)
    return filler


def full_disk_tmpfs(mount):
    journal = os.path.join(mount, "full.journal")
    live = Live(journal)
    try:
        live.send([datagram(n) for n in range(20)])
        check(live.settle(20)["contacts"] == 20, "full disk: 20 contacts before the disk fills")
        filler = fill(mount)
        live.send([datagram(n) for n in range(20, 60)])
        status = live.settle(60)
        check(not status["journal"]["ok"], "full disk: the status does not say so")
        shown, waiting = status["contacts"], status["journal"]["waiting"]
        check(shown + waiting == 60 and waiting > 0,
              "full disk: %d shown and %d waiting of 60" % (shown, waiting))
        check(journal_lines_whole(journal), "full disk: the journal ends with a half line")
        said = live.stderr().count("cannot write the journal")
        check(said == 1, "full disk: stderr said it %d times, not once" % said)
        check("No space left on device" in live.stderr(), "full disk: the system's reason")
        # Space comes back: the waiting datagrams are written first, in their order.
        os.remove(filler)
        wait_for("the waiting datagrams written",
                 lambda: live.status()["journal"]["waiting"] == 0, 10)
        status = live.status()
        check(status["contacts"] == 60 and status["journal"]["ok"],
              "full disk: %d contacts after space came back" % status["contacts"])
        with open(journal, "rb") as f:
            ids = re.findall(rb"<ID>([0-9A-F]+)</ID>", f.read())
        check(ids == [b"%032X" % (n + 1) for n in range(60)],
              "full disk: the journal's order is not the arrival order")
        # Full again, then a crash: what the page showed as kept comes back.
        filler = fill(mount)
        live.send([datagram(n) for n in range(60, 80)])
        shown = live.settle(80)["contacts"]
        live.stop(signal.SIGKILL)
        os.remove(filler)
        restart_gives_back(journal, shown, "full disk, then a crash")
    finally:
        live.stop(signal.SIGKILL)


def full_disk_file_limit():
    journal = os.path.join(WORK, "limited.journal")
    live = Live(journal, limits={resource.RLIMIT_FSIZE: 4096})
    try:
        live.send([datagram(n) for n in range(60)])
        status = live.settle(60)
        check(not status["journal"]["ok"], "file limit: the status does not say so")
        check(status["contacts"] + status["journal"]["waiting"] == 60, "file limit: counts")
        check(journal_lines_whole(journal), "file limit: the journal ends with a half line")
        shown = status["contacts"]
        live.stop(signal.SIGKILL)
        restart_gives_back(journal, shown, "file limit, then a crash")
    finally:
        live.stop(signal.SIGKILL)


# --- 2. a file that is no journal, and an old journal ---------------------------------------

def wrong_files():
    cases = [
        ("contest.adi", b"Log of the contest\n<ADIF_VER:5>3.1.0 <EOH>\n<CALL:5>DL1AA <EOR>\n",
         "not a kevo-live journal"),
        ("tagged.adi", b"<CALL:5>DL1AA <QSO_DATE:8>20260314 <EOR>\n<CALL:5>DL2BB <EOR>",
         "not a kevo-live journal"),
        ("newer.journal", b"# kevo-live journal, format 7\n" + datagram(1) + b"\n",
         "format 7"),
    ]
    for name, content, reason in cases:
        path = os.path.join(WORK, name)
        with open(path, "wb") as f:
            f.write(content)
        live = Live(path)
        live.stop()
        check(not live.start_ok, "%s: kevo-live started on it" % name)
        check(live.process.returncode == 1, "%s: exit %s" % (name, live.process.returncode))
        check(reason in live.stderr() and path in live.stderr(),
              "%s: the message does not name the file and the reason: %s" % (name, live.stderr()))
        with open(path, "rb") as f:
            check(f.read() == content, "%s: the file was changed" % name)
    # A journal from before headers: read as it is, appended to as it is.
    old = os.path.join(WORK, "old.journal")
    with open(old, "wb") as f:
        f.write(b"".join(datagram(n) + b"\n" for n in range(5)))
    live = Live(old)
    try:
        check(live.status()["contacts"] == 5, "old journal: its contacts are not read")
        live.send([datagram(5)])
        check(live.settle(6)["contacts"] == 6, "old journal: a new contact")
    finally:
        live.stop()
    restart_gives_back(old, 6, "old journal")


# --- 3. two kevo-live on one journal or one port --------------------------------------------

def two_instances():
    journal = os.path.join(WORK, "shared.journal")
    if os.path.exists(journal):
        os.remove(journal)
    first = Live(journal)
    try:
        first.send([datagram(n) for n in range(10)])
        first.settle(10)
        second = Live(journal)
        second.stop()
        check(not second.start_ok and "in use by another kevo-live" in second.stderr()
              and journal in second.stderr(), "second on the journal: " + second.stderr())
        other = os.path.join(WORK, "other.journal")
        if os.path.exists(other):
            os.remove(other)
        third = subprocess.run(
            [LIVE, "--udp", "%s:%s" % first.udp, "--http", "127.0.0.1:0", "--journal", other],
            capture_output=True, timeout=60, cwd=WORK)
        check(third.returncode == 1 and b"address already in use" in third.stderr.lower(),
              "second on the port: exit %d, %s" % (third.returncode, third.stderr))
        # The first one still takes every datagram.
        first.send([datagram(n) for n in range(10, 20)])
        check(first.settle(20)["contacts"] == 20, "the first one lost datagrams")
        first.stop(signal.SIGKILL)
        restart_gives_back(journal, 20, "after the second instance")
    finally:
        first.stop(signal.SIGKILL)


# --- 4. a restart from a large journal ------------------------------------------------------

def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        return int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))


def large_journal(count):
    """A journal of `count` contacts read back as a stream: the restart holds about the memory
    the same state held when it came over UDP."""
    journal = os.path.join(WORK, "large.journal")
    if os.path.exists(journal):
        os.remove(journal)
    live = Live(journal)
    try:
        started = time.monotonic()
        for first in range(0, count, 500):
            live.send([datagram(n) for n in range(first, min(count, first + 500))])
            live.settle(min(count, first + 500))
        over_udp = time.monotonic() - started
        check(live.status()["contacts"] == count, "large journal: contacts over UDP")
        rss_udp = rss_kib(live.process.pid)
        live.stop()
        started = time.monotonic()
        again = Live(journal)
        restart = time.monotonic() - started
        try:
            check(again.status()["contacts"] == count, "large journal: contacts after restart")
            rss_restart = rss_kib(again.process.pid)
        finally:
            again.stop()
        print("large journal: %d contacts, %.1f s over UDP, restart %.1f s; RSS %d KiB over "
              "UDP, %d KiB after the restart" % (count, over_udp, restart, rss_udp, rss_restart),
              flush=True)
        check(rss_restart < rss_udp * 1.25 + 4096,
              "large journal: %d KiB after the restart against %d KiB" % (rss_restart, rss_udp))
    finally:
        live.stop(signal.SIGKILL)


# --- 5. out of file descriptors -------------------------------------------------------------

def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def out_of_descriptors():
    journal = os.path.join(WORK, "descriptors.journal")
    if os.path.exists(journal):
        os.remove(journal)
    live = Live(journal, limits={resource.RLIMIT_NOFILE: 128})
    idle = []
    try:
        host, port = live.http.rsplit(":", 1)
        for _ in range(150):
            s = socket.create_connection((host, int(port)), timeout=5)
            idle.append(s)
        time.sleep(0.5)
        before = cpu_seconds(live.process.pid)
        time.sleep(2)
        spent = cpu_seconds(live.process.pid) - before
        check(spent < 0.5, "descriptors: %.2f s of CPU in 2 s with 150 idle connections" % spent)
        # The page answers, and datagrams are still journaled.
        check(live.status()["contacts"] == 0, "descriptors: the page answers")
        live.send([datagram(n) for n in range(15)])
        shown = live.settle(15)["contacts"]
        check(shown == 15, "descriptors: %d contacts of 15" % shown)
        live.stop(signal.SIGKILL)
        restart_gives_back(journal, shown, "after the descriptors ran out")
    finally:
        for s in idle:
            s.close()
        live.stop(signal.SIGKILL)


# --- 6, 8, 9. messages, bad requests, senders -----------------------------------------------

def raw_request(live, data):
    host, port = live.http.rsplit(":", 1)
    with socket.create_connection((host, int(port)), timeout=10) as s:
        s.sendall(data)
        answer = b""
        while True:
            try:
                piece = s.recv(65536)
            except ConnectionResetError:
                break
            if not piece:
                break
            answer += piece
    return answer.split(b"\r\n", 1)[0]


def messages_requests_senders():
    # A journal that cannot be opened: the system's reason, and the file's name.
    directory = os.path.join(WORK, "a-folder")
    os.makedirs(directory, exist_ok=True)
    live = Live(directory)
    live.stop()
    check(not live.start_ok and "cannot open the journal %s: Is a directory" % directory
          in live.stderr(), "opening a folder as the journal: " + live.stderr())
    journal = os.path.join(WORK, "messages.journal")
    with open(journal, "wb") as f:
        f.write(HEADER + datagram(0) + b"\n" + b"<RadioInfo><Freq>1</Freq></RadioInfo>\n")
    live = Live(journal, ["--http", "localhost:0"])
    try:
        check("%s:3: datagram refused: unknown root" % journal in live.stderr(),
              "a refused journal line is not named: " + live.stderr())
        live.send([b"<contactinfo><call>\x1b[31mX</call>"] * 400 + [datagram(1, "contactdelete")])
        status = live.settle(402)
        lines = live.stderr().count("datagram refused: not well-formed")
        check(lines == 1, "400 bad datagrams wrote %d lines" % lines)
        check("\x1b" not in live.stderr(), "raw bytes echoed on stderr")
        check(status["counters"]["unknown_deletes"] == 1, "unknown deletes %s" % status["counters"])
        for request, expected in [
                (b"NONSENSE\r\n\r\n", b"400"),
                (b"GET /" + b"a" * 20000 + b" HTTP/1.1\r\n\r\n", b"414"),
                (b"GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + b"b" * 20000 + b"\r\n\r\n", b"431"),
                (b"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n\r\n" + b"c" * 100000,
                 b"413")]:
            answer = raw_request(live, request)
            check(expected in answer, "%r... answered %r" % (request[:20], answer))
    finally:
        live.stop()
    # Senders outside --allow are counted and never read.
    journal = os.path.join(WORK, "allow.journal")
    if os.path.exists(journal):
        os.remove(journal)
    live = Live(journal, ["--allow", "10.0.0.0/8", "--allow", "192.168.1.7"])
    try:
        check("taken only from 10.0.0.0/8 192.168.1.7/32" in live.banner, live.banner)
        live.send([datagram(n) for n in range(5)])
        wait_for("refused senders", lambda: live.status()["counters"]["refused_senders"] == 5, 10)
        check(live.status()["counters"]["received"] == 0, "a refused sender's datagram was read")
    finally:
        live.stop()


def main():
    os.makedirs(WORK, exist_ok=True)
    only = sys.argv[3:] or ["disk", "files", "instances", "large", "descriptors", "messages"]
    steps = {"disk": full_disk, "files": wrong_files, "instances": two_instances,
             "large": lambda: large_journal(int(os.environ.get("KEVO_LARGE_JOURNAL", "3000"))),
             "descriptors": out_of_descriptors, "messages": messages_requests_senders}
    for name in only:
        print("--", name, flush=True)
        steps[name]()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
