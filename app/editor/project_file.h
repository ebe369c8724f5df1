// The Orvalis project file (".orv"): the whole document as a sectioned
// settings file, written in one pass and read back key by key, with what a
// damaged file lost counted instead of trusted.
#pragma once

#include "core/document.h"
#include "core/view.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string>
#include <string_view>

namespace orv {

class IniDocument;

inline const QString kProjectRoot = QStringLiteral("Emplanture");
inline const QString kProjectTip = QStringLiteral("Saumon");
inline const QString kProjectPosition = QStringLiteral("Position");
inline const QString kProjectDisplay = QStringLiteral("Affichage");

// Everything a project holds.
struct ProjectData {
    std::array<QString, 2> fileNames; // lblNomFichier(0), (1)
    std::array<ProfilePoints, 2> points;
    float Ecartement = 0;
    int boutonFleche = -1;  // ticked chkFleche box, -1 for none
    int boutonDiedre = -1;  // ticked chkDiedre box, -1 for none
    int boutonAligner = -1; // 1 when chkAligner is ticked
    float CoeffZoom = 1, XCentreZoom = 0, YCentreZoom = 0;
    int omega = kPerspectiveOmega, alpha = kPerspectiveAlpha; // the perspective bars
    QString comment;                                          // lines separated by CR LF
};

// Clears the four sections, then writes every key in the order a reader of
// the older program expects; numbers carry six decimals and a ".".
void writeProject(IniDocument &file, const ProjectData &data);

// What a read had to leave out or mend, per side where it applies.
struct ProjectDamage {
    std::array<int, 2> unreadablePoints{}; // values without a readable X and Y: skipped
    std::array<int, 2> missingPoints{};    // points the count promised but no key holds
    std::array<bool, 2> badCount{};        // a count below 1 or unreadable, with points present
    std::array<int, 2> badFlags{};         // flags missing, beyond 16 bits or with unknown bits
    bool badButtons = false;               // a layout box index out of its range
    std::array<int, 2> pointsRead{};       // points kept per side
    bool any() const;
    // One French line per kind of damage, for the message.
    QStringList describe() const;
};

enum class ProjectRefusal {
    None,
    NotAProject, // neither profile section
    NoRootPoint, // no usable root point
    NoTipPoint,  // no usable tip point
};

struct ProjectRead {
    ProjectData data;
    ProjectDamage damage;
    ProjectRefusal refusal = ProjectRefusal::None;
};

// Reads a project. Sound values are taken as written; anything else is
// skipped or mended and counted in `damage`. A project with a side that
// holds no usable point is refused: the editor never holds an empty profile
// once something is loaded.
ProjectRead readProject(const IniDocument &file);

namespace projectdetail {
// The point values' fast paths, exposed for their tests: a float with six
// decimals as the "#####0.000000" pattern writes it, and a number as the
// lenient conversion reads it.
void appendSixDecimals(std::string &out, float v);
double readNumber(std::string_view text);
} // namespace projectdetail

} // namespace orv
