"""bramblex-sweep: every combination of option values with every seed, each run one Dask task.

Dask schedules the runs: a local cluster of worker processes, or any cluster reached through its
scheduler. A run is a pure function of its seed and options, so a run lost with its worker is run
again elsewhere with the same rows. The runs are made and submitted a window at a time as results
come in, and their rows go out in run order, so the program's memory does not grow with the sweep.

Plan lists the runs, in_order() is the engine (runs in, results out in run order); the command
(main) streams its results into a side file it can resume from, sweep() collects them into a
DataFrame for Python.
"""
import argparse
import contextlib
import csv
import functools
import io
import itertools
import json
import logging
import math
import os
import random
import re
import shutil
import signal
import stat
import sys
import tempfile
import threading
import time
import zlib
from typing import TYPE_CHECKING, Any, Callable, Iterable, Mapping, Optional

import bramblex
from bramblex._bramblex import Output

if TYPE_CHECKING:
    import pandas

PROGRAM = "bramblex-sweep"
LARGEST_SEED = 2**64 - 1
MOST_RUNS = 1_000_000
TIMEOUT = 5.0  # seconds: --timeout's default
FAILED_RUNS = 3  # exit status: the sweep ended, some runs failed
LOG_EVERY = 30.0  # seconds between progress lines off a terminal
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


class Values:
    """An option's values: listed ones and ranges, in the order given, as one indexable sequence
    that does not hold a range's values."""

    def __init__(self, parts):
        self.parts = parts  # each a list of texts or a range
        self.length = sum(len(part) for part in parts)

    def __len__(self):
        return self.length

    def __getitem__(self, index):
        for part in self.parts:
            if index < len(part):
                return str(part[index])
            index -= len(part)
        raise IndexError(index)

    def identity(self):
        return [[p.start, p.stop, p.step] if isinstance(p, range) else p for p in self.parts]


def parse_setting(text, kinds):
    """'growthRate=5,10,20' as ('growthRate', Values); a colour's values go by three, and a whole
    number's may be ranges FIRST:LAST[:STEP] (LAST included when the steps reach it)."""
    name, equals, values = text.partition("=")
    if not name or not equals or not values:
        raise BadInput(f"--set needs NAME=VALUE[,VALUE...], not '{text}'")
    items = values.split(",")
    if kinds.get(name) == "colour":
        if len(items) % 3:
            raise BadInput(f"--set {text}: {name} takes colours R,G,B, three numbers each")
        items = [",".join(items[i:i + 3]) for i in range(0, len(items), 3)]
    parts = []
    for item in items:
        match = re.fullmatch(r"(-?[0-9]+):(-?[0-9]+)(?::([0-9]+))?", item)
        if match and kinds.get(name) == "integer":
            first, last, step = int(match.group(1)), int(match.group(2)), int(match.group(3) or 1)
            if step < 1 or last < first:
                raise BadInput(f"--set {name}={item}: a range needs FIRST:LAST[:STEP], FIRST up to LAST, "
                               f"STEP 1 or more")
            for value in (first, last):
                if error := bramblex.option_error(name, str(value)):
                    raise BadInput(f"--set {name}={item}: {error}")
            parts.append(range(first, last + 1, step))
            continue
        if error := bramblex.option_error(name, item):
            raise BadInput(f"--set {name}={item}: {error}")
        if parts and isinstance(parts[-1], list):
            parts[-1].append(item)
        else:
            parts.append([item])
    return name, Values(parts)


