#include "platform/scaledview.h"

#include "platform/layout.h"

#include <QAccessibleWidget>

namespace {

// The design's surface to assistive tools: only the controls on show. Hidden captions (the
// event values, the servo stick's labels out of a test run) would be read out as numbers.
class SurfaceAccessible : public QAccessibleWidget
{
public:
    explicit SurfaceAccessible(QWidget* surface) : QAccessibleWidget(surface, QAccessible::Client)
    {
    }

    QWidgetList shown() const
    {
        QWidgetList widgets;
        for (QObject* child : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && !w->isHidden())
                widgets << w;
        }
        return widgets;
    }
    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QWidgetList widgets = shown();
        return index >= 0 && index < widgets.size()
                   ? QAccessible::queryAccessibleInterface(widgets[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(shown().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }
};

class DesignSurface : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

QAccessibleInterface* surfaceInterface(const QString&, QObject* object)
{
    if (auto* surface = qobject_cast<DesignSurface*>(object))
        return new SurfaceAccessible(surface);
    return nullptr;
}

} // namespace

ScaledView::ScaledView(QWidget* parent)
    : QWidget(parent), m_surface(nullptr), m_most(twipsPerPixel())
{
    static const bool installed = (QAccessible::installFactory(surfaceInterface), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("ScaledView"));
    m_surface = new DesignSurface(this);
    m_surface->setObjectName(QStringLiteral("client"));
    m_surface->resize(clientPixels(twipsPerPixel()));
    setMinimumSize(clientPixels(m_most));
}

QSize ScaledView::sizeHint() const
{
    return clientPixels(twipsPerPixel());
}

void ScaledView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const double factor = std::min(fillingTwipsPerPixel(size()), m_most);
    // Rounding can make a factor that differs but gives the same pixels: nothing to do then.
    if (clientPixels(factor) != m_surface->size()) {
        setTwipsPerPixel(factor);
        m_surface->resize(clientPixels(factor));
        if (TwipsLayout* layout = TwipsLayout::of(this); layout && layout->rescale())
            Q_EMIT rescaled();
    }
    QRect centred(QPoint(), m_surface->size());
    centred.moveCenter(rect().center());
    m_surface->move(std::max(0, centred.x()), std::max(0, centred.y()));
}

#include "scaledview.moc"
