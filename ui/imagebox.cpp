// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/imagebox.h"


#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

int ImageSurface::Width() const
{
    return m_image.width();
}

int ImageSurface::Height() const
{
    return m_image.height();
}

void ImageSurface::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(right, Width());
    const int y1 = std::min(bottom, Height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const QRgb value = qRgb(colour.r, colour.g, colour.b);
    for (int y = y0; y < y1; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(line + x0, line + x1, value);
    }
}

void ImageSurface::SetPenColour(Rgb colour)
{
    m_penColour = colour;
}

void ImageSurface::SetPenWidth(int width)
{
    m_penWidth = width;
}

void ImageSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void ImageSurface::LineTo(int x, int y)
{
    // The image is made writable (detached) once per line, not once per
    // pixel. The plot function captures one reference, small enough for
    // std::function to hold without a heap allocation.
    struct Pen {
        uchar* bits;
        qsizetype stride;
        QRgb value;
    } const pen{m_image.bits(), m_image.bytesPerLine(), qRgb(m_penColour.r, m_penColour.g, m_penColour.b)};
    ForEachLinePixel(m_x, m_y, x, y, Width(), Height(), [&pen](int px, int py) {
        reinterpret_cast<QRgb*>(pen.bits + py * pen.stride)[px] = pen.value;
    });
    m_x = x;
    m_y = y;
}

ImageBox::ImageBox(QWidget* parent)
    : QWidget(parent), m_image(kWidth, kHeight, QImage::Format_RGB32), m_surface(m_image)
{
    setObjectName(QStringLiteral("Image1"));
    setAccessibleName(QStringLiteral("歯形表示"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::NoFocus);
    m_image.fill(Qt::white);
}

void ImageBox::markPicture()
{
    if (m_hasPicture)
        return;
    m_hasPicture = true;
    // The opaque bitmap now covers the whole control: what lies behind it
    // need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

QImage& ImageBox::image()
{
    markPicture();
    return m_image;
}

DrawingSurface& ImageBox::surface()
{
    markPicture();
    return m_surface;
}

void ImageBox::showOutline(int itemIndex, const GearRecord& gear, const OutlineBuffer& display)
{
    struct ShowWhenDone {
        ImageBox* box;
        ~ShowWhenDone() { box->update(); }
    } showWhenDone{this};
    ShowOutlineOn(surface(), itemIndex, gear, display);
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    if (!m_hasPicture)
        return;   // an empty image control shows what lies behind it
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), m_image, event->rect());
}
