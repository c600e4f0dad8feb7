#include "platform/layout.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace {
double g_twipsPerPixel = kDesignTwipsPerPixel;
constexpr double kZoomStep = 1.25;
} // namespace

double twipsPerPixel()
{
    return g_twipsPerPixel;
}

void setTwipsPerPixel(double factor)
{
    g_twipsPerPixel = factor;
}

double fittingTwipsPerPixel(QSize available, QSize chrome)
{
    constexpr double kLargest = 30; // three times smaller than designed: still usable
    // A pixel to spare for rounding.
    const int width = available.width() - chrome.width() - 1;
    const int height = available.height() - chrome.height() - 1;
    if (width <= 0 || height <= 0)
        return kLargest;
    const double factor = std::max({kDesignTwipsPerPixel, kClientTwips.width() / double(width),
                                    kClientTwips.height() / double(height)});
    return std::min(kLargest, factor);
}

double fillingTwipsPerPixel(QSize area)
{
    if (area.width() <= 0 || area.height() <= 0)
        return kDesignTwipsPerPixel;
    return std::max(kClientTwips.width() / double(area.width()),
                    kClientTwips.height() / double(area.height()));
}

QSize clientPixels(double factor)
{
    return {qRound(kClientTwips.width() / factor), qRound(kClientTwips.height() / factor)};
}

ZoomRange zoomRange(QSize available, QSize chrome)
{
    const double most = fittingTwipsPerPixel(available, chrome);
    // A pixel to spare for rounding, as above.
    const double least = fillingTwipsPerPixel(available - chrome - QSize(1, 1));
    return {std::min(least, most), most};
}

double ZoomRange::zoomedIn(double factor) const
{
    return std::clamp(factor / kZoomStep, least, most);
}

double ZoomRange::zoomedOut(double factor) const
{
    return std::clamp(factor * kZoomStep, least, most);
}

double ZoomRange::actualSize() const
{
    return std::clamp(kDesignTwipsPerPixel, least, most);
}

int twips(int value)
{
    return qRound(value / g_twipsPerPixel);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void placeTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    if (TwipsLayout* layout = TwipsLayout::of(widget))
        layout->place(widget, QRect(left, top, width, height));
}

QColor designColour(quint32 value)
{
    if ((value & 0x80000000u) == 0)
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    const QPalette palette = QApplication::palette();
    switch (value & 0xFF) {
    case 0x0F: // button face
        return palette.color(QPalette::Button);
    case 0x16: // 3D light
        return palette.color(QPalette::Midlight);
    default:
        return palette.color(QPalette::Window);
    }
}

qreal designPoints(qreal points)
{
    return points * kDesignTwipsPerPixel / g_twipsPerPixel;
}

QFont designFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(designPoints(points));
    font.setBold(bold);
    return font;
}

void setDesignFont(QWidget* widget, qreal points, bool bold)
{
    widget->setFont(designFont(points, bold));
    if (TwipsLayout* layout = TwipsLayout::of(widget))
        layout->setFont(widget, points, bold);
}

TwipsLayout::TwipsLayout(QWidget* window) : QObject(window), m_factor(g_twipsPerPixel)
{
    setObjectName(QStringLiteral("TwipsLayout"));
}

TwipsLayout* TwipsLayout::of(const QWidget* widget)
{
    return widget->window()->findChild<TwipsLayout*>(QStringLiteral("TwipsLayout"),
                                                     Qt::FindDirectChildrenOnly);
}

void TwipsLayout::place(QWidget* widget, const QRect& twips)
{
    m_places.push_back({widget, twips});
}

void TwipsLayout::setFont(QWidget* widget, qreal points, bool bold)
{
    m_fonts.push_back({widget, points, bold});
}

bool TwipsLayout::rescale()
{
    if (m_factor == g_twipsPerPixel)
        return false;
    m_factor = g_twipsPerPixel;
    for (const Place& p : m_places)
        if (p.widget)
            p.widget->setGeometry(
                twipsRect(p.twips.x(), p.twips.y(), p.twips.width(), p.twips.height()));
    for (const Font& f : m_fonts)
        if (f.widget)
            f.widget->setFont(designFont(f.points, f.bold));
    Q_EMIT rescaled();
    return true;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void setBackgroundColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

QColor backgroundColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window);
}
