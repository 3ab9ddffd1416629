// The Python module's C++ part, bramblex._bramblex: translates between Python and World.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <map>
#include <stdexcept>
#include <string>

#include "options/atomicfile.h"
#include "options/optionfields.h"
#include "python/world.h"
#include "record/stats.h"
#include "text/strings.h"

namespace py = pybind11;
using bx::py::World;

namespace {

// Runs fn on the world with the world held and the interpreter free for other threads.
template <class Fn> auto withWorld(World& world, Fn&& fn) {
    py::gil_scoped_release released;
    std::lock_guard lock(world.mutex());
    return fn();
}

// numpy's bools count as Python's, if numpy is in use at all.
bool isBool(py::handle value) {
    if (py::isinstance<py::bool_>(value))
        return true;
    const py::dict modules = py::module_::import("sys").attr("modules");
    return modules.contains("numpy") && py::isinstance(value, modules["numpy"].attr("bool_"));
}

// An option's value as its text: a flag as true/false, a colour from three numbers, a whole number
// (numpy's too) by its value, anything else by its str(), so that the option table judges every
// value as --set would.
std::string optionText(py::handle value) {
    if (isBool(value))
        return py::bool_(value.cast<py::object>()) ? "true" : "false";
    if (py::isinstance<py::tuple>(value) || py::isinstance<py::list>(value)) {
        std::string text;
        for (py::handle part : value)
            text += (text.empty() ? "" : ",") + optionText(part);
        return text;
    }
    if (PyIndex_Check(value.ptr())) {
        const auto number = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!number)
            throw py::error_already_set();
        return py::str(number);
    }
    return py::str(value);
}

bx::py::Settings settingsOf(const py::kwargs& options) {
    bx::py::Settings settings;
    for (const auto& [key, value] : options)
        settings.emplace_back(key.cast<std::string>(), optionText(value));
    return settings;
}

py::dict optionsDict(const World& world) {
    py::dict options;
    for (const bx::OptionField& f : bx::optionFields()) {
        const bx::SimulationOptions& o = world.options();
        py::object value;
        if (f.kind == bx::OptionKind::Integer) {
            value = py::int_(o.*f.integer);
        } else if (f.kind == bx::OptionKind::Flag) {
            value = py::bool_(o.*f.flag);
        } else {
            const bx::UserColour& c = (o.*f.colours)[static_cast<std::size_t>(f.colourIndex)];
            value = py::make_tuple(c.red, c.green, c.blue);
        }
        options[py::str(std::string(f.name))] = value;
    }
    return options;
}

