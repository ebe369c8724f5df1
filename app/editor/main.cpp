// Start-up: the command line (help, version and bad options end before any
// window), one running copy, the French translation, the library, the help
// and the main window.
#include "about/help_window.h"
#include "editor/form_orvalis.h"
#include "platform/command_line.h"
#include "platform/program_folder.h"
#include "platform/qt_platform.h"
#include "platform/single_instance.h"
#include "platform/vextra_binding.h"
#include "sequences/form_sequences.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

int print(std::FILE *stream, const QString &text, int code)
{
    std::fputs(text.toUtf8().constData(), stream);
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const orv::StartRequest request = orv::parseStartArguments(arguments);
    switch (request.action) {
    case orv::StartAction::Help: {
        const QString samples = orv::samplesFolder();
        return print(stdout, orv::helpText(QFileInfo(samples).isDir() ? samples : QString()), 0);
    }
    case orv::StartAction::Version:
        return print(stdout, orv::versionText(QStringLiteral(ORVALIS_VERSION)), 0);
    case orv::StartAction::BadOption:
        return print(stderr, orv::badOptionText(request.badOption), 2);
    case orv::StartAction::Run:
        break;
    }

    // Qt sees its own options only: a file named "-style" stays a file.
    std::vector<QByteArray> qtBytes{QByteArray(argv[0])};
    for (const QString &a : request.qtArguments)
        qtBytes.push_back(a.toLocal8Bit());
    std::vector<char *> qtArgv;
    for (QByteArray &b : qtBytes)
        qtArgv.push_back(b.data());
    qtArgv.push_back(nullptr);
    int qtArgc = int(qtBytes.size());

    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Orvalis"));
    QApplication::setApplicationVersion(QStringLiteral(ORVALIS_VERSION));
    // Ties the window to its desktop entry (icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVALIS_APP_ID));
    orv::SingleInstance instance;
    if (instance.anotherIsRunning())
        return 0;
    orv::installFrenchTranslation(app);

    orv::QtPlatform platform;
    orv::VextraLibrary &library = orv::VextraLibrary::shared();
    if (!library.isLoaded()) {
        platform.messageBox(library.errorNotice());
        return 1;
    }

    orv::EditorEnvironment env{orv::programFolder(), orv::helpFilePath(),
                               orv::joinedCommandLine(request.files)};
    orv::FormOrvalis window(platform, library, env);
    orv::installSequenceWindow(window);
    orv::HelpWindow help(&window);
    platform.setHelpHandler([&] { help.showHelp(env.helpFile); });
    platform.installHelpKey();
    window.load();
    window.show();
    // ORVALIS_CAPTURE=file.png: save a picture of the window once it is up,
    // then end (for the documentation and for machines without a screen).
    const QString capture = qEnvironmentVariable("ORVALIS_CAPTURE");
    if (!capture.isEmpty())
        QTimer::singleShot(1500, &window, [&] {
            window.grab().save(capture);
            QApplication::exit(0);
        });
    return app.exec();
}
