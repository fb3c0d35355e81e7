#include "CNetworkPropsDlg.h"

#include "CIpAddressEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CNetworkPropsDlg::CNetworkPropsDlg(CProfile& profile, QWidget* parent)
    : QWidget(parent), m_logic(profile), m_enabled(new QCheckBox("Enable DIS Monitoring", this)),
      m_port(new QLineEdit(this)), m_useMulticast(new QCheckBox("Listen on Multicast Address:", this)),
      m_address(new CIpAddressEdit(this))
{
    setObjectName("DisPage");
    m_enabled->setObjectName("DISEnabled");
    m_port->setObjectName("NetworkPort");
    m_useMulticast->setObjectName("UseMulticast");
    m_address->setObjectName("MulticastAdx");

    auto* portLabel = new QLabel("Network Port:", this);
    portLabel->setBuddy(m_port);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_enabled, 0, 0, 1, 2);
    layout->addWidget(portLabel, 1, 0);
    layout->addWidget(m_port, 1, 1);
    layout->addWidget(m_useMulticast, 2, 0);
    layout->addWidget(m_address, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);

    connect(m_enabled, &QCheckBox::toggled, this, &CNetworkPropsDlg::ApplyEnabling);
    connect(m_useMulticast, &QCheckBox::toggled, this, &CNetworkPropsDlg::ApplyEnabling);
}

void CNetworkPropsDlg::InitPage()
{
    const NetworkPageControls controls = m_logic.Init();
    m_enabled->setChecked(controls.disEnabled);
    m_port->setText(controls.portText);
    m_useMulticast->setChecked(controls.useMulticast);
    m_address->setAddress(controls.multicastAddress);
    ApplyEnabling();
}

NetworkPageControls CNetworkPropsDlg::Controls() const
{
    return {m_enabled->isChecked(), m_port->text(), m_useMulticast->isChecked(), m_address->address()};
}

void CNetworkPropsDlg::ApplyEnabling()
{
    const NetworkPageEnabling enabling = NetworkPageLogic::Enabling(Controls());
    m_port->setEnabled(enabling.port);
    m_useMulticast->setEnabled(enabling.multicastBox);
    m_address->setEnabled(enabling.address);
}

QString CNetworkPropsDlg::Refusal() const { return NetworkPageLogic::Refusal(Controls()); }

void CNetworkPropsDlg::OkPage() { m_logic.Ok(Controls()); }
