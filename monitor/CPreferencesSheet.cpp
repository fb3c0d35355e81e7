#include "CPreferencesSheet.h"

#include "CDisplayPropsDlg.h"
#include "CHlaPropsDlg.h"
#include "CNetworkPropsDlg.h"
#include "CQuickViewPropsDlg.h"
#include "IMessageReporter.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CPreferencesSheet::CPreferencesSheet(CProfile& profile, IMessageReporter& reporter, QWidget* parent)
    : QDialog(parent), m_reporter(reporter), m_tabs(new QTabWidget(this)), m_disPage(new CNetworkPropsDlg(profile)),
      m_hlaPage(new CHlaPropsDlg(profile)), m_quickViewPage(new CQuickViewPropsDlg(profile)),
      m_displayPage(new CDisplayPropsDlg(profile))
{
    setObjectName("PreferencesSheet");
    setWindowTitle("Preferences");

    auto addPage = [this](auto* page, const char* title) {
        m_tabs->addTab(page, title);
        m_pageWidgets.append(page);
        m_pages.append(page);
        m_shown.append(false);
    };
    addPage(m_disPage, "DIS");
    addPage(m_hlaPage, "HLA");
    addPage(m_quickViewPage, "Quick View");
    addPage(m_displayPage, "Display");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPreferencesSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    ShowPage(m_tabs->currentIndex());
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPreferencesSheet::ShowPage);
}

void CPreferencesSheet::ShowPage(int index)
{
    if (index < 0 || index >= m_pages.size() || m_shown[index])
        return;
    m_shown[index] = true;
    m_pages[index]->InitPage();
}

bool CPreferencesSheet::WasShown(const QWidget& page) const
{
    const qsizetype index = m_pageWidgets.indexOf(&page);
    return index >= 0 && m_shown[index];
}

void CPreferencesSheet::accept()
{
    // Nothing is written while any page still refuses its values.
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        if (!m_shown[i])
            continue;
        const QString refusal = m_pages[i]->Refusal();
        if (!refusal.isEmpty()) {
            m_tabs->setCurrentIndex(static_cast<int>(i));
            m_reporter.ShowWarning(refusal);
            return;
        }
    }
    for (qsizetype i = 0; i < m_pages.size(); ++i)
        if (m_shown[i])
            m_pages[i]->OkPage();
    QDialog::accept();
}
