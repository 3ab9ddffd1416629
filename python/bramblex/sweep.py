"""bramblex-sweep: every combination of option values with every seed, each run one Dask task.

Dask schedules the runs: a local cluster of worker processes, or any cluster reached through its
scheduler. A run is a pure function of its seed and options, so a run lost with its worker is run
again elsewhere with the same rows. The runs are made and submitted a window at a time as results
come in, and their rows go out in run order, so the program's memory does not grow with the sweep.
"""
import argparse
import contextlib
import csv
import io
import itertools
import logging
import math
import os
import re
import shutil
import signal
import stat
import sys
import tempfile
import threading
import time

import bramblex
from bramblex._bramblex import Output

PROGRAM = "bramblex-sweep"
LARGEST_SEED = 2**64 - 1
MOST_RUNS = 1_000_000
TIMEOUT = 5.0  # seconds: --timeout's default
LOCAL_WORKER_TTL = 20.0  # seconds a local worker may go without a heartbeat before its runs go elsewhere
LOCAL_HTTP = "127.0.0.1:0"
LOCAL_START = 120.0  # seconds for the first local worker to start on a loaded machine
STOP_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)
# What a local worker must not take from the terminal: this process stops the workers it started.
TERMINAL_SIGNALS = {signal.SIGINT, signal.SIGHUP}


class BadInput(Exception):
    """A command line that cannot be run: one line, exit status 2."""


class Stopped(Exception):
    def __init__(self, signum):
        super().__init__(signum)
        self.signum = signum


class ReaderGone(Exception):
    """The output is a pipe whose reader has quit: exit status 141, as SIGPIPE gives."""


def printable(text):
    """text fit for a message on a terminal, as bramblex-run shows names: a control character, or
    a byte that was not UTF-8 (which Python keeps as a surrogate), as \\xNN."""
    def escaped(match):
        c = match.group()
        if c >= "\ud800":
            data = c.encode("utf-8", "surrogateescape" if "\udc80" <= c <= "\udcff" else "surrogatepass")
        else:
            data = c.encode()
        return "".join(f"\\x{byte:02X}" for byte in data)
    return re.sub("[\x00-\x1f\x7f\ud800-\udfff]", escaped, str(text))


def say(message):
    print(f"{PROGRAM}: {printable(message)}", file=sys.stderr, flush=True)


class Parser(argparse.ArgumentParser):
    def error(self, message):
        raise BadInput(message)


class Once(argparse.Action):
    """An option that takes one value: given twice, the command line is refused."""

    def __call__(self, parser, namespace, values, option_string=None):
        if getattr(self, "given", False):
            raise BadInput(f"{'/'.join(self.option_strings)} is given twice")
        self.given = True
        setattr(namespace, self.dest, values)


def parse_seeds(text):
    """'1-100', '3', '1-10,20,30-35' as a list of (first, last) ranges, in the order given."""
    ranges = []
    for item in text.split(","):
        match = re.fullmatch(r"([0-9]+)(?:-([0-9]+))?", item)  # ASCII digits only
        if not match:
            raise BadInput(f"--seeds needs seeds or ranges such as 1-100 or 1,5,9, not '{text}'")
        first, last = match.group(1), match.group(2) or match.group(1)
        if len(last) > 20 or int(last) > LARGEST_SEED or len(first) > 20 or int(first) > LARGEST_SEED:
            raise BadInput(f"--seeds '{item}' goes beyond the largest seed, {LARGEST_SEED}")
        first, last = int(first), int(last)
        if last < first:
            raise BadInput(f"--seeds range '{item}' is empty: its first seed is above its last")
        ranges.append((first, last))
    return ranges


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
    if not re.fullmatch(r"[0-9]+", text) or int(text) < 1:
        raise argparse.ArgumentTypeError(f"needs a whole number 1 or more, not '{text}'")
    return int(text)


def seconds(text):
    try:
        value = float(text)
    except ValueError:
        value = math.nan
    if not re.fullmatch(r"[0-9.]+", text) or not 0 < value < 1e6:
        raise argparse.ArgumentTypeError(f"needs a number of seconds above 0, not '{text}'")
    return value


