// The sequence window, offscreen: a drawing of thousands of contours handed
// to it and drawn, then every command on an assembly holding all of them,
// and the redraw of each picture.
//
// Usage: bench_sequences DRAWING.dxf [RUNS]
#include "editor/form_orvalis.h"
#include "editor_bench.h"
#include "sequences/form_sequences.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <functional>
#include <vector>

int main(int argc, char **argv)
{
    orvbench::BenchWindow bench(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_sequences DRAWING.dxf [RUNS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    orv::FormOrvalis &window = bench.form();

    std::vector<ContourPoint> buffer;
    const double readMs = orvbench::medianMs(
        runs, [] {},
        [&] {
            orv::ContourArray array(bench.library(), 1);
            orv::Bounds bounds;
            QString title;
            const int32_t n = bench.library().lireFichier(path, title, array, bounds);
            if (n <= 0) {
                std::fprintf(stderr, "cannot read %s (%d)\n", argv[1], n);
                std::exit(1);
            }
            buffer = array.toVector();
        });

    std::unique_ptr<orv::FormSequences> form;
    auto open = [&] {
        form = std::make_unique<orv::FormSequences>(bench.platform(), bench.library(), window.settingsPath(),
                                                    &window);
        form->begin(orv::Emplanture, buffer);
        form->show();
        QApplication::processEvents();
        form->ui().upper.picture->picture();
        form->ui().lower.picture->picture();
    };
    const double openMs = orvbench::medianMs(
        runs, [&] { form.reset(); }, open);
    orv::FormSequences &f = *form;
    std::printf("drawing: %zu contours, %zu points; pictures %dx%d and %dx%d pixels\n",
                f.document().initial().size(), buffer.size(), f.ui().upper.picture->width(),
                f.ui().upper.picture->height(), f.ui().lower.picture->width(),
                f.ui().lower.picture->height());
    std::printf("%-34s %8.1f ms\n", "LireFichier", readMs);
    std::printf("%-34s %8.1f ms (on top of the read)\n", "window opened and drawn", openMs);

    auto draw = [&] {
        f.ui().upper.picture->picture();
        f.ui().lower.picture->picture();
    };
    f.selectAll(orv::ListKind::Initial);
    f.cmdQuelquesSequences_Click();
    draw();
    auto selectAll = [&] { f.selectAll(orv::ListKind::Final); };
    auto allButFirst = [&] {
        f.selectAll(orv::ListKind::Final);
        f.document().toggle(orv::ListKind::Final, 0);
    };
    struct Case {
        const char *name;
        std::function<void()> prepare, command;
    };
    const std::vector<Case> cases = {
        {"select all", [&] { f.document().deselectAll(orv::ListKind::Final); }, selectAll},
        {"rotate +10°", selectAll, [&] { f.cmdRotationSequence_MouseDown(1); f.cmdRotationSequence_MouseUp(); }},
        {"mirror", selectAll, [&] { f.cmdSymetrieSequence_Click(); }},
        {"size x1.1", selectAll, [&] { f.cmdTaille_Click(0); }},
        {"order (earlier)", allButFirst, [&] { f.cmdOrdreSequence_Click(1); }},
        {"reverse", selectAll, [&] { f.cmdInverserFinal_Click(); }},
        {"chain every drawing sequence", [&] { f.selectAll(orv::ListKind::Initial); },
         [&] {
             f.cmdInsererSequence_Click(0);
             f.cmdUndoSequence_Click(); // the assembly back to its size for the next run
         }},
        {"undo (of a chain)",
         [&] {
             f.selectAll(orv::ListKind::Initial);
             f.cmdInsererSequence_Click(0);
         },
         [&] { f.cmdUndoSequence_Click(); }},
        {"delete all", selectAll,
         [&] {
             f.cmdEffacer_Click();
             f.cmdUndoSequence_Click();
         }},
        {"undo (of a delete)",
         [&] {
             selectAll();
             f.cmdEffacer_Click();
         },
         [&] { f.cmdUndoSequence_Click(); }},
    };
    std::printf("assembly of %zu sequences, median of %d (chain and delete timed with their undo):\n",
                f.document().final().size(), runs);
    for (const Case &c : cases) {
        const double ms = orvbench::medianMs(runs, c.prepare, c.command);
        draw();
        std::printf("  %-32s %8.1f ms\n", c.name, ms);
    }
    for (orv::ListKind k : {orv::ListKind::Initial, orv::ListKind::Final}) {
        orv::ProfileCanvas *canvas =
            k == orv::ListKind::Initial ? f.ui().upper.picture : f.ui().lower.picture;
        const double ms = orvbench::medianMs(
            runs, [&] { canvas->invalidatePicture(); }, [&] { canvas->picture(); });
        std::printf("  %-32s %8.1f ms\n",
                    k == orv::ListKind::Initial ? "redraw pctSequences" : "redraw pctSequencesFinal", ms);
    }
    return 0;
}
