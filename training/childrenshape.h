#pragma once

#include <QObject>
#include <QRegion>

class QTimer;
class QWidget;

// Keeps a translucent window's see-through parts see-through where the system does not blend
// them (X11 without a compositing manager, where they paint black): the window is shaped to
// what its child widgets paint, so that the window beneath shows in the gaps. Elsewhere it
// does nothing.
class ChildrenShape : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSettleMs = 50;

    explicit ChildrenShape(QWidget *window);

    // The pixels that the window's children paint (more than half opaque).
    static QRegion paintedShape(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QObject *object);
    void apply();

    QWidget *m_window = nullptr;
    QTimer *m_update = nullptr; // gathers the moves of one sliding step into one new shape
    QRegion m_shape;
};