def parse_arguments(args):
    parser = Parser(prog=PROGRAM, description=(
        "Runs Bramblex worlds for every combination of the --set values with every seed, each run "
        "one Dask task, and writes their statistics into one CSV: seed, the --set options, then "
        f"the columns of bramblex-run --stats for every --every-th generation. At most {MOST_RUNS} runs."))
    parser.add_argument("--seeds", required=True, type=parse_seeds, action=Once,
                        help="seeds: 1-100, 1,5,9 or both")
    parser.add_argument("--set", action="append", default=[], metavar="NAME=V1,V2,...",
                        help="an option of bramblex-run --set and the values to try (repeatable)")
    parser.add_argument("--generations", type=positive, default=100, action=Once,
                        help="generations per run (default 100)")
    parser.add_argument("--every", type=positive, default=1, action=Once,
                        help="keep every N-th generation's row (default 1)")
    parser.add_argument("--out", required=True, action=Once, help="the CSV file (- for standard output)")
    where = parser.add_mutually_exclusive_group()
    where.add_argument("--workers", type=positive, action=Once,
                       help="worker processes of a local Dask cluster (default: the cores)")
    where.add_argument("--scheduler", metavar="tcp://HOST:PORT", action=Once,
                       help="the scheduler of a running Dask cluster")
    parser.add_argument("--timeout", type=seconds, default=TIMEOUT, action=Once, metavar="SECONDS",
                        help=f"the longest wait for the scheduler to answer, and for a worker while the "
                             f"cluster has none (default {TIMEOUT:g})")
    parser.add_argument("--dashboard", action="store_true",
                        help="serve the local cluster's Dask dashboard on 127.0.0.1 (needs Bokeh)")
    config = parser.parse_args(args)
    if config.dashboard and config.scheduler:
        raise BadInput("--dashboard is for a local cluster: a scheduler serves its own")
    if config.dashboard and not _has_module("bokeh"):
        raise BadInput("--dashboard needs Bokeh (Debian: python3-bokeh)")
    kinds = bramblex.option_kinds()
    config.set = [parse_setting(text, kinds) for text in config.set]
    names = [name for name, _ in config.set]
    for name in names:
        if names.count(name) > 1:
            raise BadInput(f"--set {name} is given twice")
    config.runs = sum(last - first + 1 for first, last in config.seeds) * math.prod(
        len(values) for _, values in config.set)
    if config.runs > MOST_RUNS:
        raise BadInput(f"--seeds and --set make {config.runs} runs, more than a sweep takes ({MOST_RUNS})")
    return config


def _has_module(name):
    import importlib.util
    return importlib.util.find_spec(name) is not None


def runs_of(config):
    """(seed, [(name, value), ...]) of every run, in the output's order, made as they are asked for."""
    names = [name for name, _ in config.set]
    for first, last in config.seeds:
        for seed in range(first, last + 1):
            for values in itertools.product(*[values for _, values in config.set]):
                yield seed, list(zip(names, values))


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


def csv_rows(seed, settings, rows):
    prefix = csv_fields([seed] + [value for _, value in settings]) + ","
    return "".join(prefix + row + "\n" for row in rows.splitlines())


class Progress:
    """Runs done of the total on a terminal's stderr, with the time taken and the time left."""

    def __init__(self, total, stream=sys.stderr):
        self.total, self.stream = total, stream
        self.shown = stream.isatty()
        self.started = time.monotonic()
        self.done = 0

    def update(self, done):
        if done == 0:
            self.started = time.monotonic()  # the runs' time, not the cluster's start
        self.done = done
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


class FileOutput:
    """A file (or device) written whole: its temporary file takes the rows as they come, and is
    renamed into place once every run is in."""

    def __init__(self, path):
        self.file = Output(path)

    def write(self, text):
        self.file.write(text)

    def finish(self):
        self.file.commit("")

    def discard(self):
        self.file.discard()


class StreamOutput:
    """Standard output or a named pipe: the rows wait in an unnamed temporary file and go out once
    every run is in. Waits here (opening a pipe that nothing reads yet, writing to a slow reader)
    end with a signal, as Python retries an interrupted call only when its handler returns."""

    def __init__(self, path):
        self.name = "standard output" if path == "-" else f"'{path}'"
        self.fd = 1 if path == "-" else os.open(path, os.O_WRONLY | os.O_CLOEXEC | os.O_NOCTTY)
        self.rows = tempfile.TemporaryFile()
        self.cut = False  # part of the text went out

    def write(self, text):
        self.rows.write(text.encode())

    def finish(self):
        sys.stdout.flush()
        self.rows.seek(0)
        try:
            while chunk := self.rows.read(1 << 20):
                view = memoryview(chunk)
                while view:
                    view = view[os.write(self.fd, view):]
                    self.cut = True
        except BrokenPipeError:
            raise ReaderGone(self.name) from None
        except OSError as e:
            raise OSError(f"cannot write {self.name}: {e.strerror or e}") from None
        finally:
            self.discard()

    def discard(self):
        self.rows.close()
        if self.fd > 2:
            os.close(self.fd)
            self.fd = -1


