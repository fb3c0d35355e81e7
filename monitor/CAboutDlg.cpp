#include "CAboutDlg.h"

#include "CQuorlexIcons.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutDialog");
    setWindowTitle("About Quorlex");

    auto* icon = new QLabel(this);
    icon->setPixmap(CQuorlexIcons::Application().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    const QString version = QCoreApplication::applicationVersion();
    auto* name = new QLabel(version.isEmpty() ? QString("Quorlex") : QString("Quorlex Version %1").arg(version), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* purpose = new QLabel("Monitor of simulated radio traffic: DIS Transmitter and Signal PDUs\n"
                               "and the radio transmitters of an HLA federation (RPR FOM).",
                               this);
    auto* copyright = new QLabel("Copyright \u00A9 Brantel", this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(copyright, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
