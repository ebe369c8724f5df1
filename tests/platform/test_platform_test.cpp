// The scripted double the window tests rely on: its answers, its records and
// its hand-driven timers.
#include "platform/system_info.h"
#include "platform/test_platform.h"

#include "qt_print.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(TestPlatformMessages, WithoutQueuedAnswersTheFirstButtonIsPressed)
{
    TestPlatform p;
    EXPECT_EQ(p.messageBox("a", "t", MessageStyle::CriticalOk), MessageButton::Ok);
    EXPECT_EQ(p.messageBox("b", "t", MessageStyle::ExclamationYesNoCancel), MessageButton::Yes);
    EXPECT_EQ(p.messageBox("c", "t", MessageStyle::QuestionYesNo), MessageButton::Yes);
}

TEST(TestPlatformMessages, QueuedAnswersAreUsedInOrder)
{
    TestPlatform p;
    p.queueAnswer(MessageButton::Cancel);
    p.queueAnswer(MessageButton::No);
    EXPECT_EQ(p.messageBox("a", "t", MessageStyle::ExclamationYesNoCancel), MessageButton::Cancel);
    EXPECT_EQ(p.messageBox("b", "t", MessageStyle::ExclamationYesNo), MessageButton::No);
    EXPECT_EQ(p.pendingAnswers(), 0u);
}

TEST(TestPlatformMessages, AnAnswerTheBoxDoesNotOfferIsATestError)
{
    TestPlatform p;
    p.queueAnswer(MessageButton::Cancel);
    EXPECT_THROW(p.messageBox("a", "t", MessageStyle::QuestionYesNo), std::logic_error);
}

TEST(TestPlatformMessages, EveryMessageIsRecordedWordForWord)
{
    TestPlatform p;
    p.queueAnswer(MessageButton::No);
    p.messageBox("Voulez-vous effectuer une sauvegarde du projet en cours?", "Fermeture de Orvalis",
                 MessageStyle::ExclamationYesNoCancel);
    p.messageBox(information("Le profil d'emplanture est déjà fermé", "Opération impossible"));
    ASSERT_EQ(p.messages().size(), 2u);
    const RecordedMessage &first = p.messages()[0];
    EXPECT_EQ(first.text, "Voulez-vous effectuer une sauvegarde du projet en cours?");
    EXPECT_EQ(first.title, "Fermeture de Orvalis");
    EXPECT_EQ(first.style, MessageStyle::ExclamationYesNoCancel);
    EXPECT_EQ(first.icon, NoticeIcon::Exclamation);
    EXPECT_EQ(first.buttons, (std::vector{MessageButton::Yes, MessageButton::No, MessageButton::Cancel}));
    EXPECT_EQ(first.answer, MessageButton::No);
    const RecordedMessage &second = p.messages()[1];
    EXPECT_EQ(second.text, "Le profil d'emplanture est déjà fermé");
    EXPECT_EQ(second.title, "Opération impossible");
    EXPECT_EQ(second.style, MessageStyle::InformationOk);
}

TEST(TestPlatformDialogs, RequestsAreRecordedAndAnsweredFromTheQueue)
{
    TestPlatform p;
    p.queueFile("/tmp/aile.dat", 2);
    p.queueCancel();
    const FileDialogRequest request{"Enregistrer le profil emplanture en .dxf ou en .dat...",
                                    "DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Tous les fichiers (*.*)|*.*",
                                    2,
                                    "aile",
                                    "/home/moi/",
                                    true};
    EXPECT_EQ(p.saveFileDialog(request), (FileChoice{"/tmp/aile.dat", 2}));
    EXPECT_FALSE(p.openFileDialog({"Choisissez", "DAO (*.dxf)|*.dxf", 1, "", "/"}).has_value());
    EXPECT_FALSE(p.openFileDialog({"Encore", "", 1, "", ""}).has_value()); // empty queue: Cancel
    ASSERT_EQ(p.dialogs().size(), 3u);
    const RecordedDialog &d = p.dialogs()[0];
    EXPECT_EQ(d.kind, FileDialogKind::Save);
    EXPECT_EQ(d.title, request.title);
    EXPECT_EQ(d.filter, request.filter);
    EXPECT_EQ(d.filterIndex, 2);
    EXPECT_EQ(d.fileName, "aile");
    EXPECT_EQ(d.folder, "/home/moi/");
    EXPECT_TRUE(d.overwritePrompt);
    EXPECT_EQ(p.dialogs()[1].kind, FileDialogKind::Open);
}

