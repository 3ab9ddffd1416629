"""bramblex-sweep: every combination of option values with every seed, each run one Dask task.

Dask schedules the runs: a local cluster of worker processes, or any cluster reached through its
scheduler. A run is a pure function of its seed and options, so a run lost with its worker is run
again elsewhere with the same rows.
"""
import argparse
import csv
import io
import itertools
import logging
import os
import signal
import sys
import time

import bramblex
from bramblex._bramblex import Output

PROGRAM = "bramblex-sweep"
LARGEST_SEED = 2**64 - 1
MOST_RUNS = 10_000_000  # each run's rows are held until the CSV is written


class BadInput(Exception):
    """A command line that cannot be run: one line, exit status 2."""


class Stopped(Exception):
    def __init__(self, signum):
        super().__init__(signum)
        self.signum = signum


class Parser(argparse.ArgumentParser):
    def error(self, message):
        raise BadInput(message)


def parse_seeds(text):
    """'1-100', '3', '1-10,20,30-35' as a list of seeds, in the order given."""
    seeds = []
    for item in text.split(","):
        first, dash, last = item.partition("-")
        if not (first.isdigit() and (not dash or last.isdigit())):
            raise BadInput(f"--seeds needs seeds or ranges such as 1-100 or 1,5,9, not '{text}'")
        first, last = int(first), int(last) if dash else int(first)
        if last < first:
            raise BadInput(f"--seeds range '{item}' is empty: its first seed is above its last")
        if last > LARGEST_SEED:
            raise BadInput(f"--seeds '{item}' goes beyond the largest seed, {LARGEST_SEED}")
        if len(seeds) + last - first >= MOST_RUNS:
            raise BadInput(f"--seeds '{text}' are more than a sweep takes ({MOST_RUNS})")
        seeds.extend(range(first, last + 1))
    return seeds


def parse_setting(text, kinds):
    """'growthRate=5,10,20' as ('growthRate', ['5', '10', '20']); a colour's values go by three."""
    name, equals, values = text.partition("=")
    if not name or not equals or not values:
        raise BadInput(f"--set needs NAME=VALUE[,VALUE...], not '{text}'")
    parts = values.split(",")
    if kinds.get(name) == "colour":
        if len(parts) % 3:
            raise BadInput(f"--set {text}: {name} takes colours R,G,B, three numbers each")
        parts = [",".join(parts[i:i + 3]) for i in range(0, len(parts), 3)]
    for value in parts:
        error = bramblex.option_error(name, value)
        if error:
            raise BadInput(f"--set {name}={value}: {error}")
    return name, parts


def positive(text):
    if not text.isdigit() or int(text) < 1:
        raise argparse.ArgumentTypeError(f"needs a whole number 1 or more, not '{text}'")
    return int(text)


def parse_arguments(args):
    parser = Parser(prog=PROGRAM, description=(
        "Runs Bramblex worlds for every combination of the --set values with every seed, each run "
        "one Dask task, and writes their statistics into one CSV: seed, the --set options, then "
        "the columns of bramblex-run --stats for every --every-th generation."))
    parser.add_argument("--seeds", required=True, type=parse_seeds, help="seeds: 1-100, 1,5,9 or both")
    parser.add_argument("--set", action="append", default=[], metavar="NAME=V1,V2,...",
                        help="an option of bramblex-run --set and the values to try (repeatable)")
    parser.add_argument("--generations", type=positive, default=100,
                        help="generations per run (default 100)")
    parser.add_argument("--every", type=positive, default=1,
                        help="keep every N-th generation's row (default 1)")
    parser.add_argument("--out", required=True, help="the CSV file (- for standard output)")
    where = parser.add_mutually_exclusive_group()
    where.add_argument("--workers", type=positive,
                       help="worker processes of a local Dask cluster (default: the cores)")
    where.add_argument("--scheduler", metavar="tcp://HOST:PORT", help="the scheduler of a running Dask cluster")
    config = parser.parse_args(args)
    kinds = bramblex.option_kinds()
    config.set = [parse_setting(text, kinds) for text in config.set]
    names = [name for name, _ in config.set]
    for name in names:
        if names.count(name) > 1:
            raise BadInput(f"--set {name} is given twice")
    return config


def run_one(seed, settings, generations, every):
    """One world's bramblex-run --stats lines of every every-th generation, as one text: a single
    string crosses to the client far cheaper than a list of thousands."""
    sim = bramblex.Simulation(seed=seed, **dict(settings))
    sim.run(generations)
    rows = sim.stats_csv().split("\n", 1)[1]  # without the header
    if every == 1:
        return rows
    return "".join(row + "\n" for row in rows.splitlines() if int(row.split(",", 1)[0]) % every == 0)


def csv_fields(fields):
    text = io.StringIO()
    csv.writer(text, lineterminator="").writerow(fields)
    return text.getvalue()


class Progress:
    """Runs done of the total on a terminal's stderr, with the time taken and the time left."""

    def __init__(self, total, stream=sys.stderr):
        self.total, self.stream = total, stream
        self.shown = stream.isatty()
        self.started = time.monotonic()

    def update(self, done):
        if done == 0:
            self.started = time.monotonic()  # the runs' time, not the cluster's start
        if not self.shown:
            return
        elapsed = time.monotonic() - self.started
        left = elapsed / done * (self.total - done) if done else None
        filled = 40 * done // self.total
        self.stream.write(f"\r[{'#' * filled}{' ' * (40 - filled)}] {done} / {self.total} runs, "
                          f"{clock(elapsed)} elapsed, {clock(left) if left is not None else '?'} left ")
        self.stream.flush()

    def finish(self):
        if self.shown:
            self.stream.write("\r" + " " * 100 + "\r")
            self.stream.flush()


