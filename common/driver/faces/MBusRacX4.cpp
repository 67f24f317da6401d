#include "MBusRacX4.h"

#include "AntwortSicht.h"
#include "MBusObjektErzeugen.h"
#include "TreiberEingaben.h"
#include "driver/decode/DekodierTexte.h"
#include "serial/ComFehler.h"

#include <algorithm>

namespace {

std::optional<MBusAdresse> Adresse(int adresse)
{
    if (adresse < 0 || adresse > MBusAdresse::kRundruf)
        return std::nullopt;
    return MBusAdresse(static_cast<std::uint8_t>(adresse));
}

} // namespace

MBusRacX4::MBusRacX4() = default;

MBusRacX4::MBusRacX4(std::unique_ptr<mbus::Buskanal> kanal, std::unique_ptr<mbus::Busuhr> uhr)
    : m_anschluss(std::move(kanal), std::move(uhr))
{
}

MBusRacX4::~MBusRacX4() = default;

QString MBusRacX4::name() const
{
    return kTreiberRacX4;
}

void MBusRacX4::APPInitCom(const QVariant& port, const QVariant& baud)
{
    m_anschluss.oeffnen(TreiberPortNummer(port).value_or(0), TreiberBaud(baud).value_or(0));
}

int MBusRacX4::APPIsComOpen() const
{
    if (m_anschluss.offen())
        return 0;
    const int fehler = m_anschluss.oeffnenFehler();
    return fehler != 0 ? fehler : ComFehler::kGeraeteFehler;
}

void MBusRacX4::APPCloseCom()
{
    m_anschluss.schliessen();
}

void MBusRacX4::COMClose()
{
    m_anschluss.schliessen();
}

void MBusRacX4::APPSNDNKE(int adresse)
{
    const std::optional<MBusAdresse> a = Adresse(adresse);
    if (!a) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return;
    }
    zeitenAnwenden();
    m_anschluss.sndNke(*a);
}

void MBusRacX4::APPREQUD2(int adresse)
{
    const std::optional<MBusAdresse> a = Adresse(adresse);
    if (!a) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return;
    }
    zeitenAnwenden();
    m_anschluss.reqUd2(*a);
}

int MBusRacX4::APPReceiveTest()
{
    return m_anschluss.pruefen();
}

int MBusRacX4::EmpfangAbwarten(bool wiederholen)
{
    return m_anschluss.abwarten(wiederholen);
}

int MBusRacX4::APPReceiveError() const
{
    return m_anschluss.laeuft() ? 0 : m_anschluss.ereignis().empfangsfehler;
}

int MBusRacX4::APPRetry()
{
    return m_anschluss.wiederholen() ? 1 : 0;
}

void MBusRacX4::APPSelect(int /*modus*/, const QString& maske, const QString& hersteller,
                          const QString& version, const QString& medium)
{
    mbus::Auswahlmaske auswahl;
    auswahl.ident = maske.trimmed();
    auswahl.hersteller = hersteller.trimmed().toUpper();
    const std::optional<int> v = TreiberHexByte(version);
    const std::optional<int> m = TreiberHexByte(medium);
    if ((!v && !version.trimmed().isEmpty()) || (!m && !medium.trimmed().isEmpty())) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return;
    }
    if (v)
        auswahl.version = static_cast<std::uint8_t>(*v);
    if (m)
        auswahl.medium = static_cast<std::uint8_t>(*m);
    zeitenAnwenden();
    m_anschluss.waehle(auswahl);
}

void MBusRacX4::APPSendHex(const QString& hex)
{
    const std::optional<QByteArray> rahmen = TreiberHexBytes(hex);
    if (!rahmen) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return;
    }
    zeitenAnwenden();
    m_anschluss.sendeRoh(*rahmen);
}

void MBusRacX4::APPInterpretTelegramHex(const QString& hex)
{
    const std::optional<QByteArray> rahmen = TreiberHexBytes(hex);
    if (!rahmen) {
        m_anschluss.abweisen(mbus::kFehlerSonstiger);
        return;
    }
    m_anschluss.deuten(*rahmen);
}

int MBusRacX4::APPAField() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->adresse : -1;
}