class Plan:
    """The runs of a sweep in their order: every seed, each with every combination of the options'
    values (crossed, or paired element by element), or with a sample of them. A run is found from
    its number, so that nothing grows with the number of runs but a sample's choice."""

    def __init__(self, seeds, settings, paired=False, sample=None, sample_seed=0):
        self.seeds, self.names = seeds, [name for name, _ in settings]
        self.values = [values for _, values in settings]
        lengths = [len(values) for values in self.values]
        if paired and len(set(lengths)) > 1:
            raise BadInput("--zip needs as many values in every --set: "
                           + ", ".join(f"{name} has {n}" for name, n in zip(self.names, lengths)))
        self.paired = paired
        self.combinations = (lengths[0] if lengths else 1) if paired else math.prod(lengths)
        self.chosen = None
        if sample is not None:
            if sample > self.combinations:
                raise BadInput(f"--sample {sample} is more than the {self.combinations} combinations of the "
                               f"--set values")
            self.chosen = random.Random(sample_seed).sample(range(self.combinations), sample)
        self.per_seed = sample if sample is not None else self.combinations
        self.count = sum(last - first + 1 for first, last in seeds) * self.per_seed

    def combination(self, index):
        if self.chosen is not None:
            index = self.chosen[index]
        if self.paired:
            return [(name, values[index]) for name, values in zip(self.names, self.values)]
        picked = []
        for name, values in reversed(list(zip(self.names, self.values))):  # the last option varies fastest
            index, at = divmod(index, len(values))
            picked.append((name, values[at]))
        return picked[::-1]

    def runs(self, start=0):
        """(seed, [(name, value), ...]) of every run from the start-th on."""
        skip, within = divmod(start, self.per_seed)
        for first, last in self.seeds:
            if skip > last - first:
                skip -= last - first + 1
                continue
            for seed in range(first + skip, last + 1):
                for index in range(within, self.per_seed):
                    yield seed, self.combination(index)
                within = 0
            skip = 0


def positive(text):
    if not re.fullmatch(r"[0-9]+", text) or int(text) < 1:
        raise argparse.ArgumentTypeError(f"needs a whole number 1 or more, not '{text}'")
    return int(text)


def whole(text):
    if not re.fullmatch(r"[0-9]+", text) or len(text) > 20 or int(text) > LARGEST_SEED:
        raise argparse.ArgumentTypeError(f"needs a whole number 0 to {LARGEST_SEED}, not '{text}'")
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
                        help="an option of bramblex-run --set and the values to try (repeatable); a whole "
                             "number's may be ranges FIRST:LAST[:STEP]")
    parser.add_argument("--zip", action="store_true",
                        help="pair the --set lists element by element instead of crossing them")
    parser.add_argument("--sample", type=positive, action=Once, metavar="N",
                        help="N combinations of the --set values drawn at random, not every one")
    parser.add_argument("--sample-seed", type=whole, default=0, action=Once, metavar="SEED",
                        help="the seed of --sample's draw (default 0)")
    parser.add_argument("--generations", type=positive, default=100, action=Once,
                        help="generations per run (default 100)")
    parser.add_argument("--every", type=positive, default=1, action=Once,
                        help="keep every N-th generation's row (default 1)")
    parser.add_argument("--summary", action="store_true",
                        help="one row per run: generations, final counts and mean colours, first reset, resets")
    parser.add_argument("--save-worlds", metavar="DIR", action=Once,
                        help="keep each run's final world as a profile in DIR, named by seed and values")
    parser.add_argument("--pictures", metavar="DIR", action=Once,
                        help="keep each run's final picture (PNG) in DIR, named by seed and values")
    parser.add_argument("--square-size", type=positive, default=4, action=Once, metavar="N",
                        help="pixels per square edge of --pictures, 1..128 (default 4)")
    parser.add_argument("--out", required=True, action=Once,
                        help="the CSV file, compressed when its name ends in .gz (- for standard output)")
    parser.add_argument("--resume", action="store_true",
                        help="continue the sweep stopped while writing --out, from its side file")
    parser.add_argument("--run-timeout", type=seconds, action=Once, metavar="SECONDS",
                        help="stop a run after this long and list it as failed (default: none)")
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
    if config.square_size > 128:
        raise BadInput(f"--square-size needs 1..128 pixels, not {config.square_size}")
    for folder in (config.save_worlds, config.pictures):
        if folder is not None and not os.path.isdir(folder):
            raise BadInput(f"'{folder}' is not a folder (--save-worlds and --pictures write into one)")
    config.plan = Plan(config.seeds, config.set, config.zip, config.sample, config.sample_seed)
    config.runs = config.plan.count
    if config.runs > MOST_RUNS:
        raise BadInput(f"--seeds and --set make {config.runs} runs, more than a sweep takes ({MOST_RUNS})")
    return config


