// SPDX-License-Identifier: MIT
#include "game/AnswerRecord.h"

#include <QList>

#include <cstdio>
#include <sstream>

namespace {

constexpr const char* kRight = "right";
constexpr const char* kWrong = "wrong";
constexpr const char* kPercent = "%";
constexpr const char* kPixels = "px";
constexpr int kFields = 11;

// "-2.4" from -24 tenths.
CString TenthsText(int nTenths) {
    const int nAbs = nTenths < 0 ? -nTenths : nTenths;
    char sz[24] = {};
    std::snprintf(sz, sizeof sz, "%s%d.%d", nTenths < 0 ? "-" : "", nAbs / 10, nAbs % 10);
    return sz;
}

// A decimal integer, digits with an optional leading '-', within [nMin, nMax].
std::optional<long long> ParseInteger(const CString& str, long long nMin, long long nMax) {
    const std::size_t nFirst = !str.empty() && str.front() == '-' ? 1 : 0;
    if (str.size() <= nFirst || str.size() > 12) {
        return std::nullopt;
    }
    long long n = 0;
    for (std::size_t i = nFirst; i < str.size(); ++i) {
        if (str[i] < '0' || str[i] > '9') {
            return std::nullopt;
        }
        n = n * 10 + (str[i] - '0');
    }
    n = nFirst == 1 ? -n : n;
    if (n < nMin || n > nMax) {
        return std::nullopt;
    }
    return n;
}

// "-2.4" as -24 tenths: an integer part, a point and exactly one digit.
std::optional<int> ParseTenths(const CString& str) {
    const std::size_t nPoint = str.find('.');
    if (nPoint == CString::npos || nPoint + 2 != str.size() || nPoint == 0) {
        return std::nullopt;
    }
    const CString strWhole = str.substr(0, nPoint);
    const bool bNegative = strWhole.front() == '-';
    const auto oWhole = ParseInteger(bNegative ? strWhole.substr(1) : strWhole, 0, 1000000);
    const char cTenth = str.back();
    if (!oWhole || cTenth < '0' || cTenth > '9') {
        return std::nullopt;
    }
    const int nTenths = static_cast<int>(*oWhole) * 10 + (cTenth - '0');
    return bNegative ? -nTenths : nTenths;
}

std::vector<CString> SplitFields(const CString& strLine) {
    std::vector<CString> fields;
    std::istringstream in(strLine);
    CString field;
    while (std::getline(in, field, ',')) {
        fields.push_back(field);
    }
    if (!strLine.empty() && strLine.back() == ',') {
        fields.emplace_back();
    }
    return fields;
}

}  // namespace

CString FormatAnswerRecord(const CAnswerRecord& r) {
    const bool bPixels = r.eUnit == EErrorUnit::Pixels;
    std::ostringstream out;
    out << r.strTime << ',' << r.uSeed << ',' << r.nGame << ',' << r.nProblem << ','
        << r.nPresentation << ',' << (r.eVerdict == EVerdict::Right ? kRight : kWrong) << ','
        << r.nPoints << ',' << r.nMeasured1 << ',' << r.nMeasured2 << ','
        << (bPixels ? std::to_string(r.nError) : TenthsText(r.nError)) << ','
        << (bPixels ? kPixels : kPercent) << '\n';
    return out.str();
}

std::optional<CAnswerRecord> ParseAnswerRecord(const CString& strLine) {
    const std::vector<CString> f = SplitFields(strLine);
    if (f.size() != kFields || f[0].empty() || (f[5] != kRight && f[5] != kWrong) ||
        (f[10] != kPercent && f[10] != kPixels)) {
        return std::nullopt;
    }
    const auto oSeed = ParseInteger(f[1], 0, 0xFFFFFFFFLL);
    const auto oGame = ParseInteger(f[2], 1, 1000000000);
    const auto oProblem = ParseInteger(f[3], 1, kProblems);
    const auto oPresentation = ParseInteger(f[4], 1, kPresentations);
    const auto oPoints = ParseInteger(f[6], 0, 1000000);
    const auto oMeasured1 = ParseInteger(f[7], -1000000000, 1000000000);
    const auto oMeasured2 = ParseInteger(f[8], -1000000000, 1000000000);
    const bool bPixels = f[10] == kPixels;
    std::optional<long long> oError = ParseInteger(f[9], 0, 1000000000);
    if (!bPixels) {
        const std::optional<int> oTenths = ParseTenths(f[9]);
        oError = oTenths ? std::optional<long long>(*oTenths) : std::nullopt;
    }
    if (!oSeed || !oGame || !oProblem || !oPresentation || !oPoints || !oMeasured1 || !oMeasured2 ||
        !oError) {
        return std::nullopt;
    }
    CAnswerRecord r;
    r.strTime = f[0];
    r.uSeed = static_cast<std::uint32_t>(*oSeed);
    r.nGame = static_cast<int>(*oGame);
    r.nProblem = static_cast<int>(*oProblem);
    r.nPresentation = static_cast<int>(*oPresentation);
    r.eVerdict = f[5] == kRight ? EVerdict::Right : EVerdict::Wrong;
    r.nPoints = static_cast<int>(*oPoints);
    r.nMeasured1 = static_cast<int>(*oMeasured1);
    r.nMeasured2 = static_cast<int>(*oMeasured2);
    r.nError = static_cast<int>(*oError);
    r.eUnit = bPixels ? EErrorUnit::Pixels : EErrorUnit::TenthsOfPercent;
    return r;
}

CRecordScan ScanAnswerRecord(const QByteArray& content) {
    CRecordScan scan;
    CString strHeader = kAnswerRecordHeader;
    strHeader.pop_back();
    for (const QByteArray& line : content.split('\n')) {
        const CString strLine = line.toStdString();
        if (strLine.empty() || strLine == strHeader) {
            continue;
        }
        if (const auto oRecord = ParseAnswerRecord(strLine)) {
            scan.records.push_back(*oRecord);
        } else {
            ++scan.nSkipped;
        }
    }
    return scan;
}