qint64 MBusRacX4::APPDeviceID() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::IdentNummer(*kopf).value_or(-1) : -1;
}

QString MBusRacX4::APPDeviceIDDec() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::IdentText(*kopf) : QString();
}

int MBusRacX4::APPManufacturerID() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->hersteller : -1;
}

QString MBusRacX4::APPManufacturerIDAsc() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::HerstellerText(kopf->hersteller) : QString();
}

int MBusRacX4::APPGenerationNo() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->version : -1;
}

QString MBusRacX4::APPMediumAsc() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? mbus::MediumText(kopf->medium, sprache()) : QString();
}

int MBusRacX4::APPTransmissionCount() const
{
    const mbus::Kopf* kopf = sicht().kopf();
    return kopf ? kopf->zugriffsnummer : -1;
}

int MBusRacX4::APPDataRecordNumber() const
{
    return sicht().anzahl();
}

QString MBusRacX4::APPRetrieveRawDataHex() const
{
    return mbus::RohdatenHex(sicht().rahmen());
}

QString MBusRacX4::APPRetrieveRawDataDec() const
{
    return mbus::RohdatenDez(sicht().rahmen());
}

QString MBusRacX4::APPLongToHexAsc(qint64 zahl) const
{
    return QString::number(static_cast<quint32>(zahl), 16).toUpper();
}

QString MBusRacX4::APPValueDec(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::WertText(*s) : QString();
}

QString MBusRacX4::APPValueHex(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::WertHex(*s) : QString();
}

QDateTime MBusRacX4::APPValueDT(int i) const
{
    const mbus::Datensatz* s = satz(i);
    if (!s)
        return {};
    const auto* zeitpunkt = std::get_if<mbus::Zeitpunkt>(&s->wert);
    return zeitpunkt ? zeitpunkt->alsDateTime() : QDateTime();
}

int MBusRacX4::APPUnitNo(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? static_cast<int>(s->untereinheit) : 0;
}

int MBusRacX4::APPTariffNo(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? static_cast<int>(s->tarif) : 0;
}

QString MBusRacX4::APPVIBAsc(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::BeschreibungText(*s, sprache()) : QString();
}

QString MBusRacX4::APPVIBUnitAsc(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::EinheitText(*s, sprache()) : QString();
}

int MBusRacX4::APPFunctionField(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? static_cast<int>(s->funktion) : 0;
}

QString MBusRacX4::APPFunctionFieldAsc(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::FunktionText(s->funktion, sprache()) : QString();
}

int MBusRacX4::APPDataField(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? s->datenfeld : 0;
}

QString MBusRacX4::APPDataFieldAsc(int i) const
{
    const mbus::Datensatz* s = satz(i);
    return s ? mbus::DatenfeldText(*s, sprache()) : QString();
}

bool MBusRacX4::WeitereDatensaetzeFolgen() const
{
    const mbus::Telegramm* t = sicht().telegramm();
    return t && t->weitereDatensaetze();
}

bool MBusRacX4::HerstellerdatenAmEnde() const
{
    const mbus::Telegramm* t = sicht().telegramm();
    return t && t->herstellerdaten();
}

void MBusRacX4::zeitenAnwenden()
{
    mbus::Zeitparameter zeiten = mbus::kStandardZeiten;
    if (m_timeoutParam == 2) {
        if (m_timeout > 0)
            zeiten.antwortBits = m_timeout;
        zeiten.antwortOffsetMs = std::max(m_timeoutOffset, 0);
        if (m_timeoutByte > 0)
            zeiten.pauseZeichen = m_timeoutByte;
        zeiten.totzeitBits = std::max(m_deadtime, 0);
    }
    m_anschluss.setzeZeiten(zeiten);
}

mbus::Sprache MBusRacX4::sprache() const
{
    return mbus::SpracheFuer(m_sprache);
}

AntwortSicht MBusRacX4::sicht() const
{
    return AntwortSicht(m_anschluss.ereignis());
}

const mbus::Datensatz* MBusRacX4::satz(int i) const
{
    if (i < 1)
        return nullptr;
    return sicht().satz(i - 1);
}
