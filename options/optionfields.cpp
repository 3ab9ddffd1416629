#include "optionfields.h"

#include <algorithm>
#include <type_traits>

#include "text/numbers.h"
#include "text/strings.h"

namespace bx {
namespace {

// The 32-bit frequencies are reached through the same member-pointer type as the 16-bit fields.
static_assert(std::is_same_v<int32_t, int>);

using O = SimulationOptions;

constexpr int32_t largestFileGridSize = 32767;  // the file's grid sizes are 16-bit
constexpr int32_t largestFrequency = 100000000; // one chance in a hundred million

// Where a profile stores a value: its line (9..23) and item (from 1).
constexpr ProfilePlace at(int line, int item, int32_t largest = 0) {
    return {{line, 0, 0}, item, largest};
}
constexpr ProfilePlace notStored{};
// A user colour's three components: organisms' on lines 11, 9, 13; environments' on 14, 12, 10.
constexpr ProfilePlace orgColourAt(int item) {
    return {{11, 9, 13}, item, 0};
}
constexpr ProfilePlace envColourAt(int item) {
    return {{14, 12, 10}, item, 0};
}

constexpr OptionControl noControl{};
constexpr OptionControl choice{ControlKind::Choice, {}};
constexpr OptionControl checkBox(std::string_view objectName) {
    return {ControlKind::CheckBox, objectName};
}
constexpr OptionControl numberBox(OptionTextBox box, std::string_view objectName,
                                  ControlKind kind = ControlKind::NumberBox) {
    return {kind, objectName, box};
}

constexpr OptionField integerField(std::string_view name, int O::*member, int32_t minimum, int32_t maximum,
                                   ProfilePlace place, OptionControl control) {
    return {name, OptionKind::Integer, minimum, maximum, member, nullptr, nullptr, 0, place, control};
}

constexpr OptionField flagField(std::string_view name, bool O::*member, ProfilePlace place,
                                OptionControl control) {
    return {name, OptionKind::Flag, 0, 1, nullptr, member, nullptr, 0, place, control};
}

constexpr OptionField colourField(std::string_view name, std::array<UserColour, 6> O::*member, int index,
                                  ProfilePlace place) {
    return {name,  OptionKind::Colour,       0, 255, nullptr, nullptr, member, index,
            place, {ControlKind::Swatch, {}}};
}

using B = OptionTextBox;
using C = ControlKind;

// Every option, in the order of the record. Adding an option: a row here and its control.
constexpr std::array fields{
    integerField("gridSizeX", &O::gridSizeX, 1, largestGridSize, at(17, 1, largestFileGridSize),
                 numberBox(B::GridSizeX, "gridsizextext", C::GridSize)),
    integerField("gridSizeY", &O::gridSizeY, 1, largestGridSize, at(17, 2, largestFileGridSize),
                 numberBox(B::GridSizeY, "gridsizeytext", C::GridSize)),
    integerField("startOrganisms", &O::startOrganisms, 1, 2000, at(16, 2),
                 numberBox(B::StartOrganisms, "startorgtext", C::StartCount)),
    flagField("fullOrganisms", &O::fullOrganisms, at(15, 2), checkBox("fullorganisms")),
    integerField("startEnvironments", &O::startEnvironments, 1, 2000, at(16, 3),
                 numberBox(B::StartEnvironments, "startenvironmenttext", C::StartCount)),
    integerField("environmentStartMode", &O::environmentStartMode, StartRandom, StartNone, at(17, 3), choice),
    integerField("growthRate", &O::growthRate, 0, 255, at(19, 1), numberBox(B::GrowthRate, "growthratetext")),
    integerField("decayRate", &O::decayRate, 0, 255, at(18, 3), numberBox(B::DecayRate, "decayratetext")),
    integerField("environmentStartDecay", &O::environmentStartDecay, 0, 255, at(18, 2),
                 numberBox(B::EnvStartDecay, "envstartdecaytext")),
    flagField("environmentBlending", &O::environmentBlending, at(18, 1), checkBox("environmentblend")),
    flagField("blendOnOvertake", &O::blendOnOvertake, notStored, checkBox("blendonovertake")),
    flagField("mutationsOn", &O::mutationsOn, at(22, 1), checkBox("mutationcheck")),
    integerField("mutationFrequency", &O::mutationFrequency, 0, largestFrequency, at(22, 3),
                 numberBox(B::MutationFrequency, "mutationtext")),
    flagField("asteroidsOn", &O::asteroidsOn, at(22, 2), checkBox("asteroidscheck")),
    integerField("asteroidFrequency", &O::asteroidFrequency, 0, largestFrequency, at(23, 1),
                 numberBox(B::AsteroidFrequency, "asteroidstext")),
    integerField("organismColourMode", &O::organismColourMode, ColourRandom, ColourChoose, at(15, 3), choice),
    integerField("environmentColourMode", &O::environmentColourMode, ColourRandom, ColourChoose, notStored,
                 choice),
    colourField("orgUserColour1", &O::orgUserColour, 0, orgColourAt(1)),
    colourField("orgUserColour2", &O::orgUserColour, 1, orgColourAt(2)),
    colourField("orgUserColour3", &O::orgUserColour, 2, orgColourAt(3)),
    colourField("orgUserColour4", &O::orgUserColour, 3, orgColourAt(4)),
    colourField("orgUserColour5", &O::orgUserColour, 4, orgColourAt(5)),
    colourField("orgUserColour6", &O::orgUserColour, 5, orgColourAt(6)),
    colourField("envUserColour1", &O::envUserColour, 0, envColourAt(1)),
    colourField("envUserColour2", &O::envUserColour, 1, envColourAt(2)),
    colourField("envUserColour3", &O::envUserColour, 2, envColourAt(3)),
    colourField("envUserColour4", &O::envUserColour, 3, envColourAt(4)),
    colourField("envUserColour5", &O::envUserColour, 4, envColourAt(5)),
    colourField("envUserColour6", &O::envUserColour, 5, envColourAt(6)),
    flagField("promptOnReset", &O::promptOnReset, at(19, 3), checkBox("preset")),
    flagField("promptOnDeath", &O::promptOnDeath, at(19, 2), checkBox("pdeath")),
    flagField("promptOnDefaults", &O::promptOnDefaults, at(20, 2), checkBox("pdefault")),
    flagField("promptOnSave", &O::promptOnSave, at(20, 1), checkBox("psave")),
    flagField("promptOnAccept", &O::promptOnAccept, at(20, 3), noControl),
    integerField("slowdown", &O::slowdown, -5, 5, at(15, 1), noControl),
};

// The row of a number box; fields.size() when no row has it.
constexpr std::size_t textBoxRow(OptionTextBox box) {
    std::size_t row = 0;
    while (row < fields.size() && !(fields[row].control.hasTextBox() && fields[row].control.textBox == box))
        ++row;
    return row;
}

constexpr bool everyTextBoxHasItsRow() {
    for (int box = 0; box <= static_cast<int>(OptionTextBox::MutationFrequency); ++box)
        if (textBoxRow(static_cast<OptionTextBox>(box)) == fields.size())
            return false;
    return true;
}
static_assert(everyTextBoxHasItsRow());

// No two values in one place of a profile.
constexpr bool placesDiffer() {
    for (std::size_t a = 0; a < fields.size(); ++a)
        for (std::size_t b = a + 1; b < fields.size(); ++b)
            for (int la : fields[a].place.lines)
                for (int lb : fields[b].place.lines)
                    if (la != 0 && la == lb && fields[a].place.item == fields[b].place.item)
                        return false;
    return true;
}
static_assert(placesDiffer());

std::optional<int> parseInRange(std::string_view text, int32_t minimum, int32_t maximum) {
    const std::optional<int64_t> v = parseInteger(text);
    if (!v || *v < minimum || *v > maximum)
        return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<UserColour> parseColour(std::string_view text, int32_t minimum, int32_t maximum) {
    std::array<int, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::string_view::npos))
            return std::nullopt; // too few or too many components
        const std::optional<int> v = parseInRange(trimmed(text.substr(0, comma), " "), minimum, maximum);
        if (!v)
            return std::nullopt;
        parts[i] = *v;
        if (!last)
            text.remove_prefix(comma + 1);
    }
    return UserColour{parts[0], parts[1], parts[2]};
}

