// SPDX-License-Identifier: MIT
// The coach: its line gives the judgement's own numbers, each answer becomes one record
// line appended whole or not at all, failures are reported once, and the game without
// the coach looks exactly as it does with it, the message band aside.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Version.h"
#include "game/Coach.h"
#include "game/Progress.h"
#include "platform/AppendFile.h"
#include "support/Player.h"
#include "support/ScratchFolder.h"

namespace {

// A judgement's note against the numbers it must carry (the two measured, the error) and
// words its line must hold.
struct CLineCase {
    CCoachNote note;
    std::vector<int> numbers;
    std::vector<std::string> fragments;
};

const CReshapeJudgement kReshape =
    JudgeReshape(56576, 56676, ReshapeTolerance(56576), ReshapeScoreBase(ReshapeTolerance(56576)),
                 ESymmetry::Symmetric);
const std::string kBand = std::to_string(kEqualBandLow) + " to " + std::to_string(kEqualBandHigh);

class CoachLine : public ::testing::TestWithParam<CLineCase> {};

TEST_P(CoachLine, ShowsAndRecordsTheJudgementsNumbers) {
    const CCoachNote& note = GetParam().note;
    EXPECT_EQ(std::vector<int>({note.nMeasured1, note.nMeasured2, note.nError}),
              GetParam().numbers);
    for (const std::string& fragment : GetParam().fragments) {
        EXPECT_NE(note.strLine.find(fragment), std::string::npos) << note.strLine;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Problems, CoachLine,
    ::testing::Values(CLineCase{CoachNote(JudgeBigger(54432, 53600, ESquare::Left), ESquare::Left),
                                {54432, 53600, 16},
                                {"54432 px, circle 53600 px: the triangle is 1.6% bigger"}},
                      CLineCase{CoachNote(JudgeEqual(54432, 53100)),
                                {54432, 53100, -24},
                                {"off by -2.4%", "Ratio 1025 per 1000", "equal is " + kBand}},
                      CLineCase{
                          CoachNote(JudgeCentre({115, 100}, {100, 100}, EUnderClick::Elsewhere)),
                          {15, 0, 15},
                          {"15 px from the centre", "+15 across, +0 down", "within 2 px"}},
                      CLineCase{CoachNote(kReshape),
                                {56576, 56676, 2},
                                {"+0.2% against a tolerance of 2.5% (1414 px)", "equally: yes",
                                 std::to_string(kReshape.answer.nPoints) + " points"}}));

TEST(AnswerRecord, ALineIsWrittenReadBackAndDamagedLinesAreSkippedAndCounted) {
    const CAnswerRecord record{
        "2026-12-09T21:00:00+0000", 4294967295u, 2, 4, 5, EVerdict::Right, 370, 56576, 56676, -2};
    const CString strLine = FormatAnswerRecord(record);
    EXPECT_EQ(strLine, "2026-12-09T21:00:00+0000,4294967295,2,4,5,right,370,56576,56676,-0.2,%\n");
    // Ten damaged lines, then the good one again without its line feed.
    const QByteArray damaged =
        "garbage\nt,1,2,4,5,right,370,1,2,-0.2,%,extra\nt,1,2,5,5,right,370,1,2,-0.2,%\n"
        "t,1,2,4,0,right,370,1,2,-0.2,%\nt,1,2,4,5,maybe,370,1,2,-0.2,%\n2026-12-09T21:00\n"
        "t,1,2,4,5,right,370,1,2,-0.25,%\nt,1,2,4,5,right,370,1,2,3,%\n"
        "t,1,2,4,5,right,370,1,2,3.0,px\nt,-1,2,4,5,right,370,1,2,-0.2,%\n";
    const QByteArray good = QByteArray::fromStdString(strLine);
    const CRecordScan scan =
        ScanAnswerRecord(kAnswerRecordHeader + good + damaged + good.chopped(1));
    ASSERT_EQ(scan.records.size(), 2u);
    EXPECT_EQ(FormatAnswerRecord(scan.records[1]), strLine);
    EXPECT_EQ(scan.nSkipped, 10);
}

QByteArray Read(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(AppendLines, WholeLinesOrNothing) {
    const CScratchFolder folder;
    const QString strPath = folder.filePath(QStringLiteral("a/b/answers.csv"));
    QString error;
    ASSERT_TRUE(AppendLines(strPath, {"one\n", "head\n"}, &error)) << error.toStdString();
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::Append) && file.write("cut") == 3);
    file.close();
    ASSERT_TRUE(AppendLines(strPath, {"two\n", "head\n"}, &error));
    for (const QString& strBad :
         {strPath + QStringLiteral("/x"), folder.path(), QStringLiteral("/dev/full")}) {
        EXPECT_FALSE(AppendLines(strBad, {"lost\n", {}}, &error)) << strBad.toStdString();
    }
    // A file-size limit two bytes past the end stops the write short, as a full disk does.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old = {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = Read(strPath).size() + 2;
    setrlimit(RLIMIT_FSIZE, &tight);
    EXPECT_FALSE(AppendLines(strPath, {"lost\n", {}}, &error));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Read(strPath), "head\none\ncut\ntwo\n");
}

