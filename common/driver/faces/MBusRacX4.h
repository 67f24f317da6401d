#pragma once
// The name-bound face of the M-Bus driver ("MBusRacX4.MBusRacX4.1"): members APP*, COM*, TEL*,
// records counted from 1. Requests return at once; the caller polls APPReceiveTest while it
// gives 255, yielding between polls, or calls EmpfangAbwarten, which does the same but sleeps
// in the event loop until a byte or the exchange's next deadline comes instead of polling.
//
//   APPReceiveTest  255 exchange running (also while the dead time runs)
//                   0   idle, or a request without answer (address 255) went out
//                   1   acknowledgement (E5)
//                   3   telegram received and decoded (also after APPInterpretTelegramHex, and
//                       a meter's application error, CI 70)
//                   5   time-out: no answer in the answer window (also: port closed or lost)
//                   6   answer invalid: garbled, checksum, length, start or stop character,
//                       several meters at once, content that does not decode; and input that is
//                       no request (hex text, mask, address), nothing sent
//   APPReceiveError bits of the last exchange: 1 time-out, 4 checksum, 8 start character,
//                   16 length, 32 stop character, 64 collision, 256 input that is no request;
//                   0 while running. After a select: 1 no meter answered; any other bit: an
//                   answer came but was no single clean acknowledgement (several meters).
//
// APPRetry: while an exchange runs, allows one repetition of its request should it end in a
// time-out or an invalid answer (the caller then sees 255 on until the repetition has ended);
// after such an end, repeats the request at once. At most one repetition per request; a REQ_UD2
// repeats with the same FCB, so the meter sends the same telegram again.
//
// Timing: COMTimeoutParam 2 makes COMTimeout (answer window in bit times), COMTimeoutOffset (ms
// on top), COMTimeoutByte (characters of silence that end an answer) and COMDeadtime (bit times
// of silence before a request) apply; otherwise 330, 50, 4 and 11. A window or pause of 0 or
// less would never let an answer in: those take 330 and 4. While the answer is a long frame
// still incomplete by its own length field, only 30 ms of silence (or COMTimeoutByte, if
// longer) end it, so that a USB adapter holding bytes back does not cut it short. Through a
// modem connection the window gets 1 s more, and an answer ends only after 100 ms of silence
// (500 ms inside an incomplete frame): see Modemzeiten.h.
//
// Every request clears the decoded state first: a getter never shows an earlier answer. Header
// getters give -1 (numbers) or "" (texts) without a telegram; record getters give "", 0 or an
// invalid date for an index without a record.

#include "MBusTreiber.h"
#include "driver/decode/Groessen.h"
#include "driver/transport/Busanschluss.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

class AntwortSicht;

class MBusRacX4 : public MBusTreiber
{
public:
    MBusRacX4();
    // Tests: another line or clock.
    explicit MBusRacX4(std::unique_ptr<mbus::Buskanal> kanal, std::unique_ptr<mbus::Busuhr> uhr);
    ~MBusRacX4() override;

    QString name() const override;
    MBusRacX4* alsRacX4() override { return this; }

    // 1: English texts; anything else German.
    int LNGLanguage() const { return m_sprache; }
    void setLNGLanguage(int sprache) { m_sprache = sprache; }

    int COMTimeoutParam() const { return m_timeoutParam; }
    void setCOMTimeoutParam(int wert) { m_timeoutParam = wert; }
    int COMTimeout() const { return m_timeout; }
    void setCOMTimeout(int bits) { m_timeout = bits; }
    int COMTimeoutOffset() const { return m_timeoutOffset; }
    void setCOMTimeoutOffset(int ms) { m_timeoutOffset = ms; }
    int COMTimeoutByte() const { return m_timeoutByte; }
    void setCOMTimeoutByte(int zeichen) { m_timeoutByte = zeichen; }
    int COMDeadtime() const { return m_deadtime; }
    void setCOMDeadtime(int bits) { m_deadtime = bits; }

    // Opens (or reopens) the port (number, "Com n", "COMn") at an M-Bus baud rate, 8E1.
    void APPInitCom(const QVariant& port, const QVariant& baud);
    // 0 when open; otherwise the serial control's error number of the failed open (8002 no such
    // port, 8005 taken, 380 no valid baud rate, 8012 not opened, 8020 device lost).
    int APPIsComOpen() const;
    void APPCloseCom();
    void COMClose();

