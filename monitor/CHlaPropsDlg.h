// The "HLA" page of the Preferences sheet: monitoring on or off, the
// federation to join and the FOM version. Taken at the next start.
#pragma once

#include "HlaPageLogic.h"
#include "IPreferencePage.h"

#include <QWidget>

class CProfile;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CHlaPropsDlg : public QWidget, public IPreferencePage {
    Q_OBJECT
public:
    explicit CHlaPropsDlg(CProfile& profile, QWidget* parent = nullptr);

    void InitPage() override;
    void OkPage() override;

    const HlaPageLogic& result() const { return m_logic; }

private:
    HlaPageControls Controls() const;
    void ApplyEnabling();

    HlaPageLogic m_logic;
    QCheckBox* m_enabled;
    QLineEdit* m_federation;
    QComboBox* m_fomVersion;
};
