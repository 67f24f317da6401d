#pragma once
// A combo box of the window as the serial services fill it (the COM-port lists): plain entries
// and an editable text. Raises no signals.

#include "serial/ComboSchnittstelle.h"

class QComboBox;

class ComboListe : public ComboBox
{
public:
    explicit ComboListe(QComboBox& box);

    void clear() override;
    void addItem(const QString& eintrag) override;
    QString text() const override;
    void setText(const QString& text) override;
    int listCount() const override;

private:
    QComboBox& m_box;
};
