#pragma once
// Page 4, "Special Options": running options and prompts, asteroids and mutations.
#include <QGroupBox>
#include <utility>
#include <vector>

#include "ui/numberfield.h"

class QCheckBox;

namespace bx {

class SpecialTab : public QGroupBox {
    Q_OBJECT
public:
    explicit SpecialTab(const ValidationContext& context);

    // Each frequency box enabled as its check box stands (for check boxes set quietly).
    void enableFrequencies();

private:
    std::vector<std::pair<QCheckBox*, NumberField*>> frequencyChecks_;

    QGroupBox* buildFrequency(const char* frameName, const char* caption, QCheckBox* check,
                              NumberField* field);
};

} // namespace bx
