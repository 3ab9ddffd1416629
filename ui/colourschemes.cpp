#include "colourschemes.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalBlocker>

namespace bx {

int32_t packedColour(const UserColour& c) {
    return c.red + 256 * c.green + 65536 * c.blue;
}

UserColour unpackedColour(int32_t packed) {
    return {redOf(packed), greenOf(packed), blueOf(packed)};
}

SwatchButton::SwatchButton(const QString& name) {
    setObjectName(name);
    setFixedSize(28, 24);
    setColour(0);
}

void SwatchButton::setColour(int32_t packed) {
    colour_ = packed;
    const UserColour c = unpackedColour(packed);
    // A style sheet keeps the colour visible on a disabled button, as the palette would not.
    setStyleSheet(QString("QPushButton { background-color: rgb(%1, %2, %3); border: 1px solid #606060; }"
                          "QPushButton:disabled { border: 1px solid #b0b0b0; }")
                      .arg(c.red)
                      .arg(c.green)
                      .arg(c.blue));
}

ColourSchemeBox::ColourSchemeBox(const char* frameName, bool organisms, ColourPicker& picker)
    : QGroupBox("Colo&urs"), picker_(picker) {
    setObjectName(frameName);
    auto* layout = new QGridLayout(this);
    // A scheme's handler runs when it becomes selected; clicking the selected one again keeps
    // the colours the user picked.
    for (const ColourScheme& scheme : colourSchemes()) {
        auto* button =
            new QRadioButton(QString::fromUtf8(scheme.caption.data(), qsizetype(scheme.caption.size())));
        const std::string_view name = organisms ? scheme.orgButton : scheme.envButton;
        button->setObjectName(QString::fromUtf8(name.data(), qsizetype(name.size())));
        layout->addWidget(button, static_cast<int>(schemeButtons.size()), 0, 1, 3);
        connect(button, &QRadioButton::toggled, this, [this, mode = scheme.mode](bool on) {
            if (on)
                schemeSelected(mode);
        });
        schemeButtons.push_back(button);
    }
    setFocusProxy(schemeButtons.front());
    const int firstSwatchRow = static_cast<int>(schemeButtons.size());
    const QString prefix = organisms ? "org" : "env";
    for (int k = 0; k < 6; ++k) {
        swatches[k] = new SwatchButton(prefix + "colorsuser" + QString::number(k + 1));
        swatches[k]->setEnabled(false);
        layout->addWidget(swatches[k], firstSwatchRow + k / 3, k % 3);
        connect(swatches[k], &QPushButton::clicked, this, [this, k] { pickSwatchColour(swatches[k]); });
    }
    layout->setRowStretch(firstSwatchRow + 2, 1);
    layout->setColumnStretch(3, 1);
}

int ColourSchemeBox::selectedScheme() const {
    for (std::size_t k = 0; k < schemeButtons.size(); ++k)
        if (schemeButtons[k]->isChecked())
            return colourSchemes()[k].mode;
    return 0;
}

namespace {

// The button of the first scheme that picks `pick` (the user cycle's, for a lost mode).
std::size_t rowOfPick(ColourPick pick) {
    const std::span<const ColourScheme> schemes = colourSchemes();
    std::size_t row = 0;
    while (row + 1 < schemes.size() && schemes[row].pick != pick)
        ++row;
    return row;
}

} // namespace

void ColourSchemeBox::showScheme(int mode) {
    const ColourScheme* scheme = colourSchemeOf(mode);
    if (!scheme) {
        // Radio buttons cannot all be off in an exclusive group: lift it for the moment.
        QRadioButton* user = schemeButtons[rowOfPick(ColourPick::UserCycle)];
        const QSignalBlocker quiet(user);
        user->setAutoExclusive(false);
        user->setChecked(false);
        user->setAutoExclusive(true);
        return;
    }
    QRadioButton* button = schemeButtons[static_cast<std::size_t>(scheme - colourSchemes().data())];
    {
        const QSignalBlocker quiet(button);
        button->setChecked(true);
    }
    schemeSelected(mode);
}

void ColourSchemeBox::schemeSelected(int mode) {
    const ColourScheme* scheme = colourSchemeOf(mode);
    const bool usersOwn = scheme && scheme->pick == ColourPick::UserCycle;
    setSwatchColours(scheme ? swatchColoursOf(*scheme) : std::array<UserColour, 6>{});
    for (SwatchButton* s : swatches)
        s->setEnabled(usersOwn && schemeButtons.front()->isEnabled());
}

void ColourSchemeBox::showStoredSwatches(const std::array<UserColour, 6>& stored) {
    if (const ColourScheme* scheme = colourSchemeOf(selectedScheme()))
        setSwatchColours(scheme->pick == ColourPick::UserCycle ? stored : swatchColoursOf(*scheme));
}

std::array<UserColour, 6> ColourSchemeBox::swatchColours() const {
    std::array<UserColour, 6> colours;
    for (int k = 0; k < 6; ++k)
        colours[k] = unpackedColour(swatches[k]->colour());
    return colours;
}

void ColourSchemeBox::setSwatchColours(const std::array<UserColour, 6>& colours) {
    for (int k = 0; k < 6; ++k)
        swatches[k]->setColour(packedColour(colours[k]));
}

void ColourSchemeBox::setSchemeEnabled(bool enabled) {
    for (QRadioButton* b : schemeButtons)
        b->setEnabled(enabled);
    const ColourScheme* scheme = colourSchemeOf(selectedScheme());
    for (SwatchButton* s : swatches)
        s->setEnabled(enabled && scheme && scheme->pick == ColourPick::UserCycle);
}

void ColourSchemeBox::pickSwatchColour(SwatchButton* swatch) {
    if (const std::optional<int32_t> colour = picker_.pick(swatch->colour()))
        swatch->setColour(*colour);
}

} // namespace bx
