#include "FrmMBusLog.h"

#include "platform/Uhr.h"
#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QLocale>
#include <QPointer>
#include <QVBoxLayout>

namespace {
// Space kept right of the grid: 120 twips.
constexpr int kRandPixel = 120 / FlexGrid::kTwipsJePixel;

QPointer<frmMBusLog> g_log;
} // namespace

frmMBusLog::frmMBusLog(QWidget* eltern)
    : QWidget(eltern, Qt::Window)
    , m_grid(new FlexGridWidget(this))
{
    setWindowTitle(QStringLiteral("Form1"));
    // Date and time in a plain first column, the text beside it; a window that writes more
    // cells widens the grid itself.
    m_grid->setFixedCols(0);
    m_grid->setColWidth(0, 1800);
    m_grid->setColWidth(1, 6000);
    // The grid follows the window's width and height with a fixed margin; no resize handler
    // can fail on a window smaller than the margin.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kRandPixel, kRandPixel, kRandPixel, kRandPixel);
    layout->addWidget(m_grid);
    resize(640, 320);
    BeimZeigenEinpassen(*this);
}

void frmMBusLog::LogAddItem(const QString& item, int index)
{
    const int zeile = qBound(0, index, m_grid->Rows());
    m_grid->AddItem(item, zeile);
}

void frmMBusLog::LogZeile(const QString& text)
{
    LogAddItem(LogZeit(Jetzt()) + QLatin1Char('\t') + text, 1);
}

QString frmMBusLog::LogZeit(const QDateTime& zeit)
{
    return QLocale::c().toString(zeit, QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

frmMBusLog* MBusLogFenster(QWidget* besitzer)
{
    if (!g_log)
        g_log = new frmMBusLog(besitzer);
    return g_log;
}
