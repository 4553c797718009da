// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "ui/clipboardcopy.h"
#include "ui/stringgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStringList>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QString kHeaders[] = {QString(), QStringLiteral("ﾓｼﾞｭｰﾙ"), QStringLiteral("歯数"), QStringLiteral("転位係数"),
    QStringLiteral("歯先円")};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_grid.resize(297, 304);
        // The header texts and row numbers the window writes at start-up.
        for (int col = 1; col < 5; ++col)
            m_grid.setCellText(col, 0, kHeaders[col]);
        for (int row = 1; row <= 20; ++row)
            m_grid.setCellText(0, row, QString::number(row));
        m_grid.show();
        QApplication::processEvents();
        QObject::connect(&m_grid, &StringGrid::click, [this] { ++m_clicks; });
    }

    QPoint viewportCentre(int col, int row) const
    {
        return m_grid.cellRect(col, row).center() - m_grid.viewport()->geometry().topLeft();
    }

    void mouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pos, target->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
            held, modifiers);
        QApplication::sendEvent(target, &event);
    }

    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(&m_grid, &event);
    }

    void wheel(int angle)
    {
        const QPointF pos = viewportCentre(1, 1);
        QWheelEvent event(pos, m_grid.viewport()->mapToGlobal(pos), QPoint(), QPoint(0, angle), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_grid.viewport(), &event);
    }

    int selectedCount() const { return static_cast<int>(m_grid.selectionModel()->selectedIndexes().size()); }

    bool rowFullyVisible(int row) const
    {
        const QRect cell = m_grid.cellRect(1, row);
        return m_grid.viewport()->geometry().contains(cell);
    }

    StringGrid m_grid;
    int m_clicks = 0;
};

TEST_F(GridTest, IdentityAndLayout)
{
    EXPECT_EQ(m_grid.objectName(), QStringLiteral("sg1"));
    EXPECT_EQ(m_grid.accessibleName(), QStringLiteral("歯車表"));
    EXPECT_EQ(m_grid.colCount(), 5);
    EXPECT_EQ(m_grid.rowCount(), 21);
    EXPECT_EQ(m_grid.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(m_grid.font().pixelSize(), 13);
    EXPECT_EQ(m_grid.font().weight(), QFont::Normal);

    // Widths 32, 50, 46, 69, 75 and height 24, each cell followed by a 1 px grid line.
    const int widths[] = {32, 50, 46, 69, 75};
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(m_grid.cellRect(col, 0).width(), widths[col]) << col;
        if (col > 0) {
            EXPECT_EQ(m_grid.cellRect(col, 0).left(), m_grid.cellRect(col - 1, 0).right() + 2) << col;
        }
    }
    for (int row = 0; row <= 20; ++row) {
        EXPECT_EQ(m_grid.cellRect(2, row).height(), 24) << row;
        if (row > 0) {
            EXPECT_EQ(m_grid.cellRect(2, row).top(), m_grid.cellRect(2, row - 1).bottom() + 2) << row;
        }
    }
    EXPECT_EQ(m_grid.cellRect(0, 0).topLeft(), m_grid.contentsRect().topLeft());
    EXPECT_TRUE(m_grid.cellRect(5, 0).isNull());
    EXPECT_TRUE(m_grid.cellRect(0, 21).isNull());

    // 21 rows of 25 px do not fit in 304 px: only the vertical bar is needed.
    EXPECT_TRUE(m_grid.verticalScrollBar()->isVisible());
    EXPECT_FALSE(m_grid.horizontalScrollBar()->isVisible());
}

TEST_F(GridTest, TextsByColumnAndRow)
{
    EXPECT_EQ(m_grid.cellText(0, 0), QString());
    for (int col = 1; col < 5; ++col) {
        EXPECT_EQ(m_grid.cellText(col, 0), kHeaders[col]);
        // The header sections show the same texts.
        EXPECT_EQ(m_grid.model()->headerData(col - 1, Qt::Horizontal).toString(), kHeaders[col]);
    }
    EXPECT_EQ(m_grid.cellText(0, 7), QStringLiteral("7"));
    EXPECT_EQ(m_grid.model()->headerData(6, Qt::Vertical).toString(), QStringLiteral("7"));
    EXPECT_EQ(m_grid.cellText(3, 5), QString());
    EXPECT_EQ(m_grid.cellText(-1, 0), QString());
    EXPECT_EQ(m_grid.cellText(5, 1), QString());
    EXPECT_EQ(m_grid.cellText(1, 21), QString());

    m_grid.setCellText(3, 5, QStringLiteral("0.250"));
    m_grid.setCellText(0, 0, QStringLiteral("#"));
    m_grid.setCellText(5, 5, QStringLiteral("ignored"));
    EXPECT_EQ(m_grid.cellText(3, 5), QStringLiteral("0.250"));
    EXPECT_EQ(m_grid.model()->index(4, 2).data().toString(), QStringLiteral("0.250"));
    EXPECT_EQ(m_grid.cellText(0, 0), QStringLiteral("#"));
    EXPECT_EQ(m_grid.cellText(4, 5), QString());
}

