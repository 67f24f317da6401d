#include "MasterLog.h"

#include "grid/FlexGrid.h"
#include "platform/Uhr.h"

QString JetztText()
{
    return Jetzt().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

void MasterLogZeile(FlexGrid& grid, const QString& text)
{
    // The grid keeps its header row; the newest line always comes first below it.
    if (grid.Rows() < 1)
        grid.setRows(1);
    grid.AddItem(JetztText() + QLatin1Char('\t') + text, grid.Rows() > 1 ? 1 : -1);
}
