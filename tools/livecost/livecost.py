#!/usr/bin/env python3
"""What the live program costs on a saturated adapter link.

Starts vcm-feed (a bus adapter on a pseudo-terminal writing the simulated car's recorded
traffic at the line rate), points a fresh settings file's COM1 at it, runs the dashboard
(under Xvfb) or headless logging on it, and reads from /proc the processor time the
program used over a measuring window after a warm-up. Prints each run and the median.

  tools/livecost/livecost.py --build build/release --mode dashboard --runs 3 --seconds 60
  tools/livecost/livecost.py --build build/release --mode headless --chunk-ms 1
  tools/livecost/livecost.py --build build/release --mode startup --silent

Per run: CPU % of one core (user + system time of the process over wall time), wake-ups
per second (context switches), window redraws per second (dashboard, counted by the
program itself with VCM_REDRAW_STATS=1), frame lines per second fed. Wake-ups are the
main thread's context switches (/proc/PID/status). Mode "startup"
times how long the window takes to be mapped on the X server after the program starts.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def context_switches(pid):
    total = 0
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                total += int(line.split()[1])
    return total


def load_average():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


class LastValue:
    """Keeps the last "vcm-redraws N" a program printed on standard error."""

    def __init__(self, stream):
        self.value = 0
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            if line.startswith("vcm-redraws "):
                self.value = int(line.split()[1])


def write_settings(folder, device, adapter, bps):
    interface = "ELM327" if adapter == "elm327" else "CANUSB"
    path = os.path.join(folder, "VeloxCanMoni.INI")
    with open(path, "w", newline="") as f:
        f.write(f"[Comm]\r\nInterface={interface}\r\nPortNum=1\r\nBPS={bps}\r\n"
                f"[File]\r\nSavePath={folder}\r\nLogfile=True\r\n[Ports]\r\nCOM1={device}\r\n")
    return path


def start_xvfb(size):
    for n in range(90, 120):
        if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
            continue
        xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                return xvfb, f":{n}"
            time.sleep(0.05)
        xvfb.kill()
    sys.exit("livecost: no free X display for Xvfb")


def window_mapped(display, name):
    """True once a viewable top-level window whose name holds `name` is on the display."""
    out = subprocess.run(["xwininfo", "-display", display, "-root", "-children"],
                         capture_output=True, text=True).stdout
    for line in out.splitlines():
        if name in line:
            wid = line.split()[0]
            info = subprocess.run(["xwininfo", "-display", display, "-id", wid],
                                  capture_output=True, text=True).stdout
            if "IsViewable" in info:
                return True
    return False


def one_run(args, traffic, display):
    folder = tempfile.mkdtemp(prefix="livecost-")
    feed_cmd = [os.path.join(args.build, "tools", "vcm-feed"), "--traffic", traffic, "--adapter", args.adapter,
                "--bps", str(args.bps), "--chunk-ms", str(args.chunk_ms)]
    if args.silent:
        feed_cmd.append("--silent")
    feed = subprocess.Popen(feed_cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    device = feed.stdout.readline().strip()
    settings = write_settings(folder, device, args.adapter, args.bps)
    env = dict(os.environ)
    if args.mode == "headless":
        cmd = [os.path.join(args.build, "src", "app", "veloxcanmoni-headless"), "--settings", settings,
               "--status-every", "3600"]
    else:
        # The dashboard reads the settings file beside the program: run a copy from the folder.
        program = os.path.join(folder, "veloxcanmoni")
        shutil.copy(os.path.join(args.build, "src", "app", "veloxcanmoni"), program)
        cmd = [program]
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", VCM_REDRAW_STATS="1")
    started = time.monotonic()
    prog = subprocess.Popen(cmd, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    redraws = LastValue(prog.stderr)
    result = {}
    try:
        if args.mode == "startup":
            while time.monotonic() - started < args.seconds and not window_mapped(display, "VeloxCanMoni"):
                time.sleep(0.02)
            result["shown_s"] = time.monotonic() - started
        else:
            time.sleep(args.warmup)
            c0, w0, r0, t0 = cpu_seconds(prog.pid), context_switches(prog.pid), redraws.value, time.monotonic()
            l0 = load_average()
            time.sleep(args.seconds)
            c1, w1, r1, t1 = cpu_seconds(prog.pid), context_switches(prog.pid), redraws.value, time.monotonic()
            wall = t1 - t0
            result = {"cpu_pct": 100 * (c1 - c0) / wall, "wakeups_s": (w1 - w0) / wall,
                      "redraws_s": (r1 - r0) / wall if args.mode == "dashboard" else None,
                      "load": (l0 + load_average()) / 2}
    finally:
        prog.send_signal(signal.SIGTERM)
        try:
            prog.wait(timeout=10)
        except subprocess.TimeoutExpired:
            prog.kill()
            prog.wait()
        feed.send_signal(signal.SIGTERM)
        err = feed.communicate(timeout=10)[1]
        for word in err.split("(")[-1:]:
            if "lines/s" in word:
                result["lines_s"] = float(word.split()[0])
        shutil.rmtree(folder, ignore_errors=True)
    return result


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", default="build/release", help="build folder (release preset)")
    p.add_argument("--mode", choices=["dashboard", "headless", "startup"], default="dashboard")
    p.add_argument("--adapter", choices=["elm327", "canusb"], default="elm327")
    p.add_argument("--bps", type=int, default=500000)
    p.add_argument("--chunk-ms", type=float, default=1, help="one write of the feeder every MS")
    p.add_argument("--seconds", type=float, default=60, help="measuring window (startup: time limit)")
    p.add_argument("--warmup", type=float, default=5)
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--screen", default="1600x1000")
    p.add_argument("--silent", action="store_true", help="the adapter never answers")
    p.add_argument("--traffic", help="adapter text to play (default: 60 s of the simulated car)")
    args = p.parse_args()
    args.build = os.path.abspath(args.build)

    traffic = args.traffic
    scratch = None
    if not traffic:
        scratch = tempfile.NamedTemporaryFile(prefix="livecost-traffic-", delete=False)
        subprocess.run([os.path.join(args.build, "tools", "vcm-simcar"), "--record", args.adapter, "--seconds", "60"],
                       stdout=scratch, check=True)
        scratch.close()
        traffic = scratch.name
    xvfb, display = (None, None)
    if args.mode != "headless":
        xvfb, display = start_xvfb(args.screen)
    results = []
    try:
        for i in range(args.runs):
            r = one_run(args, traffic, display)
            results.append(r)
            print(f"run {i + 1}: " + ", ".join(f"{k} {v:.2f}" for k, v in r.items() if v is not None), flush=True)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        if scratch:
            os.unlink(scratch.name)
    keys = [k for k in results[0] if results[0][k] is not None]
    print(f"median of {len(results)} ({args.mode}, {args.adapter}, {args.bps} bit/s, {args.chunk_ms} ms writes): "
          + ", ".join(f"{k} {statistics.median(r[k] for r in results):.2f}" for k in keys))


if __name__ == "__main__":
    main()
