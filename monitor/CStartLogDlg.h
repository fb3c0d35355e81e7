// The "Start Logging" dialog: the log file, text or binary, the part of each
// Signal PDU's data a text log shows, and the two filters (one radio, one
// sender). OK asks before a file that holds something is emptied (the
// dialog stays open when the user says no), stores the choices in the
// profile, and the caller then opens the file with settings().
#pragma once

#include "StartLogLogic.h"

#include <QDialog>

#include <array>

class CIpAddressEdit;
class CProfile;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

class CStartLogDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStartLogDlg(CProfile& profile, QWidget* parent = nullptr);

    // The session's settings, once the dialog ended with OK.
    const PduLogSettings& settings() const { return m_settings; }

public slots:
    void accept() override;
    // "Browse...": picks the file with the system's save dialog.
    void OnBrowse();

private:
    StartLogControls Controls() const;
    void Show(const StartLogControls& controls);
    // Runs a change of the logic on the controls and shows the outcome.
    template <typename Change>
    void Update(Change change);

    StartLogLogic m_logic;
    PduLogSettings m_settings;
    QLineEdit* m_fileName;
    QString m_browsedFile;   // chosen with Browse, whose dialog asked about replacing it
    QRadioButton* m_text;
    QRadioButton* m_binary;
    QComboBox* m_portion;
    QCheckBox* m_filterByEntity;
    std::array<QLineEdit*, 4> m_entity{};
    QCheckBox* m_filterByIp;
    CIpAddressEdit* m_ipAddress;
};
