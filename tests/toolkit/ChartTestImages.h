// Rendering a chart offscreen and reading its pixels.
#pragma once
#include "ToolkitTestApp.h"

#include "core/ChartColours.h"

#include <QApplication>
#include <QColor>
#include <QHelpEvent>
#include <QImage>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>

#include <cstdlib>

namespace ChartTests {

inline QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::black);  // a control that forgets its background shows black
    widget.render(&image);
    return image;
}

inline QColor ToColour(UserInterface::Charts::ARgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

inline QColor Pixel(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(x), static_cast<int>(y));
}

inline bool Near(const QColor& a, const QColor& b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// `over` laid on `base` with the given alpha (0..255), as the painter blends it.
inline QColor Blend(const QColor& base, const QColor& over, int alpha)
{
    auto channel = [alpha](int b, int o) { return (b * (255 - alpha) + o * alpha + 127) / 255; };
    return QColor(channel(base.red(), over.red()), channel(base.green(), over.green()),
                  channel(base.blue(), over.blue()));
}

inline int CountColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The text of the tooltip that `widget` shows for a help event at `at`; the tooltip is hidden again.
inline QString TooltipAt(QWidget& widget, QPoint at)
{
    QHelpEvent help(QEvent::ToolTip, at, widget.mapToGlobal(at));
    QApplication::sendEvent(&widget, &help);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

// A message set on `chart` replaces the drawing: none of `colours` is left, and the page is
// mostly background. Taken away, the first colour is drawn again.
template <class AChart>
void ExpectTheMessageReplacesTheDrawing(AChart& chart, const QString& message, std::initializer_list<QColor> colours)
{
    chart.SetMessage(message);
    const QImage image = Render(chart);
    for (const QColor& colour : colours)
        EXPECT_EQ(CountColour(image, colour), 0) << colour.name().toStdString();
    const int background = CountColour(image, chart.palette().color(QPalette::Base));
    EXPECT_GT(background, image.width() * image.height() * 9 / 10);
    EXPECT_LT(background, image.width() * image.height());  // the message's text
    chart.SetMessage({});
    EXPECT_GT(CountColour(Render(chart), *colours.begin()), 100);
}

// Odd data drawn at an odd size still paints the control's background over most of it.
inline void ExpectTheBackgroundDrawn(const QImage& image, std::size_t what)
{
    EXPECT_LE(CountColour(image, Qt::black) * 2, image.width() * image.height()) << what;
}

}  // namespace ChartTests
