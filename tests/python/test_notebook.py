"""examples/sweep.ipynb runs from the first cell to the last, on the build's module."""
import pathlib

import nbformat
from nbclient import NotebookClient

NOTEBOOK = pathlib.Path(__file__).parents[2] / "examples" / "sweep.ipynb"


def test_the_sweep_notebook_runs(tmp_path, monkeypatch):
    # Jupyter's and IPython's own files go to the test's folder, not the home folder.
    for name in ("JUPYTER_RUNTIME_DIR", "JUPYTER_DATA_DIR", "IPYTHONDIR", "MPLCONFIGDIR"):
        monkeypatch.setenv(name, str(tmp_path / name.lower()))
    monkeypatch.setenv("MPLBACKEND", "module://matplotlib_inline.backend_inline")
    monkeypatch.setenv("PYDEVD_DISABLE_FILE_VALIDATION", "1")  # the kernel's debugger, on Python's frozen modules
    notebook = nbformat.read(NOTEBOOK, as_version=4)
    NotebookClient(notebook, timeout=300, kernel_name="python3",
                   resources={"metadata": {"path": str(tmp_path)}}).execute()
    outputs = [output for cell in notebook.cells if cell.cell_type == "code" for output in cell.outputs]
    assert not [output for output in outputs if output.output_type == "error"]
    assert sum("image/png" in output.get("data", {}) for output in outputs) == 2  # the plot and the world
