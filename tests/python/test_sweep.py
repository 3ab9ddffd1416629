"""bramblex-sweep on a local cluster and on separately started Dask processes, against bramblex-run."""
import csv
import io
import json
import os
import signal
import subprocess
import sys
import time

import pytest

from conftest import SWEEP, runner_rows

OPTIONS = {"gridSizeX": "15", "gridSizeY": "12"}


def sweep(*args, **kwargs):
    return subprocess.run([SWEEP, *args], capture_output=True, text=True, **kwargs)


def check_against_runner(tmp_path, out, seeds, swept, generations, every):
    """Rows by run (seed, then the swept values in order) and generation; each run's equal the runner's."""
    rows = list(csv.reader(io.StringIO(out.read_text())))
    assert rows[0][:1 + len(swept)] == ["seed", *swept]
    expected = []
    for seed in seeds:
        for values in zip(*swept.values()) if len(swept) == 1 else _product(swept):
            options = {**OPTIONS, **dict(zip(swept, values))}
            kept = [r for r in runner_rows(tmp_path, seed, options, generations) if int(r.split(",")[0]) % every == 0]
            expected += [[str(seed), *values, *r.split(",")] for r in kept]
    assert rows[1:] == expected


def _product(swept):
    import itertools
    return itertools.product(*swept.values())


def test_local_sweep_and_bad_input(in_tmp):
    swept = {"growthRate": ["5", "10"], "gridSizeX": ["15"], "orgUserColour1": ["255,0,0", "0,0,255"]}
    result = sweep("--seeds", "3,3-4", "--set", "growthRate=5,10", "--set", "gridSizeX=15",
                   "--set", "orgUserColour1=255,0,0,0,0,255", "--set", "gridSizeY=12", "--generations", "12",
                   "--every", "5", "--workers", "2", "--out", "out.csv")
    assert result.returncode == 0, result.stderr
    swept["gridSizeY"] = ["12"]
    check_against_runner(in_tmp, in_tmp / "out.csv", [3, 3, 4], swept, 12, 5)

    env = {**os.environ, "DASK_DISTRIBUTED__COMM__TIMEOUTS__CONNECT": "1s"}
    for args, says in [(["--seeds", "5-1"], "'5-1' is empty"),
                       (["--seeds", "1", "--set", "growthRat=1"], "unknown option name 'growthRat'"),
                       (["--seeds", "1", "--set", "growthRate=5,300"], "growthRate=300: option growthRate"),
                       (["--seeds", "1", "--scheduler", "tcp://127.0.0.1:9"], "cannot reach the scheduler")]:
        result = sweep(*args, "--out", "bad.csv", env=env)
        assert (result.returncode, result.stderr.count("\n")) == (2, 1) and says in result.stderr, result.stderr
    assert sorted(os.listdir(in_tmp)) == ["out.csv", "runner-3.csv", "runner-4.csv"]


def test_ctrl_c_writes_nothing_and_exits_130(in_tmp):
    running = subprocess.Popen([SWEEP, "--seeds", "1-50", "--generations", "2000", "--workers", "1",
                                "--out", "out.csv"], stderr=subprocess.PIPE, text=True)
    while len(os.listdir(in_tmp)) == 0:  # the output's temporary file: the arguments were taken
        time.sleep(0.05)
    time.sleep(1)
    running.send_signal(signal.SIGINT)
    assert running.wait(60) == 130
    assert "stopped by SIGINT after" in running.stderr.read()
    assert os.listdir(in_tmp) == []


def dask(*args):
    return subprocess.Popen([sys.executable, "-m", "dask", *args], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def test_sweep_survives_a_killed_worker(in_tmp):
    from distributed import Client
    scheduler = dask("scheduler", "--host", "127.0.0.1", "--port", "0", "--no-dashboard",
                     "--scheduler-file", "scheduler.json")
    workers = {}
    try:
        while not os.path.exists("scheduler.json"):
            time.sleep(0.1)
        address = json.load(open("scheduler.json"))["address"]
        for name in ("doomed", "spared"):
            workers[name] = dask("worker", address, "--name", name, "--nthreads", "1", "--no-nanny",
                                 "--no-dashboard")
        with Client(address, timeout=60) as client:
            client.wait_for_workers(2)
            running = subprocess.Popen([SWEEP, "--seeds", "1-6", "--set", "gridSizeX=15", "--set", "gridSizeY=12",
                                        "--generations", "600", "--every", "50", "--scheduler", address,
                                        "--out", "out.csv"])
            doomed = next(a for a, w in client.scheduler_info()["workers"].items() if w["name"] == "doomed")
            while not client.processing().get(doomed):  # kill it in the middle of a run
                time.sleep(0.02)
            workers["doomed"].kill()
            assert running.wait(300) == 0
        check_against_runner(in_tmp, in_tmp / "out.csv", range(1, 7), {"gridSizeX": ["15"], "gridSizeY": ["12"]},
                             600, 50)
    finally:
        for process in [*workers.values(), scheduler]:
            process.kill()
            process.wait()
