"""Shared helpers of the Python tests: the build's bramblex-run and bramblex-sweep (from ctest)."""
import os
import subprocess

import pytest

RUNNER = os.path.abspath(os.environ.get("BRAMBLEX_RUN", "build/bin/bramblex-run"))
SWEEP = os.path.abspath(os.environ.get("BRAMBLEX_SWEEP", "build/bin/bramblex-sweep"))


def runner_args(seed, options):
    args = [RUNNER, "--seed", str(seed)]
    for name, value in options.items():
        text = ",".join(map(str, value)) if isinstance(value, tuple) else str(value).lower()
        args += ["--set", f"{name}={text}"]
    return args


def run_runner(*args):
    return subprocess.run(args, capture_output=True, text=True, check=True)


def runner_rows(tmp_path, seed, options, generations):
    """bramblex-run's --stats rows (no header) for a new world."""
    stats = tmp_path / f"runner-{seed}.csv"
    run_runner(*runner_args(seed, options), "--generations", str(generations), "--stats", str(stats))
    return stats.read_text().splitlines()[1:]


@pytest.fixture
def in_tmp(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    return tmp_path
