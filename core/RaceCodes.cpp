#include "RaceCodes.h"

#include <QStringList>

namespace kv {

namespace {

struct StatusTexts {
    const char* suffix;
    const char* finalRace; // the status word of a final race's label
    const char* information;
};

// Indexed by status.
constexpr StatusTexts kStatusTexts[] = {
    {" (New)", "New", "New race"},
    {" (Running)", "Running", "Running"},
    {" (Finished)", "Finished", "Finished"},
};

const StatusTexts* TextsOf(int status) {
    return status >= RaceNew && status <= RaceFinished ? &kStatusTexts[status] : nullptr;
}

QString FinalLevelWord(int raceCode) {
    switch (raceCode) {
    case FinalCode:
        return QStringLiteral("Final");
    case SemiFinalCode:
        return QStringLiteral("Semifinal");
    case QuarterFinalCode:
        return QStringLiteral("Quartfinal");
    case EightFinalCode:
        return QStringLiteral("Eight-final");
    case UnassignedFinalCode:
        return QStringLiteral("Unassigned");
    default:
        return QString();
    }
}

} // namespace

QString FinalRaceLabel(const QString& description, int status, int raceCode) {
    const StatusTexts* t = TextsOf(status);
    QStringList words;
    if (t)
        words << QString::fromLatin1(t->finalRace);
    const QString level = FinalLevelWord(raceCode);
    if (!level.isEmpty())
        words << level;
    if (words.isEmpty())
        return description;
    return description + QStringLiteral(" (") + words.join(QStringLiteral(" - ")) +
           QLatin1Char(')');
}

QString RaceStatusSuffix(int status) {
    const StatusTexts* t = TextsOf(status);
    return t ? QString::fromLatin1(t->suffix) : QString();
}

QString RaceStatusText(int status) {
    const StatusTexts* t = TextsOf(status);
    return t ? QString::fromLatin1(t->information) : QString();
}

} // namespace kv
