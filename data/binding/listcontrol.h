#pragma once

#include <QString>

namespace data {

// A combo box or list box as ControlFill sees it. The window layer adapts its widgets to it.
class ListControl
{
public:
    virtual ~ListControl() = default;

    // Removes every entry.
    virtual void Clear() = 0;
    // Appends an entry with the display text (a sorted control puts it in its place).
    virtual void AddItem(const QString& text) = 0;
    // The position of the entry added last, -1 before any.
    virtual int NewIndex() const = 0;
    // Keeps a whole number with the entry at a position.
    virtual void setItemData(int index, qint32 value) = 0;
};

} // namespace data