std::string refusal(const OptionField& field, std::string_view text) {
    return "option " + std::string(field.name) + " must be " + optionRangeText(field) + ", not '" +
           std::string(text) + "'";
}

} // namespace

std::span<const OptionField> optionFields() {
    return fields;
}

const OptionField* findOptionField(std::string_view name) {
    const auto it =
        std::find_if(fields.begin(), fields.end(), [name](const OptionField& f) { return f.name == name; });
    return it == fields.end() ? nullptr : &*it;
}

const OptionField& optionOfTextBox(OptionTextBox box) {
    return fields[textBoxRow(box)];
}

std::optional<std::string> setOptionFromText(SimulationOptions& options, std::string_view name,
                                             std::string_view text) {
    if (const OptionField* field = findOptionField(name))
        return setOptionFromText(options, *field, text);
    std::string message = "unknown option name '" + std::string(name) + "'";
    const auto near = std::find_if(fields.begin(), fields.end(),
                                   [name](const OptionField& f) { return equalsIgnoringCase(f.name, name); });
    if (near != fields.end())
        message += " (did you mean " + std::string(near->name) + "?)";
    return message;
}

std::optional<std::string> setOptionFromText(SimulationOptions& options, const OptionField& field,
                                             std::string_view text) {
    switch (field.kind) {
    case OptionKind::Integer:
        if (const std::optional<int> v = parseInRange(text, field.minimum, field.maximum)) {
            options.*field.integer = *v;
            return std::nullopt;
        }
        break;
    case OptionKind::Flag:
        if (text == "true" || text == "false") {
            options.*field.flag = text == "true";
            return std::nullopt;
        }
        break;
    case OptionKind::Colour:
        if (const std::optional<UserColour> c = parseColour(text, field.minimum, field.maximum)) {
            (options.*field.colours)[static_cast<std::size_t>(field.colourIndex)] = *c;
            return std::nullopt;
        }
        break;
    }
    return refusal(field, text);
}

