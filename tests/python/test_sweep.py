"""bramblex-sweep on a local cluster and on separately started Dask processes, against bramblex-run."""
import csv
import io
import json
import os
import resource
import signal
import socket
import subprocess
import sys
import time

import psutil
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

    silent = socket.create_server(("127.0.0.1", 0))  # takes connections, never answers
    for args, says in [(["--seeds", "5-1"], "'5-1' is empty"),
                       (["--seeds", "\u0661-\u0663"], "--seeds needs seeds or ranges"),
                       (["--seeds", "1", "--seeds", "2"], "--seeds is given twice"),
                       (["--seeds", "1-9999999", "--set", "gridSizeX=15,16"], "make 19999998 runs, more than"),
                       (["--seeds", "1", "--set", "growthRat=1"], "unknown option name 'growthRat'"),
                       (["--seeds", "1", "--set", "growthRate=5,\x1b[2J"], "growthRate=\\x1B[2J: option growthRate"),
                       (["--seeds", "1", "--scheduler", "tcp://127.0.0.1:9"], "cannot reach the scheduler"),
                       (["--seeds", "1", "--scheduler", "tcp://127.0.0.1:%d" % silent.getsockname()[1], "--timeout",
                         "1"], "did not answer within 1 s")]:
        started = time.monotonic()
        result = sweep(*args, "--out", "bad.csv", timeout=60, preexec_fn=lambda: resource.setrlimit(
            resource.RLIMIT_AS, (2 << 30, 2 << 30)))
        assert (result.returncode, result.stderr.count("\n")) == (2, 1) and says in result.stderr, result.stderr
        assert "\x1b" not in result.stderr and time.monotonic() - started < 10
    assert sorted(os.listdir(in_tmp)) == ["out.csv", "runner-3.csv", "runner-4.csv"]


def session_processes(sid):
    """The processes of a session, but for those that have ended and wait to be reaped."""
    def of(p):
        try:
            return os.getsid(p.pid) == sid and p.status() != psutil.STATUS_ZOMBIE
        except (OSError, psutil.Error):
            return False
    return [p for p in psutil.process_iter() if of(p)]


def wait_until(condition, seconds=120):
    deadline = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < deadline
        time.sleep(0.05)


@pytest.mark.parametrize("when", ["cluster starting", "runs running", "output a pipe nobody reads"])
def test_ctrl_c_stops_at_once_and_leaves_nothing(in_tmp, when):
    if when.startswith("output"):
        os.mkfifo("out.csv")
    running = subprocess.Popen([SWEEP, "--seeds", "1-50", "--generations", "20000", "--workers", "2",
                                "--out", "out.csv"], stderr=subprocess.PIPE, text=True, start_new_session=True,
                               env={**os.environ, "TMPDIR": str(in_tmp)})
    if when == "cluster starting":
        wait_until(lambda: any(in_tmp.glob("bramblex-sweep-*")))  # the local cluster's, made as it starts
    elif when == "runs running":
        wait_until(lambda: len(list(in_tmp.glob("bramblex-sweep-*/dask-worker-space/worker-*/"))) == 2)
        time.sleep(1)
    else:
        time.sleep(1)
    os.killpg(running.pid, signal.SIGINT)  # as the terminal's Ctrl+C does
    assert running.wait(10) == 130
    stderr = running.stderr.read()
    assert stderr.count("\n") == 1 and "stopped by SIGINT" in stderr, stderr
    wait_until(lambda: not session_processes(running.pid), 10)
    assert os.listdir(in_tmp) == (["out.csv"] if when.startswith("output") else [])


