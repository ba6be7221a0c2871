#pragma once
// The report definitions: each takes the result set of its statement as data
// source and lays it out on pages (heading with the program's logo, tables in
// groups, and for the lap progress a line chart). The viewer and the PDF
// export both paint through print().

#include "Database.h"
#include "ReportContent.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QString>

#include <memory>

class QGraphicsScene;
class QPagedPaintDevice;

namespace kv {

// The pages reports are laid out on unless a printer says otherwise: A4
// portrait with 15 mm margins.
QPageLayout DefaultReportPageLayout();

// Which pages of a report to print and how often: the chosen pages (none
// chosen: all), `copies` times, each copy whole (collated) or each page
// repeated.
struct PrintRange {
    QPageRanges pages;
    int copies = 1;
    bool collate = true;
};

class ReportDefinition {
public:
    virtual ~ReportDefinition();
    ReportDefinition(const ReportDefinition&) = delete;
    ReportDefinition& operator=(const ReportDefinition&) = delete;

    // The definition's class name.
    QString name() const { return m_name; }
    // The name, without suffix, that an export offers: what the report is and
    // the race or tournament it shows.
    QString fileName() const;

    // The records to lay out; the definition keeps them as long as it lives.
    void SetDataSource(const Recordset& rs);
    const Recordset& DataSource() const { return m_data; }
    const ReportContent& content() const { return m_content; }

    // Lays the report out on the device's pages and paints the chosen ones,
    // from the device's current page on. False when the device cannot be
    // painted.
    bool print(QPagedPaintDevice& device, const PrintRange& range = {}) const;
    int pageCount(const QPageLayout& layout) const;
    // The page (from 0) on which each group of the content begins.
    QList<int> groupPages(const QPageLayout& layout) const;
    // Writes the report to a PDF file; false when the file cannot be written.
    bool ExportPdf(const QString& file) const;

protected:
    explicit ReportDefinition(QString name);
    virtual ReportContent build(const Recordset& rs) const = 0;

private:
    QGraphicsScene* chartScene() const;

    QString m_name;
    Recordset m_data;
    ReportContent m_content;
    mutable std::unique_ptr<QGraphicsScene> m_chart;
};

class crdTournamentParticipants final : public ReportDefinition {
public:
    crdTournamentParticipants() : ReportDefinition(QStringLiteral("crdTournamentParticipants")) {}

protected:
    ReportContent build(const Recordset& rs) const override { return ParticipantsContent(rs); }
};

class crdQualResults final : public ReportDefinition {
public:
    crdQualResults() : ReportDefinition(QStringLiteral("crdQualResults")) {}

protected:
    ReportContent build(const Recordset& rs) const override { return QualResultsContent(rs); }
};

class crdHeatResults final : public ReportDefinition {
public:
    crdHeatResults() : ReportDefinition(QStringLiteral("crdHeatResults")) {}

protected:
    ReportContent build(const Recordset& rs) const override { return HeatResultsContent(rs); }
};

class crdRaceLapProgress final : public ReportDefinition {
public:
    crdRaceLapProgress() : ReportDefinition(QStringLiteral("crdRaceLapProgress")) {}

protected:
    ReportContent build(const Recordset& rs) const override { return LapProgressContent(rs); }
};

} // namespace kv
