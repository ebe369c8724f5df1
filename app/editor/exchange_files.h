// What travels between Orvalis and the cutting program Sorvane: the titles of
// the exchange files "TempE.dat" and "TempS.dat", which carry the chords and
// the layout, and Sorvane's own project file (".sv"), read into a work copy.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace orv {

// "E;<chord>;00000.000;00000.000;00000.000;<file name>"
QString rootExchangeTitle(float chord, const QString &fileName);
// "S;<chord>;<sweep>;<dihedral mm>;<spacing>;<file name>"
QString tipExchangeTitle(float chord, float sweep, float dihedral, float spacing, const QString &fileName);

// The chord of a root title: from its third character up to the next ";".
std::optional<float> rootTitleChord(const QString &title);

struct TipTitle {
    float chord = 0, sweep = 0, dihedral = 0, spacing = 0;
};
// The four numbers after the first two characters, each followed by ";".
std::optional<TipTitle> parseTipTitle(const QString &title);

// A number of an exchange or Sorvane file: "." or "," as decimal point,
// blanks around it; nothing else may follow.
std::optional<double> exchangeNumber(const QString &text);

struct SorvaneSide {
    std::vector<PointProfil> points;
    double heightFactor = 1; // xHauteur: 1 leaves the side as it is
    bool mirrorVertical = false, mirrorHorizontal = false;
    double twist = 0;        // Vrillage, degrees
    double lowerSurface = 0; // MDessous
    QString fileName;        // Fichier
};

struct SorvaneProject {
    std::array<SorvaneSide, 2> sides; // root, tip
    double sweep = 0;                 // the tip's FlecheBA
    double spacing = 0;               // Envergure, either side
    double tipOffset = 0;             // the tip's Decalage
    bool offsetGiven = false;         // a Decalage key on either side
    QStringList comment;              // the Commentaire lines

    // The dihedral in mm: the tip's Decalage when the file has that key,
    // else the difference of the lower surfaces.
    double dihedral() const;
};

struct SorvaneRead {
    std::optional<SorvaneProject> project;
    QString problem; // French, when the project is refused
};

// Reads a project's text; the whole file must be sound for a project to
// come back: every number readable, points on both sides, a spacing.
SorvaneRead readSorvaneProject(const QString &text);

// ---- messages
Notice importQuestion();
Notice importFilesMissing();
Notice exchangeTitleRefused(const QString &path);
Notice sorvaneRefused(const QString &path, const QString &problem);
Notice sorvaneUnreadable(const QString &path);

} // namespace orv
