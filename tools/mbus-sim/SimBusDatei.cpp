#include "SimBusDatei.h"

#include "SimDatensatz.h"
#include "SimMBus.h"
#include "SimTelegrammBauer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace {

// A value of a key=value word, checked against the kind of its key.
struct Wert
{
    qint64 zahl = 0;
    QString text;
};

// Mikrosekunden: milliseconds with up to three decimals after a point, stored in microseconds.
enum class Art { Schalter, Zahl, Mikrosekunden, HexByte, Baud, Kennnummer, Buchstaben };

template <class Ziel> struct Schluessel
{
    const char* name;
    Art art;
    qint64 min;
    qint64 max;
    void (*setzen)(Ziel&, const Wert&);
};

const Schluessel<SimBus> BusSchluessel[] = {
    {"takt", Art::Schalter, 0, 1, [](SimBus& b, const Wert& w) { b.takt = w.zahl; }},
    {"antwort_bits", Art::Zahl, 0, 100000,
     [](SimBus& b, const Wert& w) { b.antwortBits = int(w.zahl); }},
    {"antwort_ms", Art::Zahl, 0, 60000,
     [](SimBus& b, const Wert& w) { b.antwortMs = int(w.zahl); }},
    {"echo", Art::Schalter, 0, 1, [](SimBus& b, const Wert& w) { b.echo = w.zahl; }},
    {"rauschen_alle", Art::Zahl, 0, 3600000,
     [](SimBus& b, const Wert& w) { b.rauschenAlleMs = int(w.zahl); }},
    {"kollision_versatz", Art::Zahl, 0, 10000,
     [](SimBus& b, const Wert& w) { b.kollisionsVersatzBits = int(w.zahl); }},
    {"zufall", Art::Zahl, 0, 4294967295LL,
     [](SimBus& b, const Wert& w) { b.zufallsKeim = quint32(w.zahl); }},
};

const Schluessel<SimModem> ModemSchluessel[] = {
    {"waehlzeit", Art::Zahl, 0, 600000,
     [](SimModem& m, const Wert& w) { m.waehlzeitMs = int(w.zahl); }},
    {"schutzzeit", Art::Zahl, 0, 60000,
     [](SimModem& m, const Wert& w) { m.schutzzeitMs = int(w.zahl); }},
    {"connect", Art::Zahl, 1, 1000000,
     [](SimModem& m, const Wert& w) { m.verbindungsBaud = int(w.zahl); }},
    {"busbaud", Art::Baud, 0, 0, [](SimModem& m, const Wert& w) { m.busBaud = int(w.zahl); }},
    {"auflegen", Art::Zahl, 0, 86400000,
     [](SimModem& m, const Wert& w) { m.auflegenNachMs = int(w.zahl); }},
    {"echo", Art::Schalter, 0, 1, [](SimModem& m, const Wert& w) { m.echo = w.zahl; }},
};

const Schluessel<SimZaehler> ZaehlerSchluessel[] = {
    {"adresse", Art::Zahl, 0, SimMBus::HoechsteAdresse,
     [](SimZaehler& z, const Wert& w) { z.primaerAdresse = int(w.zahl); }},
    {"id", Art::Kennnummer, 0, 99999999,
     [](SimZaehler& z, const Wert& w) { z.id = quint32(w.zahl); }},
    {"hersteller", Art::Buchstaben, 3, 3,
     [](SimZaehler& z, const Wert& w) { z.hersteller = w.text; }},
    {"version", Art::HexByte, 0, 255,
     [](SimZaehler& z, const Wert& w) { z.version = quint8(w.zahl); }},
    {"medium", Art::HexByte, 0, 255,
     [](SimZaehler& z, const Wert& w) { z.medium = quint8(w.zahl); }},
    {"status", Art::HexByte, 0, 255,
     [](SimZaehler& z, const Wert& w) { z.status = quint8(w.zahl); }},
    {"baud", Art::Baud, 0, 0, [](SimZaehler& z, const Wert& w) { z.baud = int(w.zahl); }},
};

