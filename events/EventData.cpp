#include "EventData.h"

#include "Database.h"
#include "Helpers.h"
#include "Races.h"

#include <QLocale>

#include <cmath>

namespace {

// Moves the decimal point of a number text left until two integer digits
// remain; the text is exact, so no rounding error creeps in.
QString TwoIntegerDigits(const QString& number) {
    int i = 0;
    const int n = static_cast<int>(number.size());
    while (i < n && (number[i] == QLatin1Char(' ') || number[i] == QLatin1Char('\t')))
        ++i;
    QString sign;
    if (i < n && (number[i] == QLatin1Char('-') || number[i] == QLatin1Char('+')))
        sign = number[i++];
    QString whole;
    while (i < n && number[i].isDigit() && number[i].unicode() < 128)
        whole += number[i++];
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    QString fraction;
    if (i < n && number[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && number[i].isDigit() && number[i].unicode() < 128)
            fraction += number[i++];
    }
    const bool exponent = i < n && (number[i] == QLatin1Char('e') || number[i] == QLatin1Char('E'));
    if (whole.size() <= 2 || exponent) // an exponent is left to the caller
        return QString();
    return sign + whole.left(2) + QLatin1Char('.') + whole.mid(2) + fraction;
}

} // namespace

double ParseFrequency(QString& text) {
    const qsizetype p = (text.indexOf(QLatin1Char('.')) + 1) + (text.indexOf(QLatin1Char(',')) + 1);
    if (p == 0 && text.size() > 2)
        text = text.left(2) + QLatin1Char(',') + text.mid(2);
    QString number = text;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    double value = kv::Val(number);
    if (std::fabs(value) >= 100.0) {
        const QString moved = TwoIntegerDigits(number);
        if (!moved.isEmpty())
            value = kv::Val(moved);
        while (std::fabs(value) >= 100.0)
            value /= 10.0;
    }
    return value;
}

QString DoubleToSqlString(double value) {
    QString s = QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    return s;
}

namespace kv {

bool DeleteTournamentCascade(Database& db, qint32 tournamentID) {
    const QString id = QString::number(tournamentID);
    Transaction trans(db);
    return trans.active() &&
           DeleteRacesInTransaction(db, RacesToDelete::tournament(tournamentID)) &&
           db.Execute(QStringLiteral("DELETE FROM tblDriverInTournament WHERE TournamentID=") + id +
                      QStringLiteral(";")) &&
           db.Execute(QStringLiteral("DELETE FROM tblTournament WHERE TournamentID=") + id +
                      QStringLiteral(";")) &&
           trans.commit();
}

} // namespace kv
