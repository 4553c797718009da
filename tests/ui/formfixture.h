// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh main window for each test, its error boxes recorded instead of shown.

#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "ui/errorbox.h"
#include "ui/mainwindow.h"
#include "ui/stringgrid.h"
#include "ui/tools.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        SetErrorBoxRecorder([this](const QString& text) { m_errors << text; });
        m_form = std::make_unique<TForm1>(programState);
        InstallTools(*m_form);
        m_form->setDecimalSeparator(".");
    }
    void TearDown() override
    {
        m_form.reset();
        SetErrorBoxRecorder({});
    }

    TForm1& form() { return *m_form; }

    // Types the three inputs and presses "計算・登録".
    void Calculate(const QString& module, const QString& teeth, const QString& shift)
    {
        m_form->Edit1->setText(module);
        m_form->Edit2->setText(teeth);
        m_form->Edit4->setText(shift);
        m_form->BitBtn1->click();
    }

    QStringList Results() const
    {
        return {m_form->Edit6->text(), m_form->Edit8->text(), m_form->Edit10->text(), m_form->Edit12->text(),
                m_form->Edit47->text()};
    }
    QStringList Inputs() const { return {m_form->Edit1->text(), m_form->Edit2->text(), m_form->Edit4->text()}; }
    QStringList Messages() const
    {
        QStringList lines;
        for (int i = 0; i < m_form->ListBox1->count(); ++i)
            lines << m_form->ListBox1->item(i)->text();
        return lines;
    }
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int col = 0; col < 5; ++col)
            cells << m_form->sg1->cellText(col, row);
        return cells;
    }

    QStringList m_errors;
    std::unique_ptr<TForm1> m_form;
};

#include <QApplication>
#include <QMouseEvent>

// Presses and releases the left mouse button on a grid cell, as a user's click.
// Makes a CUPS queue this process's default printer by its name (CUPS reads
// PRINTER) for as long as it lives, then puts the variable back.
class DefaultPrinterByName {
public:
    explicit DefaultPrinterByName(const QString& queue) : m_saved(qgetenv("PRINTER"))
    {
        qputenv("PRINTER", queue.toUtf8());
    }
    ~DefaultPrinterByName() { m_saved.isNull() ? qunsetenv("PRINTER") : qputenv("PRINTER", m_saved); }
    DefaultPrinterByName(const DefaultPrinterByName&) = delete;
    DefaultPrinterByName& operator=(const DefaultPrinterByName&) = delete;

private:
    QByteArray m_saved;
};

inline void ClickGridCell(StringGrid& grid, int col, int row)
{
    grid.setCurrentCell(col, row);   // scrolls the cell into view without a click
    const QPoint pos = grid.cellRect(col, row).center() - grid.viewport()->geometry().topLeft();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, pos, grid.viewport()->mapToGlobal(pos), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &event);
    }
}