TEST(TestPlatformState, KeysHelpAndProgramsAreWhatTheTestSays)
{
    TestPlatform p;
    EXPECT_FALSE(p.isCtrlDown());
    p.setCtrlDown(true);
    p.setShiftDown(true);
    EXPECT_TRUE(p.isCtrlDown());
    EXPECT_TRUE(p.isShiftDown());
    p.showHelp();
    EXPECT_EQ(p.helpRequests(), 1);
    EXPECT_TRUE(p.startProgram("/usr/bin/hardinfo", {"-r"}));
    ASSERT_EQ(p.startedPrograms().size(), 1u);
    EXPECT_EQ(p.startedPrograms()[0].program, "/usr/bin/hardinfo");
    EXPECT_EQ(p.startedPrograms()[0].arguments, QStringList{"-r"});
    p.clearRecords();
    EXPECT_EQ(p.helpRequests(), 0);
    EXPECT_TRUE(p.startedPrograms().empty());
}

TEST(TestPlatformTimers, TimersFireOnlyWhenTheClockIsMoved)
{
    TestPlatform p;
    int ticks = 0;
    const auto timer = p.createTimer(
        100, [&] { ++ticks; }, TimerMode::Repeating, "Timer_rotation1");
    timer->start();
    EXPECT_EQ(ticks, 0);
    p.advance(99);
    EXPECT_EQ(ticks, 0);
    p.advance(1);
    EXPECT_EQ(ticks, 1);
    p.advance(250);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(p.clockMs(), 350);
    timer->stop();
    p.advance(1000);
    EXPECT_EQ(ticks, 3);
}

TEST(TestPlatformTimers, ASingleShotTimerFiresOnceAndStops)
{
    TestPlatform p;
    int ticks = 0;
    const auto timer = p.createTimer(
        800, [&] { ++ticks; }, TimerMode::SingleShot, "TimerZoom");
    timer->start();
    p.advance(5000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->isActive());
}

TEST(TestPlatformTimers, RestartingPostponesTheNextFiring)
{
    TestPlatform p;
    int ticks = 0;
    const auto timer = p.createTimer(
        800, [&] { ++ticks; }, TimerMode::SingleShot, "TimerZoom");
    timer->start();
    p.advance(500);
    timer->stop();
    timer->start(); // another zoom step
    p.advance(500);
    EXPECT_EQ(ticks, 0);
    p.advance(300);
    EXPECT_EQ(ticks, 1);
}

TEST(TestPlatformTimers, TimersAreFoundByNameAndFiredByHand)
{
    TestPlatform p;
    int zoom = 0;
    int other = 0;
    auto a = p.createTimer(
        800, [&] { ++zoom; }, TimerMode::Repeating, "TimerZoom");
    auto b = p.createTimer(
        100, [&] { ++other; }, TimerMode::Repeating, "Timer_Ecartement1");
    ASSERT_EQ(p.timers().size(), 2u);
    TestTimer *t = p.timer("TimerZoom");
    ASSERT_NE(t, nullptr);
    t->fire(); // stopped: nothing
    EXPECT_EQ(zoom, 0);
    a->setEnabled(true);
    t->fire();
    EXPECT_EQ(zoom, 1);
    EXPECT_EQ(other, 0);
    b.reset();
    EXPECT_EQ(p.timers().size(), 1u);
    EXPECT_EQ(p.timer("Timer_Ecartement1"), nullptr);
}

TEST(TestPlatformTimers, TimersFireInTheOrderOfTheirTimes)
{
    TestPlatform p;
    QString order;
    auto slow = p.createTimer(300, [&] { order += u's'; });
    auto fast = p.createTimer(100, [&] { order += u'f'; });
    slow->start();
    fast->start();
    p.advance(300);
    EXPECT_EQ(order, "ffsf"); // at 300 both are due: the one created first goes first
}

TEST(TestPlatformTimers, ATimerMayDeleteItselfWhileFiring)
{
    TestPlatform p;
    std::unique_ptr<Timer> timer;
    int ticks = 0;
    timer = p.createTimer(10, [&] {
        ++ticks;
        timer.reset();
    });
    timer->start();
    p.advance(100);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(p.timers().empty());
}

TEST(SystemInformation, WithoutAToolThePlainMessageIsShown)
{
    TestPlatform p;
    EXPECT_FALSE(showSystemInformation(p, "Orvalis"));
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, "Les informations système ne sont pas disponibles actuellement");
    EXPECT_EQ(p.messages()[0].style, MessageStyle::PlainOk);
    EXPECT_TRUE(p.startedPrograms().empty());
}

TEST(SystemInformation, TheFoundToolIsStarted)
{
    TestPlatform p;
    p.setSystemInfoTool("/usr/bin/kinfocenter");
    EXPECT_TRUE(showSystemInformation(p, "Orvalis"));
    ASSERT_EQ(p.startedPrograms().size(), 1u);
    EXPECT_EQ(p.startedPrograms()[0].program, "/usr/bin/kinfocenter");
    EXPECT_TRUE(p.messages().empty());
}

TEST(SystemInformation, AToolThatWillNotStartIsReportedLikeAMissingOne)
{
    TestPlatform p;
    p.setSystemInfoTool("/usr/bin/kinfocenter");
    p.setProgramsStart(false);
    EXPECT_FALSE(showSystemInformation(p, "Orvalis"));
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, kSystemInfoUnavailable);
}
