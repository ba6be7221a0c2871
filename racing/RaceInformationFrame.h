#pragma once
// The race page's "Race information" frame: category, time, length, status,
// the start list's conflicts and the race's comment.

#include <QString>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QSqlRecord;
class QWidget;

namespace kv {

class RaceInformationFrame {
public:
    // Builds the frame, hidden, on the page.
    explicit RaceInformationFrame(QWidget* page);

    // The race's row as the race store reads it: time, category, length, status.
    void showRace(const QSqlRecord& race);
    // The comment of the race's row, shown without storing it again.
    void showComment(const QSqlRecord& race);
    void showStatus(int status);
    // Empties every field; the race's stored comment stays.
    void clear();
    // The start list shares a frequency or a transponder ID.
    void showConflicts(bool frequency, bool id);

    QGroupBox* frame = nullptr;
    QLabel* lblRaceInfoCategory = nullptr;
    QLabel* lblRaceInfoTimeOfRace = nullptr;
    QLabel* lblRaceInfoLength = nullptr;
    QLabel* lblRaceInfoStatus = nullptr;
    QLabel* lblRaceHeatConflicts = nullptr;
    QPlainTextEdit* txtRaceInfoComment = nullptr;
};

} // namespace kv