const Schluessel<SimFehler> FehlerSchluessel[] = {
    {"stumm", Art::Schalter, 0, 1, [](SimFehler& f, const Wert& w) { f.stumm = w.zahl; }},
    {"ohne_nke", Art::Schalter, 0, 1, [](SimFehler& f, const Wert& w) { f.ohneNke = w.zahl; }},
    {"ohne_daten", Art::Schalter, 0, 1, [](SimFehler& f, const Wert& w) { f.ohneDaten = w.zahl; }},
    {"ohne_quittung", Art::Schalter, 0, 1,
     [](SimFehler& f, const Wert& w) { f.ohneQuittung = w.zahl; }},
    {"aendern_nur_mit_id", Art::Schalter, 0, 1,
     [](SimFehler& f, const Wert& w) { f.aendernNurMitId = w.zahl; }},
    {"auswahl_ohne_quittung", Art::Schalter, 0, 1,
     [](SimFehler& f, const Wert& w) { f.auswahlOhneQuittung = w.zahl; }},
    {"antwort_ab", Art::Zahl, 1, 1000000,
     [](SimFehler& f, const Wert& w) { f.antwortAb = int(w.zahl); }},
    {"spaet", Art::Mikrosekunden, 0, 600000,
     [](SimFehler& f, const Wert& w) { f.spaetMs = static_cast<double>(w.zahl) / 1000.0; }},
    {"pruefsumme_falsch", Art::Schalter, 0, 1,
     [](SimFehler& f, const Wert& w) { f.falschePruefsumme = w.zahl; }},
    {"geteilt", Art::Zahl, 0, 600000,
     [](SimFehler& f, const Wert& w) { f.teilungMs = int(w.zahl); }},
    {"rauschen_vor", Art::Zahl, 0, 1000,
     [](SimFehler& f, const Wert& w) { f.rauschenVor = int(w.zahl); }},
    {"rauschen_nach", Art::Zahl, 0, 1000,
     [](SimFehler& f, const Wert& w) { f.rauschenNach = int(w.zahl); }},
    {"zaehlt", Art::Schalter, 0, 1, [](SimFehler& f, const Wert& w) { f.zaehlt = w.zahl; }},
    {"fcb_streng", Art::Schalter, 0, 1, [](SimFehler& f, const Wert& w) { f.fcbStreng = w.zahl; }},
};

const QStringList WahlErgebnisse{"CONNECT", "BUSY", "NO CARRIER", "NO ANSWER", "NO DIALTONE"};

