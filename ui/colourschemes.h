#pragma once
// The "Colo&urs" frame of the Organisms and Environment pages: a button for each colour scheme
// (engine/colourschemes.h) and the six swatches, which show what a new organism or environment
// of that kind will be coloured with.
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/colourschemes.h"
#include "engine/options.h"
#include "platform/colourpicker.h"

class QRadioButton;

namespace bx {

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
    // The buttons are named by their scheme's row (orgButton or envButton); the swatches
    // orgcolorsuser1..6 or envcolorsuser1..6. The first button takes the frame's focus.
    ColourSchemeBox(const char* frameName, bool organisms, ColourPicker& picker);

    std::vector<QRadioButton*> schemeButtons; // in the order of colourSchemes()
    std::array<SwatchButton*, 6> swatches{};

    // The selected scheme's mode; 0 when none is selected.
    int selectedScheme() const;
    // Selects the scheme's button from code and runs its handler. A mode no scheme has deselects
    // the user-cycle scheme and leaves the others as they are (only an options record set in
    // code brings one).
    void showScheme(int mode);
    // The scheme button's handler: repaints and enables or disables the swatches.
    void schemeSelected(int mode);
    // The swatches as a stored options record shows them: the user's colours under a user
    // cycle, the scheme's own otherwise; nothing changes while no scheme is selected.
    void showStoredSwatches(const std::array<UserColour, 6>& stored);
    std::array<UserColour, 6> swatchColours() const;
    void setSwatchColours(const std::array<UserColour, 6>& colours);
    // The environment start modes Ideal and None take the whole frame out of use.
    void setSchemeEnabled(bool enabled);

private:
    void pickSwatchColour(SwatchButton* swatch);
    ColourPicker& picker_;
};

} // namespace bx
