#include "editor/view_part.h"

#include "editor/drawing.h"
#include "editor/profile_canvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>

namespace orv {

ViewPart::ViewPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    m_timerZoom = ed.platform.createTimer(800, [this] { TimerZoom_Timer(); }, TimerMode::Repeating,
                                          QStringLiteral("TimerZoom"));
    for (QScrollBar *bar : {u.hscOmega, u.hscAlpha, u.hscZoom})
        bar->setTracking(false); // a drag reports Scroll, the release reports Change
    u.hscOmega->setRange(1, 359);
    u.hscAlpha->setRange(1, 359);
    u.hscOmega->setPageStep(10);
    u.hscAlpha->setPageStep(10);
    u.hscZoom->setRange(0, 20000);
    u.hscZoom->setSingleStep(1);
    u.hscZoom->setPageStep(1);

    auto onAngle = [this](int) {
        if (!m_ed.barsBeingSet())
            angleChanged();
    };
    QObject::connect(u.hscOmega, &QScrollBar::valueChanged, this, onAngle);
    QObject::connect(u.hscAlpha, &QScrollBar::valueChanged, this, onAngle);
    // The view turns live while a thumb is dragged.
    QObject::connect(u.hscOmega, &QScrollBar::sliderMoved, this, [this](int v) {
        st().view.setAngles(v, ui().hscAlpha->value());
        m_ed.refreshKeepingZoom();
    });
    QObject::connect(u.hscAlpha, &QScrollBar::sliderMoved, this, [this](int v) {
        st().view.setAngles(ui().hscOmega->value(), v);
        m_ed.refreshKeepingZoom();
    });
    QObject::connect(u.hscZoom, &QScrollBar::valueChanged, this, [this](int v) { hscZoom_Change(v); });
    QObject::connect(u.hscZoom, &QScrollBar::sliderMoved, this, [this](int v) { hscZoom_Scroll(v); });
    QObject::connect(u.cmdZoomFit, &QPushButton::clicked, this, [this] { cmdZoom_Click(2); });
    QObject::connect(u.cmdRAZPerspective, &QPushButton::clicked, this, [this] { cmdRAZPerspective_Click(); });
    QObject::connect(u.cmdRAZVueCote, &QPushButton::clicked, this, [this] { cmdRAZVueCote_Click(); });
    auto onWire = [this](bool) {
        if (!st().redrawSuspended)
            m_ed.redraw();
    };
    QObject::connect(u.chkFil, &QCheckBox::toggled, this, onWire);
    QObject::connect(u.chkSurface, &QCheckBox::toggled, this, onWire);
    QObject::connect(u.chkImageFond, &QCheckBox::toggled, this, [this](bool) { chkImageFond_Click(); });
    u.pctProfils->resized = [this] { m_ed.pictureResized(); };
}

ViewPart::~ViewPart() = default;

void ViewPart::initialState()
{
    MainWindowUi &u = ui();
    View &view = st().view;
    view.setPictureSize(u.pctProfils->widthTwips(), u.pctProfils->heightTwips());
    view.resetZoomRectangle();
    m_ed.setBarQuietly(u.hscOmega, kPerspectiveOmega);
    m_ed.setBarQuietly(u.hscAlpha, kPerspectiveAlpha);
    view.setAngles(kPerspectiveOmega, kPerspectiveAlpha);
    view.state.GardeZoom = true;
    u.hscZoom->setValue(kZoomBarRest);
    view.zoomBarChanged(u.hscZoom->value());
    m_timerZoom->stop();
    for (int s = 0; s < 2; ++s) {
        u.chkAfficherProfil[static_cast<size_t>(s)]->setChecked(true);
        u.chkAfficherPoints[static_cast<size_t>(s)]->setChecked(true);
    }
}

void ViewPart::hscZoom_Change(int value)
{
    View &view = st().view;
    if (view.state.GardeZoom) {
        view.zoomBarChanged(value);
        return;
    }
    m_timerZoom->stop();
    view.zoomBarChanged(value);
    m_ed.redraw();
    m_timerZoom->start();
}

void ViewPart::hscZoom_Scroll(int position)
{
    m_ed.platform.messageBox(QStringLiteral("Zoom + et - uniquement par clic sur les flèches."),
                             QStringLiteral("Opération impossible"), MessageStyle::CriticalOk);
    // The release then reports this position and applies no zoom.
    st().view.state.ValeurZoomPrecedente = position;
}

void ViewPart::TimerZoom_Timer()
{
    View &view = st().view;
    view.state.GardeZoom = true;
    ui().hscZoom->setValue(kZoomBarRest);
    view.state.GardeZoom = false;
    m_timerZoom->stop();
}

void ViewPart::cmdZoom_Click(int index)
{
    st().view.resetZoomRectangle();
    if (index == 2)
        m_ed.rebuildView();
    else
        m_ed.redraw();
}

void ViewPart::angleChanged()
{
    st().view.setAngles(ui().hscOmega->value(), ui().hscAlpha->value());
    m_ed.refreshKeepingZoom();
}

void ViewPart::cmdRAZPerspective_Click()
{
    ui().hscOmega->setValue(kPerspectiveOmega);
    ui().hscAlpha->setValue(kPerspectiveAlpha);
    st().view.setAngles(kPerspectiveOmega, kPerspectiveAlpha);
    m_ed.rebuildView();
}

void ViewPart::cmdRAZVueCote_Click()
{
    ui().hscOmega->setValue(kSideViewOmega);
    ui().hscAlpha->setValue(kSideViewAlpha);
    st().view.setAngles(kSideViewOmega, kSideViewAlpha);
    m_ed.rebuildView();
}

void ViewPart::chkImageFond_Click()
{
    m_background = QPixmap();
    if (ui().chkImageFond->isChecked()) {
        const QImage image = QApplication::clipboard()->image();
        if (!image.isNull())
            m_background = QPixmap::fromImage(image);
    }
    m_ed.redrawPicture();
}

} // namespace orv
