#include "CDisplayPropsDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CDisplayPropsDlg::CDisplayPropsDlg(CProfile& profile, QWidget* parent)
    : QWidget(parent), m_logic(profile), m_timeout(new QLineEdit(this)), m_grouping(new QComboBox(this))
{
    setObjectName("DisplayPage");
    m_timeout->setObjectName("Timeout");
    m_grouping->setObjectName("TreeType");
    for (const char* text : DisplayPageLogic::kGroupingTexts)
        m_grouping->addItem(text);

    auto* timeoutLabel = new QLabel("Timeout (in seconds):", this);
    timeoutLabel->setBuddy(m_timeout);
    auto* hint = new QLabel("Enter '0' for infinite timeout", this);
    hint->setEnabled(false);
    auto* groupingLabel = new QLabel("Group by:", this);
    groupingLabel->setBuddy(m_grouping);

    auto* layout = new QGridLayout(this);
    layout->addWidget(timeoutLabel, 0, 0);
    layout->addWidget(m_timeout, 0, 1);
    layout->addWidget(hint, 1, 1);
    layout->addWidget(groupingLabel, 2, 0);
    layout->addWidget(m_grouping, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
}

void CDisplayPropsDlg::InitPage()
{
    const DisplayPageControls controls = m_logic.Init();
    m_timeout->setText(controls.timeoutText);
    m_grouping->setCurrentIndex(static_cast<int>(controls.grouping));
}

DisplayPageControls CDisplayPropsDlg::Controls() const
{
    return {m_timeout->text(), m_grouping->currentIndex() == 1 ? TreeGrouping::DisEntity : TreeGrouping::IpAddress};
}

QString CDisplayPropsDlg::Refusal() const { return DisplayPageLogic::Refusal(Controls()); }

void CDisplayPropsDlg::OkPage() { m_logic.Ok(Controls()); }
