#include "ComboAuswahlListe.h"

#include <QComboBox>
#include <QSignalBlocker>

ComboAuswahlListe::ComboAuswahlListe(QComboBox& box) : m_box(box) {}

void ComboAuswahlListe::clear()
{
    const QSignalBlocker stumm(&m_box);
    m_box.clear();
}

void ComboAuswahlListe::addItem(const QString& text, const QVariant& daten)
{
    const QSignalBlocker stumm(&m_box);
    m_box.addItem(text, daten);
}

void ComboAuswahlListe::setCurrentIndex(int index)
{
    const QSignalBlocker stumm(&m_box);
    m_box.setCurrentIndex(index);
}