def test_a_stalled_worker_is_dropped_and_only_localhost_is_served(in_tmp):
    running = subprocess.Popen([SWEEP, "--seeds", "1-4", "--set", "gridSizeX=100", "--set", "gridSizeY=100",
                                "--generations", "10000", "--every", "1000", "--workers", "2", "--out", "out.csv"])
    sweeper = psutil.Process(running.pid)

    def listening(process):
        return [c.laddr for c in process.connections() if c.status == psutil.CONN_LISTEN]
    def workers():
        return [p for p in sweeper.children() if "spawn_main" in " ".join(p.cmdline()) and listening(p)]
    wait_until(lambda: len(workers()) == 2)
    workers = workers()
    assert {address.ip for p in [sweeper, *workers] for address in listening(p)} == {"127.0.0.1"}
    started = [p.cpu_times().user for p in workers]  # then each in the middle of a run of 2 s
    wait_until(lambda: all(p.cpu_times().user > cpu + 0.5 for p, cpu in zip(workers, started)))
    workers[0].suspend()
    assert running.wait(180) == 0
    check_against_runner(in_tmp, in_tmp / "out.csv", range(1, 5), {"gridSizeX": ["100"], "gridSizeY": ["100"]},
                         10000, 1000)
    assert not workers[0].is_running() or workers[0].status() == psutil.STATUS_ZOMBIE


def test_a_closed_standard_output_ends_as_sigpipe(in_tmp):
    running = subprocess.Popen([SWEEP, "--seeds", "1-30", "--generations", "100", "--workers", "1", "--out", "-"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    running.stdout.read(100)  # more than a pipe holds is still to come
    running.stdout.close()
    assert running.wait(120) == 141
    assert "nothing reads standard output any more (SIGPIPE)" in running.stderr.read()


def dask(*args, env=None):
    return subprocess.Popen([sys.executable, "-m", "dask", *args], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, env=env)


def test_sweep_survives_a_killed_worker(in_tmp):
    from distributed import Client
    scheduler = dask("scheduler", "--host", "127.0.0.1", "--port", "0", "--no-dashboard",
                     "--scheduler-file", "scheduler.json")
    workers = {}
    try:
        while not os.path.exists("scheduler.json"):
            time.sleep(0.1)
        address = json.load(open("scheduler.json"))["address"]
        result = sweep("--seeds", "1", "--scheduler", address, "--timeout", "1", "--out", "out.csv")
        assert result.returncode == 1 and f"waiting for workers: the scheduler at {address} has 0" in result.stderr
        assert "no worker joined" in result.stderr, result.stderr
        without_module = {name: value for name, value in os.environ.items() if name != "PYTHONPATH"}
        workers["stranger"] = dask("worker", address, "--name", "stranger", "--no-nanny", "--no-dashboard",
                                   env=without_module)
        result = sweep("--seeds", "1", "--scheduler", address, "--timeout", "60", "--out", "out.csv")
        assert result.returncode == 1 and "the worker stranger at tcp://" in result.stderr, result.stderr
        assert "cannot import bramblex" in result.stderr and "PYTHONPATH=" in result.stderr
        stranger = workers.pop("stranger")
        stranger.kill()
        stranger.wait()
        for name in ("doomed", "spared"):
            workers[name] = dask("worker", address, "--name", name, "--nthreads", "1", "--no-nanny",
                                 "--no-dashboard")
        with Client(address, timeout=60) as client:
            wait_until(lambda: len(client.scheduler_info()["workers"]) == 2)
            workers["sweep"] = subprocess.Popen([SWEEP, "--seeds", "1-6", "--set", "gridSizeX=100", "--set",
                                                 "gridSizeY=100", "--generations", "2000", "--every", "100",
                                                 "--scheduler", address, "--out", "out.csv"])
            doomed = next(a for a, w in client.scheduler_info()["workers"].items() if w["name"] == "doomed")
            wait_until(lambda: client.processing().get(doomed), 60)  # kill it in the middle of a run
            workers["doomed"].kill()
            assert workers["sweep"].wait(300) == 0
        check_against_runner(in_tmp, in_tmp / "out.csv", range(1, 7), {"gridSizeX": ["100"], "gridSizeY": ["100"]},
                             2000, 100)
    finally:
        for process in [*workers.values(), scheduler]:
            process.kill()
            process.wait()
