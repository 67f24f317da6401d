#pragma once
// The keys the master keeps in ".\ZEP.INI". Three section patterns, easy to mix up:
//
//   section                       keys
//   Mandant & "MBus"              VBZBerechnenIntervall, VBZBerechnenStartFenster (read before
//                                 the client number is known, so "MBus" in a master process),
//                                 RB6_StandardGroesse, "IntervallCom" & port, "OleProvider" & port
//   Mandant & "MBus" & port       COMTimeout, COMTimeoutOffset, COMTimeoutByte,
//                                 COMTimeoutDeadTime, "TibboIP" & port, OleProvider, Dienst
//   "MB" & Mandant                "MBSpeichern" & 0..3
//
// The client number is taken at each call, so a section follows Mandant as it is at that moment.
// Values that are no number in range are never written back.

#include <QString>

#include <array>
#include <optional>

class MasterEinstellungen
{
public:
    static constexpr int kTimeoutAnzahl = 4;
    static const std::array<QString, kTimeoutAnzahl> kTimeoutSchluessel;
    static constexpr std::array<qint32, kTimeoutAnzahl> kTimeoutVorgabe = {330, 50, 4, 11};
    static constexpr int kSpeichernAnzahl = 4;
    static constexpr std::array<int, kSpeichernAnzahl> kSpeichernVorgabe = {0, 0, 1, 1};
    static constexpr qint32 kVbzVorgabe = 900;
    static constexpr quint8 kVbzFensterVorgabe = 6;
    static constexpr qint32 kRb6Vorgabe = 6000;

    explicit MasterEinstellungen(int port, QString datei = QStringLiteral(".\\ZEP.INI"));

    QString mbusAbschnitt() const;
    QString portAbschnitt() const;
    QString speichernAbschnitt() const;

    // VBZBerechnenIntervall: 0 (or missing) becomes 900 and is written back. nullopt when the
    // value is no 32-bit number (FehlerText says so).
    std::optional<qint32> vbzIntervallLaden() const;
    // VBZBerechnenStartFenster: 0 becomes 6, written back; nullopt beyond 0..255.
    std::optional<quint8> vbzFensterStilLaden() const;
    // RB6_StandardGroesse; 0 (or no 32-bit number) gives 6000, nothing written.
    qint32 rb6StandardGroesse() const;

    // "IntervallCom" & port as text ("" when missing).
    QString intervallText() const;
    void intervallSchreiben(qint32 sekunden) const;

    // Time-out i: an empty value takes the default and writes it back; otherwise the value
    // read. nullopt when it is no 32-bit number (FehlerText says so; nothing written).
    std::optional<qint32> timeoutLaden(int i) const;
    void timeoutSchreiben(int i, qint32 wert) const;

    // "TibboIP" & port, always written back as read ("" when missing).
    QString tibboIpLaden() const;

    // "MBSpeichern" & i: the stored number, 0, 0, 1, 1 when empty.
    int speichernLaden(int i) const;
    void speichernSchreiben(int i, bool an) const;

    // Driver choice of the port's box (Combo2) and of the dead box (Combo1).
    void providerSchreiben(int treiberNummer) const;
    void providerPortSchreiben(int treiberNummer) const;

    // Unit of the service that CheckService looks at for the name given: key "Dienst" of the
    // port's section when set, else the name (".service" added when it has no type).
    QString dienstUnit(const QString& name) const;

private:
    QString lesen(const QString& abschnitt, const QString& schluessel) const;
    void schreiben(const QString& abschnitt, const QString& schluessel, const QString& wert) const;

    int m_port;
    QString m_datei;
};

// A whole number in 0 .. 2147483647 read with Val; nullopt for "" and anything else (a
// negative, fractional or overlong number, a text that is no number).
std::optional<qint32> IntervallPruefen(const QString& text);
// Val of the text as a signed 32-bit number; nullopt when it does not fit.
std::optional<qint32> Val32(const QString& text);
