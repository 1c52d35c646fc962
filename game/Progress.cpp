// SPDX-License-Identifier: MIT
#include "game/Progress.h"

#include <cstdlib>

#include "game/Coach.h"
#include "platform/AppendFile.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::size_t kWindow = kProgressWindow;

double ErrorSize(const CAnswerRecord& r) {
    const double dError = std::abs(r.nError);
    return r.eUnit == EErrorUnit::TenthsOfPercent ? dError / 10 : dError;
}

CChart ErrorChart(const CRecordScan& scan, int nProblem) {
    CChart chart;
    chart.strTitle = QStringLiteral("Problem %1: how far off").arg(nProblem);
    chart.strAxisX = QStringLiteral("answer");
    CChartLine errors{QStringLiteral("error"), {}};
    CChartLine average{QStringLiteral("average of the last %1").arg(kProgressWindow), {}};
    for (const CAnswerRecord& r : scan.records) {
        if (r.nProblem != nProblem) {
            continue;
        }
        const double x = static_cast<double>(errors.points.size() + 1);
        errors.points.emplace_back(x, ErrorSize(r));
        const std::size_t n = errors.points.size();
        const std::size_t nFrom = n > kWindow ? n - kWindow : 0;
        double dSum = 0;
        for (std::size_t i = nFrom; i < n; ++i) {
            dSum += errors.points[i].second;
        }
        average.points.emplace_back(x, dSum / static_cast<double>(n - nFrom));
        chart.strAxisY = r.eUnit == EErrorUnit::Pixels ? QStringLiteral("px") : QStringLiteral("%");
    }
    chart.lines = {errors, average};
    return chart;
}

CChart RightChart(const CRecordScan& scan, int nProblem) {
    CChart chart;
    chart.strTitle = QStringLiteral("Problem %1: right answers per game").arg(nProblem);
    chart.strAxisX = QStringLiteral("game");
    chart.strAxisY = QStringLiteral("% right");
    chart.dMaxY = 100;
    CChartLine right{QStringLiteral("right"), {}};
    int nAnswers = 0;
    int nRight = 0;
    const CAnswerRecord* pGame = nullptr;  // the first record of the game being counted
    const auto closeGame = [&] {
        if (nAnswers > 0) {
            right.points.emplace_back(static_cast<double>(right.points.size() + 1),
                                      100.0 * nRight / nAnswers);
        }
        nAnswers = 0;
        nRight = 0;
    };
    for (const CAnswerRecord& r : scan.records) {
        if (pGame == nullptr || r.uSeed != pGame->uSeed || r.nGame != pGame->nGame) {
            closeGame();
            pGame = &r;
        }
        if (r.nProblem == nProblem) {
            ++nAnswers;
            nRight += r.eVerdict == EVerdict::Right ? 1 : 0;
        }
    }
    closeGame();
    chart.lines = {right};
    return chart;
}

}  // namespace

CChartSheet ProgressSheet(const CRecordScan& scan, std::uint32_t uSeed) {
    CChartSheet sheet;
    sheet.strTitle =
        QStringLiteral("Tessix progress - this game's seed is %1 (tessix --seed %1)").arg(uSeed);
    sheet.nColumns = 2;
    if (scan.records.empty()) {
        sheet.strNote = QStringLiteral("No answers are recorded yet.");
    } else {
        for (int p = 1; p <= kProblems; ++p) {
            sheet.charts.push_back(ErrorChart(scan, p));
            sheet.charts.push_back(RightChart(scan, p));
        }
    }
    if (scan.nSkipped > 0) {
        sheet.strNote +=
            QStringLiteral(" %1 lines of the record could not be read and are left out.")
                .arg(scan.nSkipped);
        sheet.strNote = sheet.strNote.trimmed();
    }
    return sheet;
}

void CTessixView::ShowProgress() {
    QByteArray content;
    QString error;
    CRecordScan scan;
    if (ReadWholeFile(m_pCoach->RecordPath(), &content, &error)) {
        scan = ScanAnswerRecord(content);
    }
    CChartSheet sheet = ProgressSheet(scan, m_pCoach->Seed());
    if (!error.isEmpty()) {
        sheet.strNote = QStringLiteral("The record %1 cannot be read: %2")
                            .arg(DisplayFileName(m_pCoach->RecordPath()), error);
    }
    m_pHost->ShowCharts(sheet);
}
