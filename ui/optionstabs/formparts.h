#pragma once
// Small builders the option pages share: named controls and the "caption, box, slider" row.
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "options/optionfields.h"
#include "ui/numberfield.h"

namespace bx::form {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

inline QLineEdit* textBox(const char* name, int width = 56) {
    QLineEdit* box = named(new QLineEdit, name);
    box->setFixedWidth(width);
    return box;
}

// A slider of its own; an option's number box makes its own (NumberField).
inline QSlider* slider(const char* name, int minimum, int maximum) {
    QSlider* s = named(new QSlider(Qt::Horizontal), name);
    s->setMinimumWidth(160);
    s->setRange(minimum, maximum);
    return s;
}

// The check box of a flag option, named from the option table.
inline QCheckBox* checkBox(bool bx::SimulationOptions::*option, const char* caption) {
    const std::string_view name = optionOf(option).control.objectName;
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromUtf8(name.data(), qsizetype(name.size())));
    return box;
}

// A caption over a number box and its slider, in rows `row` and `row + 1` of a grid.
inline void addSliderRow(QGridLayout* grid, int row, const char* caption, NumberField* field) {
    grid->addWidget(new QLabel(caption), row, 0, 1, 2);
    grid->addWidget(field->box(), row + 1, 0);
    grid->addWidget(field->slider(), row + 1, 1);
}

} // namespace bx::form
