#include "ReportDefinition.h"

#include "Helpers.h"
#include "ReportLayout.h"

#include <QChart>
#include <QDateTime>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QValueAxis>

#include <cmath>

namespace kv {

namespace {

// Scene pixels per point of the chart's block: the chart's own fonts and lines
// are sized for the screen, and so come out at their screen size on paper.
constexpr double kChartPixelsPerPoint = 96.0 / 72.0;
// Width of the printable area of the default page, in points, that the chart is
// laid out for; other widths scale it.
constexpr double kChartWidth = 510;

std::unique_ptr<QGraphicsScene> buildChart(const ReportContent& c) {
    auto* chart = new QChart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    // One line per car: a list beside the plot keeps every name whole.
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));

    double maxLap = 1;
    double low = 0, high = 0;
    bool any = false;
    // Ten colours that tell ten cars apart.
    static const QColor colours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f),
                                     QColor(0xbc, 0xbd, 0x22), QColor(0x17, 0xbe, 0xcf)};
    int index = 0;
    for (const ChartSeries& s : c.chart) {
        auto* series = new QLineSeries();
        series->setName(s.name);
        series->setPen(QPen(colours[index++ % std::size(colours)], 2));
        series->append(s.points);
        series->setPointsVisible(s.points.size() <= 40);
        chart->addSeries(series);
        for (const QPointF& p : s.points) {
            maxLap = std::max(maxLap, p.x());
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
        }
    }
    auto* x = new QValueAxis();
    x->setTitleText(c.chartAxisX);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(1, std::max(2.0, maxLap));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    const double lapStep = std::max(1.0, std::ceil(maxLap / 10.0));
    x->setTickInterval(lapStep);
    auto* y = new QValueAxis();
    y->setTitleText(c.chartAxisY);
    const double span = std::max(0.5, high - low);
    y->setRange(std::max(0.0, low - span * 0.1), high + span * 0.1);
    y->applyNiceNumbers();
    // As many decimals as the ticks need to differ.
    const double tick = (y->max() - y->min()) / std::max(1, y->tickCount() - 1);
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(tick))), 0, 3);
    y->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }

    auto scene = std::make_unique<QGraphicsScene>();
    scene->addItem(chart);
    const QRectF rect(0, 0, kChartWidth * kChartPixelsPerPoint,
                      kChartHeight * kChartPixelsPerPoint);
    chart->setGeometry(rect);
    scene->setSceneRect(rect);
    // Lay the chart out now: it is painted without ever being shown.
    if (chart->layout())
        chart->layout()->activate();
    return scene;
}

QSizeF printableArea(const QPageLayout& layout) {
    return layout.paintRect(QPageLayout::Point).size();
}

QString printedText() {
    return kProgramName + QStringLiteral(" - ") +
           QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
}

// The pages (from 0) to paint, in the order they come out.
QList<int> printOrder(int pageCount, const PrintRange& range) {
    QList<int> chosen;
    for (int page = 0; page < pageCount; ++page)
        if (range.pages.isEmpty() || range.pages.contains(page + 1))
            chosen.append(page);
    const int copies = std::max(1, range.copies);
    QList<int> order;
    if (range.collate) {
        for (int copy = 0; copy < copies; ++copy)
            order += chosen;
    } else {
        for (int page : chosen)
            for (int copy = 0; copy < copies; ++copy)
                order.append(page);
    }
    return order;
}

} // namespace

QPageLayout DefaultReportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

ReportDefinition::ReportDefinition(QString name) : m_name(std::move(name)) {}

ReportDefinition::~ReportDefinition() = default;

QString ReportDefinition::fileName() const {
    return m_content.fileName.isEmpty() ? m_name : m_content.fileName;
}

void ReportDefinition::SetDataSource(const Recordset& rs) {
    m_data = rs;
    m_content = build(m_data);
    m_chart.reset();
}

QGraphicsScene* ReportDefinition::chartScene() const {
    if (m_content.chart.isEmpty())
        return nullptr;
    if (!m_chart)
        m_chart = buildChart(m_content);
    return m_chart.get();
}

int ReportDefinition::pageCount(const QPageLayout& layout) const {
    return static_cast<int>(LayoutReport(m_content, printableArea(layout)).pages.size());
}

QList<int> ReportDefinition::groupPages(const QPageLayout& layout) const {
    return LayoutReport(m_content, printableArea(layout)).groupFirstPage;
}

bool ReportDefinition::print(QPagedPaintDevice& device, const PrintRange& range) const {
    const QSizeF area = printableArea(device.pageLayout());
    const ReportPages pages = LayoutReport(m_content, area);
    const QList<int> order = printOrder(static_cast<int>(pages.pages.size()), range);
    if (order.isEmpty())
        return true; // the chosen pages lie beyond the report
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QString printed = printedText();
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        PaintReportPage(painter, device, m_content, pages, order[i], area, chartScene(), printed);
    }
    return painter.end();
}

bool ReportDefinition::ExportPdf(const QString& file) const {
    QPdfWriter writer(file);
    writer.setPageLayout(DefaultReportPageLayout());
    writer.setTitle(m_content.title.isEmpty() ? m_content.heading : m_content.title);
    writer.setCreator(kProgramName);
    return print(writer);
}

} // namespace kv
