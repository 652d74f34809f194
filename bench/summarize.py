#!/usr/bin/env python3
"""Turns the raw samples of bench/run.sh ("key value" lines) into the benchmark table."""
import collections
import math
import statistics
import sys

IDLE_ITERATION_US = 0.25

samples = collections.defaultdict(list)
with open(sys.argv[1]) as f:
    for line in f:
        key, value = line.split()
        samples[key].append(float(value))


def mmm(values):
    return statistics.median(values), min(values), max(values)


rows = []


def row(name, values, unit, fmt, target="", ok=None):
    med, lo, hi = mmm(values)
    status = "" if ok is None else ("met" if ok(med, hi) else "NOT MET")
    rows.append((name, f"{med:{fmt}}", f"{lo:{fmt}}", f"{hi:{fmt}}", unit, target, status))


rounds = sorted({k.rsplit("_", 1)[1] for k in samples if k.startswith("pass_us_")})
passes = [v / 1000 for r in rounds for v in samples[f"pass_us_{r}"]]
floors = [v / 1000 for r in rounds for v in samples[f"floor_us_{r}"]]
ratios = [p / f for r in rounds
          for p, f in zip(samples[f"pass_us_{r}"], samples[f"floor_us_{r}"])]
overhead = statistics.median(passes)
row("pass period, viewer at DelayCount -1", passes, "us", ".1f")
row("pass period, raw Xlib floor", floors, "us", ".1f")
row("pass overhead / floor", ratios, "x", ".2f", "<= 2.0x", lambda m, h: m <= 2.0)

periods = {}
for delay in (0, 19500, 80000, 1000000):
    values = [v / 1000 for v in samples[f"pace_{delay}"]]
    periods[delay] = statistics.median(values)
    expected = (math.floor(delay) + 1) * IDLE_ITERATION_US + overhead
    errors = [100 * (v - expected) / expected for v in values]
    strict = delay >= 80000
    row(f"pace {delay}: period (expected {expected / 1000:.3f} ms)",
        [v / 1000 for v in values], "ms", ".3f")
    row(f"pace {delay}: error", errors, "%", "+.2f", "<= 1%" if strict else "",
        (lambda m, h: abs(m) <= 1.0) if strict else None)

# Against the raw Xlib loop that waits just as long before each copy: the part of the
# error that the display stack shows by itself once it wakes from idle.
for delay, wait_us in ((80000, 20000), (1000000, 250000)):
    floor_values = [v / 1000 for v in samples.get(f"floor_wait_{delay}", [])]
    if not floor_values:
        continue
    floor_period = statistics.median(floor_values)
    row(f"raw Xlib floor after a {wait_us / 1000:g} ms wait", [v / 1000 for v in floor_values],
        "ms", ".3f")
    errors = [100 * (v / 1000 - floor_period) / floor_period for v in samples[f"pace_{delay}"]]
    row(f"pace {delay}: viewer vs that floor", errors, "%", "+.2f")

expected_ratio = ((1000001 * IDLE_ITERATION_US + overhead) /
                  (80001 * IDLE_ITERATION_US + overhead))
ratio_errors = [100 * (a / b / expected_ratio - 1)
                for a in samples["pace_1000000"] for b in samples["pace_80000"]]
row(f"pace 1000000:80000 vs {expected_ratio:.3f}", ratio_errors, "%", "+.2f", "<= 1%",
    lambda m, h: abs(m) <= 1.0)

row("idle CPU at start pace, 20 s", samples["idle_pct"], "% core", ".2f", "<= 1%",
    lambda m, h: m <= 1.0)
row("launch to first frame on screen", samples["startup_ms"], "ms", ".1f", "<= 150 ms",
    lambda m, h: m <= 150)
row("peak RSS", [v / 1024 for v in samples["rss_kb"]], "MiB", ".1f", "<= 45 MiB",
    lambda m, h: h <= 45)

for delay in (0, 80000, 1000000):
    values = [v for v in samples[f"key_{delay}"] if v >= 0]
    missed = len(samples[f"key_{delay}"]) - len(values)
    bound = periods[delay] / 1000 + 2
    name = f"key '*' to changed frame, pace {delay}"
    if missed:
        name += f" ({missed} missed)"
    row(name, values, "ms", ".2f", f"<= {bound:.2f} ms", lambda m, h, b=bound: m <= b)

headers = ("measure", "median", "min", "max", "unit", "target", "status")
widths = [max(len(str(r[i])) for r in rows + [headers]) for i in range(len(headers))]
for r in [headers] + rows:
    print("  ".join(str(c).ljust(w) if i in (0, 4, 5, 6) else str(c).rjust(w)
                    for i, (c, w) in enumerate(zip(r, widths))).rstrip())
