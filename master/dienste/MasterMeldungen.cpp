#include "MasterMeldungen.h"

#include "log/Log.h"

#include <QRegularExpression>

QString UnbeaufsichtigteMeldungText(const QString& text, const QString& titel)
{
    static const QRegularExpression umbruch(QStringLiteral("[\\r\\n]+"));
    QString zeile = QStringLiteral("Meldung im Automatikbetrieb: ");
    if (!titel.isEmpty())
        zeile += QLatin1Char('(') + titel + QStringLiteral(") ");
    zeile += QString(text).replace(umbruch, QStringLiteral(" ")).trimmed();
    return zeile;
}

int UnbeaufsichtigteMeldungen::msgBox(const QString& text, int stil, const QString& titel)
{
    if (BedienteMeldungen::aktiv())
        return m_bildschirm.msgBox(text, stil, titel);
    const QString zeile = UnbeaufsichtigteMeldungText(text, titel);
    LogSchreiben(zeile);
    // ";" separates the fields of mb.log: the text stays one field, so no tool that reads the
    // readings from mb.log can take a part of it for a reading.
    MBusLogSchreiben(QString(zeile).replace(QLatin1Char(';'), QLatin1Char(',')), QString(),
                     QStringLiteral("mb.log"));
    return StandardKnopf(stil);
}

void UnbeaufsichtigteMeldungen::beep()
{
    m_bildschirm.beep();
}

void UnbeaufsichtigteMeldungen::mauszeiger(int zeiger)
{
    m_bildschirm.mauszeiger(zeiger);
}
