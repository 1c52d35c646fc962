// SPDX-License-Identifier: MIT
#include "platform/Charts.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// The smallest range that holds every point, widened where all points agree, so that a
// flat line sits inside its chart rather than on an edge.
std::pair<double, double> RangeOf(const CChart& chart, bool bY) {
    double lo = 0;
    double hi = 1;
    bool bFirst = true;
    for (const CChartLine& line : chart.lines) {
        for (const auto& point : line.points) {
            const double v = bY ? point.second : point.first;
            lo = bFirst ? v : std::min(lo, v);
            hi = bFirst ? v : std::max(hi, v);
            bFirst = false;
        }
    }
    if (hi <= lo) {
        hi = lo + 1;
    }
    if (bY && chart.dMaxY > 0) {
        hi = chart.dMaxY;
    }
    return {bY ? std::min(lo, 0.0) : lo, hi};
}

QValueAxis* MakeAxis(const QString& strTitle, std::pair<double, double> range) {
    auto* pAxis = new QValueAxis;
    pAxis->setTitleText(strTitle);
    pAxis->setRange(range.first, range.second);
    pAxis->setLabelFormat(QStringLiteral("%.4g"));
    return pAxis;
}

// The x axis counts things: a tick on whole numbers only, about ten at most.
QValueAxis* MakeCountAxis(const QString& strTitle, std::pair<double, double> range) {
    QValueAxis* pAxis = MakeAxis(strTitle, range);
    pAxis->setLabelFormat(QStringLiteral("%d"));
    pAxis->setTickType(QValueAxis::TicksDynamic);
    pAxis->setTickAnchor(range.first);
    pAxis->setTickInterval(std::max(1.0, std::ceil((range.second - range.first) / 10)));
    return pAxis;
}

QChartView* MakeChartView(const CChart& chart) {
    auto* pChart = new QChart;
    pChart->setTitle(chart.strTitle);
    QValueAxis* pAxisX = MakeCountAxis(chart.strAxisX, RangeOf(chart, false));
    QValueAxis* pAxisY = MakeAxis(chart.strAxisY, RangeOf(chart, true));
    pChart->addAxis(pAxisX, Qt::AlignBottom);
    pChart->addAxis(pAxisY, Qt::AlignLeft);
    for (const CChartLine& line : chart.lines) {
        auto* pSeries = new QLineSeries;
        pSeries->setName(line.strName);
        pSeries->setPointsVisible(true);
        for (const auto& point : line.points) {
            pSeries->append(point.first, point.second);
        }
        pChart->addSeries(pSeries);
        pSeries->attachAxis(pAxisX);
        pSeries->attachAxis(pAxisY);
    }
    auto* pView = new QChartView(pChart);
    pView->setRenderHint(QPainter::Antialiasing);
    pView->setMinimumSize(320, 200);
    return pView;
}

}  // namespace

void RunChartWindow(const CChartSheet& sheet, QWidget* pParent) {
    QDialog dialog(pParent);
    dialog.setWindowTitle(sheet.strTitle);
    auto* pLayout = new QVBoxLayout(&dialog);
    if (!sheet.strNote.isEmpty()) {
        auto* pNote = new QLabel(sheet.strNote);
        pNote->setWordWrap(true);
        pLayout->addWidget(pNote);
    }
    auto* pGrid = new QGridLayout;
    const int nColumns = std::max(sheet.nColumns, 1);
    for (std::size_t i = 0; i < sheet.charts.size(); ++i) {
        pGrid->addWidget(MakeChartView(sheet.charts[i]), static_cast<int>(i) / nColumns,
                         static_cast<int>(i) % nColumns);
    }
    pLayout->addLayout(pGrid, 1);
    if (pParent != nullptr && !sheet.charts.empty()) {
        dialog.resize(pParent->size() * 9 / 10);
    }
    dialog.exec();
}
