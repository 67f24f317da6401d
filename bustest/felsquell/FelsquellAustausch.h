#pragma once
// The customer raw-telegram test: sends a hand-made telegram (typically the select telegram of
// one meter of the customer's installation), waits for its acknowledgement E5h, asks the selected
// meter for its data (REQ_UD2 to 253), reads the long frame and lets the driver decode it. Every
// step goes into the log window, newest line on top; the program log gets a start line and the
// serial services' own send and receive lines.
//
// Telegram text: hex bytes separated by ";" when the text holds one, else by blanks; every
// byte one or two hex digits ("9" is 09h), empty fields skipped. A text that breaks this is
// refused with a message and nothing is sent.
//
// The exchange ends on the first step that fails: a telegram not sent (silently), no
// acknowledgement (log line), no long frame (log line and the message "FEHLER RQUD2"), an answer
// the driver does not take as a telegram (log line and the error text in the telegram box).
// Only a decoded telegram fills the meter fields and the records grid.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class FlexGrid;
class MBusRacX4;
class SerielleSchnittstelle;

class FelsquellAustausch
{
public:
    // The preset telegrams, label and telegram separated by "#" or " = ".
    static const QStringList kVorgaben;
    // REQ_UD2 to the selected meter (address 253).
    static inline const QString kReqUd2 = QStringLiteral("10;7B;FD;78;16;");
    static inline const QString kFehlerRqud2 = QStringLiteral("FEHLER RQUD2");

    // The telegram of a preset entry: the text after the first "#", else after the first " = ",
    // else the whole entry.
    static QString TelegrammAusVorgabe(const QString& eintrag);
    // The bytes of a telegram text, or nothing (fehler then says what is wrong).
    static std::optional<QByteArray> TelegrammBytes(const QString& text, QString* fehler);
    // The text of the driver's receive error: 1 "TimeOut", 2 "Falsche Parität",
    // 4 "Falsche Checksumme", 8 "Falsches Startzeichen", 16 "Falsche Länge",
    // 32 "Falsches Stoppzeichen", 64 "Collision", 128 "Frame Error", any other
    // "Other UART Error".
    static QString EmpfangsFehlerText(int fehler);

    // What the exchange shows while it runs.
    struct Anzeige
    {
        std::function<void(int index, const QString& text)> text2; // meter field Text2(index)
        std::function<void()> logZeigen;                           // log window: 5 columns, shown
        std::function<void(const QString& text)> logZeile;         // now & TAB & text, on top
        std::function<void()> logSpaltenAnpassen;                  // fit the log's column widths
    };

    FelsquellAustausch(SerielleSchnittstelle& comm, MBusRacX4& treiber, FlexGrid& satzGrid,
                       Anzeige anzeige);

    // One exchange with the telegram text. The port not open: "Comport " & n & " nicht
    // geöffnet!"; a bad text: its message; in both cases nothing is sent. A second call while
    // one runs does nothing.
    void ausfuehren(const QString& telegrammText);
    bool laeuft() const { return m_laeuft; }

private:
    bool reqUd2Senden();
    // Reads a long frame; logs it, or the no-answer line. Empty when none came.
    std::optional<QByteArray> langenRahmenLesen();
    void decodieren(const QByteArray& antwort);
    void text2(int index, const QString& text);
    void log(const QString& text);

    SerielleSchnittstelle& m_comm;
    MBusRacX4& m_treiber;
    FlexGrid& m_satzGrid;
    Anzeige m_anzeige;
    bool m_laeuft = false;
};
