// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear table grid: 5 columns x 21 rows of texts addressed by (column, row).
// Row 0 (the column headers) and column 0 (the row numbers) are fixed: they are
// the view's horizontal and vertical header sections and stay in view while
// the 20 normal rows and 4 normal columns scroll. The corner cell (0, 0) is the
// view's corner button, painted like the other fixed cells.
//
// Every cell, fixed or normal, is painted by paintCell(), which prepares the
// colours as a grid canvas would, calls sg1DrawCell and then adds the grid's own
// marks: a raised edge on fixed cells and a dotted focus rectangle on the
// current cell while the grid has the keyboard focus.
//
// click() is raised when the left mouse button is released after a press on a
// normal cell (wherever the release happens), and whenever the keyboard or the
// mouse wheel moves the current cell to another cell. Presses on fixed cells
// are ignored.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTableView>

class QPainter;

class StringGrid : public QTableView {
    Q_OBJECT

public:
    // The state a cell is painted in.
    struct CellState {
        bool selected = false; // inside the selected range (normal cells only)
        bool focused = false;  // the current cell while the grid has the keyboard focus
        bool fixed = false;    // row 0 or column 0
    };

    static constexpr int kColCount = 5;
    static constexpr int kRowCount = 21;
    // Widths of columns 0 to 4 and the height of every row, grid lines excluded.
    static constexpr int kColWidths[kColCount] = {32, 50, 46, 69, 75};
    static constexpr int kRowHeight = 24;
    static constexpr int kGridLineWidth = 1;

    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    int colCount() const { return kColCount; }
    int rowCount() const { return kRowCount; }

    // Text of any cell, fixed ones included; a cell never written, or one
    // outside the grid, reads as the empty text. Writes outside the grid are ignored.
    QString cellText(int col, int row) const;
    void setCellText(int col, int row, const QString& text);

    // While one of these lives, the changed normal cells are repainted
    // together when the last one ends (or showHeldChanges is called), as one
    // rectangle around them, instead of cell by cell. Texts read back at once.
    class HeldChanges {
    public:
        explicit HeldChanges(StringGrid& grid);
        ~HeldChanges();
        HeldChanges(const HeldChanges&) = delete;
        HeldChanges& operator=(const HeldChanges&) = delete;

    private:
        StringGrid& m_grid;
    };
    // Repaints the changes held so far now (before a modal box, say).
    void showHeldChanges();

    // The current cell: column 1 to 4, row 1 to 20; column 1, row 1 at first.
    int currentCol() const;
    int currentRow() const;
    // Makes (col, row) the current cell and the whole selection, and scrolls it
    // into view. Raises no click(). Positions outside the normal cells are ignored.
    void setCurrentCell(int col, int row);

    // The rectangle of a cell (grid line excluded) in this widget's coordinates,
    // as currently scrolled (it may lie outside the visible area); null for a
    // cell outside the grid.
    QRect cellRect(int col, int row) const;

    // The draw-cell handler: paints one cell into rect with the colours the
    // painter holds (brush: cell background, pen: text colour); a selected cell
    // is painted in the normal colours instead, so no highlight is ever shown.
    void sg1DrawCell(QPainter& painter, int col, int row, const QRect& rect, CellState state) const;

    // Paints one cell as the grid does: prepares font and colours, calls
    // sg1DrawCell, then draws the raised edge of a fixed cell and the focus
    // rectangle. Used by the grid's delegate, headers and corner.
    void paintCell(QPainter& painter, int col, int row, const QRect& rect, CellState state) const;

    // Colour of the grid lines between the cells.
    QColor gridLineColor() const;

    // Typed or composed text never moves the current cell.
    void keyboardSearch(const QString&) override {}

Q_SIGNALS:
    void click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Model;
    class Delegate;
    class Header;

    QModelIndex indexOfCell(int col, int row) const;
    // The normal cell under a viewport point, the point first pulled inside
    // the cells; used while dragging.
    QPoint nearestCellAt(const QPoint& viewportPos) const;
    // Moves the current cell; the range collapses onto it or keeps its other corner.
    void moveCurrent(int col, int row);
    void moveCurrentKeepingAnchor(int col, int row);
    void selectRange();
    // A fixed cell drawn into its header section (or the corner), with the
    // grid lines on its right and bottom edges.
    void paintFixedSection(QPainter& painter, int col, int row, const QRect& sectionRect) const;
    void pressOnCell(QMouseEvent* event);

    Model* m_model;
    QPoint m_anchor{1, 1};       // the other corner of the selected range, (col, row)
    bool m_selecting = false;    // a left press on a normal cell awaits its release
    int m_wheelRemainder = 0;    // wheel rotation not yet turned into row steps
};
