// Sets a dialog's Tab order to the order its controls are read in, where the
// order they were made in differs (controls made up front, laid out later).
#pragma once

#include <QWidget>

#include <initializer_list>

// Tab goes from each control to the next one listed.
inline void SetTabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}
