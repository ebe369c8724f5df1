// Redraw of the drawing area with a root and a tip of 50,000 points each,
// offscreen: the kept picture (profiles, marks, surface) and the overlay.
#include "editor_bench.h"
#include "editor/editor.h"
#include "editor/form_orvalis.h"
#include "editor/profile_canvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    orvbench::BenchWindow bench(argc, argv);
    orv::FormOrvalis &window = bench.form();
    orv::Editor &ed = window.editor();
    const int n = argc > 1 ? std::atoi(argv[1]) : 50000;
    bench.placePanel(orvbench::wavyAirfoil(n, 200, 0, 7, 1), orvbench::wavyAirfoil(n, 150, 20, 0, 0));

    auto measure = [&](const char *what, auto &&prepare) {
        std::vector<double> times;
        for (int k = 0; k < 15; ++k) {
            prepare();
            QElapsedTimer t;
            t.start();
            ed.ui.pctProfils->invalidatePicture();
            const QPixmap &pm = ed.ui.pctProfils->picture();
            QImage overlay(pm.size(), QImage::Format_ARGB32_Premultiplied);
            overlay.fill(Qt::transparent);
            QPainter p(&overlay);
            p.drawPixmap(0, 0, pm);
            p.scale(ed.ui.pctProfils->pixelsPerTwip(), ed.ui.pctProfils->pixelsPerTwip());
            if (ed.ui.pctProfils->drawOverlay)
                ed.ui.pctProfils->drawOverlay(p);
            p.end();
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("%-46s %8.2f ms (median of 15, %dx%d px)\n", what, orvbench::median(times), ed.ui.pctProfils->width(),
                    ed.ui.pctProfils->height());
    };
    std::printf("root and tip of %d points each\n", n);
    measure("perspective, profiles and points", [] {});
    ed.ui.chkSurface->setChecked(true);
    measure("perspective, with the surface lines", [] {});
    ed.ui.chkSurface->setChecked(false);
    ed.ui.cmdRAZVueCote->click();
    measure("side view, profiles and points", [] {});
    ed.ui.optSelection[1]->setChecked(true);
    measure("side view, reference layer active", [] {});
    ed.ui.optSelection[0]->setChecked(true);
    // The full redraw the commands end with: availability, picture, status
    // bar, point lists and overlay.
    std::vector<double> full;
    for (int k = 0; k < 15; ++k) {
        QElapsedTimer t;
        t.start();
        ed.refreshKeepingZoom();
        ed.ui.pctProfils->picture();
        full.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%-46s %8.2f ms\n", "refresh keeping the zoom + picture", orvbench::median(full));
    if (argc > 2) {
        ed.ui.cmdRAZPerspective->click();
        ed.ui.chkSurface->setChecked(true);
        window.grab().save(QString::fromLocal8Bit(argv[2]));
    }
    return 0;
}
