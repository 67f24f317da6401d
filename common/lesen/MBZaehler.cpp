#include "lesen/MBZaehler.h"

#include "text/Texte.h"

QString MBWertText(const QString& text)
{
    return text.left(MBWert::kTextLaenge).leftJustified(MBWert::kTextLaenge, QLatin1Char(' '));
}

bool MBZaehlerAktualisieren(MBZaehler& zaehler, const QList<MBAntwortWert>& werte, UnixZeit zeit)
{
    if (werte.size() > MBZaehler::kMaxWerte)
        return false;
    zaehler.AnzWerte = static_cast<quint8>(werte.size());
    for (int k = 1; k <= werte.size(); ++k) {
        const MBAntwortWert& neu = werte[k - 1];
        MBWert& wert = zaehler.Werte[static_cast<std::size_t>(k)];
        wert.Art = MBWertText(neu.art);
        wert.TmAlt = wert.Tm;
        wert.Tm = zeit;
        wert.WertAlt = wert.Wert;
        wert.Wert = MB_TextZuDouble(neu.wert);
        wert.Einheit = MBWertText(neu.einheit);
        const qint64 sekunden = qint64(wert.Tm) - qint64(wert.TmAlt);
        if (sekunden != 0 && wert.TmAlt != 0)
            wert.MomWert = (wert.Wert - wert.WertAlt) / double(sekunden) * 3600.0;
    }
    return true;
}
