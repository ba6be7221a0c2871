#include "ReportLayout.h"

#include "Ui.h"

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace kv {

namespace {

// Heights in points.
constexpr double kLogo = 48;
constexpr double kTitleLine = 26;
constexpr double kHeadingLine = 19;
constexpr double kDetailLine = 12;
constexpr double kHeaderGap = 14;
constexpr double kRunningHeader = 24;
constexpr double kFooter = 24;
constexpr double kCaptionLine = 18;
constexpr double kColumnHeader = 16;
constexpr double kRow = 13;
constexpr double kSummaryLine = 13;
constexpr double kGroupGap = 12;
constexpr double kChartGap = 14;
constexpr double kCellPadding = 4;

constexpr double kHeadingIndent = kLogo + 12;
constexpr double kHeadingDetailPoints = 9;
constexpr double kGroupDetailPoints = 8.5;

QFont reportFont(double points, bool bold = false, bool italic = false) {
    QFont f = formFont(points, bold);
    f.setItalic(italic);
    return f;
}

// The device lines are measured on: a printer's resolution, so that a line
// broken here fits the paper, the PDF file and the preview alike.
const QPaintDevice& measuringDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(1200 / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

// A detail line (a race's comment may be long) as the lines it takes in the
// given width (points), broken between words; a word longer than a line is
// broken where it must.
QStringList wrapped(const QString& text, double points, double width) {
    const QPaintDevice& device = measuringDevice();
    const QFont font(reportFont(points), &device);
    // A little room to spare for a device that measures slightly wider.
    const double lineWidth = width * 0.97 * device.logicalDpiX() / 72.0;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (QString paragraph : text.split(QLatin1Char('\n'))) {
        paragraph.remove(QLatin1Char('\r'));
        QTextLayout layout(paragraph, font, &device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (!part.isEmpty() && part.back().isSpace())
                part.chop(1);
            lines.append(part);
        }
        layout.endLayout();
    }
    return lines;
}

QStringList headingDetailLines(const ReportContent& c, double width) {
    QStringList lines;
    for (const QString& d : c.headingDetails)
        lines += wrapped(d, kHeadingDetailPoints, width - kHeadingIndent);
    return lines;
}

QStringList groupDetailLines(const ReportGroup& g, double width) {
    QStringList lines;
    for (const QString& d : g.details)
        lines += wrapped(d, kGroupDetailPoints, width);
    return lines;
}

double firstHeaderHeight(const ReportContent& c, double width) {
    double text = 0;
    if (!c.title.isEmpty())
        text += kTitleLine;
    if (!c.heading.isEmpty())
        text += kHeadingLine;
    text += kDetailLine * headingDetailLines(c, width).size();
    return std::max(kLogo, text) + kHeaderGap;
}

double captionHeight(const ReportGroup& g, double width) {
    if (g.caption.isEmpty() && g.details.isEmpty())
        return 0;
    return (g.caption.isEmpty() ? 0 : kCaptionLine) +
           kDetailLine * groupDetailLines(g, width).size() + 4;
}

class Paginator {
public:
    Paginator(const ReportContent& c, const QSizeF& area) : m_bottom(area.height() - kFooter) {
        m_result.pages.append(ReportPage());
        m_pageTop = m_y = firstHeaderHeight(c, area.width());
    }
    bool fits(double h) const { return m_y + h <= m_bottom + 0.001; }
    bool atPageTop() const { return m_y <= m_pageTop + 0.001; }
    void newPage() {
        m_result.pages.append(ReportPage());
        m_pageTop = m_y = kRunningHeader;
    }
    // Starts a new page unless the block fits, or the page is still empty (a
    // block taller than a page is then cut at the page's end).
    void ensure(double h) {
        if (!fits(h) && !atPageTop())
            newPage();
    }
    void place(ReportBlock::Kind kind, int group, int index, double h) {
        m_result.pages.last().blocks.append({kind, group, index, m_y, h});
        m_y += h;
    }
    void skip(double h) { m_y += h; }
    int page() const { return static_cast<int>(m_result.pages.size()) - 1; }
    ReportPages& result() { return m_result; }

private:
    ReportPages m_result;
    double m_bottom;
    double m_pageTop = 0;
    double m_y = 0;
};

// Converts points of the printable area to the device's pixels.
class PagePainter {
public:
    PagePainter(QPainter& p, const QPaintDevice& device)
        : m_p(p), m_device(device), m_k(device.logicalDpiY() / 72.0) {}
    QRectF px(const QRectF& r) const {
        return QRectF(r.x() * m_k, r.y() * m_k, r.width() * m_k, r.height() * m_k);
    }
    double k() const { return m_k; }
    void text(const QRectF& r, int flags, const QString& s, const QFont& font,
              const QColor& colour = Qt::black) {
        m_p.setFont(QFont(font, &m_device));
        m_p.setPen(colour);
        const QRectF box = px(r);
        const QFontMetricsF fm(m_p.font(), &m_device);
        m_p.drawText(box, flags | Qt::TextSingleLine,
                     fm.elidedText(s, Qt::ElideRight, box.width()));
    }
    void fill(const QRectF& r, const QColor& c) { m_p.fillRect(px(r), c); }
    void hline(double x1, double x2, double y, const QColor& c, double width = 0.5) {
        m_p.setPen(QPen(c, width * m_k));
        m_p.drawLine(QPointF(x1 * m_k, y * m_k), QPointF(x2 * m_k, y * m_k));
    }
    QPainter& painter() { return m_p; }

private:
    QPainter& m_p;
    const QPaintDevice& m_device;
    double m_k;
};

// The program's logo: a chequered flag on a night-blue badge.
void drawLogo(PagePainter& pp, const QRectF& pt) {
    QPainter& p = pp.painter();
    const QRectF r = pp.px(pt);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(10, 30, 80));
    sky.setColorAt(1, QColor(0, 0, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(r, r.width() * 0.12, r.width() * 0.12);
    const double s = r.width();
    p.translate(r.left() + s * 0.22, r.top() + s * 0.18);
    p.rotate(-8);
    p.setPen(QPen(QColor(200, 200, 200), s * 0.04));
    p.drawLine(QPointF(0, 0), QPointF(0, s * 0.68));
    const int cols = 6, rows = 4;
    const double w = s * 0.58 / cols, h = s * 0.38 / rows;
    p.setPen(Qt::NoPen);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            p.setBrush((x + y) % 2 ? Qt::black : Qt::white);
            p.drawRect(QRectF(x * w, y * h, w, h));
        }
    p.restore();
}

// A table of few narrow columns keeps to the left instead of spreading its
// columns over the page.
constexpr int kFullWidthShares = 12;

double tableWidth(const ReportContent& c, double width) {
    int shares = 0;
    for (const ReportColumn& col : c.columns)
        shares += col.width;
    return width * std::min(shares, kFullWidthShares) / kFullWidthShares;
}

QList<double> columnEdges(const ReportContent& c, double width) {
    int shares = 0;
    for (const ReportColumn& col : c.columns)
        shares += col.width;
    const double table = tableWidth(c, width);
    QList<double> edges{0};
    double x = 0;
    for (const ReportColumn& col : c.columns) {
        x += shares > 0 ? table * col.width / shares : 0;
        edges.append(x);
    }
    return edges;
}

void paintCells(PagePainter& pp, const ReportContent& c, const QStringList& cells, double top,
                double height, double width, const QFont& font) {
    const QList<double> edges = columnEdges(c, width);
    for (qsizetype i = 0; i < c.columns.size() && i < cells.size(); ++i) {
        const QRectF cell(edges[i] + kCellPadding, top, edges[i + 1] - edges[i] - 2 * kCellPadding,
                          height);
        const int align =
            (c.columns[i].alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        pp.text(cell, align, cells[i], font);
    }
}

void paintChart(PagePainter& pp, const QRectF& pt, QGraphicsScene* chart) {
    if (!chart)
        return;
    QPainter& p = pp.painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    chart->render(&p, pp.px(pt), chart->sceneRect());
    p.restore();
}

} // namespace

ReportPages LayoutReport(const ReportContent& c, const QSizeF& area) {
    Paginator pg(c, area);
    if (!c.chart.isEmpty()) {
        pg.ensure(kChartHeight);
        pg.place(ReportBlock::Chart, -1, -1, kChartHeight);
        pg.skip(kChartGap);
    }
    for (int g = 0; g < c.groups.size(); ++g) {
        const ReportGroup& group = c.groups[g];
        const double caption = captionHeight(group, area.width());
        // A caption stays with the column header and the group's first row.
        pg.ensure(caption + kColumnHeader + (group.rows.isEmpty() ? 0 : kRow));
        pg.result().groupFirstPage.append(pg.page());
        if (caption > 0)
            pg.place(ReportBlock::GroupCaption, g, -1, caption);
        if (!c.columns.isEmpty())
            pg.place(ReportBlock::ColumnHeader, g, -1, kColumnHeader);
        for (int r = 0; r < group.rows.size(); ++r) {
            if (!pg.fits(kRow)) {
                pg.newPage();
                if (!group.caption.isEmpty())
                    pg.place(ReportBlock::GroupContinued, g, -1, kCaptionLine);
                pg.place(ReportBlock::ColumnHeader, g, -1, kColumnHeader);
            }
            pg.place(ReportBlock::Row, g, r, kRow);
        }
        for (int s = 0; s < group.summary.size(); ++s) {
            pg.ensure(kSummaryLine);
            pg.place(ReportBlock::GroupSummary, g, s, kSummaryLine);
        }
        pg.skip(kGroupGap);
    }
    for (int s = 0; s < c.summary.size(); ++s) {
        pg.ensure(kSummaryLine);
        pg.place(ReportBlock::ReportSummary, -1, s, kSummaryLine);
    }
    return pg.result();
}

void PaintReportPage(QPainter& painter, const QPaintDevice& device, const ReportContent& c,
                     const ReportPages& pages, int page, const QSizeF& area, QGraphicsScene* chart,
                     const QString& printedText) {
    PagePainter pp(painter, device);
    const double width = area.width();
    const QColor rule(90, 90, 90);

    // Heading: the logo and the report's title on the first page, a running
    // line on the others.
    if (page == 0) {
        drawLogo(pp, QRectF(0, 0, kLogo, kLogo));
        double y = 0;
        const double x = kHeadingIndent;
        if (!c.title.isEmpty()) {
            pp.text(QRectF(x, y, width - x, kTitleLine), Qt::AlignLeft | Qt::AlignVCenter, c.title,
                    reportFont(18, true), QColor(0, 0, 0xC0));
            y += kTitleLine;
        }
        if (!c.heading.isEmpty()) {
            pp.text(QRectF(x, y, width - x, kHeadingLine), Qt::AlignLeft | Qt::AlignVCenter,
                    c.heading, reportFont(13, true));
            y += kHeadingLine;
        }
        for (const QString& d : headingDetailLines(c, width)) {
            pp.text(QRectF(x, y, width - x, kDetailLine), Qt::AlignLeft | Qt::AlignVCenter, d,
                    reportFont(kHeadingDetailPoints));
            y += kDetailLine;
        }
        pp.hline(0, width, firstHeaderHeight(c, width) - kHeaderGap / 2, rule);
    } else {
        QStringList running;
        for (const QString& s : {c.title, c.heading})
            if (!s.isEmpty())
                running << s;
        pp.text(QRectF(0, 0, width, kRunningHeader - 8), Qt::AlignLeft | Qt::AlignVCenter,
                running.join(QStringLiteral(" - ")), reportFont(8, true));
        pp.hline(0, width, kRunningHeader - 6, rule);
    }

    for (const ReportBlock& b : pages.pages[page].blocks) {
        switch (b.kind) {
        case ReportBlock::Chart:
            paintChart(pp, QRectF(0, b.top, width, b.height), chart);
            break;
        case ReportBlock::GroupCaption:
        case ReportBlock::GroupContinued: {
            const ReportGroup& g = c.groups[b.group];
            double y = b.top;
            if (!g.caption.isEmpty()) {
                QString caption = g.caption;
                if (b.kind == ReportBlock::GroupContinued)
                    caption += QStringLiteral(" (continued)");
                pp.text(QRectF(0, y, width, kCaptionLine), Qt::AlignLeft | Qt::AlignVCenter,
                        caption, reportFont(11, true));
                y += kCaptionLine;
            }
            if (b.kind == ReportBlock::GroupCaption)
                for (const QString& d : groupDetailLines(g, width)) {
                    pp.text(QRectF(0, y, width, kDetailLine), Qt::AlignLeft | Qt::AlignVCenter, d,
                            reportFont(kGroupDetailPoints));
                    y += kDetailLine;
                }
            break;
        }
        case ReportBlock::ColumnHeader: {
            pp.fill(QRectF(0, b.top, tableWidth(c, width), b.height), QColor(215, 215, 215));
            QStringList captions;
            for (const ReportColumn& col : c.columns)
                captions << col.caption;
            paintCells(pp, c, captions, b.top, b.height, width, reportFont(8.5, true));
            break;
        }
        case ReportBlock::Row:
            if (b.index % 2 == 1)
                pp.fill(QRectF(0, b.top, tableWidth(c, width), b.height), QColor(242, 242, 242));
            paintCells(pp, c, c.groups[b.group].rows[b.index], b.top, b.height, width,
                       reportFont(9));
            break;
        case ReportBlock::GroupSummary:
            pp.text(QRectF(kCellPadding, b.top, width, b.height), Qt::AlignLeft | Qt::AlignVCenter,
                    c.groups[b.group].summary[b.index], reportFont(9, true));
            break;
        case ReportBlock::ReportSummary:
            pp.hline(0, width, b.top, rule);
            pp.text(QRectF(kCellPadding, b.top, width, b.height), Qt::AlignLeft | Qt::AlignVCenter,
                    c.summary[b.index], reportFont(9, true));
            break;
        }
    }

    // Footer.
    const double footerTop = area.height() - kFooter + 6;
    pp.hline(0, width, footerTop, rule);
    pp.text(QRectF(0, footerTop + 2, width / 2, kFooter - 8), Qt::AlignLeft | Qt::AlignVCenter,
            printedText, reportFont(8));
    pp.text(QRectF(width / 2, footerTop + 2, width / 2, kFooter - 8),
            Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.pages.size()), reportFont(8));
}

} // namespace kv
