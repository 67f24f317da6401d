#pragma once
// Small helpers shared by the handler files of the test window.

#include "platform/Global.h"

#include <QString>
#include <QVariant>

namespace testfenster {

// The number a box or argument holds (0 when it holds none).
inline int Zahl(const QVariant& wert)
{
    return wert.toString().trimmed().toInt();
}

// Why no driver object of that name could be had.
inline QString KeinTreiber(const QString& name)
{
    return FehlerText.isEmpty() ? QStringLiteral("Kein Treiber ") + name : FehlerText;
}

} // namespace testfenster

using testfenster::KeinTreiber;
using testfenster::Zahl;
