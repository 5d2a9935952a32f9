#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/.

The seeds are the documented examples of the file formats, command lines and numbers, in each
target's input layout. Run it again after changing an example or a layout; the files it writes
are committed, so a fuzz run needs no Python.
"""
import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"

CR, LF, CRLF, CTRL_Z = b"\r", b"\n", b"\r\n", b"\x1a"


def lines(*texts, end=CRLF):
    return b"".join(t.encode("latin-1") + end for t in texts)


DEFAULT_SETTINGS = lines("active=", "directory=relative", "output=", "compiler=pbwin", "pbwin=",
                         "pbcc=", "quarex=", "include=1", "incl1=", "incl2=", "incl3=", "incl4=")
FULL_SETTINGS = lines("active=D:\\src\\Util.test", "directory=specific", "output=E:\\gen\\",
                      "compiler=pbcc", "pbwin=C:\\PBWin\\Pbwin.exe", "pbcc=C:\\PBCC\\pbcc.exe",
                      "quarex=C:\\Program Files\\Quarex\\quarex.exe", "include=2",
                      "incl1=C:\\PBWin\\WinAPI", "incl2=C:\\PBCC\\WinAPI", "incl3=", "incl4=D:\\inc")

# Line reading: bytes of files whose lines end in every way the reader knows.
LINE_FILES = {
    "crlf": b"a\r\nb\r\n",
    "cr-only": b"a\rb",
    "lone-lf": b"a\nb\r\n",
    "empty-line": b"a\r\n\r\nb",
    "cr-cr-lf": b"a\r\r\nb",
    "ctrl-z": b"a" + CTRL_Z + b"b\r\nc",
    "ctrl-z-after-line": b"a\r\n" + CTRL_Z + b"\r\n",
    "settings": DEFAULT_SETTINGS,
    "test-file-lf-only": lines("[quarex]", "source=D:\\src\\util.bas", end=LF),
}
# Chunk plans: the reader's own size, one byte at a time, and 1, 3, 2 bytes in turn.
PLANS = {"whole": b"\x00", "bytewise": b"\x01\x00", "mixed": b"\x03\x00\x02\x01"}

SETTINGS_FILES = {
    "default": DEFAULT_SETTINGS,
    "full": FULL_SETTINGS,
    "empty": b"",
    "choices": lines("Directory=RELATIVE", "compiler=PBCC", "include=3"),
    "choices-other": lines("directory=elsewhere", "compiler=", "include= 4"),
    "include-values": lines("include=2.0", "include=7", "include=0", "include=2.5", "include=x",
                            "include=", "include=&H3"),
    "spaces-and-tabs": lines("  active=D:\\t\\a.test  ", "active= D:\\x", "active =D:\\y",
                             "\tpbwin=D:\\z", "   "),
    "second-equals": lines("incl1=D:\\a=b\\inc"),
    "duplicates": lines("pbwin=C:\\one\\Pbwin.exe", "pbwin=C:\\two\\Pbwin.exe"),
    "derived": lines("compiler=pbcc", "pbwin=C:\\PBWin\\Pbwin.exe", "include=2", "incl1=C:\\inc"),
    "lf-only": lines("active=D:\\a.test", "compiler=pbcc", end=LF),
    "byte-order-mark": b"\xef\xbb\xbf" + lines("active=D:\\a.test", "quarex=C:\\q.exe"),
    "key-without-value": lines("active", "pbwin=C:\\PBWin\\Pbwin.exe"),
    "ctrl-z": lines("quarex=C:\\q.exe") + CTRL_Z + lines("active=D:\\lost.test"),
    "code-page-1252": lines("INCL1=C:\\\xc4pfel", "\xc4ctive=D:\\x"),
}


def provider_string(text):
    """A string as the fuzzers read it: backslashes doubled, ended by a backslash and one byte."""
    return text.encode("latin-1").replace(b"\\", b"\\\\") + b"\\x"


def round_trip_seed(fields, relative, pbwin, include):
    # Nine free-text fields, then from the end: directory, compiler (a bit each), include (1-4).
    return (b"".join(provider_string(f) for f in fields)
            + bytes([include - 1]) + bytes([1 if pbwin else 0]) + bytes([1 if relative else 0]))


ROUND_TRIP = {
    "empty": round_trip_seed([""] * 9, True, True, 1),
    "full": round_trip_seed(["D:\\src\\Util.test", "E:\\gen\\", "C:\\PBWin\\Pbwin.exe",
                             "C:\\PBCC\\pbcc.exe", "C:\\Program Files\\Quarex\\quarex.exe",
                             "C:\\PBWin\\WinAPI", "C:\\PBCC\\WinAPI", "", "D:\\inc"], False, False, 2),
    "leading-space-and-equals": round_trip_seed([" D:\\x", "\\", "", "", "", "D:\\a=b\\inc", "  ",
                                                 "D:\\tail  ", "\tD:\\tab\t"], True, True, 4),
    "line-breaks": round_trip_seed(["a\r\nincl4=evil", "b\nc", "x\x1ay", "", "", "", "", "", ""],
                                   False, True, 3),
}

TEST_FILES = {
    "relative": lines("[quarex]", "source=D:\\src\\util.bas"),
    "output-after": lines("[quarex]", "source=D:\\src\\util.bas", "output=E:\\gen\\util_test.bas"),
    "output-before": lines("[quarex]", "output=E:\\gen\\util_test.bas", "source=D:\\src\\util.bas"),
    "output-spaces": lines("[quarex]", "Output  = E:\\gen\\x.bas"),
    "outputfile": lines("[quarex]", "outputfile=E:\\gen\\y.bas"),
    "output-word": lines("[quarex]", "output"),
    "two-outputs": lines("output=E:\\first.bas", "output=E:\\second.bas"),
    "two-sources": lines("source=D:\\one\\a.bas", "source=D:\\two\\b.bas"),
    "no-backslash": lines("[quarex]", "source=util.bas"),
    "no-extension": lines("[quarex]", "source=D:\\src\\util"),
    "dot-in-directory": lines("[quarex]", "source=D:\\my.dir\\util"),
    "two-dots": lines("[quarex]", "source=D:\\src\\a.b.bas"),
    "tabs": lines("[quarex]", "source=\tD:\\src\\util.bas\t"),
    "leading-space": lines("[quarex]", " source=D:\\src\\util.bas"),
    "lf-only": lines("[quarex]", "source=D:\\src\\util.bas", end=LF),
    "empty": b"",
    # The first two lines as a dropped source and the output setting.
    "drop-source": lines("D:\\src\\Util.BAS", "E:\\gen"),
    "drop-source-two-dots": lines("D:\\src\\a.b.inc", "E:\\gen\\"),
    "drop-source-no-folder": lines("lib.Inc", ""),
}

NUMBERS = ["3", " \t\r\n 4", "2.0", "2.5", "-7x", "+.5", "1.5.3", "12abc", "1E2", "1e+2", "25D-1",
           "3d1", "4E", "4Ex", "&H1F", "&hff", "&B101", "&O17", "&q17", "&17", "&19", "&", "&Hzz",
           "", "x", "-", ".", "E5", "1e999", "-1e-999", "&H" + "F" * 300, "9" * 400]


def contract_seed(quarex, active, compiler, include, source, failure, program, reason, code):
    texts = [quarex, active, compiler, include, source, failure, program, reason]
    # From the end: a bit choosing the small range, then the exit code as -1 + byte % 11.
    return b"".join(provider_string(t) for t in texts) + bytes([code + 1]) + b"\x01"


CONTRACT = {
    "plain": contract_seed("C:\\Quarex\\quarex.exe", "D:\\src\\Util.test", "C:\\PBWin\\Pbwin.exe",
                           "C:\\PBWin\\WinAPI", "D:\\src\\test\\util_test.bas", "Sequence failed",
                           "C:\\Quarex\\quarex.exe", "Access is denied.", 3),
    "spaces": contract_seed("C:\\Program Files\\Quarex\\quarex.exe", "D:\\my tests\\a b.test",
                            "C:\\Program Files\\PB\\pbcc.exe", "", "D:\\my tests\\test\\a b_test.bas",
                            "Generate failed", "C:\\Program Files\\PB\\pbcc.exe", "", 9),
    "missing": contract_seed("", "", "", "", "util_test.bas", "Add tests failed", "", "", 0),
    "dots": contract_seed("C:\\q.exe", "D:\\x.test", "C:\\pb.exe", "C:\\inc\\", "D:\\my.dir\\util",
                          "", "p", "", 7),
}


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main():
    if CORPUS.exists():
        shutil.rmtree(CORPUS)
    for name, data in LINE_FILES.items():
        for plan_name, plan in PLANS.items():
            write("fuzz_line_reader", f"{name}-{plan_name}", plan + data)
    # A line just past the reader's 64 KiB bound, then a short one.
    write("fuzz_line_reader", "long-line-mixed", PLANS["mixed"] + b"x" * 65530 + b"0123456789\r\nb")
    for name, data in SETTINGS_FILES.items():
        write("fuzz_settings_file", name, data)
    for name, data in ROUND_TRIP.items():
        write("fuzz_settings_round_trip", name, data)
    for name, data in TEST_FILES.items():
        write("fuzz_test_file", name, data)
    for index, text in enumerate(NUMBERS):
        write("fuzz_numeric_value", f"number-{index:02d}", text.encode("latin-1"))
    for name, data in CONTRACT.items():
        write("fuzz_tool_contract", name, data)
    # Path rules: the flag for 260 more characters, then C:\tools\b.exe (bytes 0, 1, 2 and 4 stand
    # for "C", ":", "\\" and ".").
    write("fuzz_path_rules", "drive-long", b"\x01\x00\x01\x02tools\x02b\x04exe")


if __name__ == "__main__":
    main()
