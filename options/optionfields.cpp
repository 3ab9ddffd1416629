#include "optionfields.h"

#include <algorithm>
#include <stdexcept>
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
constexpr OptionControl choice{ControlKind::Choice, {}, {}};
constexpr OptionControl checkBox(std::string_view objectName) {
    return {ControlKind::CheckBox, objectName, {}};
}
constexpr OptionControl numberBox(std::string_view objectName, std::string_view sliderName = {}) {
    return {ControlKind::NumberBox, objectName, sliderName};
}
constexpr OptionControl startCount(std::string_view objectName, std::string_view sliderName) {
    return {ControlKind::StartCount, objectName, sliderName};
}
constexpr OptionControl gridWidth(std::string_view objectName, std::string_view sliderName) {
    return {ControlKind::GridSize, objectName, sliderName, ScreenSide::Width};
}
constexpr OptionControl gridHeight(std::string_view objectName, std::string_view sliderName) {
    return {ControlKind::GridSize, objectName, sliderName, ScreenSide::Height};
}

constexpr OptionField integerField(std::string_view name, int O::*member, int32_t minimum, int32_t maximum,
                                   ProfilePlace place, OptionControl control, std::string_view description) {
    return {name,    OptionKind::Integer, minimum, maximum, member, nullptr, nullptr, 0, place,
            control, description};
}

constexpr OptionField flagField(std::string_view name, bool O::*member, ProfilePlace place,
                                OptionControl control, std::string_view description) {
    return {name, OptionKind::Flag, 0, 1, nullptr, member, nullptr, 0, place, control, description};
}

constexpr OptionField colourField(std::string_view name, std::array<UserColour, 6> O::*member, int index,
                                  ProfilePlace place, std::string_view description) {
    return {name,       OptionKind::Colour,
            0,          255,
            nullptr,    nullptr,
            member,     index,
            place,      {ControlKind::Swatch, {}, {}},
            description};
}

// Every option, in the order of the record.
#define BX_FIELD_INTEGER(name, initial, minimum, maximum, reader, place, control, description)               \
    integerField(#name, &O::name, minimum, maximum, place, control, description),
#define BX_FIELD_FLAG(name, initial, reader, place, control, description)                                    \
    flagField(#name, &O::name, place, control, description),
#define BX_FIELD_COLOURS(name, place, description)                                                           \
    colourField(#name "1", &O::name, 0, place(1), description),                                              \
        colourField(#name "2", &O::name, 1, place(2), description),                                          \
        colourField(#name "3", &O::name, 2, place(3), description),                                          \
        colourField(#name "4", &O::name, 3, place(4), description),                                          \
        colourField(#name "5", &O::name, 4, place(5), description),                                          \
        colourField(#name "6", &O::name, 5, place(6), description),
constexpr std::array fields{BX_OPTIONS(BX_FIELD_INTEGER, BX_FIELD_FLAG, BX_FIELD_COLOURS)};
#undef BX_FIELD_INTEGER
#undef BX_FIELD_FLAG
#undef BX_FIELD_COLOURS

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

namespace {

template <class Member> const OptionField& rowOf(Member member, Member OptionField::*slot) {
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const OptionField& f) { return f.*slot == member; });
    if (member == nullptr || it == fields.end())
        throw std::invalid_argument("not an option");
    return *it;
}

} // namespace

const OptionField& optionOf(int SimulationOptions::*member) {
    return rowOf(member, &OptionField::integer);
}

const OptionField& optionOf(bool SimulationOptions::*member) {
    return rowOf(member, &OptionField::flag);
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

std::optional<std::string> refusedSetting(const OptionSettings& settings) {
    SimulationOptions scratch;
    for (const auto& [name, text] : settings)
        if (std::optional<std::string> error = setOptionFromText(scratch, name, text))
            return error;
    return std::nullopt;
}

void applySettings(SimulationOptions& options, const OptionSettings& settings) {
    for (const auto& [name, text] : settings)
        setOptionFromText(options, name, text);
}

} // namespace bx