// Ends the reading of a bus file at its first error; never leaves SimBusDatei::lesen.
class Lesefehler
{
public:
    explicit Lesefehler(QString text) : m_text(std::move(text)) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

std::optional<qint64> schalter(const QString& text)
{
    static const QStringList ja{"ja", "true", "1", "an"};
    static const QStringList nein{"nein", "false", "0", "aus"};
    if (ja.contains(text, Qt::CaseInsensitive))
        return 1;
    if (nein.contains(text, Qt::CaseInsensitive))
        return 0;
    return std::nullopt;
}

std::optional<qint64> dezimal(const QString& text)
{
    static const QRegularExpression ziffern("^[0-9]{1,10}$");
    if (!ziffern.match(text).hasMatch())
        return std::nullopt;
    return text.toLongLong();
}

QString bereich(qint64 min, qint64 max)
{
    return QString("%1 bis %2").arg(min).arg(max);
}

// Reads one value of the given kind; returns what is wrong with it (empty: nothing).
QString wertLesen(const char* name, Art art, qint64 min, qint64 max, const QString& text,
                  Wert& wert)
{
    const QString falsch = QString("ungültiger Wert \"%1\" für \"%2\"").arg(text, name);
    switch (art) {
    case Art::Schalter: {
        const auto w = schalter(text);
        if (!w)
            return falsch + " (ja oder nein)";
        wert.zahl = *w;
        return {};
    }
    case Art::Zahl: {
        const auto w = dezimal(text);
        if (!w || *w < min || *w > max)
            return falsch + " (" + bereich(min, max) + ")";
        wert.zahl = *w;
        return {};
    }
    case Art::Mikrosekunden: {
        static const QRegularExpression ms("^([0-9]{1,9})(?:\\.([0-9]{1,3}))?$");
        const QRegularExpressionMatch m = ms.match(text);
        const qint64 us = m.hasMatch() ? m.captured(1).toLongLong() * 1000 +
                                             m.captured(2).leftJustified(3, u'0').toLongLong()
                                       : -1;
        if (us < min * 1000 || us > max * 1000)
            return falsch + " (" + bereich(min, max) + ", bis zu drei Stellen hinter dem Punkt)";
        wert.zahl = us;
        return {};
    }
    case Art::HexByte: {
        static const QRegularExpression hex("^[0-9A-Fa-f]{1,2}$");
        if (!hex.match(text).hasMatch())
            return falsch + " (ein Byte in Hex, 00 bis FF)";
        wert.zahl = text.toInt(nullptr, 16);
        return {};
    }
    case Art::Baud: {
        const auto w = dezimal(text);
        if (!w || !SimMBus::IstMeterBaud(int(*w)))
            return falsch + " (300, 600, 1200, 2400, 4800, 9600, 19200 oder 38400)";
        wert.zahl = *w;
        return {};
    }
    case Art::Kennnummer: {
        static const QRegularExpression acht("^[0-9]{1,8}$");
        if (!acht.match(text).hasMatch())
            return falsch + " (bis zu 8 Ziffern)";
        wert.zahl = text.toLongLong();
        return {};
    }
    case Art::Buchstaben: {
        static const QRegularExpression drei("^[A-Za-z]{3}$");
        if (!drei.match(text).hasMatch())
            return falsch + " (drei Buchstaben A bis Z)";
        wert.text = text.toUpper();
        return {};
    }
    }
    return falsch;
}

// One key=value word (or a lone switch name) matched against a table.
template <class Ziel> struct Zuweisung
{
    const Schluessel<Ziel>* schluessel = nullptr;
    Wert wert;
};

QByteArray hexLesen(const QStringList& woerter, QString* fehler)
{
    static const QRegularExpression hex("^([0-9A-Fa-f]{2})+$");
    QByteArray bytes;
    for (const QString& wort : woerter) {
        if (!hex.match(wort).hasMatch()) {
            *fehler = QString("ungültige Hexzahl \"%1\" (zwei Hexziffern je Byte)").arg(wort);
            return {};
        }
        bytes.append(QByteArray::fromHex(wort.toLatin1()));
    }
    return bytes;
}

QString satzPruefen(const QByteArray& satz)
{
    const int kopf = SimDatensatz::kopfLaenge(satz);
    if (kopf < 0)
        return "Datensatz endet in DIF, VIF oder ihren Erweiterungen";
    const int soll = SimDatensatz::datenLaenge(satz, kopf);
    const int ist = static_cast<int>(satz.size()) - kopf;
    if (soll >= 0 && soll != ist)
        return QString("Datensatz hat %1 Datenbytes, sein DIF verlangt %2").arg(ist).arg(soll);
    return {};
}

int satzBytes(const SimTelegramm& t)
{
    int n = 0;
    for (const QByteArray& s : t.saetze)
        n += static_cast<int>(s.size());
    return n;
}

class Leser
{
public:
    Leser(SimBus& bus, QString ordner) : m_bus(bus), m_ordner(std::move(ordner)) {}

    void zeile(int nummer, const QString& text)
    {
        m_zeile = nummer;
        const QStringList woerter = woerterOhneKommentar(text);
        if (woerter.isEmpty())
            return;
        const QString wort = woerter.first().toLower();
        const QStringList rest = woerter.mid(1);
        if (wort == "bus")
            busZeile(rest);
        else if (wort == "modem")
            modemZeile(rest);
        else if (wort == "geraeteserver")
            geraeteserverZeile(rest);
        else if (wort == "nummer")
            nummerZeile(rest);
        else if (wort == "zaehler")
            zaehlerZeile(rest);
        else if (wort == "satz")
            satzZeile(rest);
        else if (wort == "telegramm")
            telegrammZeile(rest);
        else if (wort == "roh")
            rohZeile(rest);
        else if (wort == "rohdatei")
            rohdateiZeile(rest);
        else if (wort == "fehler")
            fehlerZeile(rest);
        else
            fehler(QString("unbekanntes Schlüsselwort \"%1\"").arg(woerter.first()));
    }

    // Applies the bus-wide faults and then each meter's own.
    void abschliessen()
    {
        for (int i = 0; i < m_bus.zaehler.size(); ++i) {
            SimZaehler& z = m_bus.zaehler[i];
            z.fehler = m_busFehler;
            for (const Zuweisung<SimFehler>& f : m_zaehlerFehler[i])
                f.schluessel->setzen(z.fehler, f.wert);
            if (z.telegramme.isEmpty())
                z.telegramme.append(SimTelegramm{});
        }
    }

