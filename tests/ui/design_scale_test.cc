// Scaled layout: edges, the character grid of the Courier rows, and wheel notches.

#include "ui/qt/design_scale.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <vector>

#include "tests/case_name.h"
#include "tests/ui/qt_printing.h"
#include "ui/qt/wheel_steps.h"

namespace kelvo {
namespace {

class CourierGrid : public testing::TestWithParam<double> {};

TEST_P(CourierGrid, EightyCharactersFillEightyCellsAtEveryScale) {
    const DesignScale scale(GetParam());
    for (const bool bold : {false, true}) {
        const QFont font = scale.Courier(12, 7.0, bold);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(QString(80, QLatin1Char('W')));
        EXPECT_NEAR(width, 80 * 7.0 * GetParam(), 2.0) << "bold " << bold;
        // Umlauts and the euro sign take one cell as well.
        EXPECT_NEAR(metrics.horizontalAdvance(QStringLiteral("ÄÖÜß€«»")),
                    metrics.horizontalAdvance(QStringLiteral("MMMMMMM")), 0.5);
    }
}

// The scale factors of the page levels, the editor steps and a large inspector.
INSTANTIATE_TEST_SUITE_P(Levels, CourierGrid,
                         testing::Values(1.0, 0.97, 1.144, 1.4286, 1.9, 20000.0 / 10100.0, 2.4286));

TEST(DesignScale, CourierIsAMonospacedFontWithUmlautsAndEuro) {
    const QFont font = DesignScale().Courier(12, 7.0);
    const QFontInfo info(font);
    EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
    const QFontMetricsF metrics(font);
    for (const QChar c : QStringLiteral("äöüÄÖÜß€«»")) {
        EXPECT_TRUE(metrics.inFont(c)) << static_cast<int>(c.unicode());
    }
}

TEST(DesignScale, ScalesEdgesSoNeighboursStayNeighbours) {
    const DesignScale scale(1.4286);
    const QRect a = scale.Rect(55, 232, 105, 17);
    const QRect b = scale.Rect(160, 232, 20, 17);
    EXPECT_EQ(a.right() + 1, b.left());
    EXPECT_EQ(a.topLeft(), QPoint(79, 331));
    EXPECT_EQ(scale(15), 21);
}

struct WheelCase {
    std::string name;
    std::vector<int> deltas;
    std::vector<int> steps;
};

class WheelSteps : public testing::TestWithParam<WheelCase> {};

TEST_P(WheelSteps, GivesWholeNotches) {
    int rest = 0;
    std::vector<int> steps;
    for (const int delta : GetParam().deltas) {
        for (const int step : TakeWheelSteps(rest, delta)) {
            steps.push_back(step);
        }
    }
    EXPECT_EQ(steps, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Turns, WheelSteps,
    testing::Values(WheelCase{"one_notch_down", {-120}, {-120}},
                    WheelCase{"one_notch_up", {120}, {120}},
                    WheelCase{"two_notches_at_once", {240}, {120, 120}},
                    WheelCase{"quarters_make_a_notch", {30, 30, 30, 30}, {120}},
                    WheelCase{"part_then_back_drops_the_part", {90, -30, -90}, {-120}},
                    WheelCase{"less_than_a_notch_is_nothing", {100}, {}}),
    CaseName());

}  // namespace
}  // namespace kelvo
