#!/usr/bin/env python3
"""Where tamux.exe's start-up under Wine goes, phase by phase.

Starts tamux.exe a number of times with Wine's timestamped trace of module loading and of a few
calls (the main window's creation, the language module, the first database file, the printers'
query, ShowWindow), waits each time until the window is on screen, and prints the median of
each phase. The trace's timestamps are Wine's tick count, which runs on CLOCK_MONOTONIC_RAW, so
the moment of the start is taken from the same clock.

Run by bench/startup_wine.sh --phases N with the prefix, the display and the loader set up;
alone:  startup_phases.py --rounds N --loader WINE --folder SUITE/Tamux
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

# Traced calls: only these go through the relay, so the trace costs little time of its own.
RELAY_INCLUDE = ";".join([
    "user32.CreateWindowExA", "user32.ShowWindow", "kernel32.LoadLibraryA",
    "kernel32.CreateFileA", "winspool.drv.EnumPrintersA",
])

LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):(.*)$")


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def window_shown(title):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def phases_of(trace, started, seen):
    """The phases of one start, in milliseconds, from its trace (the main thread's lines)."""
    main = None
    marks = {}
    attach = {}
    printers = 0.0
    pending_printers = None
    for raw in trace.splitlines():
        match = LINE.match(raw)
        if not match:
            continue
        stamp, thread, text = float(match.group(1)), match.group(2), match.group(3)
        if main is None:
            if re.search(r'Loaded L".*\\\\tamux\.exe"', text):
                main = thread
                marks["process"] = stamp
            continue
        if thread != main:
            continue
        module = re.search(r'PE DLL \(proc=\w+,module=\w+ L"([^"]+)",reason=PROCESS_ATTACH', text)
        if module:
            name = module.group(1).lower()
            if text.startswith("Call"):
                attach[name] = -stamp
            elif name in attach and attach[name] < 0:
                attach[name] += stamp
        if "imports" not in marks and re.search(r'Call user32\.CreateWindowExA\(\w+,\w+ "TImputFrm"', text):
            marks["imports"] = stamp
        if "language" not in marks and re.search(r'Call KERNEL32\.LoadLibraryA\(\w+ ".*tamux\w+\.dll"', text):
            marks["language"] = stamp
        if "databases" not in marks and re.search(r'Call KERNEL32\.CreateFileA\(\w+ ".*Keyboard\.txt"', text):
            marks["databases"] = stamp
        if text.startswith("Call winspool.drv.EnumPrintersA"):
            pending_printers = stamp
        elif text.startswith("Ret  winspool.drv.EnumPrintersA") and pending_printers is not None:
            printers += stamp - pending_printers
            pending_printers = None
        if "show" not in marks and re.search(r"Call user32\.ShowWindow\(\w+,0000000a\)", text):
            marks["show"] = stamp
    needed = ["process", "imports", "language", "databases", "show"]
    if any(name not in marks for name in needed):
        return None
    ms = lambda a, b: (b - a) * 1000.0
    return {
        "Wine's start, to tamux.exe mapped": ms(started, marks["process"]),
        "modules loaded and attached": ms(marks["process"], marks["imports"]),
        "  of which user32 (the display)": attach.get("user32.dll", 0.0) * 1000.0,
        "  of which comctl32 (X11 driver, themes)": attach.get("comctl32.dll", 0.0) * 1000.0,
        "  of which winspool.drv (CUPS)": attach.get("winspool.drv", 0.0) * 1000.0,
        "main window and its controls made": ms(marks["imports"], marks["language"]),
        "language module, device table": ms(marks["language"], marks["databases"]),
        "database lookups, facts, left pane": ms(marks["databases"], marks["show"]),
        "  of which the printers' query": printers * 1000.0,
        "ShowWindow to the window on screen": ms(marks["show"], seen),
        "total, start to window on screen": ms(started, seen),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--loader", default=os.environ.get("TAMUX_WINE_LOADER", "wine"))
    parser.add_argument("--folder", required=True, help="the folder of tamux.exe")
    parser.add_argument("--title", default="Zorv Info Tamux")
    args = parser.parse_args()

    subprocess.run([args.loader, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude",
                    "/d", RELAY_INCLUDE, "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    environment = dict(os.environ, WINEDEBUG="+timestamp,+loaddll,+relay")
    rows = []
    try:
        for _ in range(args.rounds):
            with tempfile.TemporaryFile(mode="w+") as trace:
                started = now()
                process = subprocess.Popen([args.loader, "tamux.exe"], cwd=args.folder,
                                           env=environment, stdout=subprocess.DEVNULL, stderr=trace)
                while not window_shown(args.title):
                    if now() - started > 60:
                        sys.exit("startup_phases: no window within a minute")
                    time.sleep(0.005)
                seen = now()
                process.kill()
                process.wait()
                while subprocess.run(["xdotool", "search", "--name", f"^{args.title}$"],
                                     stdout=subprocess.DEVNULL).returncode == 0:
                    time.sleep(0.05)
                trace.seek(0)
                row = phases_of(trace.read(), started, seen)
            if row is None:
                sys.exit("startup_phases: a trace lacked a phase's mark")
            rows.append(row)
    finally:
        subprocess.run([args.loader, "reg", "delete", r"HKCU\Software\Wine\Debug", "/v",
                        "RelayInclude", "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print(f"tamux.exe's start-up by phase, traced ({args.rounds} rounds, medians in ms; "
          "the trace adds a little to each):")
    for name in rows[0]:
        values = [row[name] for row in rows]
        print(f"  {name:<44} {statistics.median(values):6.1f}   "
              f"(min {min(values):.1f}, max {max(values):.1f})")


if __name__ == "__main__":
    main()
