#pragma once
// The "Colo&urs" frame of the Organisms and Environment pages: the three scheme buttons and the
// six swatches, which show what a new organism or environment of that kind will be coloured with.
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <cstdint>

#include "engine/options.h"
#include "platform/colourpicker.h"

class QRadioButton;

namespace bx {

// What the swatches show for each scheme: Primary's display colours and Choose's starting colours.
const std::array<UserColour, 6>& primarySwatchColours();
const std::array<UserColour, 6>& chooseStartingColours();

int32_t packedColour(const UserColour& c);
UserColour unpackedColour(int32_t packed);

// A button showing a colour as its back colour, also while disabled.
class SwatchButton : public QPushButton {
    Q_OBJECT
public:
    explicit SwatchButton(const QString& name);
    int32_t colour() const { return colour_; }
    void setColour(int32_t packed);

private:
    int32_t colour_ = 0;
};

class ColourSchemeBox : public QGroupBox {
    Q_OBJECT
public:
    // Names: "org" gives orgcolorsrandom, orgcolorsprimary, orgcolorschose, orgcolorsuser1..6;
    // "env" gives envcolorsrandom, envcolorsprimary, envcolorschoose, envcolorsuser1..6.
    ColourSchemeBox(const char* frameName, bool organisms, ColourPicker& picker);

    QRadioButton *randomButton, *primaryButton, *chooseButton;
    std::array<SwatchButton*, 6> swatches{};

    // 1 Random, 2 Primary, 3 Choose; 0 when none is selected.
    int selectedScheme() const;
    // Selects the scheme's button from code and runs its handler. Any other mode deselects
    // "Choose" and leaves the other two as they are (only a hand-edited profile brings one).
    void showScheme(int mode);
    // The scheme button's handler: repaints and enables or disables the swatches.
    void schemeSelected(int mode);
    std::array<UserColour, 6> swatchColours() const;
    void setSwatchColours(const std::array<UserColour, 6>& colours);
    // The environment start modes Ideal and None take the whole frame out of use.
    void setSchemeEnabled(bool enabled);

private:
    void pickSwatchColour(SwatchButton* swatch);
    ColourPicker& picker_;
};

} // namespace bx
