#!/usr/bin/env python3
"""Writes the small seed corpora of fuzz/corpus/ in the fuzzers' input encodings
(fuzz_input.h). Run it again after changing an encoding: python3 fuzz/make_seeds.py"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def text(s):
    if s is None:
        return b"\xff"
    s = s.encode("latin-1") if isinstance(s, str) else s
    assert len(s) < 0xF0
    return bytes([len(s)]) + s


def minutes(m, status=0):  # a date-time m minutes after the fuzzer's fixed day
    return bytes([0x10 + m, status])


def special(index, status=0):  # one of the awkward day counts of ReadDateTime
    return bytes([index, status])


def num(v):
    assert -8 <= v < 0xF0 - 8
    return bytes([v + 8])


def reset(radl=None, plugins=None, no_rates=None, own=12, region="AB"):
    flags = (1 if radl is not None else 0) | (2 if plugins is not None else 0)
    flags |= 4 if no_rates is not None else 0
    out = bytes([flags])
    for body in (radl, plugins):
        if body is not None:
            out += struct.pack("<H", len(body)) + body
    if no_rates is not None:
        out += num(no_rates)
    return out + num(own) + text(region)


def add(call, band, mode, time, rcvd, sent="001", prefix="DL", region="CD", op=1):
    return bytes([op]) + text(call) + text(band) + text(mode) + time + text(rcvd) + \
        text(sent) + text(prefix) + text(region)


def check(call, mode, band, prefix="DL", band2=None, number=5, flags=0):
    return bytes([6]) + text(call) + text(mode) + text(band) + text(prefix) + text(band2) + \
        num(number) + bytes([flags])


def check_like(index, prefix="DL", flags=4):
    return bytes([7, index]) + text("") * 3 + text(prefix) + text(None) + num(0) + bytes([flags])


def summary(with_score=1):
    return bytes([8, with_score])


def command(c, arg):
    return bytes([9]) + num(c) + text(arg)


RADL = b"Q1ABC=15\r\n  Q2XYZ =  07  \r\nQ3AA\r\n=12\n K=X=Y\nQ4=1\x002\nQ5\x00=9\n\x1aQ6=6\n"

SESSION = {
    "worked_example": reset(RADL) +
        add("CALL1", "20", "CW", minutes(0), "12", region="AB") +
        add("CALL2", "40", "CW", minutes(40), "7", region="CD") +
        add("CALL1", "20", "CW", minutes(50), "12", region="AB") +
        add("CALL3", "20", "SSB", minutes(65), "5", region="AB") +
        add("CALL1", "20", "SSB", minutes(70), "12", region="AB") +
        summary() + command(0, "ABC") + summary(0),
    "call_checks": reset(RADL) +
        add("Q1ABC", "20M", "CW", minutes(5), "12") +
        check("Q1ABC", "CW", "20M") + check("Q1ABC", "SSB", "20M") +
        check("Q2XYZ", "CW", "40M", band2="40m") + check("Q4", "CW", "40M") +
        check("Q9", "CW", "20M", prefix="YU6") + check("Q9", "CW", "20M", prefix=None) +
        check("Q9", "CW", "20M", band2="") + check_like(0) + check_like(0, flags=6),
    "odd_times": reset(None, RADL, no_rates=0, own=0, region=None) +
        b"".join(add("Q%d" % i, "80", "CW", special(i, i % 3), "A") for i in range(16)) +
        add(None, None, None, b"\xff", None) + summary() + command(0, None) +
        bytes([3, 2]) + text("x") * 4 + text("y") * 4 +
        bytes([4, 1]) + text("") * 3 + special(0) + text("") * 4,
    "undo_and_commands": reset(b"Q1=\n") +
        add("Q1", "7", "CW", minutes(1), "A") + add("Q1", "07", "CW", minutes(2), "") +
        add("Q2\nX", "160", "CW", minutes(3), "5\r\n") +
        add("Q3", "3.5", "CW", minutes(4), "9", op=5) + summary() + summary(0) +
        command(1, "x") + command(-1, None) + command(0, "LONGARGUMENT") + bytes([10, 8]),
}


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def expand_runs(*runs):  # the compact form of exchange_list_fuzzer.cpp
    out = b""
    for repeat, run in runs:
        out += struct.pack("<H", repeat) + bytes([len(run)]) + run
    return out


EXCHANGE = {
    "plain": b"\x00\x00" + RADL,
    "pieces_and_error": b"\x02\x03" + RADL,
    "cr_runs": b"\x00\x00A=1\r\r\r\nB=2\r\r\n\rC=3\r",
    "no_line_end": b"\x00\x05" + b"KEY=" + b"V" * 200,
    "megabyte_line": b"\x01\x00" + expand_runs((1, b"BIG="), (0x8000 + 20000, b"x"),
                                               (1, b"\r\nA=1\r\n")),
    "many_lines": b"\x01\x11" + expand_runs((30000, b"Q1=2\r\n"), (1, b"\x1aQ2=3")),
}

if __name__ == "__main__":
    write(os.path.join(HERE, "corpus", "session"), SESSION)
    write(os.path.join(HERE, "corpus", "exchange_list"), EXCHANGE)
