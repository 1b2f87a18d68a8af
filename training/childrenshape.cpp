#include "training/childrenshape.h"

#include "platform/translucency.h"

#include <QBitmap>
#include <QChildEvent>
#include <QEvent>
#include <QImage>
#include <QTimer>
#include <QWidget>

ChildrenShape::ChildrenShape(QWidget *window) : QObject(window), m_window(window)
{
    if (platform::translucencyShowsThrough())
        return;
    m_update = new QTimer(this);
    m_update->setSingleShot(true);
    // Long enough for shown widgets to be polished and laid out before they are painted here.
    m_update->setInterval(kSettleMs);
    connect(m_update, &QTimer::timeout, this, &ChildrenShape::apply);
    watch(window);
}

QRegion ChildrenShape::paintedShape(QWidget *window)
{
    QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    window->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return QRegion(QBitmap::fromImage(image.createAlphaMask(Qt::ThresholdAlphaDither)));
}

bool ChildrenShape::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        watch(static_cast<QChildEvent *>(event)->child());
        m_update->start();
        break;
    case QEvent::ChildRemoved:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::LayoutRequest:
    case QEvent::StyleChange:
        m_update->start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ChildrenShape::watch(QObject *object)
{
    // Dialogs the page opens are windows of their own: their shape is not the page's.
    if (!object->isWidgetType() || (object != m_window && static_cast<QWidget *>(object)->isWindow()))
        return;
    object->installEventFilter(this);
    for (QObject *child : object->children())
        watch(child);
}

void ChildrenShape::apply()
{
    // A hidden window is shaped when it is shown again.
    if (!m_window->isVisible())
        return;
    const QRegion shape = paintedShape(m_window);
    if (shape == m_shape)
        return;
    m_shape = shape;
    // An empty shape would hide the window whole, which is not what nothing painted means.
    if (shape.isEmpty())
        m_window->clearMask();
    else
        m_window->setMask(shape);
}
