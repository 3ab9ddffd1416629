"""bramblex-sweep on a local cluster and on separately started Dask processes, against bramblex-run."""
import csv
import gzip
import io
import json
import os
import re
import resource
import signal
import socket
import subprocess
import sys
import time

import bramblex
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
    running = subprocess.Popen([SWEEP, "--seeds", "1-50", "--generations", "200000", "--workers", "2",
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
    def worker(p):
        try:
            return "spawn_main" in " ".join(p.cmdline()) and listening(p)
        except psutil.NoSuchProcess:  # a short-lived child of the cluster's, gone meanwhile
            return False
    def workers():
        return [p for p in sweeper.children() if worker(p)]
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


def scheduler_address(path):
    try:
        return json.load(open(path))["address"]
    except (OSError, ValueError):  # not yet written, or written in part
        return None


def test_sweep_survives_a_killed_worker(in_tmp):
    from distributed import Client
    scheduler = dask("scheduler", "--host", "127.0.0.1", "--port", "0", "--no-dashboard",
                     "--scheduler-file", "scheduler.json")
    workers = {}
    try:
        wait_until(lambda: scheduler_address("scheduler.json"))
        address = scheduler_address("scheduler.json")
        result = sweep("--seeds", "1", "--scheduler", address, "--timeout", "3", "--out", "out.csv")
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
            # Enough runs that rows still come after the killed worker's run is in again: the runs
            # finished meanwhile all go out at that moment.
            args = ["--seeds", "1-24", "--set", "gridSizeX=100", "--set", "gridSizeY=100", "--generations", "1000",
                    "--every", "100", "--scheduler", address, "--out", "out.csv"]
            workers["sweep"] = subprocess.Popen([SWEEP, *args], start_new_session=True)
            doomed = next(a for a, w in client.scheduler_info()["workers"].items() if w["name"] == "doomed")
            wait_until(lambda: client.processing().get(doomed), 60)  # kill it in the middle of a run
            workers["doomed"].kill()
            # Ctrl+C once a run is in; the runs done are kept for the same command with --resume alone.
            wait_until(lambda: workers["sweep"].poll() is not None or (
                os.path.exists("out.csv.partial") and open("out.csv.partial").read().count("\n") > 1))
            assert workers["sweep"].poll() is None, "the sweep ended before Ctrl+C"
            os.killpg(workers["sweep"].pid, signal.SIGINT)
            assert workers["sweep"].wait(60) == 130 and not os.path.exists("out.csv")
            for more, status, says in [([], 2, "runs of an unfinished sweep: --resume continues it"),
                                       (["--sample", "1", "--resume"], 2, "is of another sweep"),
                                       (["--resume"], 0, "24 runs of 1000 generations")]:
                result = sweep(*args, *more)
                assert result.returncode == status and says in result.stderr + result.stdout, result.stderr
            assert sorted(os.listdir(in_tmp)) == ["out.csv", "scheduler.json"]
        check_against_runner(in_tmp, in_tmp / "out.csv", range(1, 25), {"gridSizeX": ["100"], "gridSizeY": ["100"]},
                             1000, 100)
    finally:
        for process in [*workers.values(), scheduler]:
            process.kill()
            process.wait()


def test_runs_of_ranges_pairs_and_samples():
    from bramblex.sweep import BadInput, parse_arguments

    def runs(*args, start=0):
        plan = parse_arguments(["--out", "x.csv", *args]).plan
        return [(seed, [value for _, value in settings]) for seed, settings in plan.runs(start)]
    crossed = [(s, [g, c]) for s in (1, 2) for g in ("1", "4", "7", "9") for c in ("0,0,0", "1,2,3")]
    for args, expected in [
            (["--seeds", "1-2", "--set", "growthRate=1:7:3,9", "--set", "orgUserColour1=0,0,0,1,2,3"], crossed),
            (["--seeds", "5,3", "--zip", "--set", "growthRate=2:4", "--set", "decayRate=7,8,9"],
             [(s, [g, d]) for s in (5, 3) for g, d in [("2", "7"), ("3", "8"), ("4", "9")]])]:
        assert runs(*args) == expected
        assert all(runs(*args, start=n) == expected[n:] for n in range(len(expected) + 1))
    sample = ["--seeds", "1-2", "--set", "growthRate=1:9", "--set", "decayRate=1:9", "--sample", "5"]
    drawn = runs(*sample, "--sample-seed", "4")
    assert drawn == runs(*sample, "--sample-seed", "4") != runs(*sample, "--sample-seed", "5")
    assert len(drawn) == 10 and [(2, v) for _, v in drawn[:5]] == drawn[5:] and len({tuple(v) for _, v in drawn}) == 5
    assert runs(*sample, "--sample-seed", "4", start=7) == drawn[7:]
    for args, says in [(["--set", "growthRate=5:1"], "a range needs FIRST:LAST"),
                       (["--set", "growthRate=1:100000"], "growthRate=1:100000: option growthRate"),
                       (["--set", "asteroidsOn=0:1"], "asteroidsOn=0:1: option"),
                       (["--zip", "--set", "growthRate=1,2", "--set", "decayRate=1"],
                        "growthRate has 2, decayRate has 1"),
                       (["--set", "growthRate=1,2", "--sample", "3"], "--sample 3 is more than the 2 combinations")]:
        with pytest.raises(BadInput, match=re.escape(says)):
            runs("--seeds", "1", *args)


def test_a_run_past_its_time_is_listed_and_the_sweep_goes_on(in_tmp):
    result = sweep("--seeds", "2", "--zip", "--set", "gridSizeX=10,100", "--set", "gridSizeY=10,100", "--generations",
                   "100000", "--every", "25000", "--run-timeout", "3", "--workers", "2", "--out", "out.csv")
    assert result.returncode == 3
    assert "the run of seed 2, gridSizeX=100, gridSizeY=100 stopped after 3 s" in result.stderr
    check_against_runner(in_tmp, in_tmp / "out.csv", [2], {"gridSizeX": ["10"], "gridSizeY": ["10"]}, 100000, 25000)
    failures = list(csv.reader(open("out.failures.csv")))
    assert failures[0] == ["seed", "gridSizeX", "gridSizeY", "generation", "reason"] and len(failures) == 2
    assert failures[1][:3] == ["2", "100", "100"] and 0 < int(failures[1][3]) < 100000


def test_progress_off_a_terminal_is_a_line_every_30_s():
    from bramblex.sweep import Progress
    now, log = [100.0], io.StringIO()
    progress = Progress(10, log, lambda: now[0])
    progress.start(2)  # two runs were done before a resume
    for seconds, done in [(29, 3), (31, 4), (45, 5), (61, 6), (62, 6)]:
        now[0] = 100 + seconds
        progress.update(done) if done != progress.done else progress.tick()
    assert log.getvalue() == ("bramblex-sweep: 4 / 10 runs, 0:00:31 elapsed, 0:01:33 left\n"
                              "bramblex-sweep: 6 / 10 runs, 0:01:01 elapsed, 0:01:01 left\n")


def test_sweep_from_python_gives_the_commands_rows_or_a_summary_per_run(in_tmp):
    import bramblex
    import pandas
    from distributed import Client, LocalCluster
    with LocalCluster(n_workers=1, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        frame = bramblex.sweep(range(3, 5), {"growthRate": [5, 10], "orgUserColour1": (1, 2, 3), **OPTIONS}, 12,
                               every=5, client=client)
    result = sweep("--seeds", "3-4", "--set", "growthRate=5,10", "--set", "orgUserColour1=1,2,3", "--set",
                   "gridSizeX=15", "--set", "gridSizeY=12", "--generations", "12", "--every", "5", "--workers", "1",
                   "--out", "out.csv")
    assert result.returncode == 0 and frame.equals(pandas.read_csv("out.csv"))

    def counts(sim):
        return {"generation": sim.generation, "organisms": sim.organism_count}
    # On a local cluster of its own:
    summary = bramblex.sweep([9, 2], {"growthRate": range(5, 7), "gridSizeX": 15}, 30, summary=counts)
    expected = [{"seed": seed, "growthRate": rate, "gridSizeX": 15, **counts(sim)} for seed in (9, 2) for rate in (5, 6)
                if (sim := bramblex.Simulation(seed=seed, growthRate=rate, gridSizeX=15)).run(30) is None]
    assert summary.to_dict("records") == expected


def test_a_side_file_that_cannot_be_resumed_is_left_as_it_is(in_tmp):
    from bramblex.sweep import BadInput, FileOutput, open_output, parse_arguments
    open_output(parse_arguments(["--seeds", "1", "--out", "/dev/null"]), {}).discard()  # a device keeps none
    assert not os.path.exists("/dev/null.partial")
    for state, says in [({"sweep": {}, "runs": 1, "bytes": 50, "failures": []}, "is shorter than"),
                        ({"sweep": {"seeds": [[1, 2]]}, "runs": 1, "bytes": 5, "failures": []}, "is of another sweep"),
                        ({"runs": 1}, "not a sweep state")]:
        (in_tmp / "out.csv.partial").write_text("seed\n1\n")
        (in_tmp / "out.csv.partial.json").write_text(json.dumps(state))
        with pytest.raises(BadInput, match=says):
            FileOutput("out.csv", {}, resume=True)
        assert sorted(os.listdir(in_tmp)) == ["out.csv.partial", "out.csv.partial.json"]
        assert (in_tmp / "out.csv.partial").read_text() == "seed\n1\n"


def test_a_summary_row_per_run_compressed_by_the_name_and_the_final_worlds(in_tmp):
    from bramblex.sweep import summary_line
    result = sweep("--seeds", "1-2", "--set", "growthRate=0,5", "--set", "gridSizeX=15", "--set", "gridSizeY=12",
                   "--generations", "30", "--summary", "--workers", "1", "--out", "out.csv.gz", "--save-worlds", "w",
                   "--pictures", "p", "--square-size", "3")
    assert result.returncode == 2 and "'w' is not a folder" in result.stderr
    os.mkdir("w")
    os.mkdir("p")
    result = subprocess.run(result.args, capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    rows = list(csv.reader(io.StringIO(gzip.decompress((in_tmp / "out.csv.gz").read_bytes()).decode())))
    assert rows[0][:5] == ["seed", "growthRate", "gridSizeX", "gridSizeY", "generations"]
    assert rows[0][5:] == bramblex.stats_header.split(",")[1:-1] + ["first_reset", "resets"]
    for row in rows[1:]:
        last = runner_rows(in_tmp, row[0], {**OPTIONS, "growthRate": row[1]}, 30)[-1].split(",")
        assert row[4:] == ["30", *last[1:-1], "", "0"]
    assert [r[:2] for r in rows[1:]] == [["1", "0"], ["1", "5"], ["2", "0"], ["2", "5"]]
    sim = bramblex.Simulation(seed=2, growthRate=5, gridSizeX=15, gridSizeY=12)
    sim.run(30)
    sim.save("expected.bx2")
    name = "seed-2_growthRate-5_gridSizeX-15_gridSizeY-12"
    assert (in_tmp / "w" / f"{name}.bx2").read_bytes() == (in_tmp / "expected.bx2").read_bytes()
    assert (in_tmp / "p" / f"{name}.png").read_bytes() == sim.picture(3)
    assert len(os.listdir("w")) == len(os.listdir("p")) == 4
    assert summary_line("1,5,9,0\n2,0,9,1\n3,4,9,0\n4,2,9,1\n", 4) == "4,2,9,2,2\n"  # resets at 2 and 4