TEST_F(GridTest, CurrentCellStartsAtColumn1Row1)
{
    EXPECT_EQ(m_grid.currentCol(), 1);
    EXPECT_EQ(m_grid.currentRow(), 1);
    EXPECT_EQ(selectedCount(), 1);

    m_grid.setCurrentCell(3, 20);
    EXPECT_EQ(m_grid.currentCol(), 3);
    EXPECT_EQ(m_grid.currentRow(), 20);
    EXPECT_TRUE(rowFullyVisible(20));
    m_grid.setCurrentCell(0, 5);
    m_grid.setCurrentCell(2, 0);
    EXPECT_EQ(m_grid.currentCol(), 3);
    EXPECT_EQ(m_grid.currentRow(), 20);
    EXPECT_EQ(m_clicks, 0);
}

TEST_F(GridTest, ClickOnReleaseAfterPressOnNormalCell)
{
    QWidget* viewport = m_grid.viewport();
    mouse(viewport, QEvent::MouseButtonPress, viewportCentre(2, 3));
    EXPECT_EQ(m_clicks, 0);
    EXPECT_EQ(m_grid.currentCol(), 2);
    EXPECT_EQ(m_grid.currentRow(), 3);
    // Released far outside the grid: still a click, the current cell stays.
    mouse(viewport, QEvent::MouseButtonRelease, QPoint(-80, 900));
    EXPECT_EQ(m_clicks, 1);
    EXPECT_EQ(m_grid.currentCol(), 2);
    EXPECT_EQ(m_grid.currentRow(), 3);

    // A release without a press on a cell, and the right button, raise nothing.
    mouse(viewport, QEvent::MouseButtonRelease, viewportCentre(4, 4));
    mouse(viewport, QEvent::MouseButtonPress, viewportCentre(4, 4), Qt::RightButton);
    mouse(viewport, QEvent::MouseButtonRelease, viewportCentre(4, 4), Qt::RightButton);
    EXPECT_EQ(m_clicks, 1);
    EXPECT_EQ(m_grid.currentRow(), 3);
}

TEST_F(GridTest, DragSelectsRangeAndKeepsCurrentCell)
{
    QWidget* viewport = m_grid.viewport();
    mouse(viewport, QEvent::MouseButtonPress, viewportCentre(1, 2));
    mouse(viewport, QEvent::MouseMove, viewportCentre(3, 4));
    mouse(viewport, QEvent::MouseButtonRelease, viewportCentre(3, 5));
    EXPECT_EQ(m_clicks, 1);
    EXPECT_EQ(m_grid.currentCol(), 1);
    EXPECT_EQ(m_grid.currentRow(), 2);
    EXPECT_EQ(selectedCount(), 3 * 4);
}

TEST_F(GridTest, PressOnFixedCellsDoesNothing)
{
    m_grid.setCurrentCell(2, 4);
    for (QHeaderView* header : {m_grid.horizontalHeader(), m_grid.verticalHeader()}) {
        const QPoint pos = header->orientation() == Qt::Horizontal
            ? QPoint(header->sectionViewportPosition(1) + 10, 10)
            : QPoint(10, header->sectionViewportPosition(2) + 10);
        mouse(header->viewport(), QEvent::MouseButtonPress, pos);
        mouse(header->viewport(), QEvent::MouseButtonRelease, pos);
        mouse(header->viewport(), QEvent::MouseButtonDblClick, pos);
        mouse(header->viewport(), QEvent::MouseButtonRelease, pos);
    }
    EXPECT_EQ(m_clicks, 0);
    EXPECT_EQ(m_grid.currentCol(), 2);
    EXPECT_EQ(m_grid.currentRow(), 4);
    EXPECT_EQ(selectedCount(), 1);
}

