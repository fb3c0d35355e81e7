#include "CMessageBoxReporter.h"

#include <QMessageBox>

namespace {

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& details)
{
    QMessageBox box(icon, "Quorlex", text, QMessageBox::Ok, parent);
    if (!details.isEmpty())
        box.setInformativeText(details);
    box.exec();
}

}   // namespace

void CMessageBoxReporter::ShowError(const QString& text, const QString& details)
{
    Show(m_parent, QMessageBox::Critical, text, details);
}

void CMessageBoxReporter::ShowWarning(const QString& text, const QString& details)
{
    Show(m_parent, QMessageBox::Warning, text, details);
}
