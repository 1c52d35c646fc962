// SPDX-License-Identifier: MIT
// The judges of the four problems: pure functions of the measured numbers.
#include "problems/Judges.h"

#include <limits>

CBiggerJudgement JudgeBigger(int nLeftArea, int nRightArea, ESquare eChosen) {
    CBiggerJudgement j;
    j.nChosenArea = eChosen == ESquare::Left ? nLeftArea : nRightArea;
    j.nOtherArea = eChosen == ESquare::Left ? nRightArea : nLeftArea;
    j.answer = j.nChosenArea > j.nOtherArea ? RightAnswer(kBiggerPoints) : WrongAnswer(kSorry);
    return j;
}

CEqualJudgement JudgeEqual(int nTriangleArea, int nCircleArea) {
    CEqualJudgement j;
    j.nTriangleArea = nTriangleArea;
    j.nCircleArea = nCircleArea;
    j.nRatio = nCircleArea > 0 ? nTriangleArea * kRatioScale / nCircleArea
                               : std::numeric_limits<int>::max();
    if (j.nRatio < j.nBandLow) {
        j.answer = WrongAnswer(kTooBig);
    } else if (j.nRatio > j.nBandHigh) {
        j.answer = WrongAnswer(kNotBigEnough);
    } else {
        j.answer = RightAnswer(kEqualPoints);
    }
    return j;
}

CCentreJudgement JudgeCentre(CPoint ptClick, CPoint ptCentre, EUnderClick eUnder) {
    CCentreJudgement j;
    j.nDx = ptClick.x - ptCentre.x;
    j.nDy = ptClick.y - ptCentre.y;
    if (-j.nReach < j.nDx && j.nDx < j.nReach && -j.nReach < j.nDy && j.nDy < j.nReach) {
        j.answer = RightAnswer(kCentrePoints);
    } else if (eUnder == EUnderClick::Shape) {
        j.eAnswered = EAnswered::NoAnswer;
    } else {
        j.answer = WrongAnswer(kSorry);
    }
    return j;
}

int ReshapeTolerance(int nTargetArea) {
    return nTargetArea * kTolerancePerMille / 1000;
}

int ReshapeScoreBase(int nTolerance) {
    return (nTolerance + kPointsStep - 1) / kPointsStep * kPointsStep;
}

CReshapeJudgement JudgeReshape(int nTarget, int nBlue, int nTolerance, int nScoreBase,
                               ESymmetry eSymmetry) {
    CReshapeJudgement j;
    j.nTargetArea = nTarget;
    j.nBlueArea = nBlue;
    j.nDifference = nBlue - nTarget;
    j.nTolerance = nTolerance;
    j.nScoreBase = nScoreBase;
    j.eSymmetry = eSymmetry;
    const int d = j.nDifference >= 0 ? j.nDifference : -j.nDifference;
    if (d >= nTolerance) {
        j.answer = WrongAnswer(nBlue > nTarget ? kTooBig : kNotBigEnough);
        return j;
    }
    // d < nTolerance <= nScoreBase keeps the operand positive.
    int nPoints =
        ((nScoreBase - d) / kPixelsPerPoint + kPointsStep - 1) / kPointsStep * kPointsStep;
    if (eSymmetry == ESymmetry::Symmetric) {
        nPoints += kSymmetryBonus;
    }
    if (nPoints < kMinPointsFloor) {
        nPoints = kReshapeMinPoints;
    }
    if (nPoints > kMaxPointsCeiling) {
        nPoints = kReshapeMaxPoints;
    }
    j.answer = RightAnswer(nPoints);
    return j;
}