TEST_F(GridTest, KeysMoveCurrentCellAndClick)
{
    struct Step {
        int key;
        Qt::KeyboardModifiers modifiers;
        int col, row, clicks;
    };
    const Step steps[] = {
        {Qt::Key_Down, Qt::NoModifier, 1, 2, 1},
        {Qt::Key_Up, Qt::NoModifier, 1, 1, 2},
        {Qt::Key_Up, Qt::NoModifier, 1, 1, 2},    // already on row 1
        {Qt::Key_Left, Qt::NoModifier, 1, 1, 2},  // never onto column 0
        {Qt::Key_Right, Qt::NoModifier, 2, 1, 3},
        {Qt::Key_End, Qt::NoModifier, 4, 1, 4},
        {Qt::Key_Right, Qt::NoModifier, 4, 1, 4},
        {Qt::Key_Home, Qt::NoModifier, 1, 1, 5},
        {Qt::Key_End, Qt::ControlModifier, 4, 20, 6},
        {Qt::Key_Down, Qt::NoModifier, 4, 20, 6},
        {Qt::Key_PageDown, Qt::NoModifier, 4, 20, 6},
        {Qt::Key_PageUp, Qt::NoModifier, 4, 9, 7}, // a page: the 11 rows of 25 px that fit in the viewport
        {Qt::Key_Home, Qt::ControlModifier, 1, 1, 8},
        {Qt::Key_A, Qt::NoModifier, 1, 1, 8},
        {Qt::Key_Space, Qt::NoModifier, 1, 1, 8},
    };
    m_grid.keyboardSearch(QStringLiteral("1"));
    EXPECT_EQ(m_grid.currentRow(), 1);
    for (const Step& step : steps) {
        key(step.key, step.modifiers);
        EXPECT_EQ(m_grid.currentCol(), step.col) << "key " << step.key;
        EXPECT_EQ(m_grid.currentRow(), step.row) << "key " << step.key;
        EXPECT_EQ(m_clicks, step.clicks) << "key " << step.key;
        EXPECT_TRUE(rowFullyVisible(m_grid.currentRow())) << "key " << step.key;
    }
}

TEST_F(GridTest, ShiftKeyMovesCurrentCellAndExtendsRange)
{
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(m_grid.currentCol(), 2);
    EXPECT_EQ(m_grid.currentRow(), 2);
    EXPECT_EQ(m_clicks, 2);
    EXPECT_EQ(selectedCount(), 4);
    key(Qt::Key_Down);
    EXPECT_EQ(selectedCount(), 1);
}

TEST_F(GridTest, WheelMovesOneRowAndClicks)
{
    m_grid.setCurrentCell(3, 1);
    const QRect header = m_grid.cellRect(1, 0);
    const QRect rowNumber1 = m_grid.cellRect(0, 1);
    wheel(120); // away from the user: up, but row 1 is the top
    EXPECT_EQ(m_grid.currentRow(), 1);
    EXPECT_EQ(m_clicks, 0);

    wheel(-120);
    EXPECT_EQ(m_grid.currentCol(), 3);
    EXPECT_EQ(m_grid.currentRow(), 2);
    EXPECT_EQ(m_clicks, 1);

    // Half notches add up to one step.
    wheel(-60);
    EXPECT_EQ(m_grid.currentRow(), 2);
    wheel(-60);
    EXPECT_EQ(m_grid.currentRow(), 3);
    EXPECT_EQ(m_clicks, 2);

    for (int i = 0; i < 25; ++i)
        wheel(-120);
    EXPECT_EQ(m_grid.currentRow(), 20);
    EXPECT_EQ(m_clicks, 2 + 17);
    EXPECT_TRUE(rowFullyVisible(20));
    // The header row and the row numbers stayed in place while the rows scrolled.
    EXPECT_GT(m_grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(m_grid.cellRect(1, 0), header);
    EXPECT_LT(m_grid.cellRect(0, 1).top(), rowNumber1.top());
    EXPECT_EQ(m_grid.cellRect(0, 20).top(), m_grid.cellRect(1, 20).top());

    wheel(120);
    EXPECT_EQ(m_grid.currentRow(), 19);
    EXPECT_EQ(m_clicks, 20);
}

// Bounding box of the pixels in `area` that differ from `background`.
QRect InkBox(const QImage& image, const QRect& area, QRgb background)
{
    QRect box;
    EXPECT_TRUE(image.rect().contains(area));
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(GridTest, PaintingShowsNoHighlightAndCentredTexts)
{
    m_grid.setCellText(2, 1, QStringLiteral("18"));
    QWidget* viewport = m_grid.viewport();
    mouse(viewport, QEvent::MouseButtonPress, viewportCentre(1, 1));
    mouse(viewport, QEvent::MouseMove, viewportCentre(3, 3));
    mouse(viewport, QEvent::MouseButtonRelease, viewportCentre(3, 3));
    ASSERT_EQ(selectedCount(), 9);

    const QImage image = m_grid.grab().toImage();
    const QRgb base = m_grid.palette().color(QPalette::Base).rgb();
    const QRgb button = m_grid.palette().color(QPalette::Button).rgb();
    ASSERT_NE(m_grid.palette().color(QPalette::Highlight).rgb(), base);

    // Selected cells keep the background colour.
    for (const auto& [col, row] : std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 3}}) {
        const QRect cell = m_grid.cellRect(col, row);
        EXPECT_EQ(image.pixel(cell.left() + 3, cell.bottom() - 2), base) << col << "," << row;
        EXPECT_EQ(image.pixel(cell.center()), base) << col << "," << row;
    }
    const QRect fixed = m_grid.cellRect(0, 0);
    EXPECT_EQ(image.pixel(fixed.center()), button);
    EXPECT_EQ(image.pixel(m_grid.cellRect(0, 5).left() + 3, m_grid.cellRect(0, 5).bottom() - 3), button);

    // Texts stand centred in their cells, 2 px or more below the top edge.
    struct TextCell {
        int col, row;
        QRgb background;
    };
    for (const TextCell& t : {TextCell{2, 1, base}, TextCell{2, 0, button}, TextCell{4, 0, button},
             TextCell{0, 7, button}}) {
        const QRect cell = m_grid.cellRect(t.col, t.row);
        // Inside the raised edge of fixed cells.
        const QRect inside = cell.adjusted(1, 1, -1, -1);
        const QRect ink = InkBox(image, inside, t.background);
        ASSERT_FALSE(ink.isNull()) << t.col << "," << t.row;
        const double inkCentre = (ink.left() + ink.right()) / 2.0;
        const double cellCentre = (cell.left() + cell.right()) / 2.0;
        EXPECT_NEAR(inkCentre, cellCentre, 1.5) << t.col << "," << t.row;
        EXPECT_GE(ink.top(), cell.top() + 2) << t.col << "," << t.row;
        EXPECT_LE(ink.top(), cell.top() + 7) << t.col << "," << t.row;
    }
}

