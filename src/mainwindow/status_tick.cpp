#include "mainwindow/status_tick.h"

#include <cmath>
#include <limits>

#include "common/regional.h"

namespace sorvane {

QString StatusTickText(std::int64_t batchCounter) {
    return QString::fromStdString(FormatGeneralDateNow()) + QStringLiteral(" Deleted: ") +
           QString::number(batchCounter);
}

int StatusTimerPeriodMs(const QString& displayStatusAfter) {
    constexpr int kDefaultMs = 10000;
    const std::optional<double> seconds = ReadNumber(displayStatusAfter.toStdString());
    if (!seconds || *seconds < 1 || std::floor(*seconds) != *seconds) return kDefaultMs;
    const double longestSeconds = std::numeric_limits<int>::max() / 1000;
    return static_cast<int>(std::min(*seconds, longestSeconds) * 1000);
}

}  // namespace sorvane
