// The modeless "Logging..." window, shown while a log file captures the
// traffic. Its "Stop Logging" button (or closing the window) ends the
// capture; the window then deletes itself.
#pragma once

#include <QDialog>

class CStopLoggingDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStopLoggingDlg(QWidget* parent = nullptr);

    // Takes the window away without asking to stop (the capture has ended already).
    void Dismiss();

signals:
    // The user ends the capture; sent once.
    void stopLogging();

public slots:
    void done(int result) override;

private:
    bool m_finished = false;
    bool m_notify = true;
};
