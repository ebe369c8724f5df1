#include "profile_canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace orv {

ProfileCanvas::ProfileCanvas(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::ClickFocus);
}

double ProfileCanvas::pixelsPerTwip() const { return logicalDpiX() / 1440.0; }

float ProfileCanvas::widthTwips() const { return static_cast<float>(width() / pixelsPerTwip()); }

float ProfileCanvas::heightTwips() const { return static_cast<float>(height() / pixelsPerTwip()); }

void ProfileCanvas::invalidatePicture()
{
    m_pictureValid = false;
    update();
}

void ProfileCanvas::renderPicture()
{
    const qreal dpr = devicePixelRatioF();
    const QSize size = this->size() * dpr;
    if (m_picture.size() != size)
        m_picture = QPixmap(size);
    m_picture.setDevicePixelRatio(dpr);
    m_picture.fill(Qt::white);
    QPainter p(&m_picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixelsPerTwip(), pixelsPerTwip());
    if (drawPicture)
        drawPicture(p);
    m_pictureValid = true;
}

const QPixmap &ProfileCanvas::picture()
{
    if (!m_pictureValid)
        renderPicture();
    return m_picture;
}

void ProfileCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture());
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixelsPerTwip(), pixelsPerTwip());
    if (drawOverlay)
        drawOverlay(p);
}

void ProfileCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_pictureValid = false;
    if (resized)
        resized();
}

void ProfileCanvas::emitMouse(CanvasMouse::Type type, QMouseEvent *event)
{
    if (!mouse)
        return;
    CanvasMouse m;
    m.type = type;
    const Qt::MouseButton b = type == CanvasMouse::Move ? Qt::NoButton : event->button();
    m.button = b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0;
    if (type == CanvasMouse::Move) {
        const Qt::MouseButtons held = event->buttons();
        m.button = (held & Qt::LeftButton ? 1 : 0) | (held & Qt::RightButton ? 2 : 0) | (held & Qt::MiddleButton ? 4 : 0);
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    m.modifiers = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) | (mods & Qt::AltModifier ? 4 : 0);
    const QPointF pos = event->position();
    m.x = static_cast<float>(pos.x() / pixelsPerTwip());
    m.y = static_cast<float>(pos.y() / pixelsPerTwip());
    mouse(m);
}

void ProfileCanvas::mousePressEvent(QMouseEvent *event) { emitMouse(CanvasMouse::Press, event); }
void ProfileCanvas::mouseMoveEvent(QMouseEvent *event) { emitMouse(CanvasMouse::Move, event); }
void ProfileCanvas::mouseReleaseEvent(QMouseEvent *event) { emitMouse(CanvasMouse::Release, event); }

} // namespace orv
