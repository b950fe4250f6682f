"""Measures the game on both SDL 1.2 libraries under an X server of its own, each figure beside a baseline
of the same run, then the page in BUILD/web: measure.py BUILD CLASSIC OUT [BEFORE-GAME [BEFORE-PAGE]]"""
import glob
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LIBS = ("compat", "classic")
HOLDS = (0, 10, 30)  # the levels the probe holds: 10, 40 and 100 balls (70 in view)
GAMES = 100

def fail(message):
    sys.exit(f"bench/run: {message}")

def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        return sum(map(int, f.read().rsplit(")", 1)[1].split()[11:13])) / os.sysconf("SC_CLK_TCK")

class Run:
    """A program with the probe preloaded, and the probe's log."""

    def __init__(self, bench, lib, program, probe):
        bench.logs += 1
        self.bench, self.log = bench, os.path.join(bench.work, f"{bench.logs}.log")
        env, self.t0 = bench.env(lib, out=self.log, **probe), time.time()
        self.proc = subprocess.Popen([program], cwd=bench.work, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def events(self, name=None):
        with open(self.log) if os.path.exists(self.log) else open(os.devnull) as f:
            lines = f.read().split("\n")[:-1]  # the last may be half written
        return [e for e in map(json.loads, lines) if name in (None, e["e"])]

    def wait_for(self, name, seconds, level=None, count=1, needed=True):
        """The count-th event of that name (and level); a failure or None if none comes."""
        for _ in range(int(seconds * 20)):
            found = [e for e in self.events(name) if level in (None, e["level"])]
            if len(found) >= count:
                return found[count - 1]
            if self.proc.poll() is not None:
                break
            time.sleep(0.05)
        return fail(f"gave up waiting for '{name}' {level or ''} in {self.log}") if needed else None

    def snapshot(self):
        return {"cpu": cpu_seconds(self.proc.pid), "xcpu": cpu_seconds(self.bench.xvfb.pid),
                "wall": time.monotonic(), "s": self.events("s")[-1]}

    def peak_kib(self):
        with open(f"/proc/{self.proc.pid}/status") as status:
            return int(next(l for l in status if l.startswith("VmHWM")).split()[1])

    def stop(self):
        self.proc.kill()  # SDL turns SIGTERM into a quit event, which a full queue can lose
        self.proc.wait()

class Bench:
    def __init__(self, build, classic, work):
        self.build, self.classic, self.work, self.logs = build, classic, work, 0
        self.baseline = os.path.join(build, "bench", "bench_baseline")
        self.failed_starts, self.loaded_from = dict.fromkeys(LIBS, 0), {}
        with open(os.path.join(work, "moon"), "w") as moon:  # no game here asks for a name
            moon.write("bench\n1000000\n" * 10)
        shutil.copy(os.path.join(build, "icon.bmp"), work)
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "800x800x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        self.display = ":" + os.read(read, 16).decode().strip()
        if self.display == ":" or self.xvfb.poll() is not None:
            fail("Xvfb did not start")

    def env(self, lib, **probe):
        env = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}
        env.update({"LD_LIBRARY_PATH": self.classic} if lib == "classic" else {}, DISPLAY=self.display,
                   LD_PRELOAD=os.path.join(self.build, "bench", "libquendle_probe.so"))
        return dict(env, **{"QUENDLE_PROBE_" + k.upper(): str(v) for k, v in probe.items()})

    def launch(self, lib, program, until="s", **probe):
        """The program once its log shows `until`, its SDL library checked; a start that
        fails (the classic library now and then cannot open the display) is tried again."""
        for _ in range(5):
            run = Run(self, lib, program, probe)
            if run.wait_for(until, 30, needed=False) is not None:
                with open(f"/proc/{run.proc.pid}/maps") as maps:
                    loaded = {l.split()[-1] for l in maps if "libSDL-1.2.so" in l}
                self.loaded_from[lib] = path = next(iter(loaded), "none")
                if len(loaded) != 1 or not path.startswith(self.classic if lib == "classic" else "/usr/"):
                    fail(f"{lib}: {program} loaded the SDL 1.2 libraries {loaded}")
                return run
            run.stop()
            self.failed_starts[lib] += 1
            print(f"{lib}: a start failed: {run.proc.stdout.read(300).decode(errors='replace')}")
        fail(f"{lib}: {program} failed to start five times in a row")

def rates(a, b):
    wall = b["wall"] - a["wall"]
    return {"fps": (b["s"]["frames"] - a["s"]["frames"]) / (b["s"]["t"] - a["s"]["t"]) * 1000,
            "cpu": 100 * (b["cpu"] - a["cpu"]) / wall, "xcpu": 100 * (b["xcpu"] - a["xcpu"]) / wall}

def window(bench, lib, program):
    run = bench.launch(lib, program)
    time.sleep(0.5)
    a = run.snapshot()
    time.sleep(2)
    figures = dict(rates(a, run.snapshot()), peak_kib=run.peak_kib())
    run.stop()
    return figures

