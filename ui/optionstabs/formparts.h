#pragma once
// Small builders the option pages share: named controls and the "caption, box, slider" row.
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

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

// A number box's slider takes its range from the option table (NumberField sets it).
inline QSlider* slider(const char* name) {
    QSlider* s = named(new QSlider(Qt::Horizontal), name);
    s->setMinimumWidth(160);
    return s;
}

inline QSlider* slider(const char* name, int minimum, int maximum) {
    QSlider* s = slider(name);
    s->setRange(minimum, maximum);
    return s;
}

inline QCheckBox* checkBox(const char* name, const char* caption) {
    return named(new QCheckBox(caption), name);
}

// A caption over its text box and slider, in rows `row` and `row + 1` of a grid.
inline void addSliderRow(QGridLayout* grid, int row, const char* caption, QLineEdit* box, QSlider* slider) {
    grid->addWidget(new QLabel(caption), row, 0, 1, 2);
    grid->addWidget(box, row + 1, 0);
    grid->addWidget(slider, row + 1, 1);
}

} // namespace bx::form
