// The Qt side of the platform: filters as the dialog takes them, the chosen
// filter coming back, message boxes in French with the right icon and buttons,
// timers and the F1 key.
#include "platform/qt_platform.h"

#include "qt_print.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orv;

namespace {

const QString kOpenFilterR = "DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Projet Orvalis "
                             "(*.orv)|*.orv|Projet Sorvane (*.sv)|*.sv|Tous les fichiers "
                             "connus|*.dxf;*.dat;*.plt;*.orv;*.sv";
const QString kSaveFilterJ = "Projet Orvalis(*.orv)|*.orv|DAO 3D (*.dxf)|*.dxf|Tous les fichiers (*.*)|*.*";

// Runs `step` on the modal widget of type W once it is shown.
template <typename W> void whenModalShown(std::function<void(W *)> step)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        if (auto *w = qobject_cast<W *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            step(w);
        }
    });
    poll->start(10);
}

QString plain(QString text)
{
    return text.remove(u'&');
}

// Waits for a condition that the event loop brings about; fails after a while
// instead of hanging.
template <typename F> bool waitFor(F condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

} // namespace

TEST(FileFilters, EachLabelGetsItsPatternsInParenthesesAsQtReadsThem)
{
    const QtFileFilters f = QtFileFilters::parse(kOpenFilterR);
    EXPECT_EQ(f.nameFilters,
              (QStringList{"DAO (*.dxf) (*.dxf)", "Profil (*.dat) (*.dat)", "Plotter (*.plt) (*.plt)",
                           "Projet Orvalis (*.orv) (*.orv)", "Projet Sorvane (*.sv) (*.sv)",
                           "Tous les fichiers connus (*.dxf *.dat *.plt *.orv *.sv)"}));
    EXPECT_EQ(f.labels.back(), "Tous les fichiers connus");
}

TEST(FileFilters, EveryFileOfTheOlderPlatformMatchesNamesWithoutADotToo)
{
    const QtFileFilters f = QtFileFilters::parse(kSaveFilterJ);
    EXPECT_EQ(f.nameFilters.back(), "Tous les fichiers (*.*) (*)");
}

TEST(FileFilters, ASaveAddsTheExtensionOfAFilterWithOnePlainPattern)
{
    const QtFileFilters f = QtFileFilters::parse(kSaveFilterJ + "|Texte|*.txt;*.csv|Sans motif");
    EXPECT_EQ(f.suffixes, (QStringList{"orv", "dxf", "", "", ""}));
    EXPECT_EQ(f.nameFilters.back(), "Sans motif (*)");
}

TEST(FileFilters, TheSelectedFilterIsFoundWholeOrByItsLabel)
{
    const QtFileFilters f = QtFileFilters::parse(kOpenFilterR);
    EXPECT_EQ(f.indexOf("Profil (*.dat) (*.dat)"), 2);
    EXPECT_EQ(f.indexOf("Tous les fichiers connus"), 6);
    EXPECT_EQ(f.indexOf("Autre chose"), 0);
}

TEST(FileDialogSetup, AnOpenDialogStartsInTheFolderOnTheRequestedFilter)
{
    QTemporaryDir dir;
    QFileDialog dialog;
    configureFileDialog(dialog,
                        {"Choisissez un fichier profil (.dat, .dxf, .plt)", kOpenFilterR, 6, "", dir.path()},
                        FileDialogKind::Open);
    EXPECT_EQ(dialog.windowTitle(), "Choisissez un fichier profil (.dat, .dxf, .plt)");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(QtFileFilters::parse(kOpenFilterR).indexOf(dialog.selectedNameFilter()), 6);
    EXPECT_TRUE(dialog.testOption(QFileDialog::HideNameFilterDetails));
}

