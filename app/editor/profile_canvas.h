// The drawing area: a widget whose logical unit is the twip, with a kept
// picture (redrawn only when told) and an overlay drawn over it on every
// paint. Mouse events leave it as plain structs in twips.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

namespace orv {

struct CanvasMouse {
    enum Type { Press, Move, Release } type = Press;
    int button = 0;    // 1 left, 2 right, 4 middle (0 for moves without a button)
    int modifiers = 0; // 1 Shift, 2 Ctrl, 4 Alt
    float x = 0, y = 0; // twips from the top-left corner
};

class ProfileCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ProfileCanvas(QWidget *parent = nullptr);

    // Pixels per twip on this screen.
    double pixelsPerTwip() const;
    float widthTwips() const;
    float heightTwips() const;

    // Both painters are already scaled to twips.
    std::function<void(QPainter &)> drawPicture;
    std::function<void(QPainter &)> drawOverlay;
    std::function<void(const CanvasMouse &)> mouse;
    std::function<void()> resized;

    // The kept picture must be drawn again at the next paint.
    void invalidatePicture();
    // Only the overlay changed.
    void updateOverlay() { update(); }
    // Draws the kept picture now (for measurements and tests).
    const QPixmap &picture();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void emitMouse(CanvasMouse::Type type, QMouseEvent *event);
    void renderPicture();

    QPixmap m_picture;
    bool m_pictureValid = false;
};

} // namespace orv
