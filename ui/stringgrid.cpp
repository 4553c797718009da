// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/stringgrid.h"

#include "ui/layout.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace {

constexpr int kWheelStep = 120; // one notch of a standard mouse wheel

} // namespace

// All 105 texts. The model's items are the 4 x 20 normal cells; its header
// data are row 0 (horizontal) and column 0 (vertical). The corner cell is kept
// here too but belongs to no item or section.
class StringGrid::Model : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kRowCount - 1; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColCount - 1; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        return text(index.column() + 1, index.row() + 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        return orientation == Qt::Horizontal ? text(section + 1, 0) : text(0, section + 1);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    const QString& text(int col, int row) const { return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]; }

    // Returns whether the text changed. A normal cell's change is announced
    // at once, or, while changes are held, when they are released: one
    // rectangle of cells around every change held, repainted in one pass.
    bool setText(int col, int row, const QString& value)
    {
        QString& cell = m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
        if (cell == value)
            return false;   // the same text paints the same pixels
        cell = value;
        if (row == 0 && col == 0)
            return true;
        if (row == 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        else if (col == 0)
            Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
        else if (m_holding > 0)
            m_held = m_held.united(QRect(col - 1, row - 1, 1, 1));
        else
            Q_EMIT dataChanged(index(row - 1, col - 1), index(row - 1, col - 1), {Qt::DisplayRole});
        return true;
    }

    void hold() { ++m_holding; }

    void release()
    {
        if (m_holding > 0)
            --m_holding;
        if (m_holding == 0)
            announceHeld();
    }

    void announceHeld()
    {
        if (m_held.isNull())
            return;
        const QRect held = m_held;
        m_held = QRect();
        Q_EMIT dataChanged(index(held.top(), held.left()), index(held.bottom(), held.right()), {Qt::DisplayRole});
    }

private:
    std::array<std::array<QString, kColCount>, kRowCount> m_cells;
    int m_holding = 0;
    QRect m_held;   // (column - 1, row - 1) of the normal cells changed while held
};

// Paints the normal cells through the grid.
class StringGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        CellState state;
        state.selected = option.state.testFlag(QStyle::State_Selected);
        state.focused = m_grid->hasFocus() && index == m_grid->currentIndex();
        m_grid->paintCell(*painter, index.column() + 1, index.row() + 1, option.rect, state);
    }

private:
    StringGrid* m_grid;
};

// Row 0 (horizontal) or column 0 (vertical): fixed cells painted through the
// grid, deaf to the mouse; the wheel goes to the grid.
class StringGrid::Header : public QHeaderView {
public:
    Header(Qt::Orientation orientation, StringGrid* grid) : QHeaderView(orientation, grid), m_grid(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        const int col = orientation() == Qt::Horizontal ? logicalIndex + 1 : 0;
        const int row = orientation() == Qt::Horizontal ? 0 : logicalIndex + 1;
        m_grid->paintFixedSection(*painter, col, row, rect);
    }

    void paintEvent(QPaintEvent* event) override
    {
        QHeaderView::paintEvent(event);
        // Beyond the last section the grid shows its background, as right of
        // the last column and below the last row.
        const int end = sectionViewportPosition(count() - 1) + sectionSize(count() - 1);
        const QRect rest = orientation() == Qt::Horizontal
            ? QRect(end, 0, viewport()->width() - end, viewport()->height())
            : QRect(0, end, viewport()->width(), viewport()->height() - end);
        if (rest.isValid()) {
            QPainter painter(viewport());
            painter.fillRect(rest, m_grid->palette().color(QPalette::Base));
        }
    }

    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void wheelEvent(QWheelEvent* event) override { m_grid->wheelEvent(event); }

private:
    StringGrid* m_grid;
};