TEST(FileDialogSetup, ASaveDialogPromptsBeforeOverwritingUnlessAskedNotTo)
{
    QFileDialog prompting;
    configureFileDialog(prompting, {"Enregistrer", kSaveFilterJ, 2, "aile", "", true}, FileDialogKind::Save);
    EXPECT_FALSE(prompting.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(prompting.defaultSuffix(), "dxf");
    QFileDialog silent;
    configureFileDialog(silent, {"Enregistrer", kSaveFilterJ, 1, "", "", false}, FileDialogKind::Save);
    EXPECT_TRUE(silent.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(silent.defaultSuffix(), "orv");
}

TEST(FileDialogSetup, AnIndexOutOfRangeSelectsTheFirstFilter)
{
    QFileDialog dialog;
    configureFileDialog(dialog, {"t", kSaveFilterJ, 9, "", ""}, FileDialogKind::Save);
    EXPECT_EQ(QtFileFilters::parse(kSaveFilterJ).indexOf(dialog.selectedNameFilter()), 1);
}

TEST(FileDialogRun, TheChosenPathAndFilterComeBackWithTheFilterExtensionAdded)
{
    QTemporaryDir dir;
    QtPlatform platform;
    whenModalShown<QFileDialog>([](QFileDialog *d) {
        d->selectNameFilter(d->nameFilters().at(1)); // as the user does: "DAO 3D"
        d->selectFile("panneau");
        static_cast<QDialog *>(d)->accept(); // what the OK button does
    });
    const auto choice =
        platform.saveFileDialog({"Enregistrer le projet ou l'image 3D...", kSaveFilterJ, 1, "", dir.path()});
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->filterIndex, 2);
    EXPECT_EQ(QFileInfo(choice->path).fileName(), "panneau.dxf");
}

TEST(FileDialogRun, TheOverwritePromptNamesTheFileWithItsAddedExtension)
{
    QTemporaryDir dir;
    QFile existing(dir.filePath("panneau.dxf"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtPlatform platform;
    QString question;
    whenModalShown<QFileDialog>([&question](QFileDialog *d) {
        d->selectNameFilter(d->nameFilters().at(1));
        d->selectFile("panneau");
        whenModalShown<QMessageBox>([&question](QMessageBox *b) {
            question = b->text();
            b->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog *>(d)->accept();
    });
    const auto choice = platform.saveFileDialog({"Enregistrer", kSaveFilterJ, 1, "", dir.path()});
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, dir.filePath("panneau.dxf"));
    EXPECT_TRUE(question.contains("panneau.dxf")) << question.toStdString();
    EXPECT_TRUE(question.contains("existe")) << question.toStdString(); // asked in French
}

TEST(FileDialogRun, CancelGivesNothing)
{
    QtPlatform platform;
    whenModalShown<QFileDialog>([](QFileDialog *d) { d->reject(); });
    EXPECT_FALSE(platform.openFileDialog({"Ouvrir", kOpenFilterR, 1, "", ""}).has_value());
}

TEST(MessageBoxes, EachStyleHasItsIconButtonsAndDefault)
{
    struct Case {
        MessageStyle style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton escape;
    };
    const Case cases[] = {
        {MessageStyle::CriticalOk, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok},
        {MessageStyle::InformationOk, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok},
        {MessageStyle::PlainOk, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok},
        {MessageStyle::ExclamationYesNo, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::No},
        {MessageStyle::ExclamationYesNoCancel, QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel},
        {MessageStyle::QuestionYesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::No},
    };
    for (const Case &c : cases) {
        const auto box = makeMessageBox("ligne 1\r\nligne 2", "Titre", c.style);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->standardButtons(), c.buttons);
        const QMessageBox::StandardButton first =
            c.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        EXPECT_EQ(box->standardButton(box->defaultButton()), first);
        EXPECT_EQ(box->standardButton(box->escapeButton()), c.escape);
        EXPECT_EQ(box->text(), "ligne 1\nligne 2");
        EXPECT_EQ(box->windowTitle(), "Titre");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(iconOf(c.style) == NoticeIcon::None, c.icon == QMessageBox::NoIcon);
    }
}

TEST(MessageBoxes, StandardButtonsReadInFrench)
{
    const auto box = makeMessageBox("?", "t", MessageStyle::ExclamationYesNoCancel);
    EXPECT_EQ(plain(box->button(QMessageBox::Yes)->text()), "Oui");
    EXPECT_EQ(plain(box->button(QMessageBox::No)->text()), "Non");
    EXPECT_EQ(plain(box->button(QMessageBox::Cancel)->text()), "Annuler");
}

TEST(MessageBoxes, ThePressedButtonIsReturnedAndClosingNeverMeansYes)
{
    QtPlatform platform;
    whenModalShown<QMessageBox>([](QMessageBox *b) { b->button(QMessageBox::No)->click(); });
    EXPECT_EQ(platform.messageBox("Voulez-vous effectuer une sauvegarde du projet en cours?",
                                  "Fermeture de Orvalis", MessageStyle::ExclamationYesNoCancel),
              MessageButton::No);
    whenModalShown<QMessageBox>([](QMessageBox *b) { b->reject(); });
    EXPECT_EQ(platform.messageBox("?", "t", MessageStyle::ExclamationYesNoCancel), MessageButton::Cancel);
    EXPECT_EQ(answerOf(QMessageBox::NoButton, MessageStyle::QuestionYesNo), MessageButton::No);
    EXPECT_EQ(answerOf(QMessageBox::NoButton, MessageStyle::CriticalOk), MessageButton::Ok);
}

TEST(MessageBoxes, ANoticeShowsWithTheStyleOfItsIcon)
{
    QtPlatform platform;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalShown<QMessageBox>([&](QMessageBox *b) {
        title = b->windowTitle();
        icon = b->icon();
        b->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(
        platform.messageBox(critical("Il faut d'abord charger un profil d'emplanture.", "Action impossible")),
        MessageButton::Ok);
    EXPECT_EQ(title, "Action impossible");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtTimers, ASingleShotTimerFiresOnceFromTheEventLoop)
{
    QtPlatform platform;
    int fired = 0;
    const auto timer = platform.createTimer(
        1, [&] { ++fired; }, TimerMode::SingleShot);
    EXPECT_FALSE(timer->isActive());
    timer->start();
    EXPECT_TRUE(waitFor([&] { return fired > 0; }));
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(fired, 1);
}

TEST(HelpKey, F1InAnyWindowOpensTheHelpOnce)
{
    QtPlatform platform;
    int opened = 0;
    platform.setHelpHandler([&] { ++opened; });
    platform.installHelpKey();
    QWidget window;
    QWidget *child = new QWidget(&window);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(child, &f1);
    EXPECT_EQ(opened, 1);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(child, &other);
    EXPECT_EQ(opened, 1);
    platform.showHelp();
    EXPECT_EQ(opened, 2);
}
