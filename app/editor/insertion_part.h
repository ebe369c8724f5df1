// Profile insertion (chkInsertionProfils): ticking keeps the document aside
// and reloads the window so that another root and tip can be loaded;
// unticking splices them into the kept profiles after their insertion points.
#pragma once

#include "core/history.h"
#include "core/layout.h"
#include "editor/part.h"

#include <QString>

#include <array>
#include <optional>

namespace orv {

class FormOrvalis;

class InsertionPart : public Part {
public:
    InsertionPart(Editor &ed, FormOrvalis &window);

    void chkInsertionProfils_Click();
    bool inProgress() const { return m_saved.has_value(); }
    // Root and tip insertion points of the insertion in progress.
    const std::array<int32_t, 2> &insertionPoints() const { return m_index; }

private:
    // What the reload and the loads change and the untick brings back.
    struct Saved {
        Profils doc;
        std::array<QString, 2> fileNames;
        LayoutState layout;
        History history;
        bool projetCharge = false;
        bool commentShown = false;
        std::vector<QString> boxTexts; // layoutBoxes(), in order
    };

    void start();
    void finishInsertion();
    // The chord, spacing, sweep and dihedral boxes and labels.
    std::vector<QWidget *> layoutBoxes();

    FormOrvalis &m_window;
    std::optional<Saved> m_saved;
    std::array<int32_t, 2> m_index{};
};

} // namespace orv
