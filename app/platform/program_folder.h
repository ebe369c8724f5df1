// The program's folder, which holds Orvalis.ini and the exchange files, and
// the folder of the files installed with the program (help, samples).
#pragma once

#include <QString>

namespace orv {

// What the program folder is chosen from; empty fields are unset.
struct ProgramFolderInputs {
    QString orvalisHome;      // $ORVALIS_HOME
    QString executableFolder; // where the running program lies
    QString xdgConfigHome;    // $XDG_CONFIG_HOME
    QString home;             // the user's home folder
    // The help lies beside the executable: a build tree or a portable
    // install, which keeps everything in one folder.
    bool portable = false;
};

// ORVALIS_HOME when set; else the executable's folder when the install is
// portable and the folder writable; else $XDG_CONFIG_HOME/Orvalis
// (~/.config/Orvalis when unset or relative). An installed program (/usr/bin)
// never writes beside itself, not even for root. The chosen folder is created
// when missing. No trailing "/".
QString resolveProgramFolder(const ProgramFolderInputs &inputs);

// Where the help and the samples are: the executable's folder when the help
// lies there, else <executable folder>/../share/orvalis when it holds the
// help (an install under /usr or any other prefix); the executable's folder
// when neither does. No trailing "/".
QString resolveDataFolder(const QString &executableFolder);

// The folder of the running executable, without trailing "/".
QString executableFolder();
// The program folder and the data folder from the real environment.
QString programFolder();
QString dataFolder();

QString settingsFilePath();           // <program folder>/Orvalis.ini
QString helpFilePath();               // <data folder>/Aide_Orvalis.html
QString samplesFolder();              // <data folder>/samples
QString exchangeFilePath(QChar side); // <program folder>/TempE.dat or TempS.dat

} // namespace orv