StringGrid::StringGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new Model(this))
{
    setObjectName(QStringLiteral("sg1"));
    setAccessibleName(QStringLiteral("歯車表"));

    QFont gridFont(layout::kGothic);
    gridFont.setPixelSize(13);
    gridFont.setWeight(QFont::Normal);
    gridFont.setItalic(false);
    setFont(gridFont);

    setHorizontalHeader(new Header(Qt::Horizontal, this));
    setVerticalHeader(new Header(Qt::Vertical, this));
    setModel(m_model);
    setItemDelegate(new Delegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    setDragEnabled(false);
    setAutoScroll(false);
    setWordWrap(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    // Section sizes include the 1 px grid line drawn at the right or bottom
    // of every cell.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setSectionsMovable(false);
        header->setHighlightSections(false);
        header->setSortIndicatorShown(false);
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    for (int col = 1; col < kColCount; ++col)
        horizontalHeader()->resizeSection(col - 1, kColWidths[col] + kGridLineWidth);
    horizontalHeader()->setFixedHeight(kRowHeight + kGridLineWidth);
    verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLineWidth);
    for (int row = 1; row < kRowCount; ++row)
        verticalHeader()->resizeSection(row - 1, kRowHeight + kGridLineWidth);
    verticalHeader()->setFixedWidth(kColWidths[0] + kGridLineWidth);

    // The corner cell is the view's (disabled) corner button.
    if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
        corner->installEventFilter(this);

    moveCurrent(1, 1);
}

StringGrid::~StringGrid() = default;

QString StringGrid::cellText(int col, int row) const
{
    if (col < 0 || col >= kColCount || row < 0 || row >= kRowCount)
        return {};
    return m_model->text(col, row);
}

void StringGrid::setCellText(int col, int row, const QString& text)
{
    if (col < 0 || col >= kColCount || row < 0 || row >= kRowCount)
        return;
    if (!m_model->setText(col, row, text))
        return;
    if (col == 0 && row == 0) {
        if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
            corner->update();
    }
}

StringGrid::HeldChanges::HeldChanges(StringGrid& grid) : m_grid(grid)
{
    m_grid.m_model->hold();
}

StringGrid::HeldChanges::~HeldChanges()
{
    m_grid.m_model->release();
}

void StringGrid::showHeldChanges()
{
    m_model->announceHeld();
}

int StringGrid::currentCol() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 0;
}

int StringGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void StringGrid::setCurrentCell(int col, int row)
{
    if (col < 1 || col >= kColCount || row < 1 || row >= kRowCount)
        return;
    moveCurrent(col, row);
}

QRect StringGrid::cellRect(int col, int row) const
{
    if (col < 0 || col >= kColCount || row < 0 || row >= kRowCount)
        return {};
    const int width = kColWidths[col];
    int x = 0;
    int y = 0;
    if (col == 0)
        x = verticalHeader()->geometry().left();
    else
        x = horizontalHeader()->geometry().left() + horizontalHeader()->sectionViewportPosition(col - 1);
    if (row == 0)
        y = horizontalHeader()->geometry().top();
    else
        y = verticalHeader()->geometry().top() + verticalHeader()->sectionViewportPosition(row - 1);
    return {x, y, width, kRowHeight};
}

QColor StringGrid::gridLineColor() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return QColor::fromRgba(static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
}

void StringGrid::sg1DrawCell(QPainter& painter, int col, int row, const QRect& rect, CellState state) const
{
    if (state.selected) {
        painter.setBrush(palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::WindowText));
    }
    painter.fillRect(rect, painter.brush());
    const QRect textRect = rect.translated(0, 2);
    painter.save();
    painter.setClipRect(textRect, Qt::IntersectClip);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, cellText(col, row));
    painter.restore();
}

