// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "ui/imagebox.h"

#include <QRadioButton>

namespace {

const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBluePixel = qRgb(0, 0, 255);

int CountBlue(const QImage& image)
{
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            EXPECT_TRUE(p == (kWhitePixel & 0xFFFFFF) || p == (kBluePixel & 0xFFFFFF)) << x << "," << y;
            blue += p == (kBluePixel & 0xFFFFFF);
        }
    return blue;
}

bool IsBlue(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) == (kBluePixel & 0xFFFFFF);
}

TEST_F(FormTest, StartUpDrawsTheWholeDefaultGear)
{
    const QImage& image = form().Image1->image();
    ASSERT_EQ(image.size(), QSize(297, 305));
    EXPECT_GT(CountBlue(image), 500);
    for (const QPoint corner : {QPoint(0, 0), QPoint(296, 0), QPoint(0, 304), QPoint(296, 304), QPoint(148, 152)})
        EXPECT_EQ(image.pixel(corner) & 0xFFFFFF, kWhitePixel & 0xFFFFFF);
    // Edge starts of tooth 0 and tooth 1: points 0, 1, 3, 6, 7 (the tip, 283.5 -> 284), 14, 21.
    for (const QPoint p : {QPoint(252, 134), QPoint(253, 142), QPoint(265, 141), QPoint(283, 148), QPoint(284, 152),
                           QPoint(252, 171), QPoint(275, 199), QPoint(250, 127)})
        EXPECT_TRUE(IsBlue(image, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST_F(FormTest, ViewChoiceRedrawsAtOnce)
{
    const QImage whole = form().Image1->image();
    form().findChild<QRadioButton*>("RG1_1")->click();
    const QImage enlarged = form().Image1->image();
    EXPECT_NE(enlarged, whole);
    for (const QPoint p : {QPoint(102, 126), QPoint(103, 137), QPoint(121, 136), QPoint(148, 146), QPoint(137, 220)})
        EXPECT_TRUE(IsBlue(enlarged, p.x(), p.y())) << p.x() << "," << p.y();
    form().findChild<QRadioButton*>("RG1_2")->click();
    const QImage largest = form().Image1->image();
    for (const QPoint p : {QPoint(67, 73), QPoint(72, 106), QPoint(125, 102), QPoint(208, 132), QPoint(60, 40)})
        EXPECT_TRUE(IsBlue(largest, p.x(), p.y())) << p.x() << "," << p.y();
    form().findChild<QRadioButton*>("RG1_0")->click();
    EXPECT_EQ(form().Image1->image(), whole);
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormTest, ZeroExtentLeavesTheImageWhite)
{
    Calculate("1", "18", "0");
    gearTable[0].Module = 0.0;   // as a stopped calculation or a file can leave it
    form().findChild<QRadioButton*>("RG1_1")->click();
    EXPECT_EQ(m_errors, QStringList{"0 による浮動小数点数除算."});
    EXPECT_EQ(CountBlue(form().Image1->image()), 0);
}

}  // namespace
