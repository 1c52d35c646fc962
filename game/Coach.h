// SPDX-License-Identifier: MIT
// The coach, which the player asks for with --coach: under each verdict a second line
// with the numbers the judge decided on, and a record of every answer in a file that
// outlives the run. The numbers are read from the judgements, never worked out again.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "game/AnswerRecord.h"
#include "game/TessixView.h"
#include "problems/Judges.h"

// What the coach says and records of one judged answer.
struct CCoachNote {
    int nProblem = 0;
    CAnswer answer;
    // Problem 1: the triangle's and the circle's counts; 2: the triangle's and the
    // circle's; 3: the click less the centre, across and down; 4: the target's and the
    // blue shape's counts.
    int nMeasured1 = 0;
    int nMeasured2 = 0;
    // Problem 1: how much bigger the bigger shape is; 2: the circle against the triangle;
    // 3: the distance from the centre; 4: the blue shape against the target.
    int nError = 0;
    EErrorUnit eUnit = EErrorUnit::TenthsOfPercent;
    CString strLine;  // the second line under the verdict
};

CCoachNote CoachNote(const CBiggerJudgement& judgement, ESquare eChosen);
CCoachNote CoachNote(const CEqualJudgement& judgement);
CCoachNote CoachNote(const CCentreJudgement& judgement);
CCoachNote CoachNote(const CReshapeJudgement& judgement);

// nPart against nWhole in tenths of a per cent, rounded half away from zero; 0 when
// nWhole is not positive.
int TenthsOfPercent(long long nPart, long long nWhole);

// The record's file: answers.csv in the program's folder under strStateHome.
QString AnswerRecordPath(const QString& strStateHome);

// Whether a kind of failure was already shown: each is reported once in a run.
enum class EReported { No, Yes };

class CCoach {
public:
    CCoach(std::uint32_t uSeed, QString strRecordPath)
        : m_uSeed(uSeed), m_strRecordPath(std::move(strRecordPath)) {}

    void Note(const CCoachNote& note) { m_oNote = note; }
    const std::optional<CCoachNote>& Pending() const { return m_oNote; }
    // The next answers belong to the next game of the run.
    void NewGame() { ++m_nGame; }
    std::uint32_t Seed() const { return m_uSeed; }
    const QString& RecordPath() const { return m_strRecordPath; }

    // Appends the pending answer, made at nTime (seconds since 1970) as the given
    // presentation of its problem, to the record, and forgets it. Returns the message
    // for the player when this run's first failure of its kind occurred: a record that
    // cannot be written, or lines in it that cannot be read (checked at the first answer).
    std::optional<CString> RecordPending(int nPresentation, std::int32_t nTime);

private:
    std::optional<CString> CheckRecord();

    std::uint32_t m_uSeed = 0;
    int m_nGame = 1;
    QString m_strRecordPath;
    std::optional<CCoachNote> m_oNote;
    bool m_bChecked = false;
    EReported m_eWriteReported = EReported::No;
};
