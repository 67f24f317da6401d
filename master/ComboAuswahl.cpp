#include "ComboAuswahl.h"

#include <QComboBox>
#include <QSignalBlocker>

void ComboAuswahl::clear()
{
    const QSignalBlocker stumm(&m_box);
    m_box.clear();
}

void ComboAuswahl::addItem(const QString& text, const QVariant& daten)
{
    const QSignalBlocker stumm(&m_box);
    m_box.addItem(text, daten);
}

void ComboAuswahl::setCurrentIndex(int index)
{
    const QSignalBlocker stumm(&m_box);
    m_box.setCurrentIndex(index);
}
