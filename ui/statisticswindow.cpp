#include "statisticswindow.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <ctime>

#include "platform/widgetparts.h"

#include "savefile.h"

namespace bx {
namespace {

// More points than a chart has pixels across are not drawn: the history is sampled evenly.
constexpr std::size_t pointsAcross = 600;

// A round step of at least `rough`: 1, 2 or 5 times a power of ten.
double niceStep(double rough) {
    double step = 1;
    while (step * 5 < rough)
        step *= 10;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (step * factor >= rough)
            return step * factor;
    return step * 10;
}

double component(const GenerationStats& s, int which) {
    const Rgb& c = which < 3 ? s.organismMean : s.environmentMean;
    return which % 3 == 0 ? c.red : which % 3 == 1 ? c.green : c.blue;
}

} // namespace

StatisticsWindow::StatisticsWindow(StatsHistory& history, const SimulationOptions& options,
                                   FileDialogs& files, MessageService& messages, SaveFolders& folders)
    : QWidget(nullptr, Qt::Window), redrawTimer(new QTimer(this)), history_(history), options_(options),
      files_(files), messages_(messages), folders_(folders) {
    setObjectName("statisticswindow");
    setWindowTitle("Statistics");
    counts_ = makeChart("Population", "Squares",
                        {{"Organisms", QColor(200, 60, 60)}, {"Environments", QColor(60, 130, 220)}});
    colours_ = makeChart("Mean colour", "Mean",
                         {{"Org. red", QColor(220, 40, 40)},
                          {"Org. green", QColor(40, 170, 60)},
                          {"Org. blue", QColor(40, 80, 220)},
                          {"Env. red", QColor(240, 150, 150)},
                          {"Env. green", QColor(150, 220, 150)},
                          {"Env. blue", QColor(150, 180, 240)}});
    countsView = new QChartView(counts_.chart);
    countsView->setObjectName("countschart");
    coloursView = new QChartView(colours_.chart);
    coloursView->setObjectName("colourschart");
    // Small enough to fit beside the canvas on a small screen; opened larger where there is room.
    for (QChartView* v : {countsView, coloursView})
        v->setMinimumSize(340, 180);
    exportButton = new QPushButton("&Export CSV…");
    exportButton->setObjectName("exportcsv");
    saveChartButton = new QPushButton("Save &Chart…");
    saveChartButton->setObjectName("savechart");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(saveChartButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countsView, 1);
    layout->addWidget(coloursView, 1);
    layout->addLayout(buttons);
    resize(760, 600);

    connect(exportButton, &QPushButton::clicked, this, &StatisticsWindow::exportCsv);
    connect(saveChartButton, &QPushButton::clicked, this, &StatisticsWindow::saveChart);
    redrawTimer->setObjectName("redrawtimer");
    redrawTimer->setInterval(redrawInterval);
    connect(redrawTimer, &QTimer::timeout, this, &StatisticsWindow::pacedRedraw);
}

StatisticsWindow::Chart StatisticsWindow::makeChart(const QString& title, const QString& yTitle,
                                                    std::vector<std::pair<QString, QColor>> lines) {
    Chart c{new QChart, new QValueAxis, new QValueAxis, {}};
    c.chart->setTitle(title);
    // Little room around the chart and the legend beside the plot, so that at the window's
    // smallest every label is whole.
    c.chart->setMargins(QMargins(4, 4, 4, 4));
    c.chart->setBackgroundRoundness(0);
    c.chart->legend()->setAlignment(Qt::AlignRight);
    connect(c.chart, &QChart::plotAreaChanged, this, &StatisticsWindow::fitTicks);
    c.x->setTitleText("Generation");
    c.x->setLabelFormat("%d");
    c.x->setTickType(QValueAxis::TicksDynamic); // ticks on whole, round generation numbers
    c.x->setTickAnchor(0);
    c.y->setTitleText(yTitle);
    c.y->setLabelFormat("%d");
    c.y->setTickType(QValueAxis::TicksDynamic);
    c.y->setTickAnchor(0);
    c.chart->addAxis(c.x, Qt::AlignBottom);
    c.chart->addAxis(c.y, Qt::AlignLeft);
    for (const auto& [name, colour] : lines) {
        auto* s = new QLineSeries;
        s->setName(name);
        s->setColor(colour);
        s->setMarkerSize(9); // shown for a lone generation only
        c.chart->addSeries(s);
        s->attachAxis(c.x);
        s->attachAxis(c.y);
        c.series.push_back(s);
    }
    return c;
}

void StatisticsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}

void StatisticsWindow::open(const QWidget* beside) {
    if (!isVisible())
        openBeside(this, beside);
    history_.takeChanged();
    redrawTimer->start();
    bringForward(this);
    redraw(true);
}

// A redraw whose charts take long (new axis labels for a fast world) waits longer for the next:
// its own CPU time is kept within 2 % of the time between redraws, painting about as much again.
void StatisticsWindow::pacedRedraw() {
    const auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
    };
    const double start = cpu();
    redraw();
    redrawTimer->setInterval(std::clamp(static_cast<int>((cpu() - start) * 50), redrawInterval, 5000));
}

