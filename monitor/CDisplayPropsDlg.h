// The "Display" page of the Preferences sheet: how long a silent radio stays
// in the transmitter tree and how the tree groups DIS radios.
#pragma once

#include "DisplayPageLogic.h"
#include "IPreferencePage.h"

#include <QWidget>

class CProfile;
class QComboBox;
class QLineEdit;

class CDisplayPropsDlg : public QWidget, public IPreferencePage {
    Q_OBJECT
public:
    explicit CDisplayPropsDlg(CProfile& profile, QWidget* parent = nullptr);

    void InitPage() override;
    QString Refusal() const override;
    void OkPage() override;

    const DisplayPageLogic& result() const { return m_logic; }

private:
    DisplayPageControls Controls() const;

    DisplayPageLogic m_logic;
    QLineEdit* m_timeout;
    QComboBox* m_grouping;
};
