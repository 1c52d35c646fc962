// SPDX-License-Identifier: MIT
// The rules that judge the four problems, each written once, and one pure judge per
// problem: from the measured numbers to the verdict, with the numbers behind it. The
// click handlers draw and sound what their judge decides; the tests and the test player
// call the same judges and read the same constants.
#pragma once

#include "game/TessixView.h"

// The verdicts' texts of a wrong answer ("CORRECT for N POINTS!" is built by RightAnswer).
constexpr const char* kSorry = "SORRY!";
constexpr const char* kTooBig = "SORRY, Too Big!";
constexpr const char* kNotBigEnough = "SORRY, Not Big Enough!";

// ---- Problem 1: the bigger of two shapes, by their pixel counts.

constexpr int kBiggerPoints = 100;

// The square the player clicked: the triangle's on the left, the circle's on the right.
enum class ESquare { Left, Right };

struct CBiggerJudgement {
    CAnswer answer;
    int nChosenArea = 0;  // the count of the shape clicked
    int nOtherArea = 0;
};

// Right when the chosen count is strictly the bigger: equal counts are wrong either way.
CBiggerJudgement JudgeBigger(int nLeftArea, int nRightArea, ESquare eChosen);

// ---- Problem 2: a circle resized until its area matches the triangle's.

constexpr int kEqualPoints = 150;
// The ratio triangle count * kRatioScale / circle count, truncated, is right within
// kEqualBandLow..kEqualBandHigh (both included).
constexpr int kRatioScale = 1000;
constexpr int kEqualBandLow = 985;
constexpr int kEqualBandHigh = 1015;

struct CEqualJudgement {
    CAnswer answer;
    int nTriangleArea = 0;
    int nCircleArea = 0;
    int nRatio = 0;  // the largest int for a circle without a counted pixel
    int nBandLow = kEqualBandLow;
    int nBandHigh = kEqualBandHigh;
};

// Below the band the circle is too big, above it not big enough. A circle of no counted
// pixel cannot be measured: no resize could make it right, so it is not big enough.
CEqualJudgement JudgeEqual(int nTriangleArea, int nCircleArea);

// ---- Problem 3: a click on the centre of area.

constexpr int kCentrePoints = 300;
// A click closer than this to the centre on both axes (strictly) hits it: a 5 by 5 box.
constexpr int kCentreReach = 3;

// What the screen shows under a click that misses the centre: the shape, where a click
// is no answer, or anything else.
enum class EUnderClick { Shape, Elsewhere };
enum class EAnswered { Answer, NoAnswer };

struct CCentreJudgement {
    EAnswered eAnswered = EAnswered::Answer;
    CAnswer answer;  // when judged
    int nDx = 0;     // the click less the centre, on each axis
    int nDy = 0;
    int nReach = kCentreReach;
};

CCentreJudgement JudgeCentre(CPoint ptClick, CPoint ptCentre, EUnderClick eUnder);

// ---- Problem 4: a reshaped area against the target's, with a bonus for symmetry.

// The tolerance is kTolerancePerMille of the target's area, truncated; the score base is
// the tolerance rounded up to a multiple of kPointsStep.
constexpr int kTolerancePerMille = 25;
constexpr int kPointsStep = 10;
// Each kPixelsPerPoint pixels of difference cost a point, before rounding up to a step.
constexpr int kPixelsPerPoint = 5;
constexpr int kSymmetryBonus = 100;
// Points below kMinPointsFloor become kReshapeMinPoints; above kMaxPointsCeiling,
// kReshapeMaxPoints (so 390 is raised to 400).
constexpr int kMinPointsFloor = 1;
constexpr int kReshapeMinPoints = 10;
constexpr int kMaxPointsCeiling = 389;
constexpr int kReshapeMaxPoints = 400;

int ReshapeTolerance(int nTargetArea);
int ReshapeScoreBase(int nTolerance);

// Whether the four caved-in sides form a rectangle parallel to the window's edges.
enum class ESymmetry { Lopsided, Symmetric };

struct CReshapeJudgement {
    CAnswer answer;
    int nTargetArea = 0;
    int nBlueArea = 0;
    int nDifference = 0;  // blue less target
    int nTolerance = 0;
    int nScoreBase = 0;
    ESymmetry eSymmetry = ESymmetry::Lopsided;
};

// The verdict on a blue area nBlue against a target area nTarget. A difference below
// nTolerance is right and earns a fifth of the margin left under nScoreBase, rounded up
// to a multiple of 10, plus the bonus for symmetry, bounded to 10..400. Any other
// difference, the one exactly equal to the tolerance included, is wrong on its side.
CReshapeJudgement JudgeReshape(int nTarget, int nBlue, int nTolerance, int nScoreBase,
                               ESymmetry eSymmetry);
