// SPDX-License-Identifier: MIT
#include "game/Coach.h"

#include <cmath>
#include <cstdio>

#include "platform/AppendFile.h"
#include "platform/FileSystem.h"

namespace {

// The coach's line is in the prompt's colour, beside the verdict's own.
constexpr COLORREF kCoachTextColor = RGB(0, 0, 0);

// Where the verdict's line ends and the coach's begins, in fifths of the band's height.
constexpr int kVerdictFifths = 3;

// "+2.4%" (ESign::Always) or "2.4%" from 24 tenths of a per cent.
enum class ESign { Always, OnlyMinus };

CString PercentText(int nTenths, ESign eSign) {
    const int nAbs = nTenths < 0 ? -nTenths : nTenths;
    const char* pszSign = nTenths < 0 ? "-" : (eSign == ESign::Always ? "+" : "");
    char sz[32] = {};
    std::snprintf(sz, sizeof sz, "%s%d.%d%%", pszSign, nAbs / 10, nAbs % 10);
    return sz;
}

CCoachNote NoteOf(int nProblem, const CAnswer& answer, int nMeasured1, int nMeasured2) {
    CCoachNote note;
    note.nProblem = nProblem;
    note.answer = answer;
    note.nMeasured1 = nMeasured1;
    note.nMeasured2 = nMeasured2;
    return note;
}

}  // namespace

int TenthsOfPercent(long long nPart, long long nWhole) {
    if (nWhole <= 0) {
        return 0;
    }
    const long long nScaled = nPart * 1000;
    const long long nHalf = nWhole / 2;
    return static_cast<int>(nScaled >= 0 ? (nScaled + nHalf) / nWhole
                                         : -((-nScaled + nHalf) / nWhole));
}

CCoachNote CoachNote(const CBiggerJudgement& j, ESquare eChosen) {
    const bool bLeft = eChosen == ESquare::Left;
    const int nTriangle = bLeft ? j.nChosenArea : j.nOtherArea;
    const int nCircle = bLeft ? j.nOtherArea : j.nChosenArea;
    CCoachNote note = NoteOf(1, j.answer, nTriangle, nCircle);
    const int nBigger = nTriangle > nCircle ? nTriangle : nCircle;
    const int nSmaller = nTriangle > nCircle ? nCircle : nTriangle;
    note.nError = TenthsOfPercent(nBigger - nSmaller, nSmaller);
    char sz[160] = {};
    if (nTriangle == nCircle) {
        std::snprintf(sz, sizeof sz, "Triangle %d px, circle %d px: neither is bigger.", nTriangle,
                      nCircle);
    } else {
        std::snprintf(sz, sizeof sz, "Triangle %d px, circle %d px: the %s is %s bigger.",
                      nTriangle, nCircle, nTriangle > nCircle ? "triangle" : "circle",
                      PercentText(note.nError, ESign::OnlyMinus).c_str());
    }
    note.strLine = sz;
    return note;
}

CCoachNote CoachNote(const CEqualJudgement& j) {
    CCoachNote note = NoteOf(2, j.answer, j.nTriangleArea, j.nCircleArea);
    note.nError = TenthsOfPercent(j.nCircleArea - j.nTriangleArea, j.nTriangleArea);
    char sz[200] = {};
    std::snprintf(sz, sizeof sz,
                  "Triangle %d px, circle %d px: the circle is off by %s. Ratio %d per %d; "
                  "equal is %d to %d.",
                  j.nTriangleArea, j.nCircleArea, PercentText(note.nError, ESign::Always).c_str(),
                  j.nRatio, kRatioScale, j.nBandLow, j.nBandHigh);
    note.strLine = sz;
    return note;
}

CCoachNote CoachNote(const CCentreJudgement& j) {
    CCoachNote note = NoteOf(3, j.answer, j.nDx, j.nDy);
    note.nError = static_cast<int>(std::lround(std::hypot(j.nDx, j.nDy)));
    note.eUnit = EErrorUnit::Pixels;
    char sz[200] = {};
    std::snprintf(sz, sizeof sz,
                  "Your click was %d px from the centre of area (%+d across, %+d down); a hit "
                  "is within %d px on both.",
                  note.nError, j.nDx, j.nDy, j.nReach - 1);
    note.strLine = sz;
    return note;
}

