#include "Texte.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Meldung.h"

#include <vector>

namespace {

// Guards against replacements that feed themselves without containing the search text
// ("ab" by "bbaa" on "aab" grows without end).
constexpr qint64 kMaxErsetzungen = 10'000'000;
constexpr qint64 kMaxWachstum = 1'000'000;

} // namespace

QString ReplaceRekursiv(const QString& text, const QString& such, const QString& ersatz)
{
    if (such.isEmpty())
        return text;

    // A replacement holding the search text would be found again and again: one pass, each
    // occurrence replaced once, the search going on behind the inserted replacement.
    if (ersatz.contains(such)) {
        QString ergebnis = text;
        return ergebnis.replace(such, ersatz);
    }

    // Replacing the first occurrence and searching again from the start finds the occurrences
    // in the order of their end. So the text is read character by character into the result;
    // whenever the result ends in the search text, that is cut off and the replacement is read
    // next, so that occurrences arising by the joining are found as well.
    QString ergebnis;
    ergebnis.reserve(text.size());
    std::vector<QChar> offen; // replacement characters still to read, next one last
    qsizetype naechstes = 0;
    qint64 ersetzungen = 0;
    qint64 laenge = text.size();
    const qint64 grenze = qint64(text.size()) * (ersatz.size() + 1) + kMaxWachstum;

    while (!offen.empty() || naechstes < text.size()) {
        if (offen.empty()) {
            ergebnis.append(text[naechstes++]);
        } else {
            ergebnis.append(offen.back());
            offen.pop_back();
        }
        if (!ergebnis.endsWith(such))
            continue;
        ergebnis.chop(such.size());
        offen.insert(offen.end(), ersatz.crbegin(), ersatz.crend());
        laenge += ersatz.size() - such.size();
        if (++ersetzungen > kMaxErsetzungen || laenge > grenze) {
            FehlerText = QStringLiteral("Die Ersetzung von \"%1\" durch \"%2\" endet nicht.")
                             .arg(such, ersatz);
            return text;
        }
    }
    return ergebnis;
}

void ReplaceAll(QString& text, const QString& such, QString& ersatz)
{
    if (ersatz.isEmpty())
        ersatz = QStringLiteral(" ");
    if (such.isEmpty())
        return;

    // Each pass overwrites the first occurrence in place; the text keeps its length. The pass
    // that finds nothing counts too, so 1000 occurrences already exceed the limit.
    int durchlaeufe = 0;
    qsizetype ab = 0;
    for (;;) {
        const qsizetype p = text.indexOf(such, ab);
        if (p >= 0) {
            const qsizetype anzahl = std::min(ersatz.size(), text.size() - p);
            text.replace(p, anzahl, ersatz.left(anzahl));
            // Text before the overwritten part held no occurrence, so the next one cannot
            // start earlier than this.
            ab = std::max<qsizetype>(0, p - such.size() + 1);
        }
        if (++durchlaeufe > 1000) {
            MsgBox(QStringLiteral("Schwerer Fehler ReplaceAll! Source= ") + text +
                   QStringLiteral(" What=") + such + QStringLiteral("Width=") + ersatz);
            return;
        }
        if (p < 0)
            break;
    }
    if (ersatz == QStringLiteral(" "))
        text = BlanksTrimmen(text);
}

void UmlauteErsetzen(QString& text)
{
    struct Umlaut
    {
        int code;
        char16_t zeichen;
    };
    static constexpr Umlaut kUmlaute[] = {
        {132, u'ä'}, {225, u'ß'}, {142, u'Ä'}, {153, u'Ö'}, {154, u'Ü'}, {148, u'ö'}, {129, u'ü'},
    };
    for (const Umlaut& umlaut : kUmlaute) {
        QString ersatz(QChar(umlaut.zeichen));
        ReplaceAll(text, QString(Chr(umlaut.code)), ersatz);
    }
}

QString BlanksTrimmen(const QString& text)
{
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text[anfang] == u' ')
        ++anfang;
    while (ende > anfang && text[ende - 1] == u' ')
        --ende;
    return text.mid(anfang, ende - anfang);
}
