#!/usr/bin/env bash
# The batch receiver on a damaged line: lrzsz's sender (sb --ymodem --1k, 1024-byte blocks as
# the instrument sends them) sends a 1 MiB file of random bytes through ymodem-relay, which
# damages what the sender sends, to `tidewell-tool ymodem-receive`. Every profile runs with
# SEEDS seeds (1..SEEDS); each run may take at most 120 s. Prints per profile how many runs
# were good, failed, or took longer than 120 s. A run counts as good only if the tool
# reported success and the received file is the sent one byte for byte; a run whose tool
# reported success with any other bytes, or whose failure left a file under the target
# name, is counted as WRONG (and must never happen).
#
#   bench/ymodem_faults.sh [BUILD_DIR] [SEEDS] [PARALLEL] [PROFILE...]
#
# BUILD_DIR defaults to ./build (holding tools/tidewell-tool and tools/ymodem-relay), SEEDS
# to 8, PARALLEL (profiles run side by side) to 1. Profiles: ber5 ber4 drop double noise
# stall (all when none is named). Needs python3 and lrzsz (sb).
set -euo pipefail

build="${1:-build}"
seeds="${2:-8}"
parallel="${3:-1}"
shift $(( $# < 3 ? $# : 3 ))
tool="$(cd "$build" && pwd)/tools/tidewell-tool"
relay="$(cd "$build" && pwd)/tools/ymodem-relay"
[ -x "$tool" ] && [ -x "$relay" ] || { echo "build tidewell-tool and ymodem-relay first" >&2; exit 1; }
command -v sb >/dev/null || { echo "lrzsz (sb) is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$tool" "$relay" "$seeds" "$parallel" "$@" <<'PY'
import os, signal, subprocess, sys, time
from concurrent.futures import ThreadPoolExecutor

work, tool, relay, seeds, parallel = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
PROFILES = {
    "ber5":   ("bit errors 1e-5", ["--bit-errors", "1e-5"]),
    "ber4":   ("bit errors 1e-4", ["--bit-errors", "1e-4"]),
    "drop":   ("bytes dropped 5e-5", ["--drops", "5e-5"]),
    "double": ("bytes doubled 5e-5", ["--doubles", "5e-5"]),
    "noise":  ("200 bytes of noise before the first block", ["--noise", "200"]),
    "stall":  ("a 15 s stall mid-transfer", ["--stall-at", "524288", "--stall", "15"]),
}
chosen = sys.argv[6:] or list(PROFILES)
LIMIT = 120
SIZE = 1024 * 1024
NAME = "REC00001.000"

src = os.path.join(work, "from")
os.makedirs(src)
with open(os.path.join(src, NAME), "wb") as f:
    f.write(os.urandom(SIZE))
with open(os.path.join(src, NAME), "rb") as f:
    sent = f.read()

def run(profile, seed):
    out = os.path.join(work, f"{profile}-{seed}")
    os.makedirs(out)
    r = subprocess.Popen([relay, "--seed", str(seed)] + PROFILES[profile][1] + ["--", "sb", "--ymodem", "--1k", NAME],
                         cwd=src, stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
    device = r.stdout.readline().decode().strip()
    start = time.monotonic()
    try:
        rx = subprocess.run([tool, "ymodem-receive", device, out], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, timeout=LIMIT)
        status, over = rx.returncode, False
    except subprocess.TimeoutExpired:
        status, over = None, True
    seconds = time.monotonic() - start
    try:
        r.wait(timeout=5)
    except subprocess.TimeoutExpired:
        os.killpg(r.pid, signal.SIGKILL)
        r.wait()
    tally = r.stderr.read().decode().strip().replace("ymodem-relay: ", "")
    target = os.path.join(out, NAME)
    got = open(target, "rb").read() if os.path.exists(target) else None
    if over:
        verdict = "over" if got is None else "WRONG"
    elif status == 0:
        verdict = "good" if got == sent else "WRONG"
    else:
        verdict = "failed" if got is None else "WRONG"
    return profile, seed, verdict, seconds, tally

jobs = [(p, s) for p in chosen for s in range(1, seeds + 1)]
results = {p: [] for p in chosen}
with ThreadPoolExecutor(max_workers=parallel) as pool:
    for profile, seed, verdict, seconds, tally in pool.map(lambda j: run(*j), jobs):
        results[profile].append((verdict, seconds))
        print(f"  {profile:6s} seed {seed}: {verdict:6s} {seconds:6.1f} s  ({tally})", flush=True)

print()
print("| line fault | good / failed / over 120 s | wrong | seconds per good run (median, max) |")
print("|---|---|---|---|")
for p in chosen:
    rs = results[p]
    count = lambda v: sum(1 for x in rs if x[0] == v)
    good = sorted(t for v, t in rs if v == "good")
    times = f"{good[len(good) // 2]:.1f}, {good[-1]:.1f}" if good else "-"
    print(f"| {PROFILES[p][0]} | {count('good')} / {count('failed')} / {count('over')} | {count('WRONG')} | {times} |")
PY