CCoachNote CoachNote(const CReshapeJudgement& j) {
    CCoachNote note = NoteOf(4, j.answer, j.nTargetArea, j.nBlueArea);
    note.nError = TenthsOfPercent(j.nDifference, j.nTargetArea);
    const int nTolerance = TenthsOfPercent(j.nTolerance, j.nTargetArea);
    char sz[240] = {};
    std::snprintf(sz, sizeof sz,
                  "Target %d px, yours %d px: %s against a tolerance of %s (%d px). Sides caved "
                  "equally: %s. %d points.",
                  j.nTargetArea, j.nBlueArea, PercentText(note.nError, ESign::Always).c_str(),
                  PercentText(nTolerance, ESign::OnlyMinus).c_str(), j.nTolerance,
                  j.eSymmetry == ESymmetry::Symmetric ? "yes" : "no", j.answer.nPoints);
    note.strLine = sz;
    return note;
}

QString AnswerRecordPath(const QString& strStateHome) {
    return strStateHome + QStringLiteral("/tessix/answers.csv");
}

std::optional<CString> CCoach::CheckRecord() {
    m_bChecked = true;
    QByteArray content;
    QString error;
    if (!ReadWholeFile(m_strRecordPath, &content, &error)) {
        return std::nullopt;  // the append that follows fails and says why
    }
    const int nSkipped = ScanAnswerRecord(content).nSkipped;
    if (nSkipped == 0) {
        return std::nullopt;
    }
    char sz[96] = {};
    std::snprintf(sz, sizeof sz, "%d line%s of the answer record ", nSkipped,
                  nSkipped == 1 ? "" : "s");
    return CString(sz) + DisplayFileName(m_strRecordPath).toStdString() +
           " could not be read. They are kept as they are and skipped; new answers are "
           "added after them.";
}

std::optional<CString> CCoach::RecordPending(int nPresentation, std::int32_t nTime) {
    if (!m_oNote) {
        return std::nullopt;
    }
    const CCoachNote note = *m_oNote;
    m_oNote.reset();
    std::optional<CString> oDamaged;
    if (!m_bChecked) {
        oDamaged = CheckRecord();
    }
    CAnswerRecord record;
    record.strTime = CTime(nTime).Format("%Y-%m-%dT%H:%M:%S%z");
    record.uSeed = m_uSeed;
    record.nGame = m_nGame;
    record.nProblem = note.nProblem;
    record.nPresentation = nPresentation;
    record.eVerdict = note.answer.eVerdict;
    record.nPoints = note.answer.eVerdict == EVerdict::Right ? note.answer.nPoints : 0;
    record.nMeasured1 = note.nMeasured1;
    record.nMeasured2 = note.nMeasured2;
    record.nError = note.nError;
    record.eUnit = note.eUnit;
    CAppendLines append;
    append.lines = QByteArray::fromStdString(FormatAnswerRecord(record));
    append.header = QByteArray(kAnswerRecordHeader);
    QString error;
    if (AppendLines(m_strRecordPath, append, &error)) {
        return oDamaged;
    }
    if (m_eWriteReported == EReported::Yes) {
        return std::nullopt;
    }
    m_eWriteReported = EReported::Yes;
    return "Tessix cannot add your answers to its record " +
           DisplayFileName(m_strRecordPath).toStdString() + ": " + error.toStdString() +
           ". The game goes on without recording them.";
}

// ---- The view's side: the note taken from each judgement, the line under the verdict
// ---- and the record after the pause.

void CTessixView::NoteForCoach(const CCoachNote& note) {
    if (m_pCoach) {
        m_pCoach->Note(note);
    }
}

CRect CTessixView::VerdictBox() const {
    if (!m_pCoach || !m_pCoach->Pending()) {
        return m_rectMessage;
    }
    CRect rc = m_rectMessage;
    rc.bottom = rc.top + (m_rectMessage.bottom - m_rectMessage.top) * kVerdictFifths / 5;
    return rc;
}

void CTessixView::DrawCoachLine(CDC* pDC) {
    if (!m_pCoach || !m_pCoach->Pending()) {
        return;
    }
    CRect rc = m_rectMessage;
    rc.top = VerdictBox().bottom;
    pDC->SetTextColor(kCoachTextColor);
    pDC->SelectObject(&m_fontMessage);
    pDC->DrawText(m_pCoach->Pending()->strLine, rc,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
}

void CTessixView::RecordForCoach() {
    if (!m_pCoach || !m_pCoach->Pending()) {
        return;
    }
    const int nProblem = m_pCoach->Pending()->nProblem;
    const std::optional<CString> oReport =
        m_pCoach->RecordPending(m_nPlays[nProblem - 1], m_pClock->Time());
    if (oReport) {
        m_pHost->MessageBox(*oReport, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CTessixView::CoachNewGame() {
    if (m_pCoach) {
        m_pCoach->NewGame();
    }
}
