// The program's folder, which holds Orvalis.ini and the exchange files, and
// the paths of the files that live there or beside the executable.
#pragma once

#include <QString>

namespace orv {

// What the program folder is chosen from; empty fields are unset.
struct ProgramFolderInputs {
    QString orvalisHome;      // $ORVALIS_HOME
    QString executableFolder; // where the running program lies
    QString xdgConfigHome;    // $XDG_CONFIG_HOME
    QString home;             // the user's home folder
};

// ORVALIS_HOME when set; else the executable's folder when it is writable;
// else $XDG_CONFIG_HOME/Orvalis (~/.config/Orvalis when unset or relative).
// The chosen folder is created when missing. No trailing "/".
QString resolveProgramFolder(const ProgramFolderInputs &inputs);

// The folder of the running executable, without trailing "/".
QString executableFolder();
// The program folder from the real environment.
QString programFolder();

QString settingsFilePath();           // <program folder>/Orvalis.ini
QString helpFilePath();               // <executable folder>/Aide_Orvalis.html
QString exchangeFilePath(QChar side); // <program folder>/TempE.dat or TempS.dat

} // namespace orv
