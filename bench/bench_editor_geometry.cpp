// The geometry and layout commands measured through the main window's
// handlers (offscreen, real library), on a root and a tip of 100,000 points:
// the handler with its closing steps, then the picture drawn after it.
#include "editor_bench.h"
#include "core/characteristics.h"
#include "editor/editor.h"
#include "editor/form_orvalis.h"
#include "editor/geometry_part.h"
#include "editor/layout_part.h"
#include "editor/profile_canvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// A closed airfoil-like contour; `bunch` > 1 gathers the points at the nose,
// so that root and tip share no fractions of length.
orv::ProfilePoints airfoil(int n, float chord, float dy, double bunch)
{
    std::vector<orv::PointProfil> pts(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double u = double(i) / (n - 1);
        const double t = u < 0.5 ? 0.5 * std::pow(2 * u, bunch) : 1 - 0.5 * std::pow(2 * (1 - u), bunch);
        const double a = 2 * M_PI * t;
        const double x = 0.5 * (1 + std::cos(a));
        const double y = 0.06 * std::sin(a) * (1 + 0.02 * std::sin(400 * a));
        pts[static_cast<size_t>(i)] = {static_cast<float>(x * chord), static_cast<float>(y * chord + dy), 0};
    }
    pts.back() = pts.front();
    return orv::ProfilePoints(pts);
}

// A closed circle: the offset refuses neighbours closer than 0.01 mm.
orv::ProfilePoints circle(int n, float radius)
{
    std::vector<orv::PointProfil> pts(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / (n - 1);
        pts[static_cast<size_t>(i)] = {static_cast<float>(radius * std::cos(a)),
                                       static_cast<float>(radius * std::sin(a)), orv::kSelected};
    }
    pts.back() = pts.front();
    return orv::ProfilePoints(pts);
}

void mark(orv::ProfilePoints &p, int32_t from, int32_t to, int16_t bit)
{
    for (int32_t i = from; i <= to; ++i)
        p.edit(i).Flags = static_cast<int16_t>(p[i].Flags | bit);
}

struct Figures {
    double best = 1e30, bestCpu = 1e30, median = 0, picture = 0;
};

} // namespace