def _has_module(name):
    import importlib.util
    return importlib.util.find_spec(name) is not None


class Failed:
    """A run stopped at its time limit: how far it came."""

    def __init__(self, generation, reason):
        self.generation, self.reason = generation, reason


def run_world(seed, settings, generations, timeout=None):
    """The world of seed and settings run for generations, or Failed once timeout seconds have
    gone by. A limited run goes in steps of about a tenth of a second, which give the same world."""
    sim = bramblex.Simulation(seed=seed, **dict(settings))
    if timeout is None:
        sim.run(generations)
        return sim
    started = time.monotonic()
    done, step = 0, 1
    while done < generations:
        if time.monotonic() - started > timeout:
            return Failed(done, f"stopped after {timeout:g} s (--run-timeout)")
        begun = time.monotonic()
        sim.run(min(step, generations - done))
        done += min(step, generations - done)
        if time.monotonic() - begun < 0.05:
            step *= 2
    return sim


SUMMARY_HEADER = "generations," + bramblex.stats_header.split(",", 1)[1].rsplit(",", 1)[0] + ",first_reset,resets"


def summary_line(rows, generations):
    """A run's one line of --summary from its --stats rows: the generations run, the last row's
    counts and mean colours, the generation of the first reset (empty when none) and the resets."""
    rows = rows.splitlines()
    resets = [row.split(",", 1)[0] for row in rows if row.rsplit(",", 1)[1] != "0"]
    last = rows[-1].split(",")
    return ",".join([str(generations), *last[1:-1], resets[0] if resets else "", str(len(resets))]) + "\n"


def run_one(seed, settings, generations, every, timeout=None, summary=False, world=False, square_size=None):
    """One world's bramblex-run --stats lines of every every-th generation (or its --summary
    line), as one text: a single string crosses to the client far cheaper than a list of thousands.
    With world or square_size: (text, {".bx2": its final profile, ".png": its final picture})."""
    sim = run_world(seed, settings, generations, timeout)
    if isinstance(sim, Failed):
        return sim
    rows = sim.stats_csv().split("\n", 1)[1]  # without the header
    if summary:
        text = summary_line(rows, generations)
    elif every == 1:
        text = rows
    else:
        text = "".join(row + "\n" for row in rows.splitlines() if int(row.split(",", 1)[0]) % every == 0)
    if not world and square_size is None:
        return text
    files = {}
    if world:
        with tempfile.TemporaryDirectory() as folder:  # the profile is written on the worker's machine
            sim.save(os.path.join(folder, "world.bx2"))
            with open(os.path.join(folder, "world.bx2"), "rb") as f:
                files[".bx2"] = f.read()
    if square_size is not None:
        files[".png"] = sim.picture(square_size)
    return text, files


def run_file_name(seed, settings):
    """A run's files' name: seed-7_growthRate-5_orgUserColour1-255.0.0"""
    return "_".join([f"seed-{seed}"] + [f"{name}-{value.replace(',', '.')}" for name, value in settings])


def run_summary(seed, settings, generations, summary, timeout=None):
    sim = run_world(seed, settings, generations, timeout)
    return sim if isinstance(sim, Failed) else dict(summary(sim))


def csv_fields(fields):
    text = io.StringIO()
    csv.writer(text, lineterminator="").writerow(fields)
    return text.getvalue()


def csv_rows(seed, settings, rows):
    prefix = csv_fields([seed] + [value for _, value in settings]) + ","
    return "".join(prefix + row + "\n" for row in rows.splitlines())


