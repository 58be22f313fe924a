#!/usr/bin/env python3
"""Fills the figures of docs/performance.md and draws its plots from the
results of scripts/bench.sh. The page's prose is written by hand; each
table stands between a pair of marks that name it,

  <!-- figures: NAME -->
  ...
  <!-- end of figures -->

and this script replaces what lies between them, nothing else.

  report.py RESULTS_DIR DOCS_DIR
"""
import json
import os
import re
import statistics
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

OPS = ["product", "rotate", "translate", "perspective", "mix", "modelview", "dot", "cross", "normalize", "inverse",
       "transpose", "look_at", "mat3_product"]
# The operations whose speed Ormath aims to match: each is one call of Eigen's
# own (look_at is written with Eigen's types, as perspective is).
BESIDE_EIGEN = ["dot", "cross", "normalize", "inverse", "transpose", "look_at", "mat3_product"]
LIBS = ["ormath", "eigen", "plain"]
CLOCKS = ["0.1", "1000", "2^20", "2^21"]
# The elementary functions timed beside glibc's, and the vec4 forms beside Eigen's.
ELEMENTARY = ["sin", "cos", "tan", "asin", "acos", "atan", "atan2", "sinh", "cosh", "tanh", "asinh", "acosh",
              "atanh", "exp", "exp2", "log", "log2", "pow", "sqrt", "inversesqrt"]
BESIDE_EIGEN_ARRAY = ["sin", "cos", "exp", "log"]
# The most own instructions per frame of a demo while rotate and perspective
# still called glibc's sinf, cosf and tanf; Ormath's own functions may cost
# at most a tenth more.
OWN_BEFORE_ELEMENTARY = 345.8
# The benchmark's reference programs; every other measured program is a demo.
REFERENCES = ["null_frame", "bare_quad"]


def load(results, name):
    path = os.path.join(results, name)
    if not os.path.exists(path):
        sys.exit(f"report: {path} is missing; run scripts/bench.sh")
    with open(path) as f:
        return json.load(f)


def medians(gbench):
    """{run_name: (median cpu ns, identical share)} from Google Benchmark JSON."""
    return {b["run_name"]: (b["cpu_time"], b.get("identical"))
            for b in gbench["benchmarks"] if b.get("aggregate_name") == "median"}


def fmt(x, digits=1):
    return f"{x:,.{digits}f}"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "|".join("---" for _ in header) + "|"]
    return lines + ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]


