#include "MBusOLEAutoServer.h"

#include "AntwortSicht.h"
#include "MBusObjektErzeugen.h"
#include "TreiberEingaben.h"
#include "driver/decode/DekodierTexte.h"

namespace {

constexpr mbus::Sprache kSprache = mbus::Sprache::Englisch;

} // namespace

MBusOLEAutoServer::MBusOLEAutoServer() = default;

MBusOLEAutoServer::MBusOLEAutoServer(std::unique_ptr<mbus::Buskanal> kanal,
                                     std::unique_ptr<mbus::Busuhr> uhr)
    : m_anschluss(std::move(kanal), std::move(uhr))
{
}

MBusOLEAutoServer::~MBusOLEAutoServer() = default;

QString MBusOLEAutoServer::name() const
{
    return kTreiberOleAutoServer;
}

void MBusOLEAutoServer::OLEReqUD2(int adresse, bool& beantwortet)
{
    beantwortet =
        austauschen(adresse, false) && m_anschluss.empfangsTest() == mbus::kEmpfangTelegramm;
}

void MBusOLEAutoServer::OLESndNke(int adresse, bool& beantwortet)
{
    beantwortet =
        austauschen(adresse, true) && m_anschluss.empfangsTest() == mbus::kEmpfangQuittung;
}

QString MBusOLEAutoServer::OLEDeviceIdText()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::IdentText(*kopf) : QString();
}

qint64 MBusOLEAutoServer::OLEDeviceIdNumber()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::IdentNummer(*kopf).value_or(-1) : -1;
}

QString MBusOLEAutoServer::OLEGenerationText()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? QString::number(kopf->version) : QString();
}

QString MBusOLEAutoServer::OLEManufacturerText()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::HerstellerText(kopf->hersteller) : QString();
}

int MBusOLEAutoServer::OLEManufacturerNumber()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->hersteller : -1;
}

QString MBusOLEAutoServer::OLEMediumText()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::MediumText(kopf->medium, kSprache) : QString();
}

int MBusOLEAutoServer::OLEMediumNumber()
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->medium : -1;
}

QString MBusOLEAutoServer::OLERecordValueText(int index)
{
    const mbus::Datensatz* satz = sicht().satz(index);
    return satz ? mbus::WertText(*satz) : QString();
}

QString MBusOLEAutoServer::OLERecordUnitText(int index)
{
    const mbus::Datensatz* satz = sicht().satz(index);
    return satz ? mbus::EinheitText(*satz, kSprache) : QString();
}

QString MBusOLEAutoServer::OLERecordKindText(int index)
{
    const mbus::Datensatz* satz = sicht().satz(index);
    return satz ? mbus::BeschreibungText(*satz, kSprache) : QString();
}

int MBusOLEAutoServer::OLERecordCount()
{
    return sicht().anzahl();
}

void MBusOLEAutoServer::OLESetBaud(const QString& baud, bool& ok)
{
    m_baud = TreiberBaud(baud);
    ok = m_baud.has_value();
    if (ok && m_port && m_anschluss.offen())
        m_anschluss.oeffnen(*m_port, *m_baud);
}

void MBusOLEAutoServer::OLEOpenPort(const QString& port, bool& ok)
{
    ok = false;
    m_port = TreiberPortNummer(port);
    if (!m_baud || !m_port || m_beschaeftigt)
        return;
    ok = m_anschluss.oeffnen(*m_port, *m_baud) == 0;
}

void MBusOLEAutoServer::OLESetTimeout(int timeout)
{
    m_timeoutMs = timeout > 0 ? timeout : mbus::kStandardZeiten.antwortOffsetMs;
}

QByteArray MBusOLEAutoServer::OLERawTelegram()
{
    return sicht().rahmen();
}

void MBusOLEAutoServer::OLEClosePort()
{
    m_anschluss.schliessen();
}

bool MBusOLEAutoServer::austauschen(int adresse, bool nke)
{
    if (m_beschaeftigt)
        return false;
    if (adresse < 0 || adresse > MBusAdresse::kRundruf) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return false;
    }
    m_beschaeftigt = true;
    mbus::Zeitparameter zeiten = mbus::kStandardZeiten;
    zeiten.antwortOffsetMs = m_timeoutMs;
    m_anschluss.setzeZeiten(zeiten);
    const MBusAdresse a(static_cast<std::uint8_t>(adresse));
    if (nke)
        m_anschluss.sndNke(a);
    else
        m_anschluss.reqUd2(a);
    if (m_anschluss.abwarten() == mbus::kEmpfangLaeuft)
        m_anschluss.abbrechen(); // the program is ending
    m_beschaeftigt = false;
    return true;
}

AntwortSicht MBusOLEAutoServer::sicht() const
{
    return AntwortSicht(m_anschluss.ereignis());
}
