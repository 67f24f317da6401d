#pragma once
// A combo box of the window as the driver list fills it (entries with item data). Filling and
// selecting raise no signals: the window applies the effect of the choice itself.

#include "driver/ProviderListe.h"

class QComboBox;

class ComboAuswahlListe : public AuswahlListe
{
public:
    explicit ComboAuswahlListe(QComboBox& box);

    void clear() override;
    void addItem(const QString& text, const QVariant& daten) override;
    void setCurrentIndex(int index) override;

private:
    QComboBox& m_box;
};