class Progress:
    """Runs done of the total, the time taken and the time left: a bar on a terminal's stderr,
    otherwise a line every LOG_EVERY seconds, for a batch job's log. Runs done before a resumed
    sweep count as done but not in the time left."""

    def __init__(self, total, stream=sys.stderr, clock=time.monotonic):
        self.total, self.stream, self.clock = total, stream, clock
        self.shown = stream.isatty()
        self.started = self.logged = clock()
        self.done = self.first = 0

    def update(self, done):
        if done == self.first:
            self.started = self.logged = self.clock()  # the runs' time, not the cluster's start
        self.done = done
        if self.shown:
            filled = 40 * done // self.total
            self.stream.write(f"\r[{'#' * filled}{' ' * (40 - filled)}] {self.text()} ")
            self.stream.flush()
        else:
            self.tick()

    def start(self, done):
        self.first = done
        self.update(done)

    def tick(self):
        """A line in a log when it is time for one."""
        if not self.shown and self.clock() - self.logged >= LOG_EVERY:
            self.logged = self.clock()
            self.stream.write(f"{PROGRAM}: {self.text()}\n")
            self.stream.flush()

    def text(self):
        elapsed = self.clock() - self.started
        ran = self.done - self.first
        left = clock(elapsed / ran * (self.total - self.done)) if ran else "?"
        return f"{self.done} / {self.total} runs, {clock(elapsed)} elapsed, {left} left"

    def finish(self):
        if self.shown:
            self.stream.write("\r" + " " * 100 + "\r")
            self.stream.flush()


def clock(seconds):
    seconds = int(seconds + 0.5)
    return f"{seconds // 3600}:{seconds // 60 % 60:02}:{seconds % 60:02}"