    [[noreturn]] void fehler(const QString& text) const
    {
        throw Lesefehler(QString("Zeile %1: %2").arg(m_zeile).arg(text));
    }

private:
    static QStringList woerterOhneKommentar(const QString& text)
    {
        static const QRegularExpression kommentar("(^|\\s)#.*$");
        QString ohne = text;
        ohne.remove(kommentar);
        return ohne.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    }

    // The table's entry for the word; nothing when the table has no such key. A bad value is
    // an error of the line.
    template <class Ziel, size_t N>
    std::optional<Zuweisung<Ziel>> zuweisung(const Schluessel<Ziel> (&tabelle)[N],
                                             const QString& wort) const
    {
        const int gleich = static_cast<int>(wort.indexOf('='));
        const QString name = (gleich < 0 ? wort : wort.left(gleich)).toLower();
        for (const Schluessel<Ziel>& s : tabelle) {
            if (name != QLatin1String(s.name))
                continue;
            Zuweisung<Ziel> z{&s, {}};
            if (gleich < 0) {
                if (s.art != Art::Schalter)
                    fehler(QString("\"%1\" braucht einen Wert (%1=...)").arg(name));
                z.wert.zahl = 1;
            } else if (const QString f =
                           wertLesen(s.name, s.art, s.min, s.max, wort.mid(gleich + 1), z.wert);
                       !f.isEmpty()) {
                fehler(f);
            }
            return z;
        }
        return std::nullopt;
    }

    template <class Ziel, size_t N>
    bool versuchen(const Schluessel<Ziel> (&tabelle)[N], const QString& wort, Ziel& ziel) const
    {
        const auto z = zuweisung(tabelle, wort);
        if (z)
            z->schluessel->setzen(ziel, z->wert);
        return z.has_value();
    }

    void busZeile(const QStringList& woerter)
    {
        for (const QString& w : woerter)
            if (!versuchen(BusSchluessel, w, m_bus) && !versuchen(FehlerSchluessel, w, m_busFehler))
                fehler(QString("unbekannter Schlüssel \"%1\" in \"bus\"").arg(w));
    }

    void modemZeile(const QStringList& woerter)
    {
        m_bus.modem.vorhanden = true;
        for (const QString& w : woerter)
            if (!versuchen(ModemSchluessel, w, m_bus.modem))
                fehler(QString("unbekannter Schlüssel \"%1\" in \"modem\"").arg(w));
    }

    void geraeteserverZeile(const QStringList& woerter)
    {
        SimGeraeteserverEinstellung& g = m_bus.geraeteserver;
        g.vorhanden = true;
        static const QRegularExpression antwort("^antwort=(\\S{1,32})$");
        for (const QString& w : woerter) {
            bool ok = false;
            if (w.startsWith("port=")) {
                const int port = w.mid(5).toInt(&ok);
                ok = ok && port >= 0 && port <= 65535;
                if (ok)
                    g.port = port;
            } else if (const auto t = antwort.match(w); t.hasMatch()) {
                g.antwort = t.captured(1).toLatin1();
                ok = true;
            } else if (w == "stumm") {
                g.stumm = ok = true;
            }
            if (!ok)
                fehler(QString("unbekannter Schlüssel \"%1\" in \"geraeteserver\"").arg(w));
        }
    }

    void nummerZeile(QStringList woerter)
    {
        if (woerter.size() < 2)
            fehler("\"nummer\" braucht eine Rufnummer und ein Ergebnis");
        SimWahl wahl;
        wahl.nummer = woerter.takeFirst();
        static const QRegularExpression rufnummer("^([0-9*#,PpTtWw+-]+|\\*)$");
        if (!rufnummer.match(wahl.nummer).hasMatch())
            fehler(QString("ungültige Rufnummer \"%1\"").arg(wahl.nummer));
        if (woerter.last().startsWith("nach=", Qt::CaseInsensitive)) {
            Wert w;
            const QString f = wertLesen("nach", Art::Zahl, 0, 600000, woerter.takeLast().mid(5), w);
            if (!f.isEmpty())
                fehler(f);
            wahl.verzoegerungMs = int(w.zahl);
        }
        QString ergebnis = woerter.join(' ').toUpper();
        static const QRegularExpression mitBaud("^CONNECT ([0-9]{1,7})$");
        if (const auto m = mitBaud.match(ergebnis); m.hasMatch()) {
            wahl.verbindungsBaud = m.captured(1).toInt();
            ergebnis = "CONNECT";
        }
        if (!WahlErgebnisse.contains(ergebnis))
            fehler(QString("unbekanntes Wählergebnis \"%1\" (%2)")
                       .arg(woerter.join(' '), WahlErgebnisse.join(", ")));
        wahl.ergebnis = ergebnis;
        m_bus.modem.nummern.append(wahl);
    }

