#include "SerielleDienste.h"

#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"

#include <QFileInfo>

namespace {

constexpr int kLetzterGelisteterPort = 16;

} // namespace

void ListComPorts(SerielleSchnittstelle& comm, ComboBox& box)
{
    Q_UNUSED(comm);
    box.clear();
    for (int i = 1; i <= kLetzterGelisteterPort; ++i) {
        if (!QFileInfo::exists(ComGeraet(i)))
            continue;
        SerielleSchnittstelle probe;
        // A port another program holds is listed as busy at once, not after its lock's wait.
        probe.setSperrFrist(0);
        if (probe.setCommPort(i) != 0)
            continue;
        const QString nummer = QString::number(i);
        const int fehler = probe.setPortOpen(true);
        if (fehler == 0) {
            box.addItem(nummer);
            if (box.text().isEmpty())
                box.setText(nummer);
            probe.setPortOpen(false);
        } else if (fehler == ComFehler::kPortBelegt) {
            box.addItem(QStringLiteral("(") + nummer + QStringLiteral(")"));
        }
    }
}