// A game whose view has the coach, recording into strRecord.
void WithCoach(CGame& game, const QString& strRecord, std::uint32_t uSeed = 1) {
    const CViewWorld world{&game.m_host, &game.m_clock, &game.m_sound, uSeed,
                           g_strVersion, ECoach::On,    strRecord};
    game.m_pView = std::make_unique<CTessixView>(world);
    game.Paint();
}

TEST(CoachGame, EachAnswerIsRecordedAndAFailureIsReportedOnce) {
    const CScratchFolder folder;
    const QString strDamaged = AnswerRecordPath(folder.path());
    QString error;
    ASSERT_TRUE(AppendLines(strDamaged, {"not a record\n", {}}, &error));
    for (const QString& strPath : {strDamaged, QStringLiteral("/dev/full")}) {
        CGame game;
        WithCoach(game, strPath, 77);
        for (int p = 1; p <= kProblems; ++p) {
            CPlayer(game).Play(p, EIntent::AimRight);
            CPlayer(game).Play(p, EIntent::AimWrong);
        }
        EXPECT_EQ(game.m_host.m_messages.size(), 1u) << strPath.toStdString();
    }
    const CRecordScan scan = ScanAnswerRecord(Read(strDamaged));
    EXPECT_TRUE(Read(strDamaged).startsWith("not a record\n"));
    EXPECT_EQ(scan.nSkipped, 1);
    ASSERT_EQ(scan.records.size(), 2u * kProblems);
    for (std::size_t i = 0; i < scan.records.size(); ++i) {
        const CAnswerRecord& r = scan.records[i];
        EXPECT_TRUE(r.nProblem == static_cast<int>(i / 2 + 1) &&
                    r.nPresentation == static_cast<int>(i % 2 + 1) && r.uSeed == 77u &&
                    r.nGame == 1 && (r.eVerdict == EVerdict::Right) == (i % 2 == 0))
            << FormatAnswerRecord(r);
    }
}

// The extent of the black pixels in rc: under a verdict, only the coach's line is black.
CRect InkOf(const CRaster& raster, const CRect& rc) {
    CRect ink(rc.right, rc.bottom, rc.left, rc.top);
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (raster.Row(y)[x] == CRaster::PixelOf(RGB(0, 0, 0))) {
                ink = CRect(std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                            std::max(ink.bottom, y + 1));
            }
        }
    }
    return ink;
}

// The same game with and without the coach, at the smallest, a common and the widest size:
// the same menus, the same verdict screens but for the band and the centre's mark that the
// coach adds on a right answer, and the coach's line clear of every side of its box (a
// line cut by its box would reach the side it was cut at).
TEST(CoachGame, AddsOnlyItsLineWhichFitsTheBand) {
    for (const CSize size : {CSize(780, 540), CSize(1920, 1080), CSize(5120, 1440)}) {
        CGame games[2] = {CGame(size.cx, size.cy, 5), CGame(size.cx, size.cy, 5)};
        games[0].Paint();
        WithCoach(games[1], QStringLiteral("/dev/null"), 5);
        QImage shots[2];
        CRect box;
        CRect ink;
        for (CGame& game : games) {
            game.m_sound.m_onPlay = [&, pGame = &game] {
                if (pGame->m_sound.m_plays.back().eMode != EPlayMode::Sync) {
                    return;
                }
                const CTessixView& v = pGame->View();
                box = CRect(v.m_rectMessage.left, v.VerdictBox().bottom, v.m_rectMessage.right,
                            v.m_rectMessage.bottom);
                ink = InkOf(pGame->m_host.m_raster, box);
                QImage& shot = shots[pGame - games];
                shot = pGame->m_host.m_raster.Image().copy();
                QPainter painter(&shot);
                painter.fillRect(v.m_rectMessage.left, v.m_rectMessage.top, v.m_rectMessage.Width(),
                                 v.m_rectMessage.Height(), Qt::white);
                painter.fillRect(v.m_ptCenter.x - 1, v.m_ptCenter.y - 1, 3, 3, Qt::white);
            };
        }
        for (const int p : {1, 2, 3, 4}) {
            CPlayer(games[0]).Play(p, EIntent::AimRight);
            CPlayer(games[1]).Play(p, EIntent::AimRight);
            EXPECT_TRUE(shots[0] == shots[1]) << size.cx << " problem " << p;
            EXPECT_TRUE(games[0].m_host.m_raster.Image() == games[1].m_host.m_raster.Image());
            EXPECT_TRUE(ink.left > box.left && ink.right < box.right && ink.top > box.top &&
                        ink.bottom < box.bottom)
                << size.cx << "x" << size.cy << " problem " << p;
        }
    }
    EXPECT_EQ(ParseCommandLine({QStringLiteral("tessix"), QStringLiteral("--coach")}).m_eCoach,
              ECoach::On);
    EXPECT_EQ(ParseCommandLine({QStringLiteral("tessix")}).m_eCoach, ECoach::Off);
}