    void APPSNDNKE(int adresse);
    void APPREQUD2(int adresse);
    int APPReceiveTest();
    // Waits until the running exchange has ended and gives APPReceiveTest then. The process
    // sleeps in the event loop between two looks at the line (other events run: windows stay
    // responsive, stop buttons are seen) until bytes arrive or the exchange's next deadline
    // comes. With wiederholen every look that finds the exchange running also calls APPRetry.
    // 255 only when the program is ending (the exchange is left running; closing the port ends
    // it).
    int EmpfangAbwarten(bool wiederholen = false);
    int APPReceiveError() const;
    // 1 when a repetition is armed or started, else 0.
    int APPRetry();
    // modus: only 0 (select) is known; every value selects. maske: eight characters, digits
    // or f (any digit), shorter masks are filled with leading zeros. hersteller: three letters
    // or "" (any); version and medium: one byte in hex or "" (any).
    void APPSelect(int modus, const QString& maske, const QString& hersteller,
                   const QString& version, const QString& medium);
    void APPSendHex(const QString& hex);
    void APPInterpretTelegramHex(const QString& hex);

    int APPAField() const;
    qint64 APPDeviceID() const;
    QString APPDeviceIDDec() const;
    int APPManufacturerID() const;
    QString APPManufacturerIDAsc() const;
    int APPGenerationNo() const;
    QString APPMediumAsc() const;
    int APPTransmissionCount() const;
    int APPDataRecordNumber() const;
    QString APPRetrieveRawDataHex() const;
    QString APPRetrieveRawDataDec() const;
    // The low 32 bits in upper-case hex without leading zeros (255: "FF", -1: "FFFFFFFF").
    QString APPLongToHexAsc(qint64 zahl) const;

    QString APPValueDec(int i) const;
    QString APPValueHex(int i) const;
    QDateTime APPValueDT(int i) const;
    // The record's subunit (DIFE unit).
    int APPUnitNo(int i) const;
    int APPTariffNo(int i) const;
    QString APPVIBAsc(int i) const;
    QString APPVIBUnitAsc(int i) const;
    // 0 instantaneous, 1 maximum, 2 minimum, 3 value during error.
    int APPFunctionField(int i) const;
    QString APPFunctionFieldAsc(int i) const;
    // Low nibble of the DIF; 15 for both DIF 0F and DIF 1F.
    int APPDataField(int i) const;
    QString APPDataFieldAsc(int i) const;

    // The telegram's last record is DIF 1F: the meter has more records for the next REQ_UD2.
    bool WeitereDatensaetzeFolgen() const;
    // The telegram's last record is DIF 0F: manufacturer data, nothing more follows.
    bool HerstellerdatenAmEnde() const;

    // Modem in front of a remote bus (Modemkanal, Modemdialog). Each member returns at once; the
    // caller polls TELStatus, which moves the dialogue on by one pass:
    //   0 initialisation ended unconfirmed, 1 a dialogue runs, 2 initialised, 3 idle, no
    //   connection, 4 connected (Modemstatus.h).
    // TELInit and TELMakeCall open the port as APPInitCom does, unless it is open as that port at
    // that baud already (reopening drops DTR, which hangs a modem up). A port that does not open
    // ends TELInit with 0 and TELMakeCall with 3. TELInit: ATZ, ATE0V1, then the caller's command
    // ("ATX1L3"). TELMakeCall: a number ("0301234") or the whole dial command ("ATDT0301234").
    // APPBreak ends a running bus exchange and aborts a dial; TELHangUp ends a running bus
    // exchange and hangs up ("+++" between guard times, ATH; DTR drop when the modem is silent).
    // While connected the bus members work through the connection (timing above); otherwise,
    // once the modem was used, they end at once with 5 until APPInitCom opens the port again
    // (Modemkanal.h). "NO CARRIER" while connected ends the connection (3) and a running
    // exchange (5).
    void TELInit(const QVariant& port, const QVariant& baud, const QString& befehl);
    void TELMakeCall(const QVariant& port, const QVariant& baud, const QString& wahl);
    void TELHangUp();
    void APPBreak();
    int TELStatus();
    // The modem's result line that ended the last dialogue ("OK", "BUSY", "CONNECT 9600"; "" when
    // there was none, e.g. no answer in time).
    QString ModemMeldung() const;
    // The modem's waits and guard times (defaults: Modemzeiten.h).
    void setzeModemzeiten(const mbus::Modemzeiten& zeiten);

private:
    void zeitenAnwenden();
    // TELInit, TELMakeCall: the port as APPInitCom opens it, unless it is open so already.
    void modemPortOeffnen(const QVariant& port, const QVariant& baud);
    mbus::Sprache sprache() const;
    AntwortSicht sicht() const;
    // Record i counted from 1, nullptr without one.
    const mbus::Datensatz* satz(int i) const;

    mbus::Busanschluss m_anschluss;
    int m_sprache = 0;
    int m_timeoutParam = 0;
    int m_timeout = mbus::kStandardZeiten.antwortBits;
    int m_timeoutOffset = mbus::kStandardZeiten.antwortOffsetMs;
    int m_timeoutByte = mbus::kStandardZeiten.pauseZeichen;
    int m_deadtime = mbus::kStandardZeiten.totzeitBits;
};
