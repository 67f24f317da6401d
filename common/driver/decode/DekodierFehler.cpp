#include "DekodierFehler.h"

namespace mbus {

namespace {

QString Hex(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString T(Sprache sprache, const char* deutsch, const char* englisch)
{
    return QString::fromUtf8(sprache == Sprache::Englisch ? englisch : deutsch);
}

QString TeilText(Blockteil teil, Sprache sprache)
{
    switch (teil) {
    case Blockteil::Dife:
        return QStringLiteral("DIFE");
    case Blockteil::Vif:
        return QStringLiteral("VIF");
    case Blockteil::Klartext:
        return T(sprache, "Klartext-VIF", "plain text VIF");
    case Blockteil::Vife:
        return QStringLiteral("VIFE");
    case Blockteil::Lvar:
        return QStringLiteral("LVAR");
    case Blockteil::Daten:
        return T(sprache, "Daten", "data");
    }
    return {};
}

struct Beschreiber
{
    Sprache s;

    QString operator()(const Unvollstaendig& f) const
    {
        return T(s, "Rahmen unvollständig: %1 Bytes erwartet, %2 empfangen",
                 "Incomplete frame: %1 bytes expected, %2 received")
            .arg(f.erwartet)
            .arg(f.vorhanden);
    }
    QString operator()(const UngueltigesStartzeichen& f) const
    {
        return T(s, "Falsches Startzeichen %1 an Stelle %2", "Wrong start character %1 at byte %2")
            .arg(Hex(f.byte))
            .arg(f.position);
    }
    QString operator()(const LaengenUngleich& f) const
    {
        return T(s, "Längenfelder ungleich: %1 und %2", "Length fields differ: %1 and %2")
            .arg(Hex(f.erste), Hex(f.zweite));
    }
    QString operator()(const UngueltigeLaenge& f) const
    {
        return T(s, "Ungültiges Längenfeld %1", "Invalid length field %1").arg(Hex(f.laenge));
    }
    QString operator()(const UeberzaehligeBytes& f) const
    {
        return T(s, "Falsche Länge: %1 Bytes erwartet, %2 empfangen",
                 "Wrong length: %1 bytes expected, %2 received")
            .arg(f.erwartet)
            .arg(f.vorhanden);
    }
    QString operator()(const Pruefsumme& f) const
    {
        return T(s, "Prüfsumme falsch: berechnet %1, empfangen %2",
                 "Wrong checksum: computed %1, received %2")
            .arg(Hex(f.berechnet), Hex(f.gefunden));
    }
    QString operator()(const UngueltigesStoppzeichen& f) const
    {
        return T(s, "Falsches Stoppzeichen %1", "Wrong stop character %1").arg(Hex(f.byte));
    }
    QString operator()(const KeineZaehlerantwort& f) const
    {
        return T(s, "Keine Zählerantwort (C-Feld %1)", "Not a meter answer (C field %1)")
            .arg(Hex(f.steuerfeld));
    }
    QString operator()(const UnbekanntesCi& f) const
    {
        return T(s, "CI-Feld %1 wird nicht unterstützt", "CI field %1 is not supported")
            .arg(Hex(f.ci));
    }
    QString operator()(const KopfZuKurz& f) const
    {
        return T(s, "Datenkopf zu kurz (CI %1): %2 Bytes erwartet, %3 vorhanden",
                 "Data header too short (CI %1): %2 bytes expected, %3 present")
            .arg(Hex(f.ci))
            .arg(f.erwartet)
            .arg(f.vorhanden);
    }
    QString operator()(const DatensatzEndetVorzeitig& f) const
    {
        return T(s,
                 "Datensatz an Stelle %1 endet vorzeitig: %2 fehlt (%3 Bytes erwartet, %4 "
                 "vorhanden)",
                 "Record at byte %1 ends early: %2 missing (%3 bytes expected, %4 present)")
            .arg(f.position)
            .arg(TeilText(f.teil, s))
            .arg(f.erwartet)
            .arg(f.vorhanden);
    }
    QString operator()(const ZuVieleDifes& f) const
    {
        return T(s, "Mehr als 10 DIFEs im Datensatz an Stelle %1",
                 "More than 10 DIFEs in the record at byte %1")
            .arg(f.position);
    }
    QString operator()(const ZuVieleVifes& f) const
    {
        return T(s, "Mehr als 10 VIFEs im Datensatz an Stelle %1",
                 "More than 10 VIFEs in the record at byte %1")
            .arg(f.position);
    }
    QString operator()(const ReserviertesDif& f) const
    {
        return T(s, "Reserviertes DIF %1 an Stelle %2", "Reserved DIF %1 at byte %2")
            .arg(Hex(f.dif))
            .arg(f.position);
    }
    QString operator()(const UngueltigeLvar& f) const
    {
        return T(s, "Ungültige Länge variabler Daten %1 an Stelle %2",
                 "Invalid variable data length %1 at byte %2")
            .arg(Hex(f.lvar))
            .arg(f.position);
    }
};

struct Bits
{
    int operator()(const Pruefsumme&) const { return 4; }
    int operator()(const UngueltigesStartzeichen&) const { return 8; }
    int operator()(const Unvollstaendig&) const { return 16; }
    int operator()(const LaengenUngleich&) const { return 16; }
    int operator()(const UngueltigeLaenge&) const { return 16; }
    int operator()(const UeberzaehligeBytes&) const { return 16; }
    int operator()(const UngueltigesStoppzeichen&) const { return 32; }
    template <typename Inhalt> int operator()(const Inhalt&) const { return 0; }
};

} // namespace

QString DekodierFehlerText(const DekodierFehler& fehler, Sprache sprache)
{
    return std::visit(Beschreiber{sprache}, fehler);
}

int EmpfangsfehlerBits(const DekodierFehler& fehler)
{
    return std::visit(Bits{}, fehler);
}

} // namespace mbus
