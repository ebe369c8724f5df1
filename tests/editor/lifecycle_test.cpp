// The main window's life: first start, settings, closing.
#include "editor_test_support.h"

#include "platform/ini_document.h"

#include <QFile>
#include <QToolButton>

using namespace orvtest;
using orv::MessageButton;

namespace {

class Lifecycle : public WindowTest {};

} // namespace

TEST_F(Lifecycle, FirstStartCreatesTheSettingsFileWithItsDefaults)
{
    start();
    const QByteArray ini = read(path(QStringLiteral("Orvalis.ini")));
    const QString expected = QStringLiteral("[Fenêtre]\r\nLeft=0\r\nTop=0\r\nWidth=15525\r\nHeight=10965\r\nWindowState=0\r\n"
                                            "[Fichiers]\r\nSauvegarde=%1\r\nOuverture=%1\r\n")
                                 .arg(folder());
    EXPECT_EQ(QString::fromUtf8(ini), expected);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis"));
    EXPECT_FALSE(ui().cmdSupprimer->isEnabled());
    EXPECT_FALSE(ui().cmdOuvrirProfil[1]->isEnabled());
    EXPECT_TRUE(ui().cmdOuvrirProfil[0]->isEnabled());
    EXPECT_EQ(ui().txtDiedreDeg->text(), QStringLiteral("0.0"));
    EXPECT_EQ(ui().txtEtirer[2]->text(), QStringLiteral("100.0"));
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(Lifecycle, AMaximisedCloseKeepsTheStoredSizeAndReopensMaximised)
{
    start();
    window().showMaximized();
    EXPECT_TRUE(closeWindow());
    orv::IniFile ini(path(QStringLiteral("Orvalis.ini")));
    EXPECT_EQ(ini.document().value(QStringLiteral("Fenêtre"), QStringLiteral("WindowState")), QStringLiteral("2"));
    EXPECT_EQ(ini.document().value(QStringLiteral("Fenêtre"), QStringLiteral("Width")), QStringLiteral("15525"));
    start();
    EXPECT_TRUE(window().windowState() & Qt::WindowMaximized);
}

TEST_F(Lifecycle, ANormalCloseStoresThePlaceAndSizeInTwips)
{
    start();
    window().resize(960, 720);
    EXPECT_TRUE(closeWindow());
    orv::IniFile ini(path(QStringLiteral("Orvalis.ini")));
    const double twips = window().twipsPerPixel();
    EXPECT_EQ(ini.document().value(QStringLiteral("Fenêtre"), QStringLiteral("Width")).toInt(), qRound(960 * twips));
    EXPECT_EQ(ini.document().value(QStringLiteral("Fenêtre"), QStringLiteral("WindowState")), QStringLiteral("0"));
}