class FileOutput:
    """A file written whole. The rows go, in run order, into a side file beside it (NAME.partial),
    with NAME.partial.json saying which sweep they are of and how far they go; once every run is in,
    they are copied into the file's temporary file, which is renamed into place. A sweep stopped
    in any way leaves the side files, from which --resume continues."""

    def __init__(self, path, identity, resume):
        self.file = Output(path)
        self.path, self.identity = path, identity
        self.side, self.state = path + ".partial", path + ".partial.json"
        self.runs, self.size, self.failures, self.saved = 0, 0, [], time.monotonic()
        state = self.read_state()
        if state is not None and not resume:
            self.file.discard()
            raise BadInput(f"'{self.side}' holds {state['runs']} runs of an unfinished sweep: --resume "
                           f"continues it, or remove it and '{self.state}'")
        if state is not None and state["sweep"] != identity:
            self.file.discard()
            raise BadInput(f"'{self.side}' is of another sweep (other seeds, options, generations, "
                           f"sampling, --run-timeout or version): --resume needs the same command")
        try:
            self.rows = os.fdopen(os.open(self.side, os.O_RDWR | os.O_CREAT | os.O_NOFOLLOW | os.O_CLOEXEC, 0o644),
                                  "r+b")
            if os.fstat(self.rows.fileno()).st_uid != os.getuid():
                self.rows.close()
                raise OSError("it belongs to another user")
        except OSError as e:
            self.file.discard()
            raise OSError(f"cannot write '{self.side}': {e.strerror or e}") from None
        if state is not None:
            self.runs, self.size, self.failures = state["runs"], state["bytes"], state["failures"]
            if os.fstat(self.rows.fileno()).st_size < self.size:
                self.rows.close()
                self.file.discard()
                raise BadInput(f"'{self.side}' is shorter than '{self.state}' says: it cannot be resumed")
        self.rows.truncate(self.size)  # rows written after the last state are written again
        self.rows.seek(self.size)

    def read_state(self):
        try:
            with open(self.state, "rb") as f:
                state = json.load(f)
            if not isinstance(state, dict) or set(state) != {"sweep", "runs", "bytes", "failures"}:
                raise ValueError
            return state
        except FileNotFoundError:
            return None
        except (OSError, ValueError) as e:
            self.file.discard()
            reason = getattr(e, "strerror", None) or "not a sweep state"
            raise BadInput(f"cannot read '{self.state}': {reason}") from None

    def write(self, text):
        self.rows.write(text.encode())

    def ran(self, failure=None):
        """One more run is written (or has failed): its rows are in the side file at once, the state
        follows every second."""
        self.rows.flush()
        self.runs += 1
        if failure is not None:
            self.failures.append(failure)
        if time.monotonic() - self.saved >= 1:
            self.save()

    def save(self):
        self.rows.flush()
        os.fsync(self.rows.fileno())
        self.size = self.rows.tell()
        saving = self.state + ".new"
        fd = os.open(saving, os.O_WRONLY | os.O_CREAT | os.O_TRUNC | os.O_NOFOLLOW | os.O_CLOEXEC, 0o644)
        with os.fdopen(fd, "w") as f:
            json.dump({"sweep": self.identity, "runs": self.runs, "bytes": self.size, "failures": self.failures}, f)
            f.flush()
            os.fsync(f.fileno())
        os.replace(saving, self.state)
        self.saved = time.monotonic()

    def finish(self):
        self.rows.flush()
        self.rows.seek(0)
        # gzip's header carries no time or name: a resumed sweep's file equals one never stopped.
        packer = zlib.compressobj(6, zlib.DEFLATED, 31) if self.path.endswith(".gz") else None
        while chunk := self.rows.read(1 << 20):
            self.file.write(packer.compress(chunk) if packer else chunk)
        self.file.commit(packer.flush() if packer else b"")
        self.rows.close()
        for name in (self.side, self.state):
            with contextlib.suppress(FileNotFoundError):
                os.remove(name)

    def discard(self):
        """Keeps what is done for --resume; with nothing done, leaves nothing."""
        self.file.discard()
        if self.rows.closed:
            return
        if self.runs:
            self.save()
            self.rows.close()
            return
        self.rows.close()
        for name in (self.side, self.state):
            with contextlib.suppress(FileNotFoundError):
                os.remove(name)


class StreamOutput:
    """Standard output, a named pipe or a device: the rows wait in an unnamed temporary file and go out once
    every run is in. Waits here (opening a pipe that nothing reads yet, writing to a slow reader)
    end with a signal, as Python retries an interrupted call only when its handler returns."""

    def __init__(self, path):
        self.name = "standard output" if path == "-" else f"'{path}'"
        self.fd = 1 if path == "-" else os.open(path, os.O_WRONLY | os.O_CLOEXEC | os.O_NOCTTY)
        self.rows = tempfile.TemporaryFile()
        self.cut = False  # part of the text went out
        self.runs, self.failures = 0, []

    def write(self, text):
        self.rows.write(text.encode())

    def ran(self, failure=None):
        self.runs += 1
        if failure is not None:
            self.failures.append(failure)

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


def open_output(config, identity):
    path = config.out
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
    if path == "-" or (target is not None and not stat.S_ISREG(target.st_mode)):  # a pipe, a device
        if config.resume:
            raise BadInput("--resume needs --out to name a file: a stream's rows are not kept")
        try:
            return StreamOutput(path)
        except OSError as e:
            raise OSError(f"cannot write '{path}': {e.strerror or e}") from None
    return FileOutput(path, identity, config.resume)


def failures_path(out):
    """Where the failed runs of the output out are listed: results.csv, results.failures.csv."""
    return (out[:-4] if out.endswith(".csv") else out) + ".failures.csv"


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
                         "distributed.scheduler.worker-ttl": f"{ttl}s",
                         # The scheduler runs in this process: its logs of every task's transitions
                         # would grow with the sweep.
                         "distributed.scheduler.transition-log-length": 1000,
                         "distributed.scheduler.events-log-length": 1000,
                         "distributed.admin.log-length": 1000})
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
        if "Timed out" in str(e) or isinstance(e, TimeoutError):  # a loaded machine's may say nothing
            raise BadInput(f"the scheduler at {address} did not answer within {timeout:g} s (--timeout)") from None
        raise BadInput(f"cannot reach the scheduler at {address}: {e}") from None


