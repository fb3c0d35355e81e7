#include "CStopLoggingDlg.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMinimumWidth = 240;
}

CStopLoggingDlg::CStopLoggingDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("StopLoggingDialog");
    setWindowTitle("Logging...");
    setModal(false);
    auto* stop = new QPushButton("Stop Logging", this);
    stop->setObjectName("StopLogging");
    stop->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stop);
    // Wide enough for its caption to show in the title bar.
    setMinimumWidth(kMinimumWidth);
    connect(stop, &QPushButton::clicked, this, &QDialog::accept);
}

void CStopLoggingDlg::Dismiss()
{
    m_notify = false;
    done(QDialog::Rejected);
}

void CStopLoggingDlg::done(int result)
{
    // Stop, Escape and the window's close button all end up here.
    if (m_finished)
        return;
    m_finished = true;
    QDialog::done(result);
    if (m_notify)
        emit stopLogging();
    deleteLater();
}
