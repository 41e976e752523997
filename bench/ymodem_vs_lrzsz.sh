#!/usr/bin/env bash
# Receiving speed over a pseudo-terminal: a 16 MiB file sent by lrzsz's batch sender (sb, in
# 1024-byte blocks as the instrument sends them) and received once by `tidewell-tool
# ymodem-receive` and once by lrzsz's own receiver (rb) on the same kind of link. Prints the
# wall time and rate of each. A pseudo-terminal has no baud rate: what is measured is the
# cost of the two receivers (and the sender), not of a cable.
#
#   bench/ymodem_vs_lrzsz.sh [BUILD_DIR] [SIZE_MIB] [RUNS] [RECEIVERS]
#
# BUILD_DIR defaults to ./build (the folder holding tools/tidewell-tool). RECEIVERS is "ours
# theirs" (the default), "ours" or "theirs". Needs python3 (for the pseudo-terminal) and lrzsz
# (sb, rb).
set -euo pipefail

build="${1:-build}"
size_mib="${2:-16}"
runs="${3:-1}"
receivers="${4:-ours theirs}"
tool="$build/tools/tidewell-tool"
[ -x "$tool" ] || { echo "no $tool: build the tool first" >&2; exit 1; }
command -v sb >/dev/null && command -v rb >/dev/null || { echo "lrzsz (sb, rb) is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/from" "$work/ours" "$work/theirs"
head -c "$((size_mib * 1024 * 1024))" /dev/urandom > "$work/from/bench.bin"

# One run: sb on the master side, the receiver on the slave; prints the receiver's seconds.
python3 - "$work" "$tool" "$runs" "$receivers" <<'PY'
import os, resource, subprocess, sys, time, tty, filecmp

work, tool, runs, receivers = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4].split()
size = os.path.getsize(os.path.join(work, "from", "bench.bin"))

def run(receiver):
    master, slave = os.openpty()
    tty.setraw(slave)
    slave_path = os.ttyname(slave)
    sender = subprocess.Popen(["sb", "--ymodem", "--1k", "bench.bin"], cwd=os.path.join(work, "from"),
                              stdin=master, stdout=master, stderr=subprocess.DEVNULL)
    start = time.monotonic()
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    if receiver == "ours":
        out = os.path.join(work, "ours")
        proc = subprocess.Popen([tool, "ymodem-receive", slave_path, out], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    else:
        out = os.path.join(work, "theirs")
        proc = subprocess.Popen(["rb", "--ymodem", "-y"], cwd=out, stdin=slave, stdout=slave,
                                stderr=subprocess.DEVNULL)
    status = proc.wait()
    seconds = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)  # the receiver only: the sender is reaped later
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    try:
        sender.wait(timeout=15)
    except subprocess.TimeoutExpired:
        sender.kill()  # sb sometimes waits on after rb has closed the batch
        sender.wait()
    os.close(master)
    os.close(slave)
    received = os.path.join(out, "bench.bin")
    with open(received, "rb") as f:
        head = f.read(size)
    with open(os.path.join(work, "from", "bench.bin"), "rb") as f:
        same = f.read() == head
    os.remove(received)
    return status, seconds, same, cpu

for receiver in receivers:
    times = []
    cpus = []
    for _ in range(runs):
        status, seconds, same, cpu = run(receiver)
        cpus.append(cpu)
        if status != 0 or not same:
            print(f"{receiver}: failed (exit {status}, content {'ok' if same else 'differs'})")
            sys.exit(1)
        times.append(seconds)
    best = min(times)
    name = "tidewell-tool ymodem-receive" if receiver == "ours" else "lrzsz rb --ymodem"
    print(f"{name:30s} best {best:6.2f} s  ({size / best / 1048576:6.2f} MiB/s)  runs: "
          + " ".join(f"{t:.2f}" for t in times) + f"  (receiver CPU best {min(cpus):.2f} s)")
PY