void StringGrid::paintCell(QPainter& painter, int col, int row, const QRect& rect, CellState state) const
{
    const QPalette& colours = palette();
    painter.save();
    painter.setFont(font());
    if (state.fixed) {
        painter.setBrush(colours.color(QPalette::Button));
        painter.setPen(colours.color(QPalette::WindowText));
    } else if (state.selected) {
        painter.setBrush(colours.color(QPalette::Highlight));
        painter.setPen(colours.color(QPalette::HighlightedText));
    } else {
        painter.setBrush(colours.color(QPalette::Base));
        painter.setPen(colours.color(QPalette::WindowText));
    }
    sg1DrawCell(painter, col, row, rect, state);
    painter.restore();

    painter.save();
    if (state.fixed) {
        // Raised edge: light top and left, shadow bottom and right.
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(colours.color(QPalette::Dark));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    if (state.focused) {
        // Dotted focus rectangle: every other pixel of the cell's border.
        painter.setPen(colours.color(QPalette::WindowText));
        int n = 0;
        for (int x = rect.left(); x <= rect.right(); ++x, ++n)
            if (n % 2 == 0)
                painter.drawPoint(x, rect.top());
        for (int y = rect.top() + 1; y <= rect.bottom(); ++y, ++n)
            if (n % 2 == 0)
                painter.drawPoint(rect.right(), y);
        for (int x = rect.right() - 1; x >= rect.left(); --x, ++n)
            if (n % 2 == 0)
                painter.drawPoint(x, rect.bottom());
        for (int y = rect.bottom() - 1; y > rect.top(); --y, ++n)
            if (n % 2 == 0)
                painter.drawPoint(rect.left(), y);
    }
    painter.restore();
}

void StringGrid::paintFixedSection(QPainter& painter, int col, int row, const QRect& sectionRect) const
{
    CellState state;
    state.fixed = true;
    const QRect cell = sectionRect.adjusted(0, 0, -kGridLineWidth, -kGridLineWidth);
    paintCell(painter, col, row, cell, state);
    painter.save();
    painter.setPen(gridLineColor());
    painter.drawLine(sectionRect.topRight(), sectionRect.bottomRight());
    painter.drawLine(sectionRect.bottomLeft(), sectionRect.bottomRight());
    painter.restore();
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && corner->parent() == this) {
        if (event->type() == QEvent::Paint) {
            QPainter painter(corner);
            paintFixedSection(painter, 0, 0, corner->rect());
            return true;
        }
        if (event->type() == QEvent::Wheel) {
            wheelEvent(static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

QModelIndex StringGrid::indexOfCell(int col, int row) const
{
    return m_model->index(row - 1, col - 1);
}

void StringGrid::moveCurrent(int col, int row)
{
    m_anchor = QPoint(col, row);
    moveCurrentKeepingAnchor(col, row);
}

void StringGrid::moveCurrentKeepingAnchor(int col, int row)
{
    const QModelIndex index = indexOfCell(col, row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectRange();
    scrollTo(index);
}

void StringGrid::selectRange()
{
    const int left = std::min(currentCol(), m_anchor.x());
    const int right = std::max(currentCol(), m_anchor.x());
    const int top = std::min(currentRow(), m_anchor.y());
    const int bottom = std::max(currentRow(), m_anchor.y());
    selectionModel()->select(QItemSelection(indexOfCell(left, top), indexOfCell(right, bottom)),
        QItemSelectionModel::ClearAndSelect);
}

QPoint StringGrid::nearestCellAt(const QPoint& viewportPos) const
{
    const int x = std::clamp(viewportPos.x(), 0, std::max(0, viewport()->width() - 1));
    const int y = std::clamp(viewportPos.y(), 0, std::max(0, viewport()->height() - 1));
    int column = columnAt(x);
    int row = rowAt(y);
    if (column < 0)
        column = kColCount - 2; // right of the last column
    if (row < 0)
        row = kRowCount - 2; // below the last row
    return {column + 1, row + 1};
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    int col = currentCol();
    int row = currentRow();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const int page = std::max(1, viewport()->height() / (kRowHeight + kGridLineWidth));
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home:
        col = 1;
        if (control)
            row = 1;
        break;
    case Qt::Key_End:
        col = kColCount - 1;
        if (control)
            row = kRowCount - 1;
        break;
    default:
        // No typing, searching or copying in the grid: other keys go to the window.
        event->ignore();
        return;
    }
    event->accept();
    col = std::clamp(col, 1, kColCount - 1);
    row = std::clamp(row, 1, kRowCount - 1);
    if (col == currentCol() && row == currentRow())
        return;
    // Shift moves the current cell and keeps the other corner of the range.
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        moveCurrentKeepingAnchor(col, row);
    else
        moveCurrent(col, row);
    Q_EMIT click();
}

void StringGrid::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    m_wheelRemainder += delta;
    while (m_wheelRemainder >= kWheelStep || m_wheelRemainder <= -kWheelStep) {
        const int step = m_wheelRemainder > 0 ? -1 : 1; // turning away from the user moves up
        m_wheelRemainder += step * kWheelStep;
        const int row = currentRow() + step;
        if (row < 1 || row >= kRowCount)
            continue;
        moveCurrent(currentCol(), row);
        Q_EMIT click();
    }
}

void StringGrid::pressOnCell(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    if (event->modifiers().testFlag(Qt::ShiftModifier)) {
        m_anchor = QPoint(col, row);
        selectRange();
        scrollTo(index);
    } else {
        moveCurrent(col, row);
    }
    m_selecting = true;
}

void StringGrid::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        pressOnCell(event);
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        pressOnCell(event);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_selecting || !event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint cell = nearestCellAt(event->position().toPoint());
    if (cell != m_anchor) {
        m_anchor = cell;
        selectRange();
    }
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_selecting)
        return;
    m_selecting = false;
    m_anchor = nearestCellAt(event->position().toPoint());
    selectRange();
    Q_EMIT click();
}
