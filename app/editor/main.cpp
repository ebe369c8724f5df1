// Start-up: one running copy, the French translation, the library, the help
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
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalis"));
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

    QStringList args = QApplication::arguments();
    args.removeFirst();
    orv::EditorEnvironment env{orv::programFolder(), orv::helpFilePath(), orv::joinedCommandLine(args)};
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
