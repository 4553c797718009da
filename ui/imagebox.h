// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Image1, the outline view's image control: a bitmap of the control's size
// shown 1:1, and the DrawingSurface that draws into it.

#include "commands/outlineview.h"

#include <QImage>
#include <QWidget>

class QPaintEvent;

// Draws into a QImage the way the outline view expects of a bitmap canvas:
// rectangles with right and bottom exclusive, one-pixel lines without their
// end pixel, everything clipped to the image. Any pen width draws one pixel
// wide (the view only uses 1).
class ImageSurface : public DrawingSurface {
public:
    explicit ImageSurface(QImage& image) : m_image(image) {}

    int Width() const override;
    int Height() const override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void SetPenColour(Rgb colour) override;
    void SetPenWidth(int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

    Rgb penColour() const { return m_penColour; }
    int penWidth() const { return m_penWidth; }
    int currentX() const { return m_x; }
    int currentY() const { return m_y; }

private:
    QImage& m_image;
    Rgb m_penColour = kBlack;
    int m_penWidth = 1;
    int m_x = 0;
    int m_y = 0;
};

class ImageBox : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = kOutlineViewWidth;
    static constexpr int kHeight = kOutlineViewHeight;

    explicit ImageBox(QWidget* parent = nullptr);

    // The bitmap; it is shown once something has been drawn into it.
    QImage& image();
    const QImage& image() const { return m_image; }
    DrawingSurface& surface();

    // Draws the gear's display outline in the given view and shows the
    // result, also when the drawing ends in a fault.
    void showOutline(int itemIndex, const GearRecord& gear, const OutlineBuffer& display);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void markPicture();

    QImage m_image;
    ImageSurface m_surface;
    bool m_hasPicture = false;
};