def open_output(path):
    try:
        target = None if path == "-" else os.stat(path)
    except OSError:
        target = None
    try:
        standard = os.fstat(1)
    except OSError:
        standard = None
    if target is not None and standard is not None and os.path.samestat(target, standard):
        path = "-"  # shares standard output's offset, like a shell's redirection
    if path == "-" or (target is not None and stat.S_ISFIFO(target.st_mode)):
        try:
            return StreamOutput(path)
        except OSError as e:
            raise OSError(f"cannot write '{path}': {e.strerror or e}") from None
    return FileOutput(path)


def quiet_dask():
    # Dask's notes (stale worker folders, connections closed at the end) are no news to the user;
    # local workers read this when they start.
    os.environ.setdefault("DASK_LOGGING__DISTRIBUTED", "error")


def quiet_resource_tracker():
    """Starts multiprocessing's resource tracker without standard error: when a stopped sweep has
    ended its workers at once, the tracker removes what they leave and need not say so."""
    from multiprocessing import resource_tracker
    saved, nothing = os.dup(2), os.open(os.devnull, os.O_WRONLY)
    try:
        os.dup2(nothing, 2)
        without_terminal_signals(resource_tracker.ensure_running)
    finally:
        os.dup2(saved, 2)
        os.close(saved)
        os.close(nothing)


def without_terminal_signals(work):
    """work() in a thread that blocks the terminal's signals, so that every thread and process it
    starts (a local cluster's event loop, its worker processes) inherits them blocked: Ctrl+C
    reaches this process alone, which stops the rest. This thread meanwhile takes the signals."""
    box = {}

    def body():
        signal.pthread_sigmask(signal.SIG_BLOCK, TERMINAL_SIGNALS)
        try:
            box["value"] = work()
        except BaseException as e:  # handed to the waiting thread
            box["error"] = e

    thread = threading.Thread(target=body, daemon=True)
    thread.start()
    while thread.is_alive():
        thread.join(0.1)
    if "error" in box:
        raise box["error"]
    return box["value"]


