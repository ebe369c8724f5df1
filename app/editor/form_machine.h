// The "Machine de découpe" window `frmMachine`: every setting of the hot-wire
// machine, checked as the main window's numeric boxes check their entries.
#pragma once

#include "core/machine.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orv {

class NumericBox;
class Platform;

class FormMachine : public QDialog {
    Q_OBJECT
public:
    // `apply` receives the settings when OK accepts them.
    FormMachine(Platform &platform, const MachineSettings &settings,
                std::function<void(const MachineSettings &)> apply, QWidget *parent = nullptr);

    // OK: every box is checked in order; the first refused one keeps the
    // window open with its text selected. True when the settings were applied.
    bool cmdOK_Click();

private:
    void show(const MachineSettings &m);
    void axesChanged();
    // A refusal of the box's value: the message, then the box selected.
    bool refuse(NumericBox *box, const QString &text);

    Platform &m_platform;
    std::function<void(const MachineSettings &)> m_apply;
    NumericBox *m_towers, *m_rootPos, *m_feed, *m_kerfRoot, *m_kerfTip, *m_heat, *m_dwell, *m_decimals;
    QComboBox *m_rootSide, *m_axes;
    QCheckBox *m_approach;
    std::array<QLabel *, 4> m_axisLabels{};
    std::array<NumericBox *, 8> m_limits{};
};

} // namespace orv
