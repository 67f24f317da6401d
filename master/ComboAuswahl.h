#pragma once
// A combo box of the master window as the driver list fills it. Filling and selecting raise no
// signals: the window runs the box's click handler itself.

#include "driver/ProviderListe.h"

class QComboBox;

class ComboAuswahl : public AuswahlListe
{
public:
    explicit ComboAuswahl(QComboBox& box) : m_box(box) {}
    void clear() override;
    void addItem(const QString& text, const QVariant& daten) override;
    void setCurrentIndex(int index) override;

private:
    QComboBox& m_box;
};