class Cluster:
    """The cluster the runs go to: one reached through its scheduler, or a local one of worker
    processes that this program starts and stops."""

    def __init__(self, config):
        self.config = config
        self.client = self.local = self.folder = None
        self.address = config.scheduler
        self.workerless_since = None

    def start(self):
        quiet_dask()
        if self.address:
            self.client = reach(self.address, self.config.timeout)
        else:
            self.folder = tempfile.mkdtemp(prefix="bramblex-sweep-")
            quiet_resource_tracker()
            self.local, self.client = without_terminal_signals(self.start_local)
        self.check_workers()

    def start_local(self):
        import dask
        from distributed import Client, LocalCluster, Nanny
        from dask.utils import parse_timedelta
        ttl = min(parse_timedelta(dask.config.get("distributed.scheduler.worker-ttl") or "1 day"), LOCAL_WORKER_TTL)
        # The cluster's own upkeep takes CPU from the runs when every core runs one: the workers'
        # stack sampler (every 10 ms), the event loops' watchdog ticks (20 ms), system and memory
        # monitors and work stealing (the scheduler's queue already hands each worker its next
        # run). The nannies hand these settings to the worker processes they start.
        dask.config.set({"distributed.worker.profile.enabled": False,
                         "distributed.admin.tick.interval": "500ms",
                         "distributed.admin.system-monitor.interval": "2s",
                         "distributed.worker.memory.monitor-interval": "1s",
                         "distributed.scheduler.work-stealing": False,
                         "distributed.scheduler.worker-ttl": f"{ttl}s"})
        dashboard = self.config.dashboard

        # Every process of the cluster listens on this machine alone. Each one serves HTTP (health
        # and metrics, and the dashboard when it is asked for): on a port of 127.0.0.1 too.
        class LocalNanny(Nanny):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, **{**kwargs, "dashboard": dashboard, "dashboard_address": LOCAL_HTTP})
        workers = self.config.workers or len(os.sched_getaffinity(0))
        cluster = LocalCluster(n_workers=0, threads_per_worker=1, processes=True, host="127.0.0.1",
                               worker_class=LocalNanny, memory_limit=1 / workers,
                               dashboard_address=LOCAL_HTTP if dashboard else None,
                               scheduler_kwargs={"dashboard_address": LOCAL_HTTP},
                               silence_logs=logging.ERROR, local_directory=self.folder)
        # Started alongside, not waited for: the runs begin with the first worker up, and one that
        # hangs while starting holds up only itself.
        cluster.scale(workers)
        if self.config.dashboard:
            say(f"the Dask dashboard is at {cluster.dashboard_link}")
        return cluster, Client(cluster.scheduler_address)  # Client(cluster) would wait for every worker

    def threads(self):
        return sum(w["nthreads"] for w in self.client.scheduler_info()["workers"].values())

    def check_workers(self):
        """Waits for a first worker (--timeout at most, saying so, on a cluster of others); a
        worker that cannot import this package is named."""
        if self.address and not self.client.scheduler_info()["workers"]:
            say(f"waiting for workers: the scheduler at {self.address} has 0 (for {self.config.timeout:g} s, --timeout)")
        try:
            self.client.wait_for_workers(1, timeout=self.config.timeout if self.address else LOCAL_START)
        except TimeoutError:
            raise RuntimeError(f"no worker joined the scheduler at {self.address} within {self.config.timeout:g} s "
                               f"(--timeout)" if self.address else
                               f"no local worker started within {LOCAL_START:g} s") from None
        if self.address:
            self.check_imports()

    def watch_workers(self):
        """Says when the cluster has no workers, and gives up after --timeout without any."""
        count = len(self.client.scheduler_info()["workers"])
        if count:
            self.workerless_since = None
            return
        where = f"the scheduler at {self.address}" if self.address else "the local cluster"
        now = time.monotonic()
        if self.workerless_since is None:
            self.workerless_since = now
            say(f"waiting for workers: {where} has {count} (for {self.config.timeout:g} s, --timeout)")
        elif now - self.workerless_since > self.config.timeout:
            raise RuntimeError(f"no worker joined {where} within {self.config.timeout:g} s (--timeout)")

    def check_imports(self):
        """Each worker must import this package: a worker that cannot is named, with the fix."""
        info = self.client.scheduler_info()["workers"]
        answers = self.client.run(eval, "__import__('bramblex._bramblex') and None", on_error="return")
        for address, answer in answers.items():
            if isinstance(answer, BaseException):
                name = info.get(address, {}).get("name", address)
                folder = os.path.dirname(os.path.dirname(os.path.abspath(bramblex.__file__)))
                raise RuntimeError(
                    f"the worker {name} at {address} cannot import bramblex ({answer}): start it with "
                    f"PYTHONPATH={folder} (this program's bramblex), or install the module on its machine")

    def close(self):
        """Ends the cluster's part in this program: a local cluster's processes and folder at once
        (its runs are all in, or not wanted); a client leaves a cluster of others, within seconds."""
        client, self.client = self.client, None
        if client is not None and self.local is None:
            def leave():
                with contextlib.suppress(Exception):
                    client.close(timeout=3)
            thread = threading.Thread(target=leave, daemon=True)
            thread.start()
            thread.join(5)
        self.abandon()

    def abandon(self):
        """Ends at once what this program started: a local cluster's processes and folder."""
        if self.folder is None:
            return
        import multiprocessing.context
        import psutil
        from multiprocessing import resource_tracker
        logging.disable(logging.CRITICAL)

        # The cluster's threads go on until the program ends: a worker they would start now (a
        # nanny restarting a killed one, or the start-up still going on) is refused.
        def refuse(process):
            raise OSError("the sweep is ending")
        for kind in ("SpawnProcess", "ForkProcess", "ForkServerProcess"):
            if hasattr(multiprocessing.context, kind):
                getattr(multiprocessing.context, kind)._Popen = staticmethod(refuse)
        tracker = resource_tracker._resource_tracker._pid  # removes the workers' semaphores once all are gone
        for attempt in range(2):  # again for one whose start was under way
            for child in psutil.Process().children(recursive=True):
                try:
                    if child.pid != tracker:
                        child.kill()
                except psutil.Error:
                    pass
            time.sleep(0.05 * (1 - attempt))
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder = None


def reach(address, timeout):
    """A client of the scheduler at address: a refused connection is reported at once, one that
    is not answered after timeout seconds."""
    import socket
    from distributed import Client
    from distributed.comm.addressing import parse_address, parse_host_port
    try:
        scheme, where = parse_address(address)
        host, port = parse_host_port(where, 8786) if scheme in ("tcp", "tls") else (None, None)
    except (ValueError, TypeError):
        raise BadInput(f"--scheduler needs an address such as tcp://HOST:8786, not '{address}'") from None
    if host is not None:
        try:
            socket.create_connection((host, port), timeout=timeout).close()
        except socket.timeout:
            raise BadInput(f"the scheduler at {address} did not answer within {timeout:g} s (--timeout)") from None
        except OSError as e:
            raise BadInput(f"cannot reach the scheduler at {address}: {e.strerror or e}") from None
    try:
        return Client(address, timeout=timeout)
    except (OSError, ValueError, TypeError) as e:
        if "Timed out" in str(e):
            raise BadInput(f"the scheduler at {address} did not answer within {timeout:g} s (--timeout)") from None
        raise BadInput(f"cannot reach the scheduler at {address}: {e}") from None


