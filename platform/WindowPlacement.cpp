#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void PlaceOver(QWidget* w, const QWidget* owner) {
    if (!w) return;
    const bool over = owner && owner != w && owner->isVisible();
    const QScreen* screen = over ? owner->screen() : QGuiApplication::primaryScreen();
    // A window not yet shown has no frame: its size stands for the frame's.
    const QSize size = w->frameGeometry().size().expandedTo(w->size());
    QPoint at;
    if (over)
        at = owner->frameGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
    else if (screen)
        at = screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
    else
        return;
    if (screen) {
        const QRect room = screen->availableGeometry();
        // Right and bottom first, then left and top: a window larger than the screen shows its title.
        at.setX(qMax(room.left(), qMin(at.x(), room.right() + 1 - size.width())));
        at.setY(qMax(room.top(), qMin(at.y(), room.bottom() + 1 - size.height())));
    }
    w->move(at);
}
