#pragma once
// The view of the Map page: pans by dragging the background, zooms with the wheel (around the mouse),
// and turns clicks and double clicks on the map's items into signals with the item under the mouse.
#include <QGraphicsView>
#include <QPoint>

class MapView : public QGraphicsView {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    // Multiplies the zoom by `factor`, kept between 2% and 800%.
    void zoomBy(double factor);
    // Shows the whole scene (never zooming in beyond 100%).
    void fitAll();
    double zoom() const;

Q_SIGNALS:
    // A click (a press and release without dragging) or a double click on `item`; nullptr for the
    // background.
    void itemClicked(QGraphicsItem* item);
    void itemDoubleClicked(QGraphicsItem* item);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPoint m_pressPosition;
    bool m_pressed = false;
};
