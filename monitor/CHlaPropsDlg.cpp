#include "CHlaPropsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CHlaPropsDlg::CHlaPropsDlg(CProfile& profile, QWidget* parent)
    : QWidget(parent), m_logic(profile), m_enabled(new QCheckBox("Enable HLA Monitoring", this)),
      m_federation(new QLineEdit(this)), m_fomVersion(new QComboBox(this))
{
    setObjectName("HlaPage");
    m_enabled->setObjectName("HLAEnabled");
    m_federation->setObjectName("HLAFederation");
    m_fomVersion->setObjectName("HLAFOMVersion");
    m_fomVersion->addItems(HlaPageLogic::FomVersions());

    auto* federationLabel = new QLabel("Join Federation:", this);
    federationLabel->setBuddy(m_federation);
    auto* fomLabel = new QLabel("FOM Version:", this);
    fomLabel->setBuddy(m_fomVersion);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_enabled, 0, 0, 1, 2);
    layout->addWidget(federationLabel, 1, 0);
    layout->addWidget(m_federation, 1, 1);
    layout->addWidget(fomLabel, 2, 0);
    layout->addWidget(m_fomVersion, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);

    connect(m_enabled, &QCheckBox::toggled, this, &CHlaPropsDlg::ApplyEnabling);
}

void CHlaPropsDlg::InitPage()
{
    const HlaPageControls controls = m_logic.Init();
    m_enabled->setChecked(controls.hlaEnabled);
    m_federation->setText(controls.federation);
    m_fomVersion->setCurrentText(controls.fomVersion);
    ApplyEnabling();
}

HlaPageControls CHlaPropsDlg::Controls() const
{
    return {m_enabled->isChecked(), m_federation->text(), m_fomVersion->currentText()};
}

void CHlaPropsDlg::ApplyEnabling() { m_federation->setEnabled(HlaPageLogic::IsFederationEnabled(Controls())); }

void CHlaPropsDlg::OkPage() { m_logic.Ok(Controls()); }
