#include "colourschemes.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalBlocker>

namespace bx {

const std::array<UserColour, 6>& primarySwatchColours() {
    static const std::array<UserColour, 6> colours{
        {{255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}, {255, 255, 0}, {255, 255, 0}}};
    return colours;
}

const std::array<UserColour, 6>& chooseStartingColours() {
    static const std::array<UserColour, 6> colours{
        {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};
    return colours;
}

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
    const QString prefix = organisms ? "org" : "env";
    randomButton = new QRadioButton("Random");
    primaryButton = new QRadioButton("Primary");
    chooseButton = new QRadioButton("Choose");
    randomButton->setObjectName(prefix + "colorsrandom");
    primaryButton->setObjectName(prefix + "colorsprimary");
    chooseButton->setObjectName(prefix + (organisms ? "colorschose" : "colorschoose"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(randomButton, 0, 0, 1, 3);
    layout->addWidget(primaryButton, 1, 0, 1, 3);
    layout->addWidget(chooseButton, 2, 0, 1, 3);
    for (int k = 0; k < 6; ++k) {
        swatches[k] = new SwatchButton(prefix + "colorsuser" + QString::number(k + 1));
        swatches[k]->setEnabled(false);
        layout->addWidget(swatches[k], 3 + k / 3, k % 3);
        connect(swatches[k], &QPushButton::clicked, this, [this, k] { pickSwatchColour(swatches[k]); });
    }
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(3, 1);
    // A scheme's handler runs when it becomes selected; clicking the selected one again keeps
    // the colours the user picked.
    int mode = ColourRandom;
    for (QRadioButton* b : {randomButton, primaryButton, chooseButton}) {
        connect(b, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on)
                schemeSelected(mode);
        });
        ++mode;
    }
}

int ColourSchemeBox::selectedScheme() const {
    if (randomButton->isChecked())
        return ColourRandom;
    if (primaryButton->isChecked())
        return ColourPrimary;
    return chooseButton->isChecked() ? ColourChoose : 0;
}

void ColourSchemeBox::showScheme(int mode) {
    QRadioButton* button = mode == ColourRandom    ? randomButton
                           : mode == ColourPrimary ? primaryButton
                           : mode == ColourChoose  ? chooseButton
                                                   : nullptr;
    if (!button) {
        // Radio buttons cannot all be off in an exclusive group: lift it for the moment.
        const QSignalBlocker quiet(chooseButton);
        chooseButton->setAutoExclusive(false);
        chooseButton->setChecked(false);
        chooseButton->setAutoExclusive(true);
        return;
    }
    {
        const QSignalBlocker quiet(button);
        button->setChecked(true);
    }
    schemeSelected(mode);
}

void ColourSchemeBox::schemeSelected(int mode) {
    static const std::array<UserColour, 6> black{};
    const bool choose = mode == ColourChoose;
    setSwatchColours(mode == ColourPrimary ? primarySwatchColours()
                     : choose              ? chooseStartingColours()
                                           : black);
    for (SwatchButton* s : swatches)
        s->setEnabled(choose && randomButton->isEnabled());
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
    for (QRadioButton* b : {randomButton, primaryButton, chooseButton})
        b->setEnabled(enabled);
    for (SwatchButton* s : swatches)
        s->setEnabled(enabled && chooseButton->isChecked());
}

void ColourSchemeBox::pickSwatchColour(SwatchButton* swatch) {
    if (const std::optional<int32_t> colour = picker_.pick(swatch->colour()))
        swatch->setColour(*colour);
}

} // namespace bx
