#pragma once
// ColourPicker over QColorDialog (object name "colourdialog").
#include "platform/colourpicker.h"

namespace bx {

class QtColourPicker : public ColourPicker {
public:
    std::optional<int32_t> pick(int32_t initial) override;
};

} // namespace bx
