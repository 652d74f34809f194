#include "desktop/whole_scale.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace kelto {

QByteArray WholeScaleFactor(const QByteArray& factor) {
    bool ok = false;
    const double value = factor.trimmed().toDouble(&ok);
    // What the toolkit cannot read it ignores; leave that to it.
    if (!ok || !std::isfinite(value) || value <= 0) return factor;
    return QByteArray::number(std::max(1.0, std::floor(value)), 'g', 10);
}

QByteArray WholeScreenScaleFactors(const QByteArray& factors) {
    QList<QByteArray> entries = factors.split(';');
    for (QByteArray& entry : entries) {
        const qsizetype equals = entry.lastIndexOf('=');
        entry = equals < 0 ? WholeScaleFactor(entry)
                           : entry.left(equals + 1) + WholeScaleFactor(entry.mid(equals + 1));
    }
    return entries.join(';');
}

void UseWholeScaleFactorsOnly() {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", WholeScaleFactor(qgetenv("QT_SCALE_FACTOR")));
    if (qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"))
        qputenv("QT_SCREEN_SCALE_FACTORS",
                WholeScreenScaleFactors(qgetenv("QT_SCREEN_SCALE_FACTORS")));
}

}  // namespace kelto
