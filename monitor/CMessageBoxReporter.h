// Shows messages in modal message boxes over the main window (or on their own
// while there is none).
#pragma once

#include "IMessageReporter.h"

#include <QPointer>
#include <QWidget>

class CMessageBoxReporter : public IMessageReporter {
public:
    void SetParentWindow(QWidget* window) { m_parent = window; }
    void ShowError(const QString& text, const QString& details = {}) override;
    void ShowWarning(const QString& text, const QString& details = {}) override;

private:
    QPointer<QWidget> m_parent;
};
