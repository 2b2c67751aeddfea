#!/usr/bin/env python3
"""Writes the one table of measurements, build/bench/results.md, from the native
benchmarks' JSON report and the RESULT lines of the measurements taken under Wine.

Usage: results.py --native FILE.json --wine FILE.txt --out FILE.md
"""

import argparse
import datetime
import json
import platform


def native_figures(path):
    """Means of the repetitions by benchmark name: time in ns and the counters."""
    with open(path) as f:
        report = json.load(f)
    figures = {}
    for b in report["benchmarks"]:
        if b.get("aggregate_name") not in (None, "median"):
            continue
        name = b.get("run_name", b["name"]).split("/repeats")[0]
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        figures[name] = dict(b, ns=b["real_time"] * scale)
    return figures, report.get("context", {})


def wine_figures(path):
    values = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "RESULT":
                values[parts[1]] = float(parts[2])
    return values


def fmt_ns(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} µs"
    return f"{ns:.0f} ns"


def rows(native, wine):
    n = lambda name: native.get(name)
    out = []

    def add(what, figure, goal, met=None):
        out.append((what, figure, goal, "—" if met is None else ("yes" if met else "**no**")))

    def allocs(b):
        return b.get("allocs/call") if b else None

    for name, what in (("BM_UnWrapAndRelease", "UnWrap of a runtime object and its release"),
                       ("BM_WrapOwnAndRelease", "Wrap of an own object and its release"),
                       ("BM_FrameGetUrl", "ICefFrame::GetUrl through the wrapper and the stand-in")):
        b = n(name)
        if b:
            a = allocs(b)
            add(what, fmt_ns(b["ns"]) + (f", {a:.0f} allocations" if a is not None else ""), "")
    stream, copy = n("BM_ReadProgramStreamThroughRuntime"), n("BM_MemcpySameBytes")
    if stream and copy:
        ratio = copy["ns"] / stream["ns"]
        add("64 MiB program stream read through the runtime, against memcpy",
            f"{fmt_ns(stream['ns'])} vs {fmt_ns(copy['ns'])}: {ratio:.2f}", "at least 0.5", ratio >= 0.5)
    b = n("BM_NativeCallTwoStringsToString")
    if b:
        add("native function call (two strings in, one out) from C", fmt_ns(b["ns"]) +
            (f", {allocs(b):.0f} allocations" if allocs(b) is not None else ""), "")
    b = n("BM_PageScriptCallsNativeFunction")
    if b and "per call" in b:
        # An inverted rate: seconds a call.
        add("the same call made by a page script (Duktape)", fmt_ns(b["per call"] * 1e9), "")
    b = n("BM_TitleChangeRoundTrip")
    if b:
        a = allocs(b)
        add("callback round trip: title change (browser and a string)",
            fmt_ns(b["ns"]) + (f", {a:.0f} allocations" if a is not None else ""),
            "under 300 ns, at most 3 allocations", b["ns"] < 300 and (a is None or a <= 3))
    b = n("BM_LoadEndRoundTrip")
    if b:
        a = allocs(b)
        add("callback round trip: load end (browser, frame, status)",
            fmt_ns(b["ns"]) + (f", {a:.0f} allocations" if a is not None else ""), "")
    if "startup_ms" in wine:
        add("Wine: start-up to the first painted page", f"{wine['startup_ms']:.0f} ms", "under 1500 ms",
            wine["startup_ms"] < 1500)
    if "idle_calls_per_s" in wine:
        add("Wine: pump work calls a second, one browser idle for 10 s", f"{wine['idle_calls_per_s']:.0f}",
            "100 to 200", 100 <= wine["idle_calls_per_s"] <= 200)
    if "idle_cpu_percent" in wine:
        base = wine.get("baseline_cpu_percent")
        add("Wine: CPU of the idle program with one browser", f"{wine['idle_cpu_percent']:.2f} % of a core" +
            (f" (the same loop, a shown window and a bare 10 ms timer, no client: {base:.2f} %)"
             if base is not None else ""),
            "under 1 %", wine["idle_cpu_percent"] < 1)
    if "load_added_ms" in wine:
        add("Wine: Load of a small page to its load end, beyond the stand-in's own fetch",
            f"{wine['load_added_ms']:.1f} ms (load {wine['load_ms']:.1f} ms, fetch {wine['fetch_ms']:.1f} ms)",
            "at most 20 ms", wine["load_added_ms"] <= 20)
    if "download_ratio" in wine:
        add("Wine: 64 MiB download in 64 KiB chunks through the download handler, against WriteFile",
            f"{wine['handler_mib_s']:.0f} vs {wine['writefile_mib_s']:.0f} MiB/s: {wine['download_ratio']:.2f}",
            "at least 0.9", wine["download_ratio"] >= 0.9)
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    native, context = native_figures(args.native)
    wine = wine_figures(args.wine)
    lines = [f"Taken {datetime.date.today().isoformat()} on {platform.machine()} with "
             f"{context.get('num_cpus', '?')} CPUs; native figures are medians of "
             f"{native and next(iter(native.values())).get('repetitions', 3) or 3} repetitions (Release), "
             "Wine figures as bench/*_measure.cpp take them (see the README).", "",
             "| what | figure | goal | met |", "|---|---|---|---|"]
    lines += [f"| {w} | {f} | {g} | {m} |" for w, f, g, m in rows(native, wine)]
    text = "\n".join(lines) + "\n"
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(text)
    print(text)


if __name__ == "__main__":
    main()
