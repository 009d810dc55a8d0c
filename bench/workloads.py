#!/usr/bin/env python3
"""Whole-process workloads of kelvo-cli: generates the knowledge bases and times them.

usage: workloads.py --kelvo-cli PATH [--sizes 1000 10000 100000] [--runs 5] [--out DIR]
                    [--only w1 w2 w3 w4]

W1 deep chain      : G <- A1 <- ... <- AN, AN = ja a fact; N one-condition rules (N <= 999,
                     the goal stack's limit).
W2 wide classify   : 300 input facts with values x0..x9, N rules "G = c<i> if three
                     conditions"; N // 100 of them fire (seeded).
W3 fact-base churn : a block repeated N times stores N subscripted plus variables, a second
                     one reads each back.
W4 growing text    : a block repeated N times appends three characters to a double-plus
                     variable that other facts follow, so its records grow under them.

Each size is imported into a record file first (not timed); the consultation runs with its
transcript to /dev/null under /usr/bin/time (Debian package time). Prints a table of the
median wall time, the spread and the peak resident memory of each workload, and the growth
factor against the size before it.
"""
import argparse
import os
import random
import statistics
import subprocess
import sys

N_INPUTS = 300
DOMAIN = [f"x{i}" for i in range(10)]
P_TRUE = 0.01 ** (1 / 3)


def w1(n):
    n = min(n, 999)
    chain = [("G", "A1")] + [(f"A{i}", f"A{i + 1}") for i in range(1, n)]
    kb = ["K Kette", "Z G", f"F A{n} (99) . ja"]
    for c, d in chain:
        kb += [f"R {c} . ja", f"U {d} (99) . ja"]
    return kb + ["K"]


def w2(n):
    rnd = random.Random(1000003 * n + 7)
    objs = [f"O{i}" for i in range(1, N_INPUTS + 1)]
    val = {o: rnd.choice(DOMAIN) for o in objs}
    firing = set(rnd.sample(range(1, n + 1), n // 100))
    kb = ["K Breit", "Z G"] + [f"F {o} (99) . {val[o]}" for o in objs]
    for i in range(1, n + 1):
        os3 = rnd.sample(objs, 3)
        if i in firing:
            lits = [val[o] for o in os3]
        else:
            while True:
                lits = [val[o] if rnd.random() < P_TRUE else
                        rnd.choice([d for d in DOMAIN if d != val[o]]) for o in os3]
                if any(l != val[o] for l, o in zip(lits, os3)):
                    break
        kb.append(f"R G . c{i}")
        kb += [f"U {o} (99) . {l}" for o, l in zip(os3, lits)]
    return kb + ["K"]


def w3(n):
    return ["K Fakten", "Z G", "F START (99) . ja",
            "R Y . ja", "U START (99) . ja", "R X . ja", "U Y (99) . ja",
            "R Y2 . ja", "U X (99) . ja", "R W . ja", "U Y2 (99) . ja", "R G . ja", "U W (99) . ja",
            "H Y . ja", f"M [+LS] = (({n}) + (0))", "H Y2 . ja", f"M [+LS] = (({n}) + (0))",
            "B X . ja", "= (V)", "J [+ZAEHL] = [+LS]", "J +V{+ZAEHL} . wert",
            "B W . ja", "= (V)", "J [+ZAEHL] = [+LS]", "J +L = +V{+ZAEHL}", "K"]


def w4(n):
    # ++TEXT comes first; [+LS], Y and twenty more variables follow it.
    return ["K Wachsender Text", "Z G", "F START (99) . ja",
            "R Y . ja", "U START (99) . ja", "R X . ja", "U Y (99) . ja", "R G . ja",
            "U X (99) . ja",
            "V Y . ja", "J ++TEXT . anfang"] + [f"J +F{i} . wert" for i in range(20)] + [
            "H Y . ja", f"M [+LS] = (({n}) + (0))",
            "B X . ja", "= (V)", "J ++TEXT - abc", "K"]


WORKLOADS = {"w1": w1, "w2": w2, "w3": w3, "w4": w4}


def timed(cmd):
    # /usr/bin/time measures the process itself: the resident memory wait4 reports for a child
    # of this script would include the pages it shared with the script before its exec.
    proc = subprocess.run(["/usr/bin/time", "-f", "TIME %e %M"] + cmd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    lines = [l for l in proc.stderr.splitlines() if l.startswith("TIME ")]
    if proc.returncode not in (0, 4) or not lines:
        sys.exit(f"workloads: {' '.join(cmd)} failed")
    _, elapsed, peak = lines[-1].split()
    return float(elapsed), int(peak) / 1024.0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--kelvo-cli", required=True)
    ap.add_argument("--sizes", nargs="+", type=int, default=[1000, 10000, 100000])
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--out", default="/tmp/kelvo-workloads")
    ap.add_argument("--only", nargs="+", default=list(WORKLOADS))
    a = ap.parse_args()
    cli = os.path.abspath(a.kelvo_cli)
    os.makedirs(a.out, exist_ok=True)
    print("| workload | N | median s | min..max s | peak MB | time / previous N |")
    print("|---|---|---|---|---|---|")
    for w in a.only:
        previous = None
        for n in a.sizes:
            text = os.path.join(a.out, f"{w}_{n}.txt")
            kb = os.path.join(a.out, f"{w}_{n}.wbp")
            with open(text, "w", encoding="utf-8") as fh:
                fh.write("\n".join(WORKLOADS[w](n)) + "\n")
            subprocess.run([cli, "import", text, kb, "--force"], check=True, capture_output=True)
            cmd = [cli, "consult", kb, "--transcript", "/dev/null"]
            timed(cmd)  # warm-up
            runs = [timed(cmd) for _ in range(a.runs)]
            times = [t for t, _ in runs]
            med = statistics.median(times)
            growth = f"{med / previous:.1f}" if previous else ""
            print(f"| {w} | {n} | {med:.3f} | {min(times):.3f}..{max(times):.3f} | "
                  f"{max(m for _, m in runs):.0f} | {growth} |", flush=True)
            previous = med


if __name__ == "__main__":
    main()
