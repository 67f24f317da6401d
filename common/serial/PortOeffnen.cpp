#include "SerielleDienste.h"

#include "platform/Global.h"
#include "serial/Austausch.h"
#include "serial/ComFehler.h"

namespace {

// The number value of a text by the leading-number rule: blanks skipped, a sign, digits, a
// decimal point and digits; nothing of that gives 0.
double ZahlenwertVon(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    qsizetype anfang = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double wert = text.mid(anfang, i - anfang).toDouble(&ok);
    return ok ? wert : 0.0;
}

} // namespace

int ComPortOeffnen(SerielleSchnittstelle& comm, int port, QString& baud)
{
    FehlerText.clear();
    const Austauschsperre sperre(comm);
    if (!sperre.erhalten()) {
        FehlerText = kTextBeschaeftigt;
        return -1;
    }
    int status = -1;
    // A failing step leaves its text; only "not open" (closing the closed port) lets the steps
    // go on.
    const auto weiter = [&comm](int nummer) {
        if (nummer == 0)
            return true;
        FehlerText = comm.fehlerBeschreibung();
        return nummer == ComFehler::kNichtGeoeffnet;
    };

    if (!weiter(comm.setPortOpen(false)) || !weiter(comm.setCommPort(port)))
        return status;
    if (comm.PortOpen())
        return 0;
    if (!weiter(comm.setCommPort(port)))
        return status;
    if (ZahlenwertVon(baud) == 0)
        baud = QStringLiteral("9600");
    if (!weiter(comm.setSettings(baud + QStringLiteral(",E,8,1"))))
        return status;
    if (!weiter(comm.setInBufferSize(8000)) || !weiter(comm.setOutBufferSize(8000)) ||
        !weiter(comm.setDTREnable(true)) || !weiter(comm.setRTSEnable(false)))
        return status;

    status = -2;
    if (!weiter(comm.setPortOpen(true)))
        return status;
    if (comm.PortOpen())
        status = 0;
    return status;
}