// A read-only array over a layer's cells, without a copy: [column, row, channel]. It keeps the
// Simulation alive; the grid keeps its storage across resets of the same size.
py::array layerView(py::object self, const bx::Grid& grid) {
    const auto columns = static_cast<py::ssize_t>(grid.sizeX()) + 1;
    const auto rows = static_cast<py::ssize_t>(grid.sizeY()) + 1;
    constexpr auto channel = static_cast<py::ssize_t>(sizeof(double));
    py::array view(py::dtype::of<double>(), {columns, rows, py::ssize_t{3}},
                   {rows * 3 * channel, 3 * channel, channel}, grid.cells(), self);
    py::detail::array_proxy(view.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return view;
}

// On the main thread a long run listens for Ctrl+C: the signal handlers are looked at about ten
// times a second, at the end of a generation. Other threads get no signals to look for.
std::function<bool()> interruptCheck() {
    const py::module_ threading = py::module_::import("threading");
    if (!threading.attr("current_thread")().is(threading.attr("main_thread")()))
        return {};
    auto last = std::chrono::steady_clock::now();
    return [last]() mutable {
        const auto now = std::chrono::steady_clock::now();
        if (now - last < std::chrono::milliseconds(100))
            return false;
        last = now;
        py::gil_scoped_acquire held;
        return PyErr_CheckSignals() != 0;
    };
}

void runWorld(World& world, int64_t generations) {
    if (generations < 0)
        throw py::value_error("generations must be 0 or more, not " + std::to_string(generations));
    const std::function<bool()> interrupted = interruptCheck();
    if (withWorld(world, [&] { return world.run(generations, interrupted); }))
        throw py::error_already_set();
}

py::bytes picture(World& world, int squareSize) {
    if (squareSize < 1 || squareSize > bx::py::maxSquareSize)
        throw py::value_error("square_size must be a whole number 1.." +
                              std::to_string(bx::py::maxSquareSize) + ", not " + std::to_string(squareSize));
    return py::bytes(withWorld(world, [&] { return world.picturePng(squareSize); }));
}

// Messages name files, and a file's name may hold anything: passed on escaped, as bramblex-run
// shows them.
[[noreturn]] void raiseOSError(const std::string& message) {
    PyErr_SetString(PyExc_OSError, bx::printableText(message).c_str());
    throw py::error_already_set();
}

// A path-like argument (str, bytes, os.PathLike) as the bytes the system takes, a str encoded as
// os.fsencode does. A NUL would cut the name short: refused, as Python's own file functions do.
std::string filePath(const py::object& path) {
    std::string bytes = py::bytes(py::module_::import("os").attr("fsencode")(path));
    if (bytes.find('\0') != std::string::npos)
        throw py::value_error("embedded null byte");
    return bytes;
}

void save(World& world, const py::object& pathArgument) {
    const std::string path = filePath(pathArgument);
    if (const std::string error = withWorld(world, [&] { return world.save(path); }); !error.empty())
        raiseOSError(error);
}

// A refused option raises ValueError, a profile not loaded OSError.
std::unique_ptr<World> makeWorld(std::optional<uint64_t> seed, const py::kwargs& options,
                                 const std::optional<std::string>& profilePath) {
    const bx::py::Settings settings = settingsOf(options);
    if (std::optional<std::string> error = bx::py::refusedSetting(settings))
        throw py::value_error(bx::printableText(*error));
    try {
        return std::make_unique<World>(seed, settings, profilePath);
    } catch (const std::runtime_error& e) {
        raiseOSError(e.what());
    }
}

std::unique_ptr<World> loadWorld(const py::object& pathArgument, std::optional<uint64_t> seed,
                                 const py::kwargs& options) {
    const std::string path = filePath(pathArgument);
    std::unique_ptr<World> world = makeWorld(seed, options, path);
    if (world->savedVersion() != world->options().versionString) {
        const std::string warning = bx::printableText(path) + " was saved by Bramblex " +
                                    bx::printableText(world->savedVersion()) + ", this is " +
                                    world->options().versionString + "; loaded anyway";
        if (PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 1) != 0)
            throw py::error_already_set();
    }
    return world;
}

// A file written whole, for bramblex-sweep's results: opened (and so checked) before the runs,
// renamed into place by commit(); dropped unwritten otherwise.
class Output {
public:
    explicit Output(const std::string& path)
        : file_(std::make_unique<bx::AtomicFile>(path, bx::AtomicFile::PipeReader::Wait)) {
        if (!file_->ok())
            raiseOSError("cannot write '" + path + "': " + file_->error());
    }
    // Appends text, so that a long result need not be held whole; errors show in commit().
    void write(const std::string& text) {
        if (!file_)
            throw std::logic_error("the output was discarded");
        file_->stream() << text;
    }
    void commit(const std::string& text) {
        write(text);
        if (const std::string reason = file_->commit(); !reason.empty())
            raiseOSError("cannot write '" + file_->target() + "': " + reason);
    }
    void discard() { file_.reset(); }

private:
    std::unique_ptr<bx::AtomicFile> file_;
};

// The documentation help() shows; pybind11 puts each function's signature above its text.
constexpr const char* simulationDoc =
    R"(One Bramblex world, run as bramblex-run runs it: hidden, a dead world reset and run on.

Simulation(seed=None, **options) makes a new world; load() continues a saved one. The same seed
and options give the same world as bramblex-run --seed with --set, bit for bit.

Several threads may share one simulation: each call has it to itself while it runs.)";

constexpr const char* initDoc = R"(A new world from the default options and those given.

