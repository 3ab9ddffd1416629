"""The bramblex module against bramblex-run, its errors, its arrays, its threads and its stub."""
import ast
import os
import pathlib
import signal
import subprocess
import threading
import time
import warnings
import zlib

import numpy as np
import pytest

import bramblex
from conftest import RUNNER, run_runner, runner_args

# A world that dies within a few generations and is reset, again and again.
DYING = {"gridSizeX": 3, "gridSizeY": 3, "environmentStartMode": 4, "startOrganisms": 1, "growthRate": 0,
         "decayRate": 255}
WORLDS = [  # seed, options, generations run as run(first), step(), run(rest)
    (1, {}, (20, 9)),
    (7, {"gridSizeX": 30, "growthRate": 5, "decayRate": 1}, (40, 19)),
    (3, {"gridSizeX": 12, "gridSizeY": 9, "environmentStartMode": 2, "mutationsOn": False,
         "organismColourMode": 3, "orgUserColour1": (255, 0, 128)}, (5, 30)),
    (4, DYING, (3, 6)),
    (5, {"gridSizeX": np.int64(12), "mutationsOn": np.bool_(False), "orgUserColour1": (np.uint8(255), 0, 128)},
     (5, 5)),
]


@pytest.mark.parametrize("seed,options,split", WORLDS)
def test_same_world_as_runner_new_and_continued(tmp_path, seed, options, split):
    sim = bramblex.Simulation(seed=seed, **options)
    sim.run(split[0])
    sim.step()
    sim.run(split[1])
    sim.save(str(tmp_path / "module.bx2"))
    generations = str(sum(split) + 1)
    run_runner(*runner_args(seed, options), "--generations", generations, "--stats", str(tmp_path / "r.csv"),
               "--save", str(tmp_path / "runner.bx2"), "--png", str(tmp_path / "r.png"), "--square-size", "3")
    assert sim.generations_run == sum(split) + 1
    assert sim.stats_csv() == (tmp_path / "r.csv").read_text()
    assert (tmp_path / "module.bx2").read_bytes() == (tmp_path / "runner.bx2").read_bytes()
    assert sim.picture(3) == (tmp_path / "r.png").read_bytes()
    assert sim.stats_frame().equals(__import__("pandas").read_csv(tmp_path / "r.csv"))
    assert {k: sim.options[k] for k in options} == options

    continued = bramblex.load(str(tmp_path / "module.bx2"), seed=seed + 1, growthRate=9)
    continued.run(15)
    run_runner(RUNNER, "--seed", str(seed + 1), "--profile", str(tmp_path / "runner.bx2"), "--set", "growthRate=9",
               "--generations", "15", "--stats", str(tmp_path / "c.csv"))
    assert continued.stats_csv() == (tmp_path / "c.csv").read_text()


def runner_refusal(setting):
    result = subprocess.run([RUNNER, "--generations", "0", "--set", setting], capture_output=True, text=True)
    assert result.returncode == 2
    return result.stderr.splitlines()[0]


@pytest.mark.parametrize("options,setting", [
    ({"growthRate": 1000}, "growthRate=1000"),
    ({"growthrate": 5}, "growthrate=5"),
    ({"mutationsOn": 1}, "mutationsOn=1"),
    ({"orgUserColour2": (1, 2)}, "orgUserColour2=1,2"),
    ({"mutationsOn": np.int64(1)}, "mutationsOn=1"),
    ({"growthRate": "\x1b[31m"}, "growthRate=\x1b[31m"),
])
def test_refused_options_raise_the_runners_message(options, setting):
    with pytest.raises(ValueError) as refused:
        bramblex.Simulation(seed=1, **options)
    assert runner_refusal(setting).endswith(": " + str(refused.value))


MISSING = "Cannot read the profile \"\\xFF\\xFE/missing\": No such file or directory"
ERRORS = [  # call(sim, folder), the error, its message (file names escaped)
    (lambda sim, tmp: sim.run(-1), ValueError, None),
    (lambda sim, tmp: sim.picture(0), ValueError, None),
    (lambda sim, tmp: sim.picture(129), ValueError, None),
    (lambda sim, tmp: sim.save(str(tmp)), OSError, None),
    (lambda sim, tmp: sim.save(str(tmp / "a\0b")), ValueError, "embedded null byte"),
    (lambda sim, tmp: sim.save(3), TypeError, None),
    (lambda sim, tmp: bramblex.load(str(tmp / "none.bx2")), OSError, None),
    (lambda sim, tmp: bramblex.load(str(tmp / "bad.bx2")), OSError, None),
    (lambda sim, tmp: bramblex.load(b"\xff\xfe/missing"), OSError, MISSING),
    (lambda sim, tmp: bramblex.load(tmp / "a\0b"), ValueError, "embedded null byte"),
    (lambda sim, tmp: bramblex.load(tmp / "good.bx2", growthRate=999), ValueError, "option growthRate must be"),
    (lambda sim, tmp: bramblex.load(tmp / "good.bx2", nope=1), ValueError, "unknown option name 'nope'"),
]