def clock(seconds):
    seconds = int(seconds + 0.5)
    return f"{seconds // 3600}:{seconds // 60 % 60:02}:{seconds % 60:02}"


def quiet_dask():
    # Dask's notes (stale worker folders, connections closed at the end) are no news to the user;
    # local workers read this when they start.
    os.environ.setdefault("DASK_LOGGING__DISTRIBUTED", "error")


def connect(address):
    import dask
    from distributed import Client
    timeout = dask.config.get("distributed.comm.timeouts.connect")
    try:
        return Client(address, timeout=timeout)
    except (OSError, ValueError, TypeError) as e:
        raise BadInput(f"cannot reach the scheduler at {address}: {e}") from None


def dask_setup(worker):
    """Run by each local worker as it starts (a Dask preload): Ctrl+C at the terminal reaches the
    whole process group, and it is this process that stops the workers."""
    signal.signal(signal.SIGINT, signal.SIG_IGN)


def run_all(client, runs, config, progress, results):
    """Every run's rows into results (by run); the workers may finish in any order."""
    from distributed import as_completed
    futures = [client.submit(run_one, seed, settings, config.generations, config.every)
               for seed, settings in runs]
    index = {id(future): i for i, future in enumerate(futures)}  # runs listed twice share a key
    progress.update(0)
    for future, rows in as_completed(futures, with_results=True):
        results[index[id(future)]] = rows
        progress.update(len(results))


def csv_text(config, runs, results):
    header = csv_fields(["seed"] + [name for name, _ in config.set]) + "," + bramblex.stats_header
    lines = [header]
    for i, (seed, settings) in enumerate(runs):
        prefix = csv_fields([seed] + [value for _, value in settings]) + ","
        lines.extend(prefix + row for row in results[i].splitlines())
    return "\n".join(lines) + "\n"


def stop_on_signals():
    def stop(signum, frame):
        raise Stopped(signum)
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, stop)


def start_cluster(config):
    """A client of the cluster the command line names, and the local cluster it started, if any."""
    quiet_dask()
    if config.scheduler:
        return connect(config.scheduler), None
    import dask
    from distributed import Client, LocalCluster
    # The cluster's own upkeep takes CPU from the runs when every core runs one: the workers' stack
    # sampler (every 10 ms), the event loops' watchdog ticks (20 ms), system and memory monitors and
    # work stealing (the scheduler's queue already hands each worker its next run). The nannies hand
    # these settings to the worker processes they start.
    dask.config.set({"distributed.worker.profile.enabled": False,
                     "distributed.admin.tick.interval": "500ms",
                     "distributed.admin.system-monitor.interval": "2s",
                     "distributed.worker.memory.monitor-interval": "1s",
                     "distributed.scheduler.work-stealing": False})
    cluster = LocalCluster(n_workers=config.workers or len(os.sched_getaffinity(0)), threads_per_worker=1,
                           processes=True, dashboard_address=None, silence_logs=logging.ERROR,
                           preload=[__name__])
    return Client(cluster), cluster


def write(output, text):
    if output is None:
        sys.stdout.write(text)
    else:
        output.commit(text)


def sweep(config):
    runs = [(seed, list(zip([name for name, _ in config.set], values)))
            for seed in config.seeds
            for values in itertools.product(*[values for _, values in config.set])]
    output = Output(config.out) if config.out != "-" else None
    results, progress, started = {}, Progress(len(runs)), time.monotonic()
    client = cluster = None
    try:
        client, cluster = start_cluster(config)
        connected = time.monotonic()
        run_all(client, runs, config, progress, results)
        progress.finish()
        write(output, csv_text(config, runs, results))
    except Stopped as stop:
        progress.finish()
        print(f"{PROGRAM}: stopped by {signal.Signals(stop.signum).name} after {len(results)} of {len(runs)} "
              f"runs; nothing written", file=sys.stderr)
        return 128 + stop.signum
    finally:
        if output:
            output.discard()  # the temporary file, unless committed
        close(client, cluster)
    if output:
        print(f"{len(runs)} runs of {config.generations} generations in {time.monotonic() - started:.1f} s "
              f"({connected - started:.1f} s to start or reach the cluster); {config.out}")
    return 0


def close(client, cluster):
    # Stopping takes a moment; a second signal meanwhile ends the program at once.
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, lambda signum, frame: os._exit(128 + signum))
    logging.getLogger("distributed").setLevel(logging.CRITICAL)
    if client is not None:
        client.close()
    if cluster is not None:
        cluster.close()


def main(args):
    stop_on_signals()
    try:
        return sweep(parse_arguments(args))
    except BadInput as e:
        print(f"{PROGRAM}: {e}", file=sys.stderr)
        return 2
    except Stopped as stop:
        print(f"{PROGRAM}: stopped by {signal.Signals(stop.signum).name} before any run; nothing written",
              file=sys.stderr)
        return 128 + stop.signum
    except Exception as e:  # an output that cannot be written, a run that failed: one line
        print(f"{PROGRAM}: {e}", file=sys.stderr)
        return 1
