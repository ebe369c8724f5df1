// Selection and editing through the real main window, offscreen: clicks,
// rectangles and every selection, clipboard, transform and point-editing
// command on 2 × 100,000 points; pan and Ctrl drag frames on 2 × 50,000; the
// history's memory after 45 commands.
#include "editor_bench.h"
#include "core/characteristics.h"
#include "core/history.h"
#include "editor/clipboard_part.h"
#include "editor/editor.h"
#include "editor/form_orvalis.h"
#include "editor/mouse_part.h"
#include "editor/point_editing_part.h"
#include "editor/profile_canvas.h"
#include "editor/selection_part.h"
#include "editor/transforms_part.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace orv;

namespace {

constexpr double kPi = 3.14159265358979;

// A closed airfoil-like contour of n points (first = last), points bunched
// at the nose.
ProfilePoints airfoil(int32_t n, double chord, double x0, double y0)
{
    std::vector<PointProfil> v(static_cast<size_t>(n));
    for (int32_t i = 0; i < n - 1; ++i) {
        const double t = 2 * kPi * i / (n - 1);
        const double x = chord * (1 + std::cos(t)) / 2;
        const double thickness = 0.12 * chord * std::sqrt(std::max(0.0, x / chord)) * (1 - x / chord);
        v[static_cast<size_t>(i)] = {static_cast<float>(x0 + x), static_cast<float>(y0 + thickness * std::sin(t)), 0};
    }
    v.back() = v.front();
    return ProfilePoints(v);
}

struct Figure {
    double best = 1e30, bestCpu = 1e30, median = 0;
};

// Runs `prepare` (not timed) then `run` (timed), `runs` times.
Figure measure(int runs, const std::function<void()> &prepare, const std::function<void()> &run)
{
    std::vector<double> wall;
    Figure f;
    for (int k = 0; k < runs; ++k) {
        prepare();
        QElapsedTimer t;
        const double c0 = orvbench::cpuMs();
        t.start();
        run();
        const double w = t.nsecsElapsed() / 1e6;
        const double c = orvbench::cpuMs() - c0;
        wall.push_back(w);
        f.best = std::min(f.best, w);
        f.bestCpu = std::min(f.bestCpu, c);
    }
    std::sort(wall.begin(), wall.end());
    f.median = wall[wall.size() / 2];
    return f;
}

void print(const char *what, const Figure &f)
{
    std::printf("| %s | %.2f | %.2f | %.2f |\n", what, f.best, f.bestCpu, f.median);
}

class Bench {
public:
    Bench(FormOrvalis &window, int32_t n) : w(window), ed(window.editor()), ui(window.ui()), n(n)
    {
        base.PointsE = airfoil(n, 250, 0, 0);
        base.PointsS = airfoil(n, 180, 30, 10);
        base.Ecartement = 600;
        computeCharacteristics(base);
    }

    // The base document with `flags` on the points chosen by `pick`, loaded
    // as a file load leaves it (view refitted, cursors at point 1).
    void loadWith(const std::function<bool(Side, int32_t)> &pick = {})
    {
        ed.st.doc = base;
        if (pick)
            for (Side s : kSides)
                ed.st.doc.points(s).forEachEdit([&](int32_t i, PointProfil &p) {
                    if (pick(s, i))
                        p.Flags = kSelected;
                });
        ed.st.layout.storedSweep = base.C.FlecheBA;
        ed.st.layout.storedDihedral = base.C.DiedreMm;
        ed.finish({.chords = true, .cursors = true, .view = Finish::View::Rebuild});
    }

    void press(int b, int m, float x, float y) { ui.pctProfils->mouse({CanvasMouse::Press, b, m, x, y}); }
    void moveTo(int b, int m, float x, float y) { ui.pctProfils->mouse({CanvasMouse::Move, b, m, x, y}); }
    void release(int b, int m, float x, float y) { ui.pctProfils->mouse({CanvasMouse::Release, b, m, x, y}); }