    void zaehlerZeile(const QStringList& woerter)
    {
        SimZaehler z;
        z.zeile = m_zeile;
        QList<Zuweisung<SimFehler>> eigeneFehler;
        bool mitId = false;
        for (const QString& w : woerter) {
            if (versuchen(ZaehlerSchluessel, w, z)) {
                mitId = mitId || w.startsWith("id=", Qt::CaseInsensitive);
                continue;
            }
            if (!fehlerMerken(w, eigeneFehler))
                fehler(QString("unbekannter Schlüssel \"%1\" in \"zaehler\"").arg(w));
        }
        if (!mitId)
            fehler("\"zaehler\" ohne \"id=\" (Identifikationsnummer)");
        m_bus.zaehler.append(z);
        m_zaehlerFehler.append(eigeneFehler);
    }

    bool fehlerMerken(const QString& wort, QList<Zuweisung<SimFehler>>& liste) const
    {
        const auto z = zuweisung(FehlerSchluessel, wort);
        if (z)
            liste.append(*z);
        return z.has_value();
    }

    SimZaehler& aktuellerZaehler(const char* wort)
    {
        if (m_bus.zaehler.isEmpty())
            fehler(QString("\"%1\" vor dem ersten \"zaehler\"").arg(wort));
        SimZaehler& z = m_bus.zaehler.last();
        if (z.telegramme.isEmpty())
            z.telegramme.append(SimTelegramm{});
        return z;
    }

    void satzZeile(const QStringList& woerter)
    {
        SimZaehler& z = aktuellerZaehler("satz");
        if (woerter.isEmpty())
            fehler("\"satz\" ohne Bytes");
        QString f;
        const QByteArray satz = hexLesen(woerter, &f);
        if (!f.isEmpty())
            fehler(f);
        if (const QString p = satzPruefen(satz); !p.isEmpty())
            fehler(p);
        SimTelegramm& t = z.telegramme.last();
        if (!t.roh.isEmpty())
            fehler("\"satz\" nach \"roh\": Datensätze brauchen ein neues \"telegramm\"");
        t.saetze.append(satz);
        if (satzBytes(t) > SimTelegrammBauer::MaxSatzBytes)
            fehler(QString("Telegramm zu lang: %1 Bytes Datensätze, höchstens %2")
                       .arg(satzBytes(t))
                       .arg(SimTelegrammBauer::MaxSatzBytes));
    }

    void telegrammZeile(const QStringList& woerter)
    {
        SimZaehler& z = aktuellerZaehler("telegramm");
        if (!woerter.isEmpty())
            fehler("\"telegramm\" steht allein auf der Zeile");
        const SimTelegramm& t = z.telegramme.last();
        const bool mitMehr =
            !t.saetze.isEmpty() && static_cast<quint8>(t.saetze.last()[0]) == SimMBus::DifMehrDaten;
        if (t.roh.isEmpty() && !mitMehr && satzBytes(t) + 1 > SimTelegrammBauer::MaxSatzBytes)
            fehler("Telegramm zu lang für das DIF 1F, das ihm angehängt wird");
        z.telegramme.append(SimTelegramm{});
    }

    void rohAnfuegen(const QByteArray& roh)
    {
        SimZaehler& z = aktuellerZaehler("roh");
        SimTelegramm* t = &z.telegramme.last();
        if (!t->saetze.isEmpty() || !t->roh.isEmpty()) {
            z.telegramme.append(SimTelegramm{});
            t = &z.telegramme.last();
        }
        t->roh = roh;
    }

    void rohZeile(const QStringList& woerter)
    {
        aktuellerZaehler("roh");
        if (woerter.isEmpty())
            fehler("\"roh\" ohne Bytes");
        QString f;
        const QByteArray roh = hexLesen(woerter, &f);
        if (!f.isEmpty())
            fehler(f);
        rohAnfuegen(roh);
    }