TEST_F(GridTest, FixedCellsHaveRaisedEdgeAndGridLines)
{
    const QImage image = m_grid.grab().toImage();
    const QRect cell = m_grid.cellRect(2, 0);
    EXPECT_EQ(image.pixel(cell.left() + 5, cell.top()), m_grid.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(image.pixel(cell.left() + 5, cell.bottom()), m_grid.palette().color(QPalette::Dark).rgb());
    const QRgb line = m_grid.gridLineColor().rgb();
    EXPECT_EQ(image.pixel(cell.right() + 1, cell.top() + 5), line);
    EXPECT_EQ(image.pixel(cell.left() + 5, cell.bottom() + 1), line);
    const QRect normal = m_grid.cellRect(3, 2);
    EXPECT_EQ(image.pixel(normal.right() + 1, normal.top() + 5), line);
    EXPECT_EQ(image.pixel(normal.left() + 5, normal.bottom() + 1), line);
}

TEST_F(GridTest, FocusRectangleOnlyWhileFocused)
{
    const QRect cell = m_grid.cellRect(1, 1);
    const QRgb base = m_grid.palette().color(QPalette::Base).rgb();
    const QRgb text = m_grid.palette().color(QPalette::WindowText).rgb();
    m_grid.clearFocus();
    ASSERT_FALSE(m_grid.hasFocus());
    const QImage unfocused = m_grid.grab().toImage();
    EXPECT_EQ(unfocused.pixel(cell.left() + 10, cell.top()), base);

    m_grid.activateWindow();
    m_grid.setFocus();
    QApplication::processEvents();
    if (!m_grid.hasFocus())
        GTEST_SKIP() << "the platform gave the grid no focus";
    const QImage focused = m_grid.grab().toImage();
    // Every other pixel of the top edge is dotted.
    EXPECT_EQ(focused.pixel(cell.left() + 10, cell.top()), text);
    EXPECT_EQ(focused.pixel(cell.left() + 11, cell.top()), base);
    EXPECT_EQ(focused.pixel(cell.center()), base);
}

TEST_F(GridTest, TableCopyPutsTheWholeGridOnTheClipboard)
{
    const QString gear[] = {QStringLiteral("1.000"), QStringLiteral("18"), QStringLiteral("0.000"),
        QStringLiteral("20.000")};
    for (int col = 1; col < 5; ++col) {
        m_grid.setCellText(col, 1, gear[col - 1]);
        m_grid.setCellText(col, 20, QStringLiteral(" "));
    }
    CopyCellsToClipboard(m_grid, 0, 0, 11, 11);
    const QString text = QGuiApplication::clipboard()->text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 22) << text.toStdString(); // 21 lines, each ended by CR LF
    EXPECT_EQ(lines[0], QStringLiteral("\tﾓｼﾞｭｰﾙ\t歯数\t転位係数\t歯先円"));
    EXPECT_EQ(lines[1], QStringLiteral("1\t1.000\t18\t0.000\t20.000"));
    EXPECT_EQ(lines[2], QStringLiteral("2\t\t\t\t"));
    EXPECT_EQ(lines[20], QStringLiteral("20\t \t \t \t "));
    EXPECT_EQ(lines[21], QString());

    CopyCellsToClipboard(m_grid, 0, 0, 4, 3);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 4);

    // An invalid rectangle is no error: the clipboard is emptied.
    CopyCellsToClipboard(m_grid, 3, 0, 2, 20);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

} // namespace
