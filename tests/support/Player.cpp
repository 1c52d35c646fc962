// SPDX-License-Identifier: MIT
#include "support/Player.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "game/Colours.h"
#include "platform/Raster.h"
#include "problems/Judges.h"

namespace {

// More presses of one key than any answer needs: a fault that makes them do nothing
// fails the answer instead of holding the suite.
constexpr int kMaxPresses = 100;

CExpected Expect(const CAnswer& answer) {
    return {answer.eVerdict, answer.nPoints};
}

CPoint Middle(const CRect& rc) {
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

}  // namespace

CExpected CPlayer::Play(int nProblem, EIntent eIntent) {
    m_game.ChooseProblem(nProblem);
    EXPECT_EQ(m_view.m_nProblem, nProblem);
    if (m_view.m_nProblem != nProblem) {
        return {};  // nothing to answer: the turn fails on its missing cue
    }
    return Answer(eIntent);
}

CExpected CPlayer::Answer(EIntent eIntent) {
    switch (m_view.m_nProblem) {
        case 1:
            return Problem1(eIntent);
        case 2:
            return Problem2(eIntent);
        case 3:
            return Problem3(eIntent);
        case 4:
            return Problem4(eIntent);
        default:
            return {};
    }
}

// The bigger count is the right shape; equal counts make either click wrong.
CExpected CPlayer::Problem1(EIntent eIntent) {
    const CBiggerJudgement left =
        JudgeBigger(m_view.m_nAreaLeft, m_view.m_nAreaRight, ESquare::Left);
    const bool bLeftRight = left.answer.eVerdict == EVerdict::Right;
    const bool bChooseLeft = (eIntent == EIntent::AimRight) == bLeftRight;
    const ESquare eChosen = bChooseLeft ? ESquare::Left : ESquare::Right;
    m_game.Click(Middle(bChooseLeft ? m_view.m_rectLeft : m_view.m_rectRight));
    return Expect(JudgeBigger(m_view.m_nAreaLeft, m_view.m_nAreaRight, eChosen).answer);
}

// Grows the circle until its ratio is no longer above the band, or clicks the small
// circle at once.
CExpected CPlayer::Problem2(EIntent eIntent) {
    for (int nPress = 0; eIntent == EIntent::AimRight && Equal().nRatio > Equal().nBandHigh &&
                         m_view.m_nInset > m_view.m_nGrowLimit;
         ++nPress) {
        if (nPress == kMaxPresses) {
            ADD_FAILURE() << "the circle is not grown by " << kMaxPresses << " presses of Up";
            break;
        }
        m_game.Key(VK_UP);
    }
    const CEqualJudgement judgement = Equal();
    m_game.Click(Middle(m_view.m_rectRight));
    return Expect(judgement.answer);
}

// The centre dot, or the white background in the bottom-left corner.
CExpected CPlayer::Problem3(EIntent eIntent) {
    const CPoint pt = eIntent == EIntent::AimRight
                          ? m_view.m_ptCenter
                          : CPoint(m_view.m_rectClient.left + 5, m_view.m_rectClient.bottom - 5);
    const EUnderClick eUnder =
        m_game.Pixel(pt.x, pt.y) == kGreen ? EUnderClick::Shape : EUnderClick::Elsewhere;
    m_game.Click(pt);
    return Expect(JudgeCentre(pt, m_view.m_ptCenter, eUnder).answer);
}

// Caves all four sides alike, a round at a time, until the cyan area is no longer too
// big; every other right answer also pulls one side back a pixel, breaking the symmetry
// of a shape that was symmetrical. A wrong answer clicks the shape as it stands.
CExpected CPlayer::Problem4(EIntent eIntent) {
    const int nTarget = m_view.m_nAreaLeft;
    const int nTolerance = m_view.m_nTolerance;
    ESymmetry eSymmetry = ESymmetry::Symmetric;
    if (eIntent == EIntent::AimRight) {
        for (int nRound = 0; nRound < 40 && Cyan() - nTarget >= nTolerance; ++nRound) {
            for (int nSide = 0; nSide < 4; ++nSide) {
                m_game.Key(VK_DOWN);
                m_game.Key(VK_SPACE);
            }
        }
        EXPECT_LT(Cyan() - nTarget, nTolerance) << "still too big after 40 rounds of caving";
        m_bLopsided = !m_bLopsided;
        if (m_bLopsided) {
            m_game.Key(VK_UP);
            eSymmetry = ESymmetry::Lopsided;
        }
    }
    const int nBlue = Cyan();
    m_game.Click(Middle(m_view.m_rectRight));
    return Expect(JudgeReshape(nTarget, nBlue, nTolerance, m_view.m_nScoreBase, eSymmetry).answer);
}

int CPlayer::Cyan() const {
    const CRaster& raster = m_game.m_host.m_raster;
    const CRect& rc = m_view.m_rectRight;
    const std::uint32_t px = CRaster::PixelOf(kCyan);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += raster.Row(y)[x] == px ? 1 : 0;
        }
    }
    return n;
}
