// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a tool window of the ツール menu needs of the window that opens it:
// the current gear, the decimal separator, a widget to belong to and take
// its looks from, the menu to add its item to, and word of another current
// gear. The main window implements it; the tool windows know nothing else of it.

#include <functional>
#include <string>

class QMenu;
class QObject;
class QWidget;
struct GearRecord;

class ToolHost {
public:
    // The gear the host shows: what a tool window takes when it opens and
    // whenever the host says it changed.
    virtual const GearRecord& currentGear() const = 0;
    // The user locale's decimal separator.
    virtual const std::string& decimalSeparator() const = 0;
    // The window the tool windows belong to, are placed beside and styled like.
    virtual QWidget& hostWidget() = 0;
    // The area whose background the tool windows take.
    virtual QWidget* clientArea() const = 0;
    // The ツール menu.
    virtual QMenu* toolMenu() const = 0;
    // Calls `changed` whenever the current gear is another one, while `context` lives.
    virtual void onCurrentGearChanged(QObject* context, std::function<void()> changed) = 0;
    // Types module, teeth and shift into the host's boxes and runs its
    // calculate command, as a user would: the host's own checks, messages and
    // table follow.
    virtual void calculateTyped(const std::string& module, const std::string& teeth, const std::string& shift) = 0;

protected:
    ~ToolHost() = default;
};