    FormOrvalis &w;
    Editor &ed;
    MainWindowUi &ui;
    int32_t n;
    Profils base;
};

auto run1000 = [](Side, int32_t i) { return i > 40000 && i <= 41000; };
auto all = [](Side, int32_t) { return true; };
auto onePerProfile = [](Side, int32_t i) { return i == 30000; };

void commands(Bench &b)
{
    Editor &ed = b.ed;
    MainWindowUi &ui = b.ui;
    FormOrvalis &w = b.w;
    const int runs = 9;
    auto none = [&] { b.loadWith(); };
    auto with = [&](auto pick) { return [&b, pick] { b.loadWith(pick); }; };

    std::printf("\n| Command, 2 × %d points | best ms | best processor ms | median ms |\n|---|---|---|---|\n", b.n);
    print("click toggling one point", measure(runs, none, [&] {
              const ViewPoint p = ed.st.view.ecranE[30000];
              b.press(1, 0, p.x, p.y);
              b.release(1, 0, p.x, p.y);
          }));
    print("rectangle toggling every point of both profiles", measure(runs, none, [&] {
              const float wdt = ed.st.view.state.LargeurImage, h = ed.st.view.state.HauteurImage;
              b.press(1, 0, 1, 1);
              b.moveTo(1, 0, wdt / 2, h / 2);
              b.moveTo(1, 0, wdt - 1, h - 1);
              b.release(1, 0, wdt - 1, h - 1);
          }));
    print("zoom rectangle", measure(runs, none, [&] {
              b.press(2, 0, 1000, 1000);
              b.moveTo(2, 0, 3000, 2000);
              b.release(2, 0, 3000, 2000);
          }));
    print("Tout sélectionner (root)", measure(runs, none, [&] { w.selectionPart().cmdSelectAll_Click(0); }));
    print("Tout déselectionner (root, all selected)",
          measure(runs, with(all), [&] { w.selectionPart().cmdRAZSelection_Click(0); }));
    print("Sélection Xmin Xmax (root)", measure(runs, none, [&] { w.selectionPart().cmdSelectionAuto_Click(1); }));
    print("Sélection >30° (root)", measure(runs, none, [&] { w.selectionPart().cmdSelectionAngle_Click(1); }));
    print("Inverser le sens, every point selected",
          measure(runs, with(all), [&] { w.selectionPart().cmdInverserSelection_Click(); }));
    auto &platform = static_cast<TestPlatform &>(ed.platform);
    print("cursor move with Ctrl over 1,001 points", measure(runs, [&] {
              b.loadWith();
              ui.side[0].vscUnits->setValue(12);
          }, [&] {
              platform.setCtrlDown(true);
              ui.side[0].vscThousands->setValue(1);
              platform.setCtrlDown(false);
          }));
    print("Copier, 1,000 points per profile", measure(runs, with(run1000), [&] { w.clipboardPart().cmdCopier_Click(); }));
    print("Couper, 1,000 points per profile", measure(runs, with(run1000), [&] { w.clipboardPart().cmdCouper_Click(); }));
    auto clip3 = [&](Side, int32_t i) { return i >= 10 && i < 13; };
    print("Coller 3 points onto one point per profile", measure(runs, [&] {
              b.loadWith(clip3);
              w.clipboardPart().cmdCopier_Click();
              b.loadWith(onePerProfile);
          }, [&] { w.clipboardPart().cmdColler_Click(); }));
    print("Coller 3 points onto 1,000 points per profile", measure(runs, [&] {
              b.loadWith(clip3);
              w.clipboardPart().cmdCopier_Click();
              b.loadWith(run1000);
          }, [&] { w.clipboardPart().cmdColler_Click(); }));
    for (auto [name, pick] : {std::pair<const char *, std::function<bool(Side, int32_t)>>{"1,000 points per profile", run1000},
                              {"every point", all}}) {
        const std::string suffix = std::string(", ") + name;
        print(("Miroir vertical" + suffix).c_str(),
              measure(runs, with(pick), [&] { w.transformsPart().cmdSymetrie_Click(0); }));
        print(("Etirer X 150 %" + suffix).c_str(), measure(runs, [&] {
                  b.loadWith(pick);
                  ui.txtEtirer[0]->setText(QStringLiteral("150"));
              }, [&] { w.transformsPart().txtEtirer_KeyUp(0); }));
        print(("Tourner 10°" + suffix).c_str(), measure(runs, [&] {
                  b.loadWith(pick);
                  ui.txtTourner->setText(QStringLiteral("10"));
              }, [&] { w.transformsPart().txtTourner_KeyUp(); }));
        print(("Déplacer Y 2.5" + suffix).c_str(), measure(runs, [&] {
                  b.loadWith(pick);
                  ui.txtDeplacer[1]->setText(QStringLiteral("2.5"));
              }, [&] { w.transformsPart().txtDeplacer_KeyUp(1); }));
    }
    print("Supprimer 1,000 points per profile",
          measure(runs, with(run1000), [&] { w.pointEditingPart().cmdSupprimer_Click(); }));
    print("Supprimer refused (every point selected)", measure(runs, with(all), [&] {
              w.pointEditingPart().cmdSupprimer_Click();
          }));
    print("Insérer, 1,000 points per profile",
          measure(runs, with(run1000), [&] { w.pointEditingPart().cmdInsererPoint_Click(); }));
    print("Insérer, every point", measure(runs, with(all), [&] { w.pointEditingPart().cmdInsererPoint_Click(); }));
    auto four = [](Side, int32_t i) { return i == 20000 || i == 20001 || i == 80000 || i == 80001; };
    print("Créer intersection (four points per profile)",
          measure(runs, with(four), [&] { w.pointEditingPart().cmdIntersection_Click(); }));
    print("Renuméroter a closed contour, every point", measure(runs, [&] {
              b.loadWith(all);
              ed.moveCursor(Emplanture, 50000);
              ed.moveCursor(Saumon, 50000);
          }, [&] { w.pointEditingPart().cmdRenumeroter_Click(); }));
    print("Undo after a rotation of every point", measure(runs, [&] {
              b.loadWith(all);
              ui.txtTourner->setText(QStringLiteral("10"));
              w.transformsPart().txtTourner_KeyUp();
          }, [&] { ui.cmdUndo[0]->click(); }));
    print("repaint of the picture (for reference)", measure(runs, none, [&] {
              ui.pctProfils->invalidatePicture();
              ui.pctProfils->picture();
          }));
}

// Frames of a pan and of a Ctrl drag: one move handler and one repaint.
void frames(Bench &b)
{
    Editor &ed = b.ed;
    MainWindowUi &ui = b.ui;
    std::printf("\n| Frame, 2 × %d points, side view | best ms | best processor ms | median ms |\n|---|---|---|---|\n",
                b.n);
    auto frame = [&](int modifiers, float &x) {
        x += 7;
        b.moveTo(1, modifiers, x, 3000);
        ui.pctProfils->invalidatePicture();
        ui.pctProfils->picture();
    };
    for (auto [name, pick] : {std::pair<const char *, std::function<bool(Side, int32_t)>>{"pan (Shift)", {}},
                              {"Ctrl drag, 10 % of the points selected",
                               [](Side, int32_t i) { return i % 10 == 0; }},
                              {"Ctrl drag, every point selected", all}}) {
        const int modifiers = std::string(name).rfind("pan", 0) == 0 ? 1 : 2;
        b.loadWith(pick);
        float x = 3000;
        b.press(1, modifiers, x, 3000);
        print(name, measure(31, [] {}, [&] { frame(modifiers, x); }));
        b.release(1, modifiers, x, 3000);
    }
    (void)ed;
}

// 45 commands through the window on 2 × 100,000 points, each on a few points
// picked with the cursors and Ctrl; the history's bytes against one document.
void memory(Bench &b)
{
    Editor &ed = b.ed;
    MainWindowUi &ui = b.ui;
    FormOrvalis &w = b.w;
    auto &platform = static_cast<TestPlatform &>(ed.platform);
    b.loadWith();
    ed.st.history.clear();
    ed.snapshot();
    int32_t k = 1001;
    // The cursors of a side to point `from`, then with Ctrl to `to` (in
    // the same thousand).
    auto pick = [&](Side side, int32_t from, int32_t to) {
        SidePanel &p = ui.side[static_cast<size_t>(side)];
        const int32_t thousands = (from - 1) / 1000;
        p.vscThousands->setValue(thousands);
        p.vscUnits->setValue(from - thousands * 1000);
        platform.setCtrlDown(true);
        p.vscUnits->setValue(to - thousands * 1000);
        platform.setCtrlDown(false);
    };
    const std::vector<std::function<void()>> cycle = {
        [&] { pick(Emplanture, k, k + 20); },
        [&] { pick(Saumon, k, k + 10); },
        [&] {
            ui.txtDeplacer[0]->setText(QStringLiteral("0.5"));
            w.transformsPart().txtDeplacer_KeyUp(0);
        },
        [&] {
            ui.txtTourner->setText(QStringLiteral("3"));
            w.transformsPart().txtTourner_KeyUp();
        },
        [&] { w.transformsPart().cmdSymetrie_Click(0); },
        [&] {
            ui.txtEtirer[2]->setText(QStringLiteral("110"));
            w.transformsPart().txtEtirer_KeyUp(2);
        },
        [&] { w.selectionPart().cmdInverserSelection_Click(); },
        [&] { w.clipboardPart().cmdCopier_Click(); },
        [&] { pick(Emplanture, k + 500, k + 501); },
        [&] { w.clipboardPart().cmdColler_Click(); },
        [&] { w.pointEditingPart().cmdInsererPoint_Click(); },
        [&] { w.pointEditingPart().cmdSupprimer_Click(); },
    };
    auto report = [&](const char *what, double elapsed) {
        const size_t doc = documentBytes(ed.st.doc);
        const size_t hist = ed.st.history.memoryBytes();
        std::printf("history after 45 commands, %s: %d entries, %.2f MB for a %.2f MB document (%.2f x); %.1f ms of "
                    "processor time; %d and %d points at the end\n",
                    what, ed.st.history.count(), hist / 1e6, doc / 1e6, double(hist) / double(doc), elapsed,
                    ed.st.doc.NbPointsE(), ed.st.doc.NbPointsS());
    };
    std::printf("\n");
    double t0 = orvbench::cpuMs();
    for (int c = 0; c < 45; ++c) {
        cycle[static_cast<size_t>(c) % cycle.size()]();
        if ((c + 1) % cycle.size() == 0)
            k += 9000;
    }
    report("a mixed session", orvbench::cpuMs() - t0);

    // Runs of 21 points picked on each profile, then mid-points inserted.
    b.loadWith();
    ed.st.history.clear();
    ed.snapshot();
    t0 = orvbench::cpuMs();
    for (int c = 0; c < 15; ++c) {
        pick(Emplanture, 2001 + 5000 * c, 2021 + 5000 * c);
        pick(Saumon, 2001 + 5000 * c, 2021 + 5000 * c);
        w.pointEditingPart().cmdInsererPoint_Click();
    }
    report("15 times two runs picked and \"Insérer\"", orvbench::cpuMs() - t0);
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    orvbench::BenchWindow bench(argc, argv);
    FormOrvalis &window = bench.form();
    Editor &ed = window.editor();
    ed.enableEditing(true);
    ed.st.ProjetCharge = true;
    window.ui().cmdRAZVueCote->click();
    std::printf("drawing area %d x %d px\n", window.ui().pctProfils->width(), window.ui().pctProfils->height());

    const int32_t big = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int32_t small = argc > 2 ? std::atoi(argv[2]) : 50000;
    const bool onlyMemory = argc > 3;
    if (!onlyMemory) {
        Bench b(window, big);
        commands(b);
    }
    if (!onlyMemory) {
        Bench b(window, small);
        frames(b);
    }
    {
        Bench b(window, big);
        memory(b);
    }
    return 0;
}