seed: a whole number 0..2**64-1; None seeds the world from the clock (it cannot be repeated).
options: bramblex-run's --set names (option_kinds() lists them): integers as int, flags as bool,
colours as (red, green, blue) 0..255; numpy's integers and bools count as Python's.

Raises ValueError with bramblex-run's message for an unknown name or a value out of range,
TypeError for a seed that is not a whole number 0..2**64-1.)";

constexpr const char* runDoc = R"(Runs until `generations` more generations have ended (0 or more).

A dead world is reset and run on, as bramblex-run does. Other Python threads run meanwhile (the
GIL is released). On the main thread Ctrl+C stops the run at the end of a generation and raises
KeyboardInterrupt. Raises ValueError for a negative count.)";

constexpr const char* seedDoc = R"(The seed the simulation was made or loaded with (int), or None.

None when no seed was given: the world then draws from the clock and cannot be repeated. A profile
holds no seed, so load(path) without one gives None.)";

constexpr const char* generationDoc = R"(The world's generation (int), as the main window counts it.

Generations ended since the world was created, going on from a loaded profile's; back to 0 when
a dead world is reset.)";

constexpr const char* generationsRunDoc = R"(Generations ended since this object was made (int).

run(n) adds n, across resets; the rows of stats_csv() are these generations.)";

constexpr const char* organismCountDoc =
    "Squares that hold an organism (int), as the main window shows at the end of each generation.";

constexpr const char* environmentCountDoc =
    "Squares that hold environment (int), as the main window shows at the end of each generation.";

constexpr const char* optionsDoc = R"(Every option by its --set name (dict), a new dict each time.

Integers as int, flags as bool, colours as (red, green, blue) tuples. Changing the dict changes
nothing: options are given when the simulation is made or loaded.)";

constexpr const char* layerDoc = R"( layer as a read-only numpy array of float64.

Indexed [column, row, channel], shape (gridSizeX + 1, gridSizeY + 1, 3), channels red, green and
blue 0..255; column 0 and row 0 are not part of the world. A view, not a copy: it follows the
world as it runs and keeps the simulation alive.)";

const std::string environmentDoc = std::string("The environment") + layerDoc;
const std::string organismsDoc = std::string("The organism") + layerDoc;

constexpr const char* statsCsvDoc =
    R"(The text bramblex-run --stats writes for the generations run so far (str).

A header line (stats_header), then one line a generation: generation, counts, mean colours of
each layer and whether the world was reset.)";

constexpr const char* pictureDoc = R"(The world as PNG bytes, painted as bramblex-run --png paints it.

square_size: pixels per square edge, 1..128; ValueError outside.)";

constexpr const char* saveDoc =
    R"(Writes the simulation as a profile, as bramblex-run --save does; load() continues it.

path: str, bytes or os.PathLike. Raises OSError naming the file when it cannot be written,
ValueError for a NUL in the name.)";

constexpr const char* loadDoc =
    R"(Continues the profile at path as a new Simulation, as bramblex-run --profile does.

path: str, bytes or os.PathLike. seed: as for Simulation(). options: applied after the profile's
own, as --set is. Warns (UserWarning) when the profile was saved by another version. Raises
OSError naming the file when it cannot be read or is not a profile, ValueError for a refused
option or a NUL in the name.)";

int32_t generationOf(World& world) {
    return withWorld(world, [&] { return world.state().generation; });
}

// <bramblex.Simulation seed=7 100x100 generation=120>
std::string describe(World& world) {
    const std::optional<uint64_t> seed = world.seed();
    const bx::SimulationOptions& o = world.options();
    return "<bramblex.Simulation seed=" + (seed ? std::to_string(*seed) : std::string("None")) + " " +
           std::to_string(o.gridSizeX) + "x" + std::to_string(o.gridSizeY) +
           " generation=" + std::to_string(generationOf(world)) + ">";
}