@pytest.mark.parametrize("call,error,message", ERRORS)
def test_errors(tmp_path, call, error, message):
    sim = bramblex.Simulation(seed=1, gridSizeX=5, gridSizeY=5)
    (tmp_path / "bad.bx2").write_text("not a profile\r\n")
    sim.save(str(tmp_path / "good.bx2"))
    with pytest.raises(error) as raised:
        call(sim, tmp_path)
    assert message is None or str(raised.value).startswith(message)
    assert not (tmp_path / "a").exists()


class PathLike:
    def __init__(self, path):
        self.path = path

    def __fspath__(self):
        return self.path


@pytest.mark.parametrize("path", [pathlib.Path("w.bx2"), b"w.bx2", PathLike("w.bx2"), PathLike(b"\xff.bx2"),
                                  os.fsdecode(b"\xff.bx2")])
def test_paths_are_taken_as_python_takes_them(in_tmp, path):
    sim = bramblex.Simulation(seed=1, gridSizeX=5, gridSizeY=5)
    sim.run(3)
    sim.save(path)
    assert bramblex.load(path).generation == sim.generation and len(os.listdir(".")) == 1


def test_a_profile_of_another_version_loads_with_an_escaped_warning(in_tmp):
    bramblex.Simulation(seed=1, gridSizeX=5, gridSizeY=5).save("w.bx2")
    lines = (in_tmp / "w.bx2").read_bytes().split(b"\r\n")
    lines[next(i for i, line in enumerate(lines) if line.startswith(b'"---')) + 1] = b'"\xff\x1b[31m"'
    (in_tmp / "\x1b]0;w.bx2").write_bytes(b"\r\n".join(lines))
    with pytest.warns(UserWarning) as warned:
        assert bramblex.load("\x1b]0;w.bx2").generation == 0
    message = str(warned[0].message)
    assert message.startswith("\\x1B]0;w.bx2 was saved by Bramblex \\xFF\\x1B[31m, this is ")
    runner = subprocess.run([RUNNER, "--profile", "\x1b]0;w.bx2", "--generations", "0"], capture_output=True,
                            text=True, check=True)
    assert runner.stderr.endswith(message.replace("loaded anyway", "loading it anyway\n"))


def png_pixels(png, width, height):
    """The RGB pixels of an unfiltered 8-bit PNG, as [y, x, channel]."""
    data, at = b"", 8
    while at < len(png):
        length = int.from_bytes(png[at:at + 4], "big")
        if png[at + 4:at + 8] == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    rows = np.frombuffer(zlib.decompress(data), np.uint8).reshape(height, 1 + 3 * width)
    return rows[:, 1:].reshape(height, width, 3)


def test_arrays_are_read_only_views_that_follow_the_world():
    sim = bramblex.Simulation(seed=5, gridSizeX=20, gridSizeY=30)
    sim.run(10)
    organisms, environment = sim.organisms, sim.environment
    for layer in (organisms, environment):
        assert layer.shape == (21, 31, 3) and layer.dtype == np.float64
        assert not layer.flags.writeable and not layer.flags.owndata and layer.base is sim
        with pytest.raises(ValueError):
            layer[1, 1, 0] = 1.0
    assert np.shares_memory(organisms, sim.organisms) and not np.shares_memory(organisms, environment)

    # The layout: at one pixel a square, the picture shows each present organism's colour.
    pixels = png_pixels(sim.picture(1), 20, 30)
    visible = organisms[1:, 1:].transpose(1, 0, 2)
    present = visible.sum(axis=2) > 0
    assert present.any() and (pixels[present] == np.rint(visible[present])).all()

    before = organisms.copy()
    sim.step()
    assert (organisms != before).any()