int main(int argc, char **argv)
{
    orvbench::BenchWindow bench(argc, argv);
    orv::FormOrvalis &window = bench.form();
    orv::TestPlatform &platform = bench.platform();
    orv::Editor &ed = window.editor();
    orv::MainWindowUi &ui = window.ui();
    orv::GeometryPart &geometry = window.geometryPart();
    orv::LayoutPart &layout = window.layoutPart();
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = 9;

    orv::Profils wing;
    wing.PointsE = airfoil(n, 250, 0, 1.0);
    wing.PointsS = airfoil(n, 180, 20, 1.6);
    wing.Ecartement = 500;
    for (orv::ProfilePoints *p : {&wing.PointsE, &wing.PointsS})
        for (int32_t i : {n / 4, n / 2, 3 * n / 4})
            mark(*p, i, i, orv::kSync);
    mark(wing.PointsE, n / 3, n / 3, orv::kReference);
    mark(wing.PointsS, n / 3 + 7, n / 3 + 7, orv::kReference);

    // Loads a document as a file load does, every layout box off.
    auto load = [&](const orv::Profils &doc) {
        ed.st.history.AnnulationEnCours = true;
        for (QCheckBox *b : ui.chkFleche)
            b->setChecked(false);
        for (QCheckBox *b : ui.chkDiedre)
            b->setChecked(false);
        ui.chkAligner->setChecked(false);
        ui.chkProfilIntermediaire->setChecked(false);
        ed.st.doc = doc;
        orv::computeCharacteristics(ed.st.doc);
        ed.st.layout.storedSweep = ed.st.doc.C.FlecheBA;
        ed.st.layout.storedDihedral = ed.st.doc.C.DiedreMm;
        ed.st.ProjetCharge = true;
        ed.enableEditing(true);
        ed.finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
        ed.ui.pctProfils->picture();
    };
    auto setText = [](QLineEdit *box, const char *text) { box->setText(QString::fromUtf8(text)); };

    std::printf("root and tip of %d points each, %d runs, figures in ms\n", n, runs);
    std::printf("%-58s %8s %8s %8s %8s\n", "handler (closing steps included)", "best", "best cpu", "median",
                "picture");
    auto measure = [&](const char *what, const orv::Profils &doc, const std::function<void()> &prepare,
                       const std::function<void()> &command) {
        Figures f;
        std::vector<double> times, pictures;
        for (int k = 0; k < runs; ++k) {
            load(doc);
            if (prepare)
                prepare();
            platform.clearRecords();
            QElapsedTimer t;
            const double c0 = orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID);
            t.start();
            command();
            const double wall = t.nsecsElapsed() / 1e6, cpu = orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID) - c0;
            QElapsedTimer p;
            p.start();
            ed.ui.pctProfils->picture();
            pictures.push_back(p.nsecsElapsed() / 1e6);
            times.push_back(wall);
            f.best = std::min(f.best, wall);
            f.bestCpu = std::min(f.bestCpu, cpu);
        }
        f.median = orvbench::median(times);
        f.picture = orvbench::median(pictures);
        std::printf("%-58s %8.2f %8.2f %8.2f %8.2f   (%d, %d points after)\n", what, f.best, f.bestCpu,
                    f.median, f.picture, ed.st.doc.NbPointsE(), ed.st.doc.NbPointsS());
    };

    measure("optimal synchronization (4 sections)", wing, {}, [&] { geometry.cmdSynchroOptimale_Click(); });
    measure(
        "cleaning, total (answer No)", wing, [&] { platform.queueAnswer(orv::MessageButton::No); },
        [&] { geometry.cmdNettoyage_Click(); });
    measure(
        "cleaning, synchronous (answer Yes)", wing, [&] { platform.queueAnswer(orv::MessageButton::Yes); },
        [&] { geometry.cmdNettoyage_Click(); });

    orv::Profils circles = wing;
    circles.PointsE = circle(n, 1000);
    circles.PointsS = circle(n, 900);
    measure(
        "offset of two fully selected closed profiles", circles, [&] { setText(ui.txtDecaler, "1.5"); },
        [&] { geometry.txtDecaler_KeyUp(); });
    orv::Profils oneRun = wing;
    // A run of 10,000 points, or of a tenth of a smaller profile.
    mark(oneRun.PointsE, n / 100 + 1, n / 100 + std::min(10000, n / 10), orv::kSelected);
    measure("smoothing of one 10,000-point run (LissageSequence)", oneRun, {},
            [&] { geometry.cmdLisser_Click(); });

    measure(
        "chord entry (txtCorde(0))", wing, [&] { setText(ui.side[0].txtCorde, "300"); },
        [&] { layout.txtCorde_KeyUp(0); });
    measure(
        "spacing entry", wing, [&] { setText(ui.txtEcartementZ, "650"); },
        [&] { layout.txtEcartementZ_KeyUp(); });
    measure(
        "sweep entry", wing, [&] { setText(ui.txtFleche, "30"); }, [&] { layout.txtFleche_KeyUp(); });
    measure("sweep mode \"Aligner les BF\"", wing, {}, [&] { ui.chkFleche[2]->setChecked(true); });
    measure(
        "dihedral entry in mm", wing, [&] { setText(ui.txtDiedreMm, "12"); },
        [&] { layout.txtDiedreMm_KeyUp(); });
    measure(
        "dihedral entry in degrees", wing, [&] { setText(ui.txtDiedreDeg, "2"); },
        [&] { layout.txtDiedreDeg_KeyUp(); });
    measure("dihedral mode \"Aligner les milieux\"", wing, {}, [&] { ui.chkDiedre[2]->setChecked(true); });
    measure("alignment on the reference points", wing, {}, [&] { ui.chkAligner->setChecked(true); });
    measure(
        "re-application, two modes checked", wing,
        [&] {
            ui.chkFleche[1]->setChecked(true);
            ui.chkDiedre[4]->setChecked(true);
        },
        [&] { layout.reapply(); });
    measure(
        "two wings, mirrored (cmdDupliquer(0))", wing, [&] { setText(ui.txtEcartementAiles, "60"); },
        [&] { layout.cmdDupliquer_Click(0); });
    measure(
        "two wings, head to tail (cmdDupliquer(1))", wing, [&] { setText(ui.txtEcartementAiles, "60"); },
        [&] { layout.cmdDupliquer_Click(1); });
    orv::Profils synchronized = wing;
    synchronized.PointsS = airfoil(n, 180, 20, 1.0);
    measure(
        "intermediate profile (box ticked, spacing entry)", synchronized,
        [&] {
            ui.chkProfilIntermediaire->setChecked(true);
            setText(ui.txtEcartementIntermediaire, "200");
        },
        [&] { layout.txtEcartementIntermediaire_KeyUp(); });
    ui.chkProfilIntermediaire->setChecked(false);
    measure("intermediate profile box ticked then unticked", synchronized, {}, [&] {
        ui.chkProfilIntermediaire->setChecked(true);
        ui.chkProfilIntermediaire->setChecked(false);
    });
    return 0;
}
