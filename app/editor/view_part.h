// The view controls: the two angle bars, the zoom bar with its recentring
// timer, the fit and reset buttons, the wire and surface options and the
// background image.
#pragma once

#include "editor/part.h"

#include <QPixmap>
#include <memory>

namespace orv {

class Timer;

class ViewPart : public Part {
public:
    explicit ViewPart(Editor &ed);
    ~ViewPart() override;
    void initialState();

    void hscZoom_Change(int value);
    void hscZoom_Scroll(int position);
    void TimerZoom_Timer();
    void cmdZoom_Click(int index);
    void cmdRAZPerspective_Click();
    void cmdRAZVueCote_Click();
    void angleChanged();
    void chkImageFond_Click();
    Timer &timerZoom() { return *m_timerZoom; }
    const QPixmap &background() const { return m_background; }

private:
    std::unique_ptr<Timer> m_timerZoom;
    QPixmap m_background;
};

} // namespace orv
