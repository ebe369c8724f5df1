#include "help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace orv {

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("formAide"));
    setWindowTitle(QStringLiteral("Aide de Orvalis"));
    setModal(false);
    resize(760, 620);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("txtAide"));
    m_browser->setOpenExternalLinks(true);
    v->addWidget(m_browser);
}

void HelpWindow::showHelp(const QString &path, const QString &anchor)
{
    if (QFileInfo::exists(path)) {
        QUrl url = QUrl::fromLocalFile(path);
        if (!anchor.isEmpty())
            url.setFragment(anchor);
        m_browser->setSource(url);
    } else {
        m_browser->setHtml(QStringLiteral("<p>Le fichier d'aide <b>%1</b> est introuvable.</p>").arg(path.toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

} // namespace orv