void copyOption(SimulationOptions& to, const SimulationOptions& from, const OptionField& field) {
    switch (field.kind) {
    case OptionKind::Integer:
        to.*field.integer = from.*field.integer;
        break;
    case OptionKind::Flag:
        to.*field.flag = from.*field.flag;
        break;
    case OptionKind::Colour: {
        const auto k = static_cast<std::size_t>(field.colourIndex);
        (to.*field.colours)[k] = (from.*field.colours)[k];
        break;
    }
    }
}

std::string optionText(const SimulationOptions& options, const OptionField& field) {
    switch (field.kind) {
    case OptionKind::Integer:
        return formatInteger(options.*field.integer);
    case OptionKind::Flag:
        return options.*field.flag ? "true" : "false";
    case OptionKind::Colour: {
        const UserColour& c = (options.*field.colours)[static_cast<std::size_t>(field.colourIndex)];
        return formatInteger(c.red) + "," + formatInteger(c.green) + "," + formatInteger(c.blue);
    }
    }
    return {};
}

std::string optionRangeText(const OptionField& field) {
    const std::string range = formatInteger(field.minimum) + ".." + formatInteger(field.maximum);
    switch (field.kind) {
    case OptionKind::Integer:
        return "a whole number " + range;
    case OptionKind::Flag:
        return "true or false";
    case OptionKind::Colour:
        return "R,G,B with each component " + range;
    }
    return {};
}

} // namespace bx
