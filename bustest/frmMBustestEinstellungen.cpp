// Settings and driver choice of the test window: every value is stored the moment its box
// changes, and the twin boxes of the two views are kept in step.

#include "frmMBustest.h"

#include "TestfensterRegeln.h"
#include "platform/Meldung.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

// Sets the text without a signal; true when it changed (the change handler is then due).
bool TextAendern(QLineEdit* feld, const QString& text)
{
    if (feld->text() == text)
        return false;
    const QSignalBlocker stumm(feld);
    feld->setText(text);
    return true;
}

} // namespace

void frmMBustest::ProviderBoxKlick(QComboBox* box, QGroupBox* timingRahmen)
{
    ProviderNr = static_cast<quint8>(box->currentData().toInt());
    m_einstellungen.providerSchreiben(ProviderNr);
    // Only the name-bound driver ("MBus OLE V2") has timing values; nothing shows the frame
    // again once another driver was chosen.
    if (box->currentIndex() != 1)
        timingRahmen->hide();
}

void frmMBustest::Combo1_Click()
{
    ProviderBoxKlick(m_ui.Combo1, m_ui.Frame9);
}

void frmMBustest::Combo2_Click()
{
    ProviderBoxKlick(m_ui.Combo2, m_ui.Frame8);
}

void frmMBustest::Combo4_Click()
{
    Text4Setzen(m_ui.Combo4->currentText());
}

void frmMBustest::Combo7_Click()
{
    Text1Setzen(1, m_ui.Combo7->currentText());
}

void frmMBustest::Combo8_Click()
{
    Text1Setzen(2, m_ui.Combo8->currentText());
}

void frmMBustest::Text1_Change(int index)
{
    m_einstellungen.einzelwertSchreiben(index, m_ui.Text1[static_cast<size_t>(index)]->text());
}

void frmMBustest::Text4_Change()
{
    m_einstellungen.suchPortSchreiben(m_ui.Text4->text());
    Text7Setzen(4, m_ui.Text7[0]->text());
}

void frmMBustest::Text7_Change(int index)
{
    const QString wert = m_ui.Text7[static_cast<size_t>(index)]->text();
    m_einstellungen.timingSchreiben(index, wert);
    Text7Setzen(index < 4 ? index + 4 : index - 4, wert);
}

void frmMBustest::Text6_DblClick(int index)
{
    QLineEdit* feld = m_ui.Text6[static_cast<size_t>(index)];
    feld->setText(HoechsteAdresseUmschalten(feld->text()));
}

void frmMBustest::Text1Setzen(int index, const QString& text)
{
    if (TextAendern(m_ui.Text1[static_cast<size_t>(index)], text))
        Text1_Change(index);
}

void frmMBustest::Text4Setzen(const QString& text)
{
    if (TextAendern(m_ui.Text4, text))
        Text4_Change();
}

void frmMBustest::Text7Setzen(int index, const QString& text)
{
    if (TextAendern(m_ui.Text7[static_cast<size_t>(index)], text))
        Text7_Change(index);
}

void frmMBustest::LoadMBusPovider(int& treiberNummer)
{
    m_treiber.LoadMBusPovider(treiberNummer);
}

// A port or baud box that holds no port or rate is refused with a message: nothing is read on
// the port or rate of an earlier read.
bool frmMBustest::GetPortParameter(QVariant& port, QVariant& baud)
{
    QString fehler;
    if (PortParameterLesen(m_ui.Text1[1]->text(), m_ui.Text1[2]->text(), port, baud, &fehler))
        return true;
    MsgBox(fehler);
    return false;
}
