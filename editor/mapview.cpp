#include "editor/mapview.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

MapView::MapView(QWidget* parent) : QGraphicsView(parent) {
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setRenderHint(QPainter::Antialiasing);
    setRenderHint(QPainter::TextAntialiasing);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
}

double MapView::zoom() const {
    return transform().m11();
}

void MapView::zoomBy(double factor) {
    const double target = std::clamp(zoom() * factor, 0.02, 8.0);
    const double applied = target / zoom();
    scale(applied, applied);
}

void MapView::fitAll() {
    if (scene() == nullptr || scene()->itemsBoundingRect().isEmpty())
        return;
    const QRectF bounds = scene()->itemsBoundingRect().adjusted(-10, -10, 10, 10);
    fitInView(bounds, Qt::KeepAspectRatio);
    if (zoom() > 1.0)
        zoomBy(1.0 / zoom());
    centerOn(bounds.center());
}

void MapView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // One notch (120) zooms by about 20%.
    zoomBy(std::pow(1.2, steps / 120.0));
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressPosition = event->position().toPoint();
        m_pressed = true;
    }
    QGraphicsView::mousePressEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    QGraphicsView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    // A drag pans the map; only a press and release at about the same place is a click.
    if ((event->position().toPoint() - m_pressPosition).manhattanLength() <= 4)
        Q_EMIT itemClicked(itemAt(event->position().toPoint()));
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    QGraphicsView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT itemDoubleClicked(itemAt(event->position().toPoint()));
}
