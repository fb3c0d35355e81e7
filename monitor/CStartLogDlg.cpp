#include "CStartLogDlg.h"

#include "CIpAddressEdit.h"
#include "TabOrder.h"
#include "engine/ProfileKeys.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
constexpr const char* kEntityFieldNames[] = {"FilterSiteID", "FilterAppID", "FilterEntityID", "FilterRadioID"};
constexpr int kNumberEditWidth = 60;

// Keeps the cursor where it is when nothing changes.
void SetText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}
}   // namespace

CStartLogDlg::CStartLogDlg(CProfile& profile, QWidget* parent)
    : QDialog(parent), m_logic(profile), m_fileName(new QLineEdit(this)), m_text(new QRadioButton("ASCII Text", this)),
      m_binary(new QRadioButton("Binary", this)), m_portion(new QComboBox(this)),
      m_filterByEntity(new QCheckBox("Log only this entity:", this)),
      m_filterByIp(new QCheckBox("Log only this IP address:", this)), m_ipAddress(new CIpAddressEdit(this))
{
    setObjectName("StartLogDialog");
    setWindowTitle("Start Logging");
    m_fileName->setObjectName("Filename");
    m_text->setObjectName("AsciiText");
    m_binary->setObjectName("Binary");
    m_portion->setObjectName("SignalPortion");
    m_filterByEntity->setObjectName("FilterByEntity");
    m_filterByIp->setObjectName("FilterByIP");
    m_ipAddress->setObjectName("FilterIPAddress");
    for (const char* choice : kSignalPortionChoices)
        m_portion->addItem(choice);

    auto* browse = new QPushButton("Browse...", this);
    browse->setObjectName("Browse");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel("Log file:", this));
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(browse);

    auto* modes = new QButtonGroup(this);
    modes->addButton(m_text);
    modes->addButton(m_binary);
    auto* modeBox = new QGroupBox("File mode", this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->addWidget(m_text);
    modeLayout->addWidget(m_binary);
    modeLayout->addStretch(1);

    auto* portionRow = new QHBoxLayout;
    portionRow->addWidget(new QLabel("Record the", this));
    portionRow->addWidget(m_portion);
    portionRow->addWidget(new QLabel("signal buffer", this));
    portionRow->addStretch(1);

    auto* filterBox = new QGroupBox("Filters", this);
    auto* filters = new QGridLayout(filterBox);
    filters->addWidget(m_filterByEntity, 0, 0);
    auto* entityRow = new QHBoxLayout;
    for (std::size_t i = 0; i < m_entity.size(); ++i) {
        m_entity[i] = new QLineEdit(this);
        m_entity[i]->setObjectName(kEntityFieldNames[i]);
        m_entity[i]->setValidator(new QIntValidator(0, Profile::kMaxU16, m_entity[i]));
        m_entity[i]->setMaximumWidth(kNumberEditWidth);
        if (i > 0)
            entityRow->addWidget(new QLabel("/", this));
        entityRow->addWidget(m_entity[i]);
    }
    entityRow->addStretch(1);
    filters->addLayout(entityRow, 0, 1);
    filters->addWidget(m_filterByIp, 1, 0);
    filters->addWidget(m_ipAddress, 1, 1);
    filters->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(modeBox);
    layout->addLayout(portionRow);
    layout->addWidget(filterBox);
    layout->addWidget(buttons);
    // Top to bottom, left to right: the entity fields follow their check box.
    SetTabOrder({m_fileName, browse, m_text, m_binary, m_portion, m_filterByEntity, m_entity[0], m_entity[1],
                 m_entity[2], m_entity[3], m_filterByIp, m_ipAddress, buttons});

    Show(m_logic.Init());

    connect(browse, &QPushButton::clicked, this, &CStartLogDlg::OnBrowse);
    connect(m_binary, &QRadioButton::toggled, this,
            [this](bool binary) { Update([&](StartLogControls& c) { m_logic.SetBinary(c, binary); }); });
    connect(m_portion, &QComboBox::activated, this, [this](int index) {
        Update([&](StartLogControls& c) { m_logic.ChoosePortion(c, m_portion->itemText(index)); });
    });
    connect(m_filterByEntity, &QCheckBox::toggled, this,
            [this](bool on) { Update([&](StartLogControls& c) { m_logic.SetFilterByEntity(c, on); }); });
    connect(m_filterByIp, &QCheckBox::toggled, this,
            [this](bool on) { Update([&](StartLogControls& c) { m_logic.SetFilterByIp(c, on); }); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CStartLogDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CStartLogDlg::reject);
}

StartLogControls CStartLogDlg::Controls() const
{
    StartLogControls controls;
    controls.fileName = m_fileName->text();
    controls.binary = m_binary->isChecked();
    controls.signalPortion = m_portion->currentText();
    controls.portionEnabled = m_portion->isEnabled();
    controls.filterByEntity = m_filterByEntity->isChecked();
    for (std::size_t i = 0; i < m_entity.size(); ++i)
        controls.entityTexts[i] = m_entity[i]->text();
    controls.filterByIp = m_filterByIp->isChecked();
    controls.ipAddress = m_ipAddress->text();
    return controls;
}

void CStartLogDlg::Show(const StartLogControls& controls)
{
    // Setting a control must not run its own change handler again.
    const QSignalBlocker blockers[] = {QSignalBlocker(m_binary), QSignalBlocker(m_text),
                                       QSignalBlocker(m_filterByEntity), QSignalBlocker(m_filterByIp),
                                       QSignalBlocker(m_portion)};
    SetText(m_fileName, controls.fileName);
    (controls.binary ? m_binary : m_text)->setChecked(true);
    m_portion->setCurrentText(controls.signalPortion);
    m_portion->setEnabled(controls.portionEnabled);
    m_filterByEntity->setChecked(controls.filterByEntity);
    for (std::size_t i = 0; i < m_entity.size(); ++i) {
        SetText(m_entity[i], controls.entityTexts[i]);
        m_entity[i]->setEnabled(controls.filterByEntity);
    }
    m_filterByIp->setChecked(controls.filterByIp);
    if (m_ipAddress->text() != controls.ipAddress)
        m_ipAddress->setAddressText(controls.ipAddress);
    m_ipAddress->setEnabled(controls.filterByIp);
}

template <typename Change>
void CStartLogDlg::Update(Change change)
{
    StartLogControls controls = Controls();
    change(controls);
    Show(controls);
}

void CStartLogDlg::OnBrowse()
{
    const QString path = QFileDialog::getSaveFileName(this, "Log File", m_fileName->text());
    if (!path.isEmpty()) {
        m_fileName->setText(path);
        m_browsedFile = path;
    }
}

void CStartLogDlg::accept()
{
    const QString fileName = m_fileName->text();
    if (StartLogLogic::AsksBeforeOverwriting(fileName, m_browsedFile) &&
        QMessageBox::question(this, windowTitle(), StartLogLogic::OverwriteQuestion(fileName),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;   // the user picks another file, or cancels
    StartLogControls controls = Controls();
    // Compared with the sender's text as the intake writes it.
    controls.ipAddress = m_ipAddress->addressText();
    m_settings = m_logic.Ok(controls);
    QDialog::accept();
}
