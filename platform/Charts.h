// SPDX-License-Identifier: MIT
// Line charts in a modal window of their own, drawn with Qt Charts: what a host shows
// through IViewHost::ShowCharts. The numbers are the caller's; nothing here reads them.
#pragma once

#include <QString>
#include <utility>
#include <vector>

class QWidget;

// One line of a chart, named in its legend; points (x, y) in the chart's units.
struct CChartLine {
    QString strName;
    std::vector<std::pair<double, double>> points;
};

// A chart whose x axis counts (whole numbers from the first point's x).
struct CChart {
    QString strTitle;
    QString strAxisX;
    QString strAxisY;
    double dMaxY = 0;  // the top of the y axis; 0 fits it to the points
    std::vector<CChartLine> lines;
};

// A window of charts laid out row by row, nColumns to a row, under a note.
struct CChartSheet {
    QString strTitle;  // the window's caption
    QString strNote;   // shown above the charts, or alone when there are none
    int nColumns = 1;
    std::vector<CChart> charts;
};

// Shows the sheet in a modal window over pParent until it is closed (Escape closes it).
void RunChartWindow(const CChartSheet& sheet, QWidget* pParent);
