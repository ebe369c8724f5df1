// The about window, the help key and the system-information button.
#include "editor_test_support.h"

#include "about/form_about.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace orvtest;

namespace {
class AboutAndHelp : public WindowTest {};
} // namespace

TEST_F(AboutAndHelp, TheAboutWindowShowsTheLibraryVersionAsZeroZeroSixtyFour)
{
    orv::FormAbout about(library().version(), {});
    EXPECT_EQ(about.windowTitle(), QStringLiteral("À propos de Orvalis"));
    const auto *version = about.findChild<QLabel *>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(version->text().endsWith(QStringLiteral("\r\n\r\nVersion de Vextra.dll : 0.0.64")));
    EXPECT_TRUE(version->text().startsWith(QStringLiteral("Version de Orvalis : ")));
    for (const char *name : {"picIcon", "lblTitle", "lblDescription", "lblDisclaimer", "cmdOK", "cmdSysInfo"})
        EXPECT_NE(about.findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(AboutAndHelp, TheSystemInformationButtonStartsTheToolOrSaysThereIsNone)
{
    start();
    auto about = window().makeAbout();
    auto *button = about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
    button->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Orvalis|Les informations système ne sont pas disponibles actuellement");
    platform.setSystemInfoTool(QStringLiteral("/usr/bin/hardinfo"));
    button->click();
    ASSERT_EQ(platform.startedPrograms().size(), 1u);
    EXPECT_EQ(platform.startedPrograms()[0].program, QStringLiteral("/usr/bin/hardinfo"));
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(AboutAndHelp, FOneAndTheHelpButtonOpenTheHelp)
{
    start();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&window(), &f1);
    EXPECT_EQ(platform.helpRequests(), 1);
    ui().cmdAide->click();
    EXPECT_EQ(platform.helpRequests(), 2);
}