// Problem 2 answered six times over two games (three answers each), problem 3 once.
TEST(Progress, ChartsEachProblemsErrorsWithTheirAverageAndItsRightAnswersPerGame) {
    CRecordScan scan;
    const int kErrors[] = {-30, 10, 20, -60, 0, 50};
    for (int i = 0; i < 6; ++i) {
        scan.records.push_back({"t", 9, 1 + i / 3, 2, 1 + i % 3,
                                i % 2 == 0 ? EVerdict::Right : EVerdict::Wrong, 0, 0, 0,
                                kErrors[i]});
    }
    scan.records.push_back({"t", 9, 2, 3, 1, EVerdict::Wrong, 0, 4, 3, 5, EErrorUnit::Pixels});
    const CChartSheet sheet = ProgressSheet(scan, 42);
    EXPECT_TRUE(sheet.strTitle.contains(QStringLiteral("--seed 42")));
    ASSERT_EQ(sheet.charts.size(), 2u * kProblems);
    using CPoints = std::vector<std::pair<double, double>>;
    const CChart& errors = sheet.charts[2];
    EXPECT_EQ(errors.lines[0].points, (CPoints{{1, 3}, {2, 1}, {3, 2}, {4, 6}, {5, 0}, {6, 5}}));
    EXPECT_EQ(errors.lines[1].points.back(),
              (std::pair<double, double>(6, 14.0 / kProgressWindow)));
    EXPECT_EQ(sheet.charts[3].lines[0].points, (CPoints{{1, 200.0 / 3}, {2, 100.0 / 3}}));
    EXPECT_EQ(sheet.charts[4].lines[0].points, (CPoints{{1, 5}}));
    EXPECT_TRUE(sheet.charts[0].lines[0].points.empty());
    EXPECT_TRUE(ProgressSheet(CRecordScan(), 1).charts.empty());
}

// F3 opens the progress only on the menu of a coached game; an empty record says so.
TEST(Progress, OpensWithF3OnTheCoachsMenu) {
    CGame plain;
    plain.Paint();
    plain.Key(VK_F3);
    EXPECT_TRUE(plain.m_host.m_charts.empty());
    const CScratchFolder folder;
    CGame game;
    WithCoach(game, AnswerRecordPath(folder.path()), 31);
    game.Key(VK_F3);
    ASSERT_EQ(game.m_host.m_charts.size(), 1u);
    EXPECT_TRUE(game.m_host.m_charts[0].charts.empty());
    EXPECT_FALSE(game.m_host.m_charts[0].strNote.isEmpty());
    CPlayer(game).Play(1, EIntent::AimRight);
    game.ChooseProblem(2);
    game.Key(VK_F3);
    EXPECT_EQ(game.m_host.m_charts.size(), 1u);
    CPlayer(game).Answer(EIntent::AimRight);
    game.Key(VK_F3);
    ASSERT_EQ(game.m_host.m_charts.size(), 2u);
    EXPECT_EQ(game.m_host.m_charts[1].charts[0].lines[0].points.size(), 1u);
    EXPECT_TRUE(game.m_host.m_charts[1].strTitle.contains(QStringLiteral("31")));
}

}  // namespace
