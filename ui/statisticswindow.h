#pragma once
// The Statistics window: the population and the mean colours of every generation finished since
// the last reset or load, as two charts of the rows the CSV export holds (the newest generation at
// the right; the population axis runs to the number of squares), with the numbers behind
// them for export as CSV and the charts as a PNG picture. The charts are redrawn twice a second
// from at most 600 points a line, so that watching costs the simulation little.
#include <QTimer>
#include <QWidget>

#include "platform/filedialogs.h"
#include "platform/messages.h"
#include "record/history.h"
#include "savefile.h"

class QChart;
class QChartView;
class QLineSeries;
class QPushButton;
class QValueAxis;

namespace bx {

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(StatsHistory& history, const SimulationOptions& options, FileDialogs& files,
                     MessageService& messages, SaveFolders& folders);

    // Shows the window (and brings it to the front), drawn from the history as it is; a window
    // that was closed opens beside `beside`, wholly on its screen.
    void open(const QWidget* beside = nullptr);
    // Redraws the charts when the history changed since the last time (or always).
    void redraw(bool always = false);
    void exportCsv();
    void saveChart();

signals:
    // Closed or hidden by the program (not minimised).
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    static constexpr int redrawInterval = 500; // ms, at the least
    void pacedRedraw();
    struct Chart {
        QChart* chart = nullptr;
        QValueAxis *x = nullptr, *y = nullptr;
        std::vector<QLineSeries*> series;
    };
    Chart makeChart(const QString& title, const QString& yTitle,
                    std::vector<std::pair<QString, QColor>> lines);
    // Asks for a file and writes text into it (savefile.h).
    void saveAs(const char* title, SavedKind kind, const FileFilter& filter, const std::string& text);

    void showDots(bool dots);
    void drawAxes(double first, double last, double mostSquares);
    void fitTicks();

    QChartView* countsView;  // organisms and environments
    QChartView* coloursView; // mean red, green, blue of both layers
    QPushButton* exportButton;
    QPushButton* saveChartButton;
    QTimer* redrawTimer;

    StatsHistory& history_;
    const SimulationOptions& options_;
    FileDialogs& files_;
    MessageService& messages_;
    SaveFolders& folders_;
    Chart counts_, colours_;
    struct Axes {
        double first = 0, last = 0; // generations
        double top = 1;             // of the population axis
    } axes_;
};

} // namespace bx
