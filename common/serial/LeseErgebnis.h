#pragma once
// The result of reading one answer (V3CommReadMsg): a number, or the time-out text.
//
// A number is 1 for a single acknowledgement character, the frame length for a long frame, -1
// when the read failed. A time-out gives the text "Timeout : " & last chunk read & "  " &
// seconds of silence instead. The callers compare the result with numbers, and a time-out text
// compares greater than every number (it is no number): "= 1" fails, "> 0" holds, "< 0" fails.
// The comparison operators with int below keep exactly that:
//
//   LeseErgebnis r = V3CommReadMsg(...);
//   r == 1        single character read
//   r > 0         a frame or a time-out (the answer is then "" on a time-out)
//   r == -1       the read failed (FehlerText says why)
//   !r.istZeitueberschreitung() && r > 0    a number above 0: a frame was read

#include <QString>

#include <compare>

class LeseErgebnis
{
public:
    explicit LeseErgebnis(int zahl) : m_zahl(zahl) {}

    static LeseErgebnis Zeitueberschreitung(const QString& text)
    {
        LeseErgebnis ergebnis(0);
        ergebnis.m_zeitueberschreitung = true;
        ergebnis.m_text = text;
        return ergebnis;
    }

    bool istZeitueberschreitung() const { return m_zeitueberschreitung; }
    // The number (0 for a time-out).
    int zahl() const { return m_zahl; }
    // The result as text: the time-out text, or the number.
    QString text() const { return m_zeitueberschreitung ? m_text : QString::number(m_zahl); }

    bool operator==(int zahl) const { return !m_zeitueberschreitung && m_zahl == zahl; }
    std::strong_ordering operator<=>(int zahl) const
    {
        if (m_zeitueberschreitung)
            return std::strong_ordering::greater;
        return m_zahl <=> zahl;
    }

private:
    int m_zahl = -1;
    bool m_zeitueberschreitung = false;
    QString m_text;
};