// Simulation and load().
void bindSimulation(py::module_& m) {
    py::class_<World>(m, "Simulation", simulationDoc)
        .def(py::init([](std::optional<uint64_t> seed, const py::kwargs& options) {
                 return makeWorld(seed, options, std::nullopt);
             }),
             py::arg("seed") = py::none(), initDoc)
        .def("__repr__", &describe,
             "<bramblex.Simulation seed=7 100x100 generation=120>: the seed (None when none was given), "
             "columns x rows and the generation.")
        .def("run", &runWorld, py::arg("generations"), runDoc)
        .def(
            "step", [](World& w) { runWorld(w, 1); }, "Runs one generation: run(1).")
        .def_property_readonly(
            "seed", [](const World& w) { return w.seed(); }, seedDoc)
        .def_property_readonly("generation", &generationOf, generationDoc)
        .def_property_readonly(
            "organism_count", [](World& w) { return withWorld(w, [&] { return w.host().organisms(); }); },
            organismCountDoc)
        .def_property_readonly(
            "environment_count",
            [](World& w) { return withWorld(w, [&] { return w.host().environments(); }); },
            environmentCountDoc)
        .def_property_readonly(
            "generations_run",
            [](World& w) { return withWorld(w, [&] { return w.host().generationsEnded(); }); },
            generationsRunDoc)
        .def_property_readonly(
            "options", [](World& w) { return optionsDict(w); }, optionsDoc)
        .def_property_readonly(
            "environment",
            [](py::object self) { return layerView(self, self.cast<World&>().state().envGrid); },
            environmentDoc.c_str())
        .def_property_readonly(
            "organisms", [](py::object self) { return layerView(self, self.cast<World&>().state().orgGrid); },
            organismsDoc.c_str())
        .def(
            "stats_csv", [](World& w) { return withWorld(w, [&] { return w.statsCsv(); }); }, statsCsvDoc)
        .def(
            "stats_frame",
            [](World& w) {
                const std::string text = withWorld(w, [&] { return w.statsCsv(); });
                return py::module_::import("pandas").attr("read_csv")(
                    py::module_::import("io").attr("StringIO")(text));
            },
            "stats_csv() read into a pandas DataFrame (pandas is imported on the first call).")
        .def("picture", &picture, py::arg("square_size") = 8, pictureDoc)
        .def("save", &save, py::arg("path"), saveDoc);
    m.def("load", &loadWorld, py::arg("path"), py::arg("seed") = py::none(), loadDoc);
}

// What bramblex-sweep needs besides a world: checking options, its output file, the CSV header.
void bindSweepHelpers(py::module_& m) {
    m.def(
        "option_error",
        [](const std::string& name, const std::string& text) {
            return bx::py::refusedSetting({{name, text}});
        },
        "Why the option table refuses the setting name=text (text as --set takes it): bramblex-run's "
        "message, or None when it takes it.");
    m.def(
        "option_kinds",
        [] {
            std::map<std::string, std::string> kinds;
            for (const bx::OptionField& f : bx::optionFields())
                kinds[std::string(f.name)] = f.kind == bx::OptionKind::Integer ? "integer"
                                             : f.kind == bx::OptionKind::Flag  ? "flag"
                                                                               : "colour";
            return kinds;
        },
        "Every option name (dict key) with its kind: 'integer', 'flag' or 'colour' (red,green,blue).");
    py::class_<Output>(m, "Output",
                       "A file bramblex-sweep writes whole: opened (and so checked) at once, put in place by "
                       "commit(), left unwritten by discard(). OSError names a file not written.")
        .def(py::init([](const py::object& path) { return std::make_unique<Output>(filePath(path)); }),
             py::arg("path"), "Opens path (str, bytes or os.PathLike) for writing.")
        .def("write", &Output::write, py::arg("text"), "Appends text.")
        .def("commit", &Output::commit, py::arg("text"), "Appends text and puts the file in place.")
        .def("discard", &Output::discard, "Drops what was written; the file is left as it was.");
    m.attr("stats_header") = bx::statsCsvHeader();
}

} // namespace

PYBIND11_MODULE(_bramblex, m) {
    m.doc() = "Bramblex worlds driven from Python, as bramblex-run drives them (the package bramblex shows "
              "its names)";
    m.attr("__version__") = BRAMBLEX_VERSION;
    bindSimulation(m);
    bindSweepHelpers(m);
}
