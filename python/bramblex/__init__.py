"""Bramblex worlds from Python.

    import bramblex
    sim = bramblex.Simulation(seed=7, gridSizeX=100, growthRate=5)
    sim.run(500)
    sim                             # <bramblex.Simulation seed=7 100x50 generation=500>
    sim.stats_frame().plot(x="generation", y="organisms")

Options go by the names bramblex-run --set takes; the same seed and options give the same world
as bramblex-run, bit for bit. sim.environment and sim.organisms are read-only numpy views of the
layers, indexed [column, row, channel] (red, green, blue), column 0 and row 0 unused.
help(bramblex.Simulation) describes every property and method; the package carries type stubs.
bramblex.sweep(seeds, options, generations) runs many worlds on a Dask cluster into a DataFrame.
"""
from ._bramblex import Simulation, __version__, load, option_error, option_kinds, stats_header
from .sweep import sweep  # the function: bramblex.sweep(...); the module stays bramblex.sweep in sys.modules

__all__ = ["Simulation", "load", "option_error", "option_kinds", "stats_header", "sweep"]