def window(cluster):
    """Runs submitted or held ahead of the next one due: enough to keep every thread busy while
    the runs take different times, and no more, as each one's result is held until written."""
    return 4 * cluster.threads() + 16


def run_failed(cluster, seed, settings, error):
    if isinstance(error, ImportError) and "bramblex" in str(error):
        cluster.check_imports()  # names the worker, when it is still there
    return RuntimeError(f"the run of {describe(seed, settings)} failed: {error or type(error).__name__}")


def describe(seed, settings):
    return ", ".join([f"seed {seed}"] + [f"{name}={value}" for name, value in settings])


def in_order(client, plan, task, start=0, ahead=lambda: 64, idle=lambda: None, failed=None):
    """(seed, settings, result) of every run of plan from the start-th on, in run order, where
    result is task(seed, settings) as a worker returned it; the workers may finish in any order.
    Runs are submitted as results come in, ahead() at most beyond the next one due, so that
    neither the runs submitted nor the results held grow with the sweep. A task that raised
    ends the sweep with failed(seed, settings, error), or the error itself."""
    from distributed import as_completed
    runs = plan.runs(start)
    pending = {}  # future: (run, seed, settings)
    held = {}  # run: (seed, settings, result), finished ahead of its turn
    ready = as_completed(with_results=True, raise_errors=False)
    due = submitted = start
    try:
        while due < plan.count:
            limit = min(due + ahead(), plan.count)
            for seed, settings in itertools.islice(runs, max(limit - submitted, 0)):
                # Earlier runs first, a lost worker's too: the rows after them wait for them.
                future = client.submit(task, seed, settings, pure=False, priority=-submitted)
                pending[future] = (submitted, seed, settings)
                ready.add(future)
                submitted += 1
            batch = ready.next_batch(block=False)
            if not batch:
                idle()
                time.sleep(0.05)
                continue
            for future, result in batch:
                run, seed, settings = pending.pop(future)
                if future.status != "finished":
                    error = result[1] if isinstance(result, tuple) else result
                    raise failed(seed, settings, error) if failed else error
                held[run] = (seed, settings, result)
            while due in held:
                yield held.pop(due)
                due += 1
    finally:
        if pending and client.status == "running":
            with contextlib.suppress(Exception):
                client.cancel(list(pending))


def run_all(cluster, config, output, progress):
    """Every run's rows into output, in run order, from the first that output does not hold."""
    task = functools.partial(run_one, generations=config.generations, every=config.every,
                             timeout=config.run_timeout, summary=config.summary,
                             world=config.save_worlds is not None,
                             square_size=config.square_size if config.pictures is not None else None)
    folders = {".bx2": config.save_worlds, ".png": config.pictures}

    def idle():
        cluster.watch_workers()
        progress.tick()
    progress.start(output.runs)
    for seed, settings, result in in_order(cluster.client, config.plan, task, output.runs, lambda: window(cluster),
                                           idle, lambda *failure: run_failed(cluster, *failure)):
        if isinstance(result, Failed):
            say(f"the run of {describe(seed, settings)} {result.reason} at generation {result.generation}")
            output.ran([seed, *[value for _, value in settings], result.generation, result.reason])
        else:
            if isinstance(result, tuple):
                result, files = result
                for ending, data in files.items():
                    kept = Output(os.path.join(folders[ending], run_file_name(seed, settings) + ending))
                    kept.commit(data)
            output.write(csv_rows(seed, settings, result))
            output.ran()
        progress.update(output.runs)