void StatisticsWindow::redraw(bool always) {
    if (!isVisible()) {
        redrawTimer->stop();
        return;
    }
    if (!history_.takeChanged() && !always)
        return;
    const std::vector<GenerationStats> rows = history_.rows();
    const std::size_t every = std::max<std::size_t>(1, rows.size() / pointsAcross);
    std::vector<QList<QPointF>> counts(2), colours(6);
    double mostSquares = 0;
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < rows.size(); i += every)
        picked.push_back(i);
    if (!rows.empty() && picked.back() != rows.size() - 1)
        picked.push_back(rows.size() - 1); // the right end of the charts is the present
    for (const std::size_t i : picked) {
        const GenerationStats& r = rows[i];
        const double g = static_cast<double>(r.generation);
        counts[0].append({g, double(r.organisms)});
        counts[1].append({g, double(r.environments)});
        mostSquares = std::max({mostSquares, double(r.organisms), double(r.environments)});
        for (int k = 0; k < 6; ++k)
            colours[k].append({g, component(r, k)});
    }
    for (int k = 0; k < 2; ++k)
        counts_.series[k]->replace(counts[k]);
    for (int k = 0; k < 6; ++k)
        colours_.series[k]->replace(colours[k]);
    showDots(picked.size() == 1);
    const double first = rows.empty() ? 0 : double(rows.front().generation);
    drawAxes(first, rows.empty() ? first : double(rows.back().generation), mostSquares);
}

// A line needs two points: a lone generation is drawn as a dot. The views are repainted whole
// when the dots go, as the scene would repaint only where the lines are.
void StatisticsWindow::showDots(bool dots) {
    if (counts_.series.front()->pointsVisible() == dots)
        return;
    for (const Chart* c : {&counts_, &colours_})
        for (QLineSeries* s : c->series)
            s->setPointsVisible(dots);
    for (QChartView* v : {countsView, coloursView})
        v->viewport()->update();
}

// Generations from the first row to the last; a lone generation (or none yet) in the middle,
// clear of the axes. The population from 0 to the number of squares, or beyond when the counts
// are larger.
void StatisticsWindow::drawAxes(double first, double last, double mostSquares) {
    const double squares = double(options_.gridSizeX) * double(options_.gridSizeY);
    axes_ = {first, last, std::max({1.0, squares, mostSquares})};
    counts_.y->setRange(0, axes_.top);
    colours_.y->setRange(0, 255);
    fitTicks();
}

// Round ticks, no more than the plot has room for with whole labels between them (at most six),
// so that a small window shows fewer labels rather than labels cut short or on top of each other.
void StatisticsWindow::fitTicks() {
    const auto [first, last, top] = axes_;
    const bool lone = last <= first;
    for (Chart* c : {&counts_, &colours_}) {
        if (!c->chart)
            continue; // still being built
        const QRectF area = c->chart->plotArea();
        const QFontMetrics metrics(c->x->labelsFont());
        const int across = metrics.horizontalAdvance(QString::number(int64_t(last)) + "000"); // with a gap
        const int columns = std::clamp(int(area.width()) / std::max(1, across), 1, 5);
        const int rows = std::clamp(int(area.height() / (metrics.height() * 1.5)), 1, 5);
        const double low = lone ? first - 0.5 : first, high = lone ? first + 0.5 : last;
        const double step = lone ? 1 : niceStep((last - first) / columns);
        // Whichever of range and interval gives fewer ticks goes first: the axis is never laid out
        // with thousands of labels (a new range at the old, finer interval) in between.
        if (step >= c->x->tickInterval()) {
            c->x->setTickInterval(step);
            c->x->setRange(low, high);
        } else {
            c->x->setRange(low, high);
            c->x->setTickInterval(step);
        }
        c->y->setTickInterval(niceStep((c == &counts_ ? top : 250) / rows));
    }
}

void StatisticsWindow::saveAs(const char* title, SavedKind kind, const FileFilter& filter,
                              const std::string& text) {
    saveTextAs(files_, messages_, folders_, kind, {title, {}, {filter, {"All Files (*.*)", "*.*"}}, 1}, text);
}

void StatisticsWindow::exportCsv() {
    saveAs("Export Statistics:", SavedKind::Table, {"CSV Files (*.csv)", "*.csv"}, history_.csv());
}

void StatisticsWindow::saveChart() {
    redraw(true);
    QImage picture(countsView->width(), countsView->height() + coloursView->height(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    countsView->render(&painter, QRectF(0, 0, countsView->width(), countsView->height()));
    coloursView->render(&painter,
                        QRectF(0, countsView->height(), coloursView->width(), coloursView->height()));
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    saveAs("Save Chart:", SavedKind::Picture, {"PNG Pictures (*.png)", "*.png"},
           std::string(png.constData(), std::size_t(png.size())));
}

} // namespace bx
