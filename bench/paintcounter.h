// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts the paint events of the widgets it watches, so that a figure is
// known to include the painting it claims.

#include <QEvent>
#include <QObject>

class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