def identity_of(config):
    """What makes a sweep's rows: a side file resumes only the same sweep."""
    return json.loads(json.dumps({
        "version": bramblex.__version__, "seeds": config.seeds,
        "set": [[name, values.identity()] for name, values in config.set], "zip": config.zip,
        "sample": config.sample, "sample_seed": config.sample_seed, "generations": config.generations,
        "every": config.every, "run_timeout": config.run_timeout, "summary": config.summary}))


def write_failures(config, failures):
    """The failed runs' list beside the output: seed, swept options, generation reached, reason."""
    out = Output(failures_path(config.out))
    out.write(csv_fields(["seed"] + [name for name, _ in config.set] + ["generation", "reason"]) + "\n")
    out.commit("".join(csv_fields(failure) + "\n" for failure in failures))


def stop_on_signals():
    def stop(signum, frame):
        raise Stopped(signum)
    for signum in STOP_SIGNALS:
        signal.signal(signum, stop)


def end_at_once_on_signals():
    # Stopping takes a moment; a second signal meanwhile ends the program at once.
    for signum in STOP_SIGNALS:
        signal.signal(signum, lambda signum, frame: os._exit(128 + signum))


def command(config):
    output = open_output(config, identity_of(config))  # a named pipe waits here for its reader
    cluster, progress, started = Cluster(config), Progress(config.runs), time.monotonic()
    connected = started
    try:
        cluster.start()
        connected = time.monotonic()
        if output.runs == 0:
            output.write(csv_fields(["seed"] + [name for name, _ in config.set]) + ","
                         + (SUMMARY_HEADER if config.summary else bramblex.stats_header) + "\n")
        run_all(cluster, config, output, progress)
        progress.finish()
        cluster.close()
        if config.run_timeout is not None and isinstance(output, FileOutput):
            write_failures(config, output.failures)
        output.finish()
        failed = len(output.failures)
        if config.out != "-":
            print(f"{config.runs} runs of {config.generations} generations in {time.monotonic() - started:.1f} s "
                  f"({connected - started:.1f} s to start or reach the cluster); {printable(config.out)}"
                  + (f"; {failed} failed, listed in {printable(failures_path(config.out))}"
                     if failed and isinstance(output, FileOutput) else ""))
        status = FAILED_RUNS if failed else 0
    except BaseException as e:
        # Whatever stops the sweep leaves no partial output and no worker processes; the runs
        # done stay in the side file.
        progress.finish()
        with contextlib.suppress(Exception):
            output.discard()
        end_at_once_on_signals()
        cluster.close()
        kept = (f"{output.runs} runs kept in {printable(output.side)}, --resume continues"
                if isinstance(output, FileOutput) and output.runs else "nothing written")
        if isinstance(e, ReaderGone):
            say(f"nothing reads {e} any more (SIGPIPE); the CSV of {config.runs} runs was cut short")
            status = 128 + signal.SIGPIPE
        elif isinstance(e, Stopped):
            say(f"stopped by {signal.Signals(e.signum).name} after {output.runs} of {config.runs} runs; "
                + (f"{output.name} has only part of the CSV" if getattr(output, "cut", False) else kept))
            status = 128 + e.signum
        elif isinstance(e, BadInput):
            say(e)
            status = 2
        else:
            say(f"{str(e) or type(e).__name__}" + (f"; {kept}" if kept != "nothing written" else ""))
            status = 1
    # Dask's threads may still wait on the cluster that was ended: the program ends without them.
    with contextlib.suppress(Exception):
        sys.stdout.flush()
    os._exit(status)


def main(args):
    stop_on_signals()
    try:
        return command(parse_arguments(args))
    except BadInput as e:
        say(e)
        return 2
    except Stopped as stop:
        say(f"stopped by {signal.Signals(stop.signum).name} before any run; nothing written")
        return 128 + stop.signum
    except Exception as e:  # an output that cannot be written: one line
        say(str(e) or type(e).__name__)
        return 1