    void rohdateiZeile(const QStringList& woerter)
    {
        aktuellerZaehler("rohdatei");
        if (woerter.size() != 1)
            fehler("\"rohdatei\" braucht genau einen Dateinamen");
        const QString pfad =
            m_ordner.isEmpty() ? woerter.first() : QDir(m_ordner).filePath(woerter.first());
        QFile datei(pfad);
        if (!datei.open(QIODevice::ReadOnly))
            fehler(QString("\"%1\" lässt sich nicht lesen").arg(pfad));
        const QStringList hex = QString::fromLatin1(datei.readAll())
                                    .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        QString f;
        const QByteArray roh = hexLesen(hex, &f);
        if (!f.isEmpty())
            fehler(QString("in \"%1\": %2").arg(pfad, f));
        if (roh.isEmpty())
            fehler(QString("\"%1\" ist leer").arg(pfad));
        rohAnfuegen(roh);
    }

    void fehlerZeile(const QStringList& woerter)
    {
        aktuellerZaehler("fehler");
        for (const QString& w : woerter)
            if (!fehlerMerken(w, m_zaehlerFehler.last()))
                fehler(QString("unbekannter Fehler \"%1\"").arg(w));
    }

    SimBus& m_bus;
    QString m_ordner;
    SimFehler m_busFehler;
    QList<QList<Zuweisung<SimFehler>>> m_zaehlerFehler;
    int m_zeile = 0;
};

} // namespace

bool SimBusDatei::lesen(const QString& text, SimBus& bus, QString* fehler, const QString& ordner)
{
    SimBus neu;
    Leser leser(neu, ordner);
    try {
        const QStringList zeilen = text.split('\n');
        for (int i = 0; i < zeilen.size(); ++i)
            leser.zeile(i + 1, zeilen[i]);
        leser.abschliessen();
    } catch (const Lesefehler& f) {
        if (fehler)
            *fehler = f.text();
        return false;
    }
    bus = neu;
    return true;
}

bool SimBusDatei::dateiLesen(const QString& pfad, SimBus& bus, QString* fehler)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        if (fehler)
            *fehler = QString("%1: %2").arg(pfad, datei.errorString());
        return false;
    }
    return lesen(QString::fromUtf8(datei.readAll()), bus, fehler, QFileInfo(pfad).absolutePath());
}

namespace {

// The statement part of a line (before a comment) with key=value set to wert.
QString SchluesselSetzen(const QString& zeile, const QString& schluessel, int wert)
{
    const QRegularExpression kommentar(QStringLiteral("(^|\\s)#"));
    const QRegularExpressionMatch k = kommentar.match(zeile);
    const qsizetype ende = k.hasMatch() ? k.capturedStart() : zeile.size();
    QString anweisung = zeile.left(ende);
    const QString rest = zeile.mid(ende);
    const QRegularExpression muster(QStringLiteral("(^|\\s)") + schluessel +
                                    QStringLiteral("=\\S*"));
    const QRegularExpressionMatch m = muster.match(anweisung);
    const QString neu = schluessel + QLatin1Char('=') + QString::number(wert);
    if (m.hasMatch()) {
        const qsizetype anfang = m.capturedStart() + m.captured(1).size();
        anweisung.replace(anfang, m.capturedEnd() - anfang, neu);
    } else {
        qsizetype stelle = anweisung.size();
        while (stelle > 0 && anweisung[stelle - 1].isSpace())
            --stelle;
        anweisung.insert(stelle, QLatin1Char(' ') + neu);
    }
    return anweisung + rest;
}

} // namespace

QString SimBusDatei::standEintragen(const QString& text, const QList<SimZaehler>& zaehler,
                                    const QList<QPair<int, int>>& adresseUndBaud)
{
    QStringList zeilen = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < zaehler.size() && i < adresseUndBaud.size(); ++i) {
        const int nummer = zaehler[i].zeile - 1;
        if (nummer < 0 || nummer >= zeilen.size())
            continue;
        QString zeile = zeilen[nummer];
        const bool cr = zeile.endsWith(QLatin1Char('\r'));
        if (cr)
            zeile.chop(1);
        zeile = SchluesselSetzen(zeile, QStringLiteral("adresse"), adresseUndBaud[i].first);
        zeile = SchluesselSetzen(zeile, QStringLiteral("baud"), adresseUndBaud[i].second);
        zeilen[nummer] = cr ? zeile + QLatin1Char('\r') : zeile;
    }
    return zeilen.join(QLatin1Char('\n'));
}
