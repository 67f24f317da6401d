#include "GridModell.h"

GridModell::GridModell()
{
    spaltenAnzahlAendern(2);
    zeilenAnzahlAendern(2);
}

int GridModell::TextBreiteTwips(const QString& text) const
{
    return static_cast<int>(text.size()) * kPixelJeZeichen * kTwipsJePixel;
}

int GridModell::zeilenAnzahl() const
{
    return static_cast<int>(m_zellen.size());
}

int GridModell::spaltenAnzahl() const
{
    return m_spalten;
}

void GridModell::zeilenAnzahlAendern(int anzahl)
{
    const int alt = zeilenAnzahl();
    m_zellen.resize(anzahl);
    for (int z = alt; z < anzahl; ++z)
        m_zellen[z].resize(m_spalten);
}

void GridModell::spaltenAnzahlAendern(int anzahl)
{
    m_spalten = anzahl;
    for (QStringList& zeile : m_zellen)
        zeile.resize(anzahl);
    m_breiten.resize(anzahl, kStandardBreite);
}

QString GridModell::zelle(int zeile, int spalte) const
{
    return m_zellen[zeile][spalte];
}

void GridModell::zelleAendern(int zeile, int spalte, const QString& text)
{
    m_zellen[zeile][spalte] = text;
}

void GridModell::zeileEinfuegen(int zeile)
{
    QStringList leer;
    leer.resize(m_spalten);
    m_zellen.insert(zeile, leer);
}

void GridModell::zeileEntfernen(int zeile)
{
    m_zellen.removeAt(zeile);
}

void GridModell::zellenLeeren()
{
    for (QStringList& zeile : m_zellen)
        for (QString& text : zeile)
            text.clear();
}

int GridModell::spaltenBreite(int spalte) const
{
    const int twips = m_breiten[spalte];
    return twips == kStandardBreite ? kStandardBreiteTwips : twips;
}

void GridModell::spaltenBreiteAendern(int spalte, int twips)
{
    m_breiten[spalte] =
        twips == kStandardBreite ? kStandardBreite : twips / kTwipsJePixel * kTwipsJePixel;
}
