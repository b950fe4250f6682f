"""Writes PERFORMANCE.md and its picture from one run's figures alone:
report.py FIGURES.json PERFORMANCE.md PICTURE.png [BEFORE-REVISION]"""
import json
import subprocess
import sys
from statistics import median

MET = {True: "met", False: "missed"}
VIEWS = (("menu", "main menu", 0), ("0", "10 balls", 10), ("10", "40 balls", 40), ("30", "70 balls", 70))

def table(header, rows):
    return [""] + ["| " + " | ".join(map(str, r)) + " |" for r in [header, ["---"] * len(header)] + rows] + [""]

def span(values):
    return f"{min(values):.0f}–{max(values):.0f}"

def view(run, key):
    return run["menu"] if key == "menu" else run["levels"][key]

def base_fps(run):
    return median(b["fps"] for b in run["baselines"])

def head(f, revision):
    runs = f["libraries"]
    return [f"# Performance\n\nMeasured by `bench/run{' ' + revision if revision else ''}` on {f['date']}; "
            f"measuring took {f['seconds']:.0f} s on {f['cores']} cores, OpenGL renderer "
            f"\"{runs['compat']['startup']['renderer']}\". Load average (1, 5, 15 minutes) at the start: "
            + " ".join(f"{v:.2f}" for v in f["load_before"]) + "; at the end: "
            + " ".join(f"{v:.2f}" for v in f["load_after"]) + ". Frames per second of the baseline, "
            "measured three times per library across the run: " + "; ".join(
                f"{lib} {span([b['fps'] for b in r['baselines']])}" for lib, r in runs.items())
            + ". The SDL 1.2 library loaded (/proc/PID/maps), its package, and the starts that failed and were "
            "tried again: " + "; ".join(f"{lib} `{f['loaded_from'][lib].rsplit('/', 1)[-1]}` of {f['packages'][lib]}, "
                                      f"{f['failed_starts'][lib]}" for lib in runs)
            + ". How the probe plays the game, and the one-off studies: [bench/notes.md](bench/notes.md)."]

def frames(f):
    rows = [[lib, name, f"{m['fps']:.1f}", f"{m['fps'] / base_fps(r):.2f}", f"{m['cpu']:.0f} %",
             f"{m['xcpu']:.0f} %", f"{cpu_ms(m):.1f}", f"{m.get('lists', '')}"]
            for lib, r in f["libraries"].items()
            for name, m in [("baseline", r["baselines"][0])] + [(n, view(r, k)) for k, n, _ in VIEWS]]
    return ["## Frame rate and CPU\n\n![Frames per second against balls in view](bench/fps.png)\n\n"
            "Frames per second (2 s in the menu, 6 s of each level of \"Insane\" held still once its "
            "balls are in view) and their ratio to the median baseline; the shares of a core of the "
            "program and of the X server (/proc/PID/stat) and their CPU time per frame; the display "
            "lists of the last frame (one per ball)."] + table(
        ["library", "view", "frames/s", "of baseline", "program", "X server", "CPU ms/frame", "lists"], rows)

def cpu_ms(m):
    return (m["cpu"] + m["xcpu"]) * 10 / m["fps"]

def before_after(f, revision):
    runs = {lib: r for lib, r in f["libraries"].items() if "before" in r}
    rows = [[lib, who, n, f"{view(run, k)['fps']:.1f}", f"{cpu_ms(view(run, k)):.1f}",
             f"{view(run, k)['faults_per_frame']:.1f}"]
            for lib, r in runs.items() for who, run in ((revision, r["before"]), ("now", r)) for k, n, _ in VIEWS[1:]]
    ratios = "; ".join(f"{lib}: " + ", ".join(f"{n} {view(r, k)['fps'] / view(r['before'], k)['fps']:.2f} "
                                              f"({cpu_ms(view(r['before'], k)) / cpu_ms(view(r, k)):.2f})"
                                              for k, n, _ in VIEWS)
                       + f"; peak resident size in play {r['levels']['peak_kib'] - r['before']['levels']['peak_kib']:+d} kB"
                       for lib, r in runs.items())
    return [] if not runs else [
        f"## Before and after: the game at {revision} and now\n\nBoth measured side by side in this run; page "
        "faults per frame from the probe's `getrusage` between the hold's marks."] + table(
        ["library", "game", "view", "frames/s", "CPU ms/frame", "faults/frame"], rows) + [
        "Now over before, frames per second (and frames per CPU second, program and X server "
        f"together, which depends less on the load): {ratios}."]

def web(f, revision):
    runs, pages = f["libraries"], f["web"]["pages"]
    rows = [[revision if who == "before" else who, n, f"{view(p, k)['fps']:.1f}", f"{view(p, k)['main_ms']:.1f}"]
            + [f"{view(r.get(who, r), k)['fps']:.1f}" for r in runs.values()] for who, p in sorted(pages.items()) for k, n, _ in VIEWS]
    seventy = view(pages["now"], "30")
    return [f"## The web page\n\nIn headless Chromium ({f['web']['browser']}), the page in front: frames per second "
            "over 4 s and the main thread's milliseconds a frame (Chrome's `TaskDuration` from `Performance.getMetrics`, "
            "its difference over those 4 s divided by the frames drawn), on the main menu and at the levels held as on "
            "the desktop, beside the desktop game's frames per second at the same revision. Targets with 70 balls: the "
            f"main thread at most 4 ms a frame, {MET[seventy['main_ms'] <= 4]}; at least the desktop's frame rate, "
            + "; ".join(f"{lib} {MET[seventy['fps'] >= view(r, '30')['fps']]}" for lib, r in runs.items()) + "."
            ] + table(["page", "view", "frames/s", "main thread ms/frame"] + [f"desktop {lib} frames/s" for lib in runs], rows)