class Report:
    def __init__(self, results, docs):
        self.results, self.docs = results, docs
        self.figures, self.goals = {}, []

    def goal(self, what, ok, figure):
        self.goals.append([what, "met" if ok else "**missed**", figure])

    def plot(self, fig, name):
        fig.tight_layout()
        fig.savefig(os.path.join(self.docs, name), dpi=90)
        plt.close(fig)

    def micro(self):
        variants = {v: medians(load(self.results, f"ormath_{v}.json")) for v in ("default", "native")}
        for variant, m in variants.items():
            rows = [[op] + [fmt(m[f"{op}/{lib}"][0], 2) for lib in LIBS] +
                    [fmt(m[f"{op}/ormath"][0] / m[f"{op}/eigen"][0], 2),
                     f"{m[f'{op}/ormath'][1]:.0%}", f"{m[f'{op}/eigen'][1]:.0%}"] for op in OPS]
            rows.append(["loop only", fmt(m["loop/only"][0], 2)] + [""] * 5)
            self.figures[f"ormath-{variant}"] = table(
                ["operation", "Ormath ns", "Eigen ns", "plain ns", "Ormath / Eigen", "Ormath identical",
                 "Eigen identical"], rows)
            product = m["product/ormath"][0] / m["product/eigen"][0]
            self.goal(f"product no slower than Eigen's ({variant})", product <= 1.0, f"Ormath / Eigen = {product:.2f}")
            ratios = {op: m[f"{op}/ormath"][0] / m[f"{op}/eigen"][0] for op in BESIDE_EIGEN}
            slowest = max(ratios, key=ratios.get)
            behind = ", ".join(f"{op} {r:.2f}" for op, r in ratios.items() if r > 1.0) or "none"
            self.goal(f"{', '.join(BESIDE_EIGEN)} no slower than Eigen's ({variant})", ratios[slowest] <= 1.0,
                      f"highest Ormath / Eigen = {ratios[slowest]:.2f} ({slowest}); above 1: {behind}")
            inexact = [op for op in OPS if m[f"{op}/ormath"][1] != 1.0]
            self.goal(f"every operation bit-identical to its documented order ({variant})", not inexact,
                      f"100% identical in all {len(OPS)}" if not inexact else "below 100%: " + ", ".join(inexact))
        fig, axes = plt.subplots(2, 1, figsize=(12, 8), sharey=True)
        for ax, (variant, m) in zip(axes, variants.items()):
            width = 0.27
            for k, lib in enumerate(LIBS):
                ax.bar([i + (k - 1) * width for i in range(len(OPS))], [m[f"{op}/{lib}"][0] for op in OPS], width,
                       label=lib)
            ax.axhline(m["loop/only"][0], color="grey", linestyle=":", label="loop only")
            ax.set_xticks(range(len(OPS)), OPS, rotation=20)
            ax.set_title(f"{variant} target")
            ax.set_ylabel("ns per operation (median)")
            ax.legend()
        self.plot(fig, "perf-ormath.png")

    def colour(self):
        m = medians(load(self.results, "colour.json"))
        step = [m[f"colour_step/constant/{c}"][0] for c in CLOCKS]
        loop = [m[f"colour_step/loop/{c}"][0] for c in CLOCKS]
        self.figures["colour"] = table(["clock", "constant-time step ns", "subtract-one loop ns"],
                                       [[c, fmt(s), fmt(l)] for c, s, l in zip(CLOCKS, step, loop)])
        self.goal("colour step at most 20 ns at every clock", max(step) <= 20, f"worst {max(step):.1f} ns")
        fig, ax = plt.subplots(figsize=(7, 4))
        ax.plot(CLOCKS, step, "o-", label="constant-time step")
        ax.plot(CLOCKS, loop, "s-", label="subtract-one loop")
        ax.axhline(20, color="grey", linestyle=":", label="20 ns")
        ax.set_yscale("log")
        ax.set_xlabel("clock value")
        ax.set_ylabel("ns per call (median, log scale)")
        ax.legend()
        self.plot(fig, "perf-colour.png")

    def throughput(self):
        t = load(self.results, "throughput.json")
        work = load(self.results, "instructions.json")["programs"]
        runs, reps = t["runs"], t["reps"]
        names = list(runs)
        programs = [n for n in names if n not in REFERENCES]

        def per_rep(key, f):
            return {n: [f(runs[n][i][key], runs["bare_quad"][i][key], runs["null_frame"][i][key])
                        for i in range(reps)] for n in names}

        fps = per_rep("fps", lambda x, bare, null: x)
        to_bare = per_rep("fps", lambda x, bare, null: x / bare)
        to_null = per_rep("fps", lambda x, bare, null: x / null)
        cpu = per_rep("cpu_us_per_frame", lambda x, bare, null: x)
        cpu_to_bare = per_rep("cpu_us_per_frame", lambda x, bare, null: bare / x)
        median = {name: {n: statistics.median(v) for n, v in series.items()}
                  for name, series in (("fps", fps), ("to_bare", to_bare), ("to_null", to_null), ("cpu", cpu),
                                       ("cpu_to_bare", cpu_to_bare))}
        self.figures["throughput"] = table(
            ["program", "median fps", "fps range", "median ratio to bare", "ratio range", "median ratio to null",
             "median CPU µs per frame", "CPU-time ratio to bare"],
            [[n, fmt(median["fps"][n], 0), f"{fmt(min(fps[n]), 0)} – {fmt(max(fps[n]), 0)}",
              f"{median['to_bare'][n]:.3f}", f"{min(to_bare[n]):.2f} – {max(to_bare[n]):.2f}",
              f"{median['to_null'][n]:.3f}", fmt(median["cpu"][n], 0), f"{median['cpu_to_bare'][n]:.3f}"]
             for n in names])
        work_ratio = min(work["bare_quad"]["total"] / work[n]["total"] for n in programs)
        self.goal("every program at 0.95 or more of the bare program's rate",
                  min(median["to_bare"][n] for n in programs) >= 0.95,
                  f"lowest median ratio {min(median['to_bare'][n] for n in programs):.3f}; by CPU time "
                  f"{min(median['cpu_to_bare'][n] for n in programs):.3f}; by instructions per frame {work_ratio:.4f}")
        spread = {key: max(median[key][n] for n in programs) / min(median[key][n] for n in programs)
                  for key in ("fps", "cpu")}
        totals = [work[n]["total"] for n in programs]
        self.goal("the programs within 5% of each other", spread["fps"] <= 1.05,
                  f"fastest / slowest median = {spread['fps']:.3f}; by CPU time {spread['cpu']:.3f}; "
                  f"by instructions per frame {max(totals) / min(totals):.4f}")
        fig, ax = plt.subplots(figsize=(9, 4))
        ax.boxplot([to_bare[n] for n in names], showfliers=False)
        for i, n in enumerate(names):
            ax.plot([i + 1] * reps, to_bare[n], "k.", alpha=0.5)
        ax.axhline(0.95, color="red", linestyle=":", label="goal 0.95")
        ax.set_xticks(range(1, len(names) + 1), names, rotation=15)
        ax.set_ylabel("frame rate / bare quad's, same repetition")
        ax.legend()
        self.plot(fig, "perf-throughput.png")

        start = per_rep("startup_ms", lambda x, bare, null: x)
        start_ratio = per_rep("startup_ms", lambda x, bare, null: x / bare)
        start_cpu = per_rep("startup_cpu_ms", lambda x, bare, null: x)
        start_cpu_ratio = per_rep("startup_cpu_ms", lambda x, bare, null: x / bare)
        instructions = {n: work[n]["startup"] for n in names}
        self.figures["startup"] = table(
            ["program", "median ms", "range ms", "median ratio to bare", "median CPU ms", "CPU ratio to bare",
             "start-up instructions (millions)", "instruction ratio to bare"],
            [[n, fmt(statistics.median(start[n])), f"{fmt(min(start[n]))} – {fmt(max(start[n]))}",
              f"{statistics.median(start_ratio[n]):.3f}", fmt(statistics.median(start_cpu[n])),
              f"{statistics.median(start_cpu_ratio[n]):.3f}", fmt(instructions[n] / 1e6),
              f"{instructions[n] / instructions['bare_quad']:.3f}"] for n in names])
        self.goal("start-up within 1.1 × the bare program's",
                  max(statistics.median(start_ratio[n]) for n in programs) <= 1.1,
                  f"highest median ratio {max(statistics.median(start_ratio[n]) for n in programs):.3f}; by CPU "
                  f"time {max(statistics.median(start_cpu_ratio[n]) for n in programs):.3f}; by instructions "
                  f"{max(instructions[n] for n in programs) / instructions['bare_quad']:.3f}")
        fig, ax = plt.subplots(figsize=(9, 4))
        ax.boxplot([start[n] for n in names], showfliers=False)
        ax.set_xticks(range(1, len(names) + 1), names, rotation=15)
        ax.set_ylabel("ms from exec to first swapped frame")
        self.plot(fig, "perf-startup.png")

    def instructions(self):
        d = load(self.results, "instructions.json")
        p = d["programs"]
        names = list(p)
        programs = [n for n in names if n not in REFERENCES]

        def stage(n, *calls):
            found = [p[n]["inclusive"][c] for c in calls if c in p[n]["inclusive"]]
            return found[0] if found else None

        rows = []
        for n in names:
            transform = stage(n, "library_modelview(float)", "fixed_modelview(float)")
            submission = stage(n, "draw_quad_arrays()", "draw_quad_immediate()")
            rows.append([n, fmt(p[n]["total"], 0), fmt(p[n]["own"], 1), fmt(p[n]["total"] - p[n]["own"], 0),
                         "" if transform is None else fmt(transform, 1),
                         "" if submission is None else fmt(submission, 0)])
        self.figures["instructions"] = table(["program", "total", "own", "driver and platform",
                                              "transform stage (call site)", "submission stage (call site)"], rows)
        functions = sorted({f for n in programs for f in p[n]["own_by_function"]})
        self.figures["functions"] = table(
            ["function"] + programs,
            [[f"`{f}`"] + [fmt(p[n]["own_by_function"].get(f, 0), 1) for n in programs] for f in functions])
        worst = max(p[n]["own"] for n in programs)
        limit = 1.1 * OWN_BEFORE_ELEMENTARY
        self.goal(f"own code at most {limit:.1f} instructions per frame (a tenth above {OWN_BEFORE_ELEMENTARY} with "
                  "glibc's sinf and cosf)", worst <= limit, f"highest {worst:.1f}")
        library = [stage(n, "library_modelview(float)") for n in programs]
        fixed = [stage(n, "fixed_modelview(float)") for n in programs]
        library = max(v for v in library if v is not None)
        fixed = min(v for v in fixed if v is not None)
        self.goal("library transform stage cheaper than the fixed-function one at the call site", library < fixed,
                  f"library {library:.0f}, fixed-function {fixed:.0f} instructions per frame")
        fig, axes = plt.subplots(1, 2, figsize=(11, 4))
        axes[0].bar(names, [p[n]["total"] - p[n]["own"] for n in names], label="driver and platform")
        axes[0].bar(names, [p[n]["own"] for n in names], bottom=[p[n]["total"] - p[n]["own"] for n in names],
                    label="own")
        axes[0].set_ylabel("instructions per frame")
        axes[1].bar(names, [p[n]["own"] for n in names], color="C1")
        axes[1].axhline(350, color="red", linestyle=":", label="goal 350")
        axes[1].set_ylabel("own instructions per frame")
        for ax in axes:
            ax.tick_params(axis="x", rotation=20)
            ax.legend()
        self.plot(fig, "perf-instructions.png")

        h = d["harness"]
        clocks = list(next(iter(h.values())))
        self.figures["clock"] = table(["program"] + [f"clock from {c}" for c in clocks],
                                      [[n] + [fmt(h[n][c], 1) for c in clocks] for n in h])
        grows = any(h[n][clocks[-1]] > 1.15 * h[n][clocks[0]] or abs(h[n][clocks[-1]] - h[n][clocks[-2]]) > 2
                    for n in h)
        self.goal("no per-frame cost that grows with the clock", not grows,
                  f"largest change from clock 1 to 2^21: +{max(h[n][clocks[-1]] - h[n][clocks[0]] for n in h):.0f} "
                  "instructions")
        fig, ax = plt.subplots(figsize=(8, 4))
        for n in h:
            ax.plot(clocks, [h[n][c] for c in clocks], "o-", label=n)
        ax.set_ylim(bottom=0)
        ax.set_xlabel("clock value at the start of the run")
        ax.set_ylabel("own instructions per frame")
        ax.legend()
        self.plot(fig, "perf-clock.png")

    def memory(self):
        m = load(self.results, "memory.json")
        names = list(m)
        programs = [n for n in names if n not in REFERENCES]
        peak = {n: max(m[n]["peak_kib"], m[n]["rss_kib_at_100"], m[n]["rss_kib_at_5100"]) / 1024 for n in names}
        growth = {n: m[n]["rss_kib_at_5100"] - m[n]["rss_kib_at_100"] for n in names}
        self.figures["memory"] = table(
            ["program", "own allocations per frame", "all allocations per frame", "own allocations at start-up",
             "peak RSS MiB", "RSS growth over 5,000 frames KiB"],
            [[n, f"{m[n]['own_allocations'] / m[n]['frames']:.4f}", f"{m[n]['all_allocations'] / m[n]['frames']:.2f}",
              str(m[n]["startup_own_allocations"]), fmt(peak[n]), fmt(growth[n], 0)] for n in names])
        own = max(m[n]["own_allocations"] for n in programs)
        self.goal("no heap allocation by the programs' own code per frame", own == 0,
                  f"{own} own allocations in 10,000 frames")
        self.goal("peak RSS under 90 MiB", max(peak[n] for n in programs) < 90,
                  f"highest {max(peak[n] for n in programs):.1f} MiB")
        self.goal("RSS growing less than 1 MiB over 5,000 frames", max(growth[n] for n in programs) < 1024,
                  f"largest growth {max(growth[n] for n in programs)} KiB")
        fig, ax = plt.subplots(figsize=(9, 4))
        ax.bar(names, [peak[n] for n in names])
        ax.axhline(90, color="red", linestyle=":", label="limit 90 MiB")
        ax.set_ylabel("peak RSS, MiB")
        ax.tick_params(axis="x", rotation=15)
        ax.legend()
        self.plot(fig, "perf-memory.png")

    def elementary(self):
        runs = {b["run_name"]: b for b in load(self.results, "elementary.json")["benchmarks"]
                if b.get("aggregate_name") == "median"}
        ns = {name: b["cpu_time"] for name, b in runs.items()}
        share = {name: b.get("correctly_rounded") for name, b in runs.items()}
        ratio = {f: ns[f"BM_{f}_ormath"] / ns[f"BM_{f}_glibc"] for f in ELEMENTARY}
        self.figures["elementary"] = table(
            ["function", "Ormath ns", "glibc ns", "Ormath / glibc", "glibc correctly rounded"],
            [[f, fmt(ns[f"BM_{f}_ormath"], 2), fmt(ns[f"BM_{f}_glibc"], 2), fmt(ratio[f], 2),
              f"{share[f'BM_{f}_glibc']:.1%}"] for f in ELEMENTARY])
        self.figures["elementary-vec4"] = table(
            ["function", "Ormath vec4 ns", "Eigen Array4f ns", "Ormath / Eigen", "Eigen correctly rounded"],
            [[f, fmt(ns[f"BM_{f}4_ormath"], 2), fmt(ns[f"BM_{f}4_eigen"], 2),
              fmt(ns[f"BM_{f}4_ormath"] / ns[f"BM_{f}4_eigen"], 2), f"{share[f'BM_{f}4_eigen']:.1%}"]
             for f in BESIDE_EIGEN_ARRAY])
        slow = [f"{f} {r:.2f}" for f, r in ratio.items() if r > 1.5]
        self.goal("each elementary function at most 1.5 × glibc's float function's time", not slow,
                  "above 1.5: " + ", ".join(slow) if slow else f"highest {max(ratio.values()):.2f}")

    def machine(self):
        machine = load(self.results, "machine.json")
        self.figures["machine"] = [f"Command: `{machine['command']}` (took {machine['duration']}), on:", ""] + \
            [f"- {key}: {value}" for key, value in machine["machine"].items()]

    def write(self):
        self.figures["goals"] = table(["goal", "result", "figure"], self.goals)
        path = os.path.join(self.docs, "performance.md")
        with open(path) as f:
            text = f.read()
        for name, lines in self.figures.items():
            mark = re.compile(rf"(<!-- figures: {re.escape(name)} -->\n).*?(<!-- end of figures -->)", re.S)
            if not mark.search(text):
                sys.exit(f"report: {path} has no marks for the figures '{name}'")
            text = mark.sub(lambda match: match.group(1) + "\n".join(lines) + "\n" + match.group(2), text)
        with open(path, "w") as f:
            f.write(text)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    report = Report(sys.argv[1], sys.argv[2])
    report.machine()
    report.micro()
    report.colour()
    report.elementary()
    report.throughput()
    report.instructions()
    report.memory()
    report.write()


if __name__ == "__main__":
    main()