def window(cluster):
    """Runs submitted or held ahead of the next one due: enough to keep every thread busy while
    the runs take different times, and no more, as each one's rows are held until written."""
    return 4 * cluster.threads() + 16


def run_failed(cluster, seed, settings, error):
    if isinstance(error, ImportError) and "bramblex" in str(error):
        cluster.check_imports()  # names the worker, when it is still there
    what = ", ".join([f"seed {seed}"] + [f"{name}={value}" for name, value in settings])
    return RuntimeError(f"the run of {what} failed: {error or type(error).__name__}")


def run_all(cluster, config, output, progress):
    """Every run's rows into output, in run order; the workers may finish in any order."""
    from distributed import as_completed
    client = cluster.client
    runs = enumerate(runs_of(config))
    pending = {}  # future: (run, seed, settings)
    held = {}  # run: its rows, finished ahead of their turn
    ready = as_completed(with_results=True, raise_errors=False)
    due = submitted = collected = 0
    progress.update(0)
    while due < config.runs:
        limit = min(due + window(cluster), config.runs)
        for run, (seed, settings) in itertools.islice(runs, max(limit - submitted, 0)):
            future = client.submit(run_one, seed, settings, config.generations, config.every, pure=False)
            pending[future] = (run, seed, settings)
            ready.add(future)
            submitted += 1
        batch = ready.next_batch(block=False)
        if not batch:
            cluster.watch_workers()
            time.sleep(0.05)
            continue
        for future, rows in batch:
            run, seed, settings = pending.pop(future)
            if future.status != "finished":
                raise run_failed(cluster, seed, settings, rows[1] if isinstance(rows, tuple) else rows)
            held[run] = csv_rows(seed, settings, rows)
            collected += 1
        while due in held:
            output.write(held.pop(due))
            due += 1
        progress.update(collected)


def stop_on_signals():
    def stop(signum, frame):
        raise Stopped(signum)
    for signum in STOP_SIGNALS:
        signal.signal(signum, stop)


def end_at_once_on_signals():
    # Stopping takes a moment; a second signal meanwhile ends the program at once.
    for signum in STOP_SIGNALS:
        signal.signal(signum, lambda signum, frame: os._exit(128 + signum))


def sweep(config):
    output = open_output(config.out)  # a named pipe waits here for its reader
    cluster, progress, started = Cluster(config), Progress(config.runs), time.monotonic()
    connected = started
    try:
        cluster.start()
        connected = time.monotonic()
        output.write(csv_fields(["seed"] + [name for name, _ in config.set]) + "," + bramblex.stats_header + "\n")
        run_all(cluster, config, output, progress)
        progress.finish()
        cluster.close()
        output.finish()
        if config.out != "-":
            print(f"{config.runs} runs of {config.generations} generations in {time.monotonic() - started:.1f} s "
                  f"({connected - started:.1f} s to start or reach the cluster); {printable(config.out)}")
        status = 0
    except BaseException as e:
        # Whatever stops the sweep leaves nothing behind: no partial output, no worker processes.
        progress.finish()
        output.discard()
        end_at_once_on_signals()
        cluster.close()
        if isinstance(e, ReaderGone):
            say(f"nothing reads {e} any more (SIGPIPE); the CSV of {config.runs} runs was cut short")
            status = 128 + signal.SIGPIPE
        elif isinstance(e, Stopped):
            say(f"stopped by {signal.Signals(e.signum).name} after {progress.done} of {config.runs} runs; "
                + (f"{output.name} has only part of the CSV" if getattr(output, "cut", False) else "nothing written"))
            status = 128 + e.signum
        elif isinstance(e, BadInput):
            say(e)
            status = 2
        else:
            say(str(e) or type(e).__name__)
            status = 1
    # Dask's threads may still wait on the cluster that was ended: the program ends without them.
    with contextlib.suppress(Exception):
        sys.stdout.flush()
    os._exit(status)


def main(args):
    stop_on_signals()
    try:
        return sweep(parse_arguments(args))
    except BadInput as e:
        say(e)
        return 2
    except Stopped as stop:
        say(f"stopped by {signal.Signals(stop.signum).name} before any run; nothing written")
        return 128 + stop.signum
    except Exception as e:  # an output that cannot be written: one line
        say(str(e) or type(e).__name__)
        return 1
