// The help window: shows the French help document that lies beside the
// program, opened with F1 from any window.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace orv {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Shows the document (or a French note that it is missing) and raises the window.
    void showHelp(const QString &path, const QString &anchor = {});
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace orv
