// The exchange with the hot-wire cutting program Sorvane: the transfer of the
// panel as "TempE.dat" and "TempS.dat" in the program's folder, their import,
// and the opening of Sorvane's own projects (".sv") from the root open dialog.
#pragma once

#include "editor/part.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace orv {

class FormOrvalis;
struct SorvaneProject;

class ExchangePart : public Part {
public:
    ExchangePart(Editor &ed, FormOrvalis &window);

    void cmdTransfertSorvane_Click();
    void cmdImportSorvane_Click();
    // Opens a Sorvane project into the document; false when it was refused
    // and the document, the selection and the history were kept.
    bool openSorvaneProject(const QString &path);

    // The folder of Orvalis.ini + "/TempE.dat" or "/TempS.dat".
    QString exchangePath(Side side) const;

private:
    // The document becomes these profiles, with the editing controls on, the
    // layout boxes unticked and the stored sweep and dihedral measured.
    void replaceDocument(const std::vector<PointProfil> &root, const std::vector<PointProfil> &tip, float spacing,
                         const std::array<QString, 2> &names);
    // Reads one exchange file into points; shows the failure and returns false.
    bool readExchangeFile(const QString &path, std::vector<PointProfil> &points, QString &title);
    // Height, mirrors, twist, sweep and dihedral through the commands of the
    // buttons and boxes, then the side view.
    void applySorvaneLayout(const SorvaneProject &p);
    // Runs a transform command on the whole of one side, with nothing else
    // selected and no snapshot, and leaves no selection behind.
    void onWholeSide(Side side, const std::function<void()> &command);
    // Puts a number into an entry box as typed text.
    void typeInto(QWidget *box, double value);

    FormOrvalis &m_window;
};

} // namespace orv
