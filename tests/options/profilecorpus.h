#pragma once
// The profile corpus as made from its one hand-kept file, good/two-by-two.bx2: every other file of
// tests/data/profiles is that file with a few lines changed, the lines taken from the layout.
// profileload_test checks the files against this list; BRAMBLEX_REGENERATE_CORPUS=1 makes it
// write them instead (scripts/regenerate-corpus.sh).
#include <string>
#include <vector>

#include "options/optionfields.h"
#include "options/profilelayout.h"

namespace bx::test {

// A line of two-by-two.bx2, and an item on it from 1 (0: the whole line).
struct CorpusPlace {
    int line = 0;
    int item = 0;
};

struct CorpusEdit {
    enum Kind { Set, InsertBefore, Remove, EndBefore } kind;
    CorpusPlace at;
    std::string text = {}; // Set, InsertBefore: the line or item
};

struct CorpusProfile {
    std::string name; // under tests/data/profiles
    std::vector<CorpusEdit> edits;
    int messageLine = 0; // broken: the line its message names, when not the first edit's
    bool lfOnly = false;
};

// The place of an option's item (of a colour: of its component 0..2).
inline CorpusPlace optionItem(const char* name, int component = 0) {
    const OptionField& f = *findOptionField(name);
    return {f.place.lines[static_cast<std::size_t>(component)], f.place.item};
}
inline CorpusPlace ownItem(ProfileItem own) {
    const auto row = static_cast<std::size_t>(profileLineOf(own) - 1);
    int item = 1;
    while (profileLayout[row].items[static_cast<std::size_t>(item - 1)] != own)
        ++item;
    return {profileLineOf(own), item};
}
// Square (x, y) of the 2 x 2 grid, and one of its six items.
inline CorpusPlace squareItem(int x, int y, int item = 0) {
    return {profileSquareLine(x, y, 2), item};
}
inline CorpusPlace lineOf(ProfileLineKind kind) {
    return {profileLineOf(kind, 4), 0};
}

inline std::vector<CorpusProfile> corpusProfiles() {
    using E = CorpusEdit;
    using K = ProfileLineKind;
    const CorpusPlace version = lineOf(K::Version), gridSize = {optionItem("gridSizeX").line, 0};
    const std::string sq1 = "0.1234567,31.48116,254.9999,1E-05,0.5,1.5E-07",
                      sq2 = ".0000015,1e-5,2.5E+2,0.001,7,1.000000", sq3 = "00012,+3,0,.25,1.5e-07,255.0",
                      sq4 = " 9 , 8 ,7,,, ";
    return {
        {"good/older-version.bx2", {{E::Set, version, "\"2.0\""}}},
        {"good/two-by-two-lf-only.bx2", {}, 0, true},
        {"good/one-by-one.bx2",
         {{E::Set, gridSize, "1,1,4"},
          {E::Set, squareItem(1, 1), "4.5,4.25,4.125,0,0,1"},
          {E::Remove, squareItem(1, 2)},
          {E::Remove, squareItem(2, 1)},
          {E::Remove, squareItem(2, 2)}}},
        {"good/seven-digit-and-exponent-values.bx2",
         {{E::Set, squareItem(1, 1), sq1},
          {E::Set, squareItem(1, 2), sq2},
          {E::Set, squareItem(2, 1), sq3},
          {E::Set, squareItem(2, 2), sq4}},
         0,
         true},
        {"broken/empty-file.bx2", {{E::EndBefore, {1, 0}}}},
        {"broken/missing-version.bx2", {{E::EndBefore, version}}},
        {"broken/version-of-two-items.bx2", {{E::Set, version, "\"2.1\",\"2.2\""}}},
        {"broken/version-with-unclosed-quote.bx2", {{E::Set, version, "\"2.1"}}},
        {"broken/missing-empty-line-after-version.bx2", {{E::EndBefore, {version.line + 1, 0}}}},
        {"broken/colour-component-text.bx2", {{E::Set, optionItem("orgUserColour3", 1), "abc"}}},
        {"broken/colour-component-256.bx2", {{E::Set, optionItem("orgUserColour4", 0), "256"}}},
        {"broken/colour-line-binary-garbage.bx2",
         {{E::Set, {optionItem("envUserColour1", 1).line, 0}, std::string("\0\xff\x01,\x02", 5)}}},
        {"broken/colour-component-negative.bx2", {{E::Set, optionItem("orgUserColour5", 2), "-1"}}},
        {"broken/colour-component-fraction.bx2", {{E::Set, optionItem("envUserColour5", 0), "12.5"}}},
        {"broken/colour-mode-16-bit-overflow.bx2", {{E::Set, optionItem("organismColourMode"), "65537"}}},
        {"broken/colour-mode-9.bx2", {{E::Set, optionItem("organismColourMode"), "9"}}},
        {"broken/flag-yes.bx2", {{E::Set, optionItem("fullOrganisms"), "#YES#"}}},
        {"broken/slowdown-9.bx2", {{E::Set, optionItem("slowdown"), "9"}}},
        {"broken/missing-empty-item.bx2", {{E::Set, {profileLineOf(ProfileItem::Empty), 0}, "25,40"}}},
        {"broken/start-organisms-zero.bx2", {{E::Set, optionItem("startOrganisms"), "0"}}},
        {"broken/grid-size-16-bit-overflow.bx2", {{E::Set, optionItem("gridSizeX"), "40000"}}},
        {"broken/grid-size-fraction.bx2", {{E::Set, optionItem("gridSizeX"), "2.5"}}},
        {"broken/grid-size-negative.bx2", {{E::Set, optionItem("gridSizeY"), "-2"}}},
        {"broken/grid-size-zero.bx2", {{E::Set, optionItem("gridSizeX"), "0"}}},
        {"broken/start-mode-5.bx2", {{E::Set, optionItem("environmentStartMode"), "5"}}},
        {"broken/blank-option-line.bx2", {{E::InsertBefore, {gridSize.line + 1, 0}, ""}}},
        {"broken/growth-rate-300.bx2", {{E::Set, optionItem("growthRate"), "300"}}},
        {"broken/flag-number.bx2", {{E::Set, optionItem("promptOnDefaults"), "-1"}}},
        {"broken/count-32-bit-overflow.bx2", {{E::Set, ownItem(ProfileItem::Generation), "2147483648"}}},
        {"broken/count-huge.bx2",
         {{E::Set, ownItem(ProfileItem::OrganismCount), "99999999999999999999999999"}}},
        {"broken/negative-count.bx2", {{E::Set, ownItem(ProfileItem::EnvironmentCount), "-4"}}},
        {"broken/frequency-above-range.bx2", {{E::Set, optionItem("mutationFrequency"), "100000001"}}},
        {"broken/frequency-huge-exponent.bx2", {{E::Set, optionItem("mutationFrequency"), "1E400"}}},
        {"broken/frequency-infinity.bx2", {{E::Set, optionItem("asteroidFrequency"), "inf"}}},
        {"broken/missing-last-option-line.bx2", {{E::EndBefore, {optionItem("asteroidFrequency").line, 0}}}},
        {"broken/component-nan.bx2", {{E::Set, squareItem(1, 1, 1), "nan"}}},
        {"broken/component-text.bx2", {{E::Set, squareItem(1, 1, 2), "x"}}},
        {"broken/no-square-lines.bx2", {{E::EndBefore, squareItem(1, 1)}}},
        {"broken/quoted-component.bx2", {{E::Set, squareItem(1, 1, 1), "\"255\""}}},
        {"broken/square-of-five-items.bx2", {{E::Set, squareItem(1, 2), ",,255,255,255"}}},
        {"broken/square-of-seven-items.bx2", {{E::Set, squareItem(1, 2), ",,,255,255,255,"}}},
        {"broken/truncated-squares.bx2", {{E::EndBefore, squareItem(2, 1)}}},
        {"broken/component-256.bx2", {{E::Set, squareItem(2, 2, 6), "256"}}},
        {"broken/component-hex.bx2", {{E::Set, squareItem(2, 2, 3), "0x10"}}},
        {"broken/component-negative.bx2", {{E::Set, squareItem(2, 2, 3), "-0.5"}}},
        // Both grid sizes far beyond the four squares: the message names the first missing one.
        {"broken/hostile-grid-size.bx2",
         {{E::Set, gridSize, "30000,30000,1"}},
         profileSquareLine(1, 5, 30000)},
        {"broken/largest-16-bit-grid.bx2",
         {{E::Set, gridSize, "32767,32767,1"}},
         profileSquareLine(1, 5, 32767)},
        {"broken/no-closing-lines.bx2", {{E::EndBefore, lineOf(K::Closing)}}},
    };
}

// The text of a corpus profile made from the text of two-by-two.bx2.
inline std::string corpusText(const CorpusProfile& profile, const std::string& base) {
    std::vector<std::vector<std::string>> lines; // what stands for each line of the base
    for (std::size_t start = 0, end; (end = base.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back({base.substr(start, end - start)});
    std::size_t kept = lines.size();
    for (const CorpusEdit& e : profile.edits) {
        std::vector<std::string>& at = lines.at(static_cast<std::size_t>(e.at.line - 1));
        switch (e.kind) {
        case CorpusEdit::Set:
            if (e.at.item == 0) {
                at.at(0) = e.text;
                break;
            }
            {
                std::string& line = at.at(0);
                std::size_t from = 0;
                for (int i = 1; i < e.at.item; ++i)
                    from = line.find(',', from) + 1;
                const std::size_t to = line.find(',', from);
                line.replace(from, (to == std::string::npos ? line.size() : to) - from, e.text);
            }
            break;
        case CorpusEdit::InsertBefore:
            at.insert(at.begin(), e.text);
            break;
        case CorpusEdit::Remove:
            at.clear();
            break;
        case CorpusEdit::EndBefore:
            kept = static_cast<std::size_t>(e.at.line - 1);
            break;
        }
    }
    std::string text;
    for (std::size_t i = 0; i < kept; ++i)
        for (const std::string& line : lines[i])
            text += line + (profile.lfOnly ? "\n" : "\r\n");
    return text;
}

} // namespace bx::test
