#pragma once
// Lays a report's content out on pages and paints one page. Geometry is in
// points (1/72 inch) from the top left corner of the page's printable area;
// painting converts it to the device's pixels, so the same layout serves the
// screen preview, a printer and a PDF file alike.

#include "ReportContent.h"

#include <QList>
#include <QSizeF>

class QGraphicsScene;
class QPainter;
class QPaintDevice;

namespace kv {

struct ReportBlock {
    enum Kind {
        Chart,
        GroupCaption,
        GroupContinued, // the caption again, on a page where the group goes on
        ColumnHeader,
        Row,
        GroupSummary,
        ReportSummary
    };
    Kind kind = Row;
    int group = -1;
    int index = -1; // row or summary line
    double top = 0;
    double height = 0;
};

struct ReportPage {
    QList<ReportBlock> blocks;
};

struct ReportPages {
    QList<ReportPage> pages;
    QList<int> groupFirstPage; // per group of the content
};

// The pages of the content on a printable area of the given size (points).
ReportPages LayoutReport(const ReportContent& content, const QSizeF& area);

// Paints page `page` of `pages` onto a painter that is active on `device`,
// whose printable area begins at the painter's origin. chart may be null when
// the content has no chart.
void PaintReportPage(QPainter& painter, const QPaintDevice& device, const ReportContent& content,
                     const ReportPages& pages, int page, const QSizeF& area, QGraphicsScene* chart,
                     const QString& printedText);

// Height of the chart's block, in points.
inline constexpr double kChartHeight = 280;

} // namespace kv
