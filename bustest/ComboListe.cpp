#include "ComboListe.h"

#include <QComboBox>
#include <QSignalBlocker>

ComboListe::ComboListe(QComboBox& box) : m_box(box) {}

void ComboListe::clear()
{
    const QSignalBlocker stumm(&m_box);
    m_box.clear();
    m_box.setEditText(QString());
}

void ComboListe::addItem(const QString& eintrag)
{
    const QSignalBlocker stumm(&m_box);
    const QString text = m_box.currentText();
    m_box.addItem(eintrag);
    // Adding an entry selects it in an empty box; the text shown stays what it was.
    if (m_box.isEditable())
        m_box.setEditText(text);
}

QString ComboListe::text() const
{
    return m_box.currentText();
}

void ComboListe::setText(const QString& text)
{
    const QSignalBlocker stumm(&m_box);
    if (m_box.isEditable()) {
        m_box.setEditText(text);
        return;
    }
    m_box.setCurrentIndex(m_box.findText(text));
}

int ComboListe::listCount() const
{
    return m_box.count();
}
