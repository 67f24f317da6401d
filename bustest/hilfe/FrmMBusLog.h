#pragma once
// The log window: a grid of time-stamped lines that a window fills while it talks to a meter.
// Each line is one grid row; the TAB characters of the text fill consecutive cells.

#include <QDateTime>
#include <QString>
#include <QWidget>

class FlexGridWidget;

class frmMBusLog : public QWidget
{
    Q_OBJECT

public:
    explicit frmMBusLog(QWidget* eltern = nullptr);

    // Inserts the text as a new row at the given row; TABs in the text fill consecutive cells,
    // parts beyond the last column are dropped. A row beyond the end appends, one below 0
    // inserts at the top.
    void LogAddItem(const QString& item, int index);
    // A log line as every log grid writes it: the current date and time, a TAB and the text,
    // inserted at row 1 so that the newest line stands on top.
    void LogZeile(const QString& text);

    FlexGridWidget& MSFlexGrid1() { return *m_grid; }

    // "dd.mm.yyyy hh:mm:ss", the date-time text of the log lines.
    static QString LogZeit(const QDateTime& zeit);

private:
    FlexGridWidget* m_grid = nullptr;
};

// The program's one log window, created on first use (as a window of its own owned by besitzer,
// when given) and kept until its owner goes.
frmMBusLog* MBusLogFenster(QWidget* besitzer = nullptr);
