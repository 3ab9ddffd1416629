// Writes a man page from its template, with the line "@SIMULATION_OPTIONS@" replaced by the
// option table in roff: one entry per option (rows with one description share an entry), its
// range and its default. Run at build time: manoptions TEMPLATE OUTPUT.
#include <fstream>
#include <iostream>
#include <iterator>
#include <span>
#include <string>

#include "optionfields.h"
#include "text/numbers.h"

namespace {

// A number as roff sets it: a minus sign, not a hyphen.
std::string roffNumber(int64_t v) {
    return v < 0 ? "\\-" + bx::formatInteger(-v) : bx::formatInteger(v);
}

std::string optionList() {
    const bx::SimulationOptions defaults;
    const std::span<const bx::OptionField> fields = bx::optionFields();
    std::string out;
    for (std::size_t i = 0; i < fields.size();) {
        std::size_t end = i + 1;
        while (end < fields.size() && fields[end].description == fields[i].description)
            ++end;
        const bx::OptionField& f = fields[i];
        out += end - i == 1 ? ".TP\n.B " : ".TP\n.BR ";
        for (std::size_t k = i; k < end; ++k) {
            if (k != i)
                out += " \", \" ";
            out += fields[k].name;
        }
        out += '\n';
        out += f.description;
        // A choice's description names its values.
        if (f.kind == bx::OptionKind::Integer && f.control.kind != bx::ControlKind::Choice)
            out += ", " + roffNumber(f.minimum) + " to " + roffNumber(f.maximum);
        out += " (default " + bx::optionText(defaults, f) + ").\n";
        i = end;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: manoptions TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string marker = "@SIMULATION_OPTIONS@\n";
    const std::size_t at = page.find(marker);
    if (!in || at == std::string::npos) {
        std::cerr << "manoptions: cannot read " << argv[1] << " or it has no " << marker;
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page.substr(0, at) << optionList() << page.substr(at + marker.size());
    out.close();
    if (!out) {
        std::cerr << "manoptions: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
