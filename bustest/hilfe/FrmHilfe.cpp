#include "FrmHilfe.h"

#include "ui/Bildschirmplatz.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QWidget* hilfeBild(const QString& bildDatei, const QString& erklaerung, QWidget* eltern)
{
    auto* seite = new QWidget(eltern);
    auto* layout = new QVBoxLayout(seite);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* bild = new QLabel(seite);
    bild->setObjectName(QStringLiteral("bild"));
    bild->setPixmap(QPixmap(bildDatei));
    bild->setAlignment(Qt::AlignCenter);
    layout->addWidget(bild);

    auto* text = new QLabel(erklaerung, seite);
    text->setObjectName(QStringLiteral("erklaerung"));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    return seite;
}

} // namespace

frm_help::frm_help(const QString& zaehlerLesenCaption, QWidget* eltern)
    : QWidget(eltern, Qt::Window)
{
    setWindowTitle(QStringLiteral("Hilfe"));
    auto* layout = new QVBoxLayout(this);

    m_bilder[0] = hilfeBild(
        QStringLiteral(":/hilfe/busansicht.png"),
        QStringLiteral(
            "Bus-Ansicht: (1) Com-Port des Pegelwandlers, die zu prüfenden Baudraten und den "
            "Bereich der Primäradressen (von ... bis) einstellen. (2) \"Primär Suchen\" fragt "
            "jede Adresse des Bereichs ab; \"Stop\" bricht die Suche ab. (3) Jeder Zähler, der "
            "antwortet, steht in der Liste in der Zeile seiner Primäradresse. Ein Doppelklick auf "
            "eine Zeile liest diesen Zähler aus."),
        this);
    m_bilder[1] = hilfeBild(
        QStringLiteral(":/hilfe/zaehleransicht.png"),
        QStringLiteral(
            "Zähler-Ansicht: (1) Gerätenummer (Primäradresse), Com-Port und Baudrate des Zählers "
            "eintragen. (2) \"M-Bus lesen Primär\" fordert die Daten des Zählers an. (3) Die "
            "Datensätze der Antwort stehen in der Tabelle \"Werte\" mit Index, Medium, Meßart, "
            "Wert und Einheit; unter \"Zählerdaten\" stehen Hersteller, ID, Version und Medium."),
        this);
    for (QWidget* bild : m_bilder)
        layout->addWidget(bild);

    BildWaehlen(zaehlerLesenCaption);
    BeimZeigenEinpassen(*this);
}

void frm_help::BildWaehlen(const QString& zaehlerLesenCaption)
{
    const bool busAnsicht = zaehlerLesenCaption == QStringLiteral("Zähler &Scan");
    m_bilder[0]->setVisible(busAnsicht);
    m_bilder[1]->setVisible(!busAnsicht);
    adjustSize();
}
