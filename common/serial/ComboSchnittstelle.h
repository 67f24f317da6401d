#pragma once
// What the services need of a combo box: a list of entries and the text shown. A window gives
// its combo box through a small adapter; tests give a recording one.

#include <QString>

class ComboBox
{
public:
    virtual ~ComboBox() = default;
    // Empties the list and the text shown.
    virtual void clear() = 0;
    // Appends an entry to the list.
    virtual void addItem(const QString& eintrag) = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual int listCount() const = 0;
};
