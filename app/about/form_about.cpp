#include "form_about.h"

#include "editor/icons.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

QString FormAbout::applicationTitle() { return QStringLiteral("Orvalis"); }

QString FormAbout::versionText(int vextraVersion)
{
    return QStringLiteral("Version de Orvalis : %1.%2.%3\r\n\r\nVersion de Vextra.dll : 0.0.%4")
        .arg(ORVALIS_VERSION_MAJOR)
        .arg(ORVALIS_VERSION_MINOR)
        .arg(ORVALIS_VERSION_PATCH)
        .arg(vextraVersion);
}

FormAbout::FormAbout(int vextraVersion, std::function<void()> sysInfo, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("formAbout"));
    setWindowTitle(QStringLiteral("À propos de ") + applicationTitle());
    auto *grid = new QGridLayout(this);

    auto *icon = new QLabel;
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(Icons::application().pixmap(64, 64));
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);

    m_title = new QLabel(applicationTitle());
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = m_title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    m_title->setFont(f);
    grid->addWidget(m_title, 0, 1);

    m_version = new QLabel(versionText(vextraVersion));
    m_version->setObjectName(QStringLiteral("lblVersion"));
    grid->addWidget(m_version, 1, 1);

    auto *description = new QLabel(QStringLiteral(
        "Orvalis crée des profils complexes pour la découpe au fil chaud : emplanture et saumon, "
        "synchronisation point à point, disposition de l'aile et export. Il fonctionne au mieux avec "
        "le programme de découpe Sorvane et une interface USB. La bibliothèque Vextra doit être "
        "installée à côté du programme."));
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(360);
    grid->addWidget(description, 2, 1);

    auto *disclaimer = new QLabel(QStringLiteral(
        "Ce programme est un logiciel libre (GPL-3.0 ou ultérieure), fourni sans aucune garantie."));
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setWordWrap(true);
    grid->addWidget(disclaimer, 3, 0, 1, 2);

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *info = new QPushButton(QStringLiteral("&Infos système..."));
    info->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(info, &QPushButton::clicked, this, [sysInfo] {
        if (sysInfo)
            sysInfo();
    });
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(info);
    grid->addLayout(buttons, 0, 2, 3, 1, Qt::AlignTop);
}

} // namespace orv