def pace(f):
    runs = f["libraries"]
    rows = [[lib, f"{r['pace']['steps']:.2f}", f"{r['loaded']['steps']:.2f}"] for lib, r in runs.items()]
    p = runs["compat"]
    return [f"## Pace\n\nWorld steps (ticks taken) per second of play on \"Easy\": the least-squares slope over "
            f"the probe's samples (every 100 ms) for {p['pace']['seconds']} s, and for {p['loaded']['seconds']} s "
            f"with {p['loaded']['busy']} busy loops of the run's own. "
            "Target 100 ± 0.5: " + "; ".join(
                f"{lib} {MET[abs(r['pace']['steps'] - 100) <= 0.5]}, loaded {MET[abs(r['loaded']['steps'] - 100) <= 0.5]}"
                for lib, r in runs.items()) + "."] + table(
        ["library", "steps/s", "loaded: steps/s"], rows)

def startup(f):
    s = {lib: r["startup"] for lib, r in f["libraries"].items()}
    ratio = {lib: median(t["game_ms"]) / median(t["baseline_ms"]) for lib, t in s.items()}
    rows = [[lib, f"{median(t['game_ms']):.0f}", f"{median(t['baseline_ms']):.0f}", f"{ratio[lib]:.2f}",
             f"{median(t['own_ms']):.0f}", span(t["game_ms"]), span(t["baseline_ms"])] for lib, t in s.items()]
    return [f"## Start-up\n\nMilliseconds from exec to the return of the swap that shows the first menu frame "
            f"(the baseline: its first frame), medians of {len(s['compat']['game_ms'])} alternated runs; the "
            "game's own work runs from its first swap to its second. Target, a ratio under 1.5: "
            + "; ".join(f"{lib} {MET[r < 1.5]}" for lib, r in ratio.items()) + "."] + table(
        ["library", "game", "baseline", "ratio", "game's own work", "game, all runs", "baseline, all runs"], rows)

def memory(f):
    rows = [[lib, r["menu"]["peak_kib"], r["levels"]["peak_kib"], f"{h[0]:.0f}", span(h[2:51]), span(h[51:]),
             f"{min(h[51:]) - min(h[2:51]):+.0f}, {max(h[51:]) - max(h[2:51]):+.0f}"]
            for lib, r in f["libraries"].items() for h in [r["heap"]]]
    return [f"## Memory\n\nPeak resident size (`VmHWM`, kB) after the menu and after the levels (100 balls). "
            f"The live heap (`mallinfo2().uordblks`, bytes) on the main menu before each of "
            f"{len(f['libraries']['compat']['heap']) - 1} whole games (menu, difficulty, play with two shots, "
            "Escape, high scores) and after the last."] + table(
        ["library", "peak RSS, menu", "peak RSS, play", "heap before game 1", "games 3–51",
         "games 52–100 and after", "change of least, of most"], rows)

def steps(f):
    rows = [[lib, f"step, {n} balls"] + [f"{r['bench'][f'BM_Step/{n}/{s}']:.0f}" for s in (1, 10, 100)]
            for lib, r in f["libraries"].items() for n in (10, 100, 1000)]
    rows += [[lib, "placement, levels 0, 10, 30, 60", ", ".join(
        f"{r['bench'][f'BM_SpawnBalls/{n}']:.0f}" for n in (0, 10, 30, 60)), "", ""] for lib, r in f["libraries"].items()]
    return ["## Step and placement cost\n\n`bench/play_bench` (Google Benchmark), ns of wall time: a world step "
            "with every shot tested against every ball, and placing a level's balls on \"Normal\"."] + table(
        ["library", "what", "1 shot", "10 shots", "100 shots"], rows)

def picture(f, png):
    """Frames per second against balls in view: a line per library and page (and each before), baselines level."""
    runs = f["libraries"]
    lines = list(runs.items()) + [(f"{lib} before", r["before"]) for lib, r in runs.items() if "before" in r]
    lines += [(f"web page{' before' * (who == 'before')}", p) for who, p in sorted(f["web"]["pages"].items())]
    data = "".join("".join(f"{x} {view(r, k)['fps']:.2f}\n" for k, _, x in VIEWS) + "e\n" for _, r in lines)
    plots = [f"'-' with linespoints title '{name}'" for name, _ in lines]
    plots += [f"{base_fps(r):.1f} with lines dashtype 2 title '{lib} baseline'" for lib, r in runs.items()]
    result = subprocess.run(["gnuplot"], capture_output=True, text=True, input=(
        f"set terminal png size 800,480; set output '{png}'; set logscale y; set grid; set key outside; "
        "set xlabel 'balls in view'; set ylabel 'frames per second'; set xtics ('menu' 0, 10, 40, 70)\n"
        "plot " + ", ".join(plots) + "\n" + data))
    if result.returncode != 0:
        sys.exit(f"bench/run: gnuplot failed: {result.stderr.strip()}")

def main(figures, out, png, revision=""):
    with open(figures) as fp:
        f = json.load(fp)
    picture(f, png)
    parts = [head(f, revision), frames(f), before_after(f, revision), web(f, revision), pace(f), startup(f), memory(f), steps(f)]
    with open(out, "w") as fp:
        fp.write("\n\n".join("\n".join(part).strip() for part in parts if part) + "\n")

if __name__ == "__main__":
    main(*sys.argv[1:])