def startup(bench, lib, game, starts=5):
    """Exec to the return of the baseline's first swap and the game's second (its first is black)."""
    times = {"game_ms": [], "baseline_ms": [], "own_ms": []}
    for _ in range(starts):
        for program, last in ((bench.baseline, "frame1"), (game, "frame2")):
            run = bench.launch(lib, program, until=last)
            shown = [(run.events(f)[0]["wall"] - run.t0) * 1000 for f in ("frame1", last)]
            times["baseline_ms" if last == "frame1" else "game_ms"].append(shown[1])
            times["own_ms"] += [shown[1] - shown[0]] if last == "frame2" else []
            times["renderer"] = run.events("frame1")[0]["renderer"]
            run.stop()
    return times

def pace(bench, lib, game, seconds, busy_loops=0):
    """Steps per second on "Easy", fitted to the probe's samples, with busy loops if asked."""
    busy = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(busy_loops)]
    run = bench.launch(lib, game, until="play", run="pace")
    time.sleep(1.5)
    begin = run.events("s")[-1]["t"]
    time.sleep(seconds)
    samples = [s for s in run.events("s") if s["t"] >= begin]
    for proc in busy + [run.proc]:
        proc.kill()
        proc.wait()
    fit = statistics.linear_regression([s["t"] / 1000 for s in samples], [s["taken"] for s in samples])
    return {"steps": fit.slope, "seconds": seconds, "busy": busy_loops}

def held(run, level):
    """A level held still: frames and page faults between the marks, CPU over them."""
    a, start = run.wait_for("hold", 120, level), run.snapshot()
    b = run.wait_for("unhold", 10, level)
    frames = b["frames"] - a["frames"]
    return dict(rates(start, run.snapshot()), fps=frames / (b["t"] - a["t"]) * 1000, lists=b["lists"],
                faults_per_frame=(b["faults"] - a["faults"]) / frames)

def levels(bench, lib, game):
    run = bench.launch(lib, game, until="play", run="levels")
    figures = {str(level): held(run, level) for level in HOLDS}
    figures["peak_kib"] = run.peak_kib()
    run.stop()
    return figures

def games(bench, lib, game):
    """The live heap on the main menu before each of GAMES games and after."""
    run = bench.launch(lib, game, until="heap", run="games", games=GAMES)
    run.wait_for("heap", 300, count=GAMES + 1)
    heap = [e["heap"] for e in run.events("heap")]
    run.stop()
    return heap

def play_bench(bench, lib):
    out = subprocess.run([os.path.join(bench.build, "bench", "play_bench"), "--benchmark_format=json"],
                         env=bench.env(lib), capture_output=True, text=True)
    if out.returncode != 0:
        fail(f"play_bench failed ({out.returncode}): {out.stderr.strip()[-300:]}")
    return {b["name"].split("/min_time")[0]: b["real_time"] for b in json.loads(out.stdout)["benchmarks"]}

def measure(bench, lib, game, before):
    """Every figure of one library; the game before right beside the game now."""
    print(f"== {lib}: start-up, menu, pace, levels, {GAMES} games, step and placement", flush=True)
    baselines = [window(bench, lib, bench.baseline)]
    f = {"startup": startup(bench, lib, game), "menu": window(bench, lib, game), "pace": pace(bench, lib, game, 10),
         "loaded": pace(bench, lib, game, 6, os.cpu_count()), "levels": levels(bench, lib, game)}
    if before:
        f["before"] = {"levels": levels(bench, lib, before), "menu": window(bench, lib, before)}
    baselines.append(window(bench, lib, bench.baseline))
    f.update(heap=games(bench, lib, game), bench=play_bench(bench, lib))
    return dict(f, baselines=baselines + [window(bench, lib, bench.baseline)])

def package(path, classic):
    """Debian's package and version of a library file: installed, or unpacked by bench/run."""
    def out(*command):
        return subprocess.run(command, capture_output=True, text=True, check=True).stdout
    if path.startswith(classic):
        deb = glob.glob(os.path.join(classic.split("/classic/")[0], "debs", "libsdl1.2debian_*.deb"))
        return out("dpkg-deb", "-W", "--showformat=${Package} ${Version}", *deb)
    return out("dpkg-query", "-W", "-f=${Package} ${Version}", out("dpkg-query", "-S", path).split(":")[0])

def web(build, before):
    print("== web page: menu and levels in headless Chromium", flush=True)
    out = subprocess.run(["node", os.path.join(os.path.dirname(__file__), "web.mjs"),
                          os.path.join(build, "web"), *before], stdout=subprocess.PIPE, text=True)
    return json.loads(out.stdout) if out.returncode == 0 else fail("bench/web.mjs failed")

def main(build, classic, out, before=None, *before_page):
    began, load = time.monotonic(), os.getloadavg()
    with tempfile.TemporaryDirectory(prefix="quendle-bench.") as work:
        bench = Bench(build, classic, work)
        try:
            figures = {lib: measure(bench, lib, os.path.join(build, "quendle"), before) for lib in LIBS}
        finally:
            bench.xvfb.kill()
    with open(out, "w") as f:
        json.dump({"libraries": figures, "web": web(build, before_page), "load_before": load,
                   "load_after": os.getloadavg(), "seconds": time.monotonic() - began,
                   "failed_starts": bench.failed_starts, "loaded_from": bench.loaded_from,
                   "packages": {lib: package(path, classic) for lib, path in bench.loaded_from.items()},
                   "cores": os.cpu_count(), "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}, f, indent=1)

if __name__ == "__main__":
    main(*sys.argv[1:])
