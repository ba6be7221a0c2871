#include "RaceCodes.h"

namespace kv {

namespace {

struct StatusTexts {
    const char* suffix;
    const char* finalRace;
    const char* information;
};

// Indexed by status.
constexpr StatusTexts kStatusTexts[] = {
    {" (New)", " (New - ", "New race"},
    {" (Running)", " (Running - ", "Running"},
    {" (Finished)", " (Finished - ", "Finished"},
};

const StatusTexts* TextsOf(int status) {
    return status >= RaceNew && status <= RaceFinished ? &kStatusTexts[status] : nullptr;
}

} // namespace

QString FinalLevelText(int raceCode) {
    switch (raceCode) {
    case FinalCode:
        return QStringLiteral("Final)");
    case SemiFinalCode:
        return QStringLiteral("Semifinal)");
    case QuarterFinalCode:
        return QStringLiteral("Quartfinal)");
    case EightFinalCode:
        return QStringLiteral("Eight-final)");
    case UnassignedFinalCode:
        return QStringLiteral("Unassigned)");
    default:
        return QString();
    }
}

QString RaceStatusSuffix(int status) {
    const StatusTexts* t = TextsOf(status);
    return t ? QString::fromLatin1(t->suffix) : QString();
}

QString FinalRaceStatusText(int status) {
    const StatusTexts* t = TextsOf(status);
    return t ? QString::fromLatin1(t->finalRace) : QString();
}

QString RaceStatusText(int status) {
    const StatusTexts* t = TextsOf(status);
    return t ? QString::fromLatin1(t->information) : QString();
}

} // namespace kv
