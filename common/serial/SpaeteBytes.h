#pragma once
// Bytes that came while the program's own frame was still on the wire, or while it waited to
// send, answer none of its requests: a meter that answered too late, or noise. They are dropped,
// and each drop is one line in the program log: "Verspätete Bytes verworfen : " & TAB & the bytes
// as hex text with ";" behind every byte; beyond the longest frame (261 bytes) only their number
// follows, as " ... (<n> Bytes)".

#include <QByteArray>
#include <QByteArrayView>

class SpaeteBytes
{
public:
    void anfuegen(QByteArrayView bytes);
    bool leer() const { return m_anzahl == 0; }
    // Writes the log line for the bytes so far (nothing for none) and forgets them.
    void protokollieren();

private:
    QByteArray m_anfang;
    qint64 m_anzahl = 0;
};
