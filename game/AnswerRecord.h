// SPDX-License-Identifier: MIT
// The coach's record of answers: one CSV line per judged answer, appended to a file that
// outlives the run. The format is written and read here only.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/TessixView.h"

// What a record's error counts in: tenths of a per cent (problems 1, 2 and 4), or pixels
// (problem 3's distance from the centre).
enum class EErrorUnit { TenthsOfPercent, Pixels };

struct CAnswerRecord {
    CString strTime;  // ISO 8601, local time with its offset
    std::uint32_t uSeed = 0;
    int nGame = 0;          // the game's number in its run, from 1
    int nProblem = 0;       // 1 to kProblems
    int nPresentation = 0;  // 1 to kPresentations
    EVerdict eVerdict = EVerdict::Wrong;
    int nPoints = 0;
    int nMeasured1 = 0;  // see CCoachNote
    int nMeasured2 = 0;
    int nError = 0;
    EErrorUnit eUnit = EErrorUnit::TenthsOfPercent;
};

// The first line of a new record file.
constexpr const char* kAnswerRecordHeader =
    "time,seed,game,problem,presentation,verdict,points,measured_1,measured_2,error,unit\n";

// One line, ending in '\n'. The error is written as a decimal ("-2.4" with its unit "%",
// or "15" with "px").
CString FormatAnswerRecord(const CAnswerRecord& record);
// One line without its line feed; nothing when it is not a whole, valid record.
std::optional<CAnswerRecord> ParseAnswerRecord(const CString& strLine);

struct CRecordScan {
    std::vector<CAnswerRecord> records;
    int nSkipped = 0;  // lines that are neither a record nor the header, nor empty
};

// Every line of a record file's content; a last line without its line feed is read too.
CRecordScan ScanAnswerRecord(const QByteArray& content);
