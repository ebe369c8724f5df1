// The about window: titles, versions and the system-information button.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace orv {

class FormAbout : public QDialog {
    Q_OBJECT
public:
    // `vextraVersion` is what the library's Version returns; `sysInfo` runs
    // the system-information button.
    FormAbout(int vextraVersion, std::function<void()> sysInfo, QWidget *parent = nullptr);

    static QString applicationTitle();
    static QString versionText(int vextraVersion);

private:
    QLabel *m_title;
    QLabel *m_version;
};

} // namespace orv
