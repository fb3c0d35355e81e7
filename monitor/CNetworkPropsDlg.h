// The "DIS" page of the Preferences sheet: monitoring on or off, the UDP
// port, and the multicast group to listen on.
#pragma once

#include "IPreferencePage.h"
#include "NetworkPageLogic.h"

#include <QWidget>

class CIpAddressEdit;
class CProfile;
class QCheckBox;
class QLineEdit;

class CNetworkPropsDlg : public QWidget, public IPreferencePage {
    Q_OBJECT
public:
    explicit CNetworkPropsDlg(CProfile& profile, QWidget* parent = nullptr);

    void InitPage() override;
    QString Refusal() const override;
    void OkPage() override;

    // What OK left for the application.
    const NetworkPageLogic& result() const { return m_logic; }

private:
    NetworkPageControls Controls() const;
    void ApplyEnabling();

    NetworkPageLogic m_logic;
    QCheckBox* m_enabled;
    QLineEdit* m_port;
    QCheckBox* m_useMulticast;
    CIpAddressEdit* m_address;
};