def option_text(name, value):
    """A Python option value as --set takes it: True as true, (255, 0, 0) as 255,0,0."""
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, tuple):
        return ",".join(str(int(part)) for part in value)
    return str(value)


def seed_ranges(seeds):
    """Whole-number seeds in the order given as (first, last) ranges of consecutive ones."""
    ranges = []
    for seed in seeds:
        seed = int(seed)
        if not 0 <= seed <= LARGEST_SEED:
            raise ValueError(f"a seed is a whole number 0..{LARGEST_SEED}, not {seed}")
        if ranges and ranges[-1][1] + 1 == seed:
            ranges[-1] = (ranges[-1][0], seed)
        else:
            ranges.append((seed, seed))
    return ranges


def sweep(seeds: Iterable[int], options: Mapping[str, Any], generations: int, every: int = 1,
          summary: Optional[Callable[["bramblex.Simulation"], Mapping[str, Any]]] = None, client: Any = None,
          run_timeout: Optional[float] = None) -> "pandas.DataFrame":
    """Runs a world for every seed with every combination of the options' values, each run one
    Dask task, and returns a pandas DataFrame: bramblex-sweep's rows (seed, the options, then
    bramblex-run's --stats columns of every every-th generation), in the same order.

    seeds: whole numbers (a range, a list). options: option name: one value, or a list (or range)
    of values to cross with the others; values as Simulation takes them (colours as (r, g, b)
    tuples, read back as "r,g,b" text). summary: a function of the finished Simulation, run on the
    workers, whose dict becomes the run's one row after its seed and options (then no --stats
    rows). client: a distributed.Client; None starts a local cluster of one worker process a core
    for the call. run_timeout: seconds after which a run is stopped and left out; the frame's
    attrs["failed"] lists such runs (seed, options, generation reached).
    """
    import pandas
    from distributed import Client, LocalCluster
    settings, originals = [], {}
    for name, given in options.items():
        values = list(given) if isinstance(given, (list, range)) else [given]
        texts = [option_text(name, value) for value in values]
        for text in texts:
            if error := bramblex.option_error(name, text):
                raise ValueError(error)
        settings.append((name, Values([texts])))
        originals[name] = dict(zip(texts, values))
    plan = Plan(seed_ranges(seeds), settings)
    if summary is None:
        task = functools.partial(run_one, generations=generations, every=every, timeout=run_timeout)
    else:
        task = functools.partial(run_summary, generations=generations, summary=summary, timeout=run_timeout)
    names = [name for name, _ in settings]
    with contextlib.ExitStack() as stack:
        if client is None:
            workers = len(os.sched_getaffinity(0))
            cluster = stack.enter_context(LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                                       host="127.0.0.1", dashboard_address=None,
                                                       memory_limit=1 / workers, silence_logs=logging.ERROR,
                                                       local_directory=stack.enter_context(
                                                           tempfile.TemporaryDirectory(prefix="bramblex-sweep-"))))
            client = stack.enter_context(Client(cluster))

        def failed(seed, settings, error):
            return RuntimeError(f"the run of {describe(seed, settings)} failed: {error or type(error).__name__}")
        text, rows, failures = io.StringIO(), [], []
        text.write(csv_fields(["seed"] + names) + "," + bramblex.stats_header + "\n")
        def ahead():
            return 4 * sum(client.nthreads().values()) + 16
        for seed, values, result in in_order(client, plan, task, ahead=ahead, failed=failed):
            picked = {name: originals[name][value] for name, value in values}
            if isinstance(result, Failed):
                failures.append({"seed": seed, **picked, "generation": result.generation})
            elif summary is None:
                text.write(csv_rows(seed, values, result))
            else:
                rows.append({"seed": seed, **picked, **result})
    frame = pandas.read_csv(io.StringIO(text.getvalue())) if summary is None else pandas.DataFrame(
        rows, columns=None if rows else ["seed"] + names)
    frame.attrs["failed"] = failures
    return frame
