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

constexpr OptionField integerField(std::string_view name, int O::*member, int32_t minimum, int32_t maximum) {
    return {name, OptionKind::Integer, minimum, maximum, member, nullptr, nullptr, 0};
}

constexpr OptionField flagField(std::string_view name, bool O::*member) {
    return {name, OptionKind::Flag, 0, 1, nullptr, member, nullptr, 0};
}

constexpr OptionField colourField(std::string_view name, std::array<UserColour, 6> O::*member, int index) {
    return {name, OptionKind::Colour, 0, 255, nullptr, nullptr, member, index};
}

constexpr std::array fields{
    integerField("gridSizeX", &O::gridSizeX, 1, 100),
    integerField("gridSizeY", &O::gridSizeY, 1, 100),
    integerField("startOrganisms", &O::startOrganisms, 1, 2000),
    flagField("fullOrganisms", &O::fullOrganisms),
    integerField("startEnvironments", &O::startEnvironments, 1, 2000),
    integerField("environmentStartMode", &O::environmentStartMode, 1, 4),
    integerField("growthRate", &O::growthRate, 0, 255),
    integerField("decayRate", &O::decayRate, 0, 255),
    integerField("environmentStartDecay", &O::environmentStartDecay, 0, 255),
    flagField("environmentBlending", &O::environmentBlending),
    flagField("blendOnOvertake", &O::blendOnOvertake),
    flagField("mutationsOn", &O::mutationsOn),
    integerField("mutationFrequency", &O::mutationFrequency, 0, 100000000),
    flagField("asteroidsOn", &O::asteroidsOn),
    integerField("asteroidFrequency", &O::asteroidFrequency, 0, 100000000),
    integerField("organismColourMode", &O::organismColourMode, 1, 3),
    integerField("environmentColourMode", &O::environmentColourMode, 1, 3),
    colourField("orgUserColour1", &O::orgUserColour, 0),
    colourField("orgUserColour2", &O::orgUserColour, 1),
    colourField("orgUserColour3", &O::orgUserColour, 2),
    colourField("orgUserColour4", &O::orgUserColour, 3),
    colourField("orgUserColour5", &O::orgUserColour, 4),
    colourField("orgUserColour6", &O::orgUserColour, 5),
    colourField("envUserColour1", &O::envUserColour, 0),
    colourField("envUserColour2", &O::envUserColour, 1),
    colourField("envUserColour3", &O::envUserColour, 2),
    colourField("envUserColour4", &O::envUserColour, 3),
    colourField("envUserColour5", &O::envUserColour, 4),
    colourField("envUserColour6", &O::envUserColour, 5),
    flagField("promptOnReset", &O::promptOnReset),
    flagField("promptOnDeath", &O::promptOnDeath),
    flagField("promptOnDefaults", &O::promptOnDefaults),
    flagField("promptOnSave", &O::promptOnSave),
    flagField("promptOnAccept", &O::promptOnAccept),
    integerField("slowdown", &O::slowdown, -5, 5),
};

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