def test_views_outlive_a_dead_worlds_reset():
    sim = bramblex.Simulation(seed=1, **DYING)
    held = sim.organisms
    sim.run(8)
    assert "1\n" in [row[-2:] for row in sim.stats_csv().splitlines(True)]  # it was reset
    assert held.ctypes.data == sim.organisms.ctypes.data and (held == sim.organisms).all()


def test_run_lets_other_threads_run():
    busy, times, stamps = bramblex.Simulation(seed=2, gridSizeX=100, gridSizeY=100), {}, []

    def run():
        times["start"] = time.monotonic()
        busy.run(2000)
        times["end"] = time.monotonic()

    thread = threading.Thread(target=run)
    thread.start()
    while thread.is_alive():
        stamps.append(time.monotonic())
        time.sleep(0.001)
    middle = (times["start"] + times["end"]) / 2
    assert any(times["start"] < t < middle for t in stamps)  # this thread ran while the world did


def test_ctrl_c_stops_a_long_run_at_the_end_of_a_generation():
    sim = bramblex.Simulation(seed=1, gridSizeX=100, gridSizeY=100)
    threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
    with pytest.raises(KeyboardInterrupt):
        sim.run(10**9)
    assert 0 < sim.generations_run == len(sim.stats_csv().splitlines()) - 1


CORPUS = sorted((pathlib.Path(__file__).parent.parent / "data" / "profiles").glob("*/*.bx2"))


@pytest.mark.parametrize("grid", [{}, {"gridSizeX": 100}, {"gridSizeX": 100, "gridSizeY": 100},
                                  {"gridSizeX": 1, "gridSizeY": 1}, {"gridSizeX": 2, "gridSizeY": 1}], ids=str)
def test_every_corpus_profile_runs_in_the_grid_set_after_it_or_is_refused(grid):
    for path in CORPUS:
        if path.parent.name == "broken":
            with pytest.raises(OSError):
                bramblex.load(path, seed=1, **grid)
            continue
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # a profile of another version
            sim = bramblex.load(path, seed=1, **grid)
        sim.run(50)
        assert sim.generations_run == 50, path
        assert sim.organisms.shape == (sim.options["gridSizeX"] + 1, sim.options["gridSizeY"] + 1, 3), path


@pytest.mark.parametrize("make,seed,text", [  # each run 12 generations
    (lambda path: bramblex.Simulation(seed=7, gridSizeX=100), 7, "seed=7 100x50 generation=12"),
    (lambda path: bramblex.Simulation(), None, "seed=None 50x50 generation=12"),
    (lambda path: bramblex.load(path, seed=2**64 - 1), 2**64 - 1, "seed=18446744073709551615 30x20 generation=15"),
    (lambda path: bramblex.load(path), None, "seed=None 30x20 generation=15"),
])
def test_seed_and_repr(tmp_path, make, seed, text):
    saved = bramblex.Simulation(seed=1, gridSizeX=30, gridSizeY=20)
    saved.run(3)
    saved.save(tmp_path / "w.bx2")
    sim = make(tmp_path / "w.bx2")
    sim.run(12)
    assert sim.seed == seed and repr(sim) == f"<bramblex.Simulation {text}>"


def test_the_stub_declares_exactly_the_public_names(tmp_path):
    compiled = bramblex._bramblex
    stub_file = pathlib.Path(compiled.__file__).with_name("_bramblex.pyi")
    stub = ast.parse(stub_file.read_text())

    def public(names):
        return {name for name in names if not name.startswith("_") or name == "__version__"}

    def declared(statements):
        return public(s.target.id if isinstance(s, ast.AnnAssign) else s.name for s in statements
                      if isinstance(s, (ast.AnnAssign, ast.FunctionDef, ast.ClassDef)))

    python_names = {"sweep"}  # written in Python: sweep.py is its own stub
    assert declared(stub.body) == public(dir(compiled)) >= set(bramblex.__all__) - python_names | {"__version__"}
    for cls in (s for s in stub.body if isinstance(s, ast.ClassDef)):
        assert declared(cls.body) == public(dir(getattr(compiled, cls.name))), cls.name
    assert stub_file.with_name("py.typed").exists()
    # The version is the one the module writes into profiles.
    bramblex.Simulation(seed=1, gridSizeX=5, gridSizeY=5).save(tmp_path / "w.bx2")
    assert f'"{bramblex.__version__}"'.encode() in (tmp_path / "w.bx2").read_bytes().split(b"\r\n")
