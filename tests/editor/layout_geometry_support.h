// A main window with a root and a tip put straight into the document, for
// the layout and geometry command tests; undo checks of a whole command.
#pragma once

#include "../core/geometry_test_support.h"
#include "core/characteristics.h"
#include "core/numeric_entry.h"
#include "editor/geometry_part.h"
#include "editor/layout_part.h"
#include "editor_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace orvtest {

class LayoutWindowTest : public WindowTest {
protected:
    // Starts the window and loads the two profiles as a file load would,
    // without the layout re-application, the stored sweep and dihedral
    // taken from the loaded shapes.
    void load(orv::ProfilePoints root, orv::ProfilePoints tip, float spacing = 500)
    {
        placeProfiles(std::move(root), std::move(tip), spacing);
        st().layout.shownAngle = st().doc.C.DiedreDeg;
        ed().finish(
            {.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
        platform.clearRecords();
    }

    // Marks points with `bit` (all of them when `numbers` is empty), computes
    // the characteristics and redraws, so that the commands a selection
    // enables are enabled.
    void mark(orv::Side side, std::initializer_list<int32_t> numbers, int16_t bit = orv::kSelected)
    {
        orv::ProfilePoints &p = st().doc.points(side);
        p.forEachEdit([&](int32_t i, orv::PointProfil &q) {
            if (numbers.size() == 0 || std::find(numbers.begin(), numbers.end(), i) != numbers.end())
                q.Flags = static_cast<int16_t>(q.Flags | bit);
        });
        orv::computeCharacteristics(st().doc);
        ed().redraw();
    }

    orv::LayoutPart &layout() { return window().layoutPart(); }
    orv::GeometryPart &geometry() { return window().geometryPart(); }

    QString text(QWidget *box) const
    {
        if (auto *e = qobject_cast<QLineEdit *>(box))
            return e->text();
        if (auto *l = qobject_cast<QLabel *>(box))
            return l->text();
        return {};
    }
    static bool wholeTextSelected(QLineEdit *box)
    {
        return box->hasSelectedText() && box->selectedText() == box->text();
    }

    void undo()
    {
        ASSERT_TRUE(ui().cmdUndo[0]->isEnabled());
        ui().cmdUndo[0]->click();
    }

    // Runs a command, then one undo: the document and the window state
    // recorded with it come back exactly.
    void expectOneUndoRestores(const std::function<void()> &command)
    {
        const orv::Profils before = st().doc;
        const orv::WindowState window = ed().windowState();
        const orv::LayoutState layoutBefore = st().layout;
        command();
        ASSERT_FALSE(st().doc == before) << "the command changed nothing";
        undo();
        EXPECT_EQ(st().doc, before);
        EXPECT_EQ(ed().windowState(), window);
        EXPECT_EQ(st().layout.sweepMode, layoutBefore.sweepMode);
        EXPECT_EQ(st().layout.dihedralMode, layoutBefore.dihedralMode);
        EXPECT_EQ(st().layout.aligned, layoutBefore.aligned);
    }
};

// A closed quadrilateral airfoil stand-in: leading edge at (x, y + h/2),
// trailing edge at (x + chord, y + h/2), lowest point y, highest y + h.
inline orv::ProfilePoints diamond(float x, float y, float chord, float h)
{
    return orv::test::profile({{x + chord, y + h / 2},
                               {x + chord / 3, y + h},
                               {x, y + h / 2},
                               {x + chord / 3, y},
                               {x + chord, y + h / 2}});
}

} // namespace orvtest
