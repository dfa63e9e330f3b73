#include "tools/LpSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Row = std::vector<double>;

// A solver whose trace lines are collected and whose coin is seeded.
struct TracedProgram {
    TracedProgram(std::uint32_t seed = 7)
    {
        lp.m_randomSeed = seed;
        lp.m_traceSink = [this](const std::string& line) { lines.push_back(line); };
    }
    CLinearProgram lp;
    std::vector<std::string> lines;
};

std::unique_ptr<double[]> Array(std::initializer_list<double> values)
{
    auto array = std::make_unique<double[]>(values.size());
    std::copy(values.begin(), values.end(), array.get());
    return array;
}

} // namespace

TEST(LpSolverTest, RowsAreCheckedTurnedAndOwned)
{
    CLinearProgram lp;
    auto none = Array({1.0});
    EXPECT_EQ(lp.AddConstraint(0, none, 1.0, kLPEqual), 1);
    EXPECT_EQ(lp.GetVariableCount(), 0); // the first call fixed it, refused or not
    EXPECT_EQ(lp.AddConstraint(1, none, 1.0, kLPEqual), 1);
    EXPECT_NE(none, nullptr); // a refused array stays the caller's

    CLinearProgram program;
    auto ge = Array({1.0, 1.0});
    EXPECT_EQ(program.AddConstraint(2, ge, -5.0, kLPGreaterOrEqual), 0);
    EXPECT_EQ(ge, nullptr); // taken
    EXPECT_EQ(program.AddConstraint(Row{2.0, 3.0}, 0.0, kLPGreaterOrEqual), 0);
    EXPECT_EQ(program.AddConstraint(Row{1.0, -1.0}, -2.0, kLPEqual), 0);
    const CLPRowArray& rows = program.GetRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]->type, kLPLessOrEqual);
    EXPECT_EQ(rows[0]->rhs, 5.0);
    EXPECT_EQ(rows[0]->coefficients[0], -1.0);
    EXPECT_EQ(rows[0]->coefficients[1], -1.0);
    EXPECT_EQ(rows[1]->type, kLPGreaterOrEqual);
    EXPECT_EQ(rows[1]->coefficients[0], 2.0);
    EXPECT_EQ(rows[2]->type, kLPEqual);
    EXPECT_EQ(rows[2]->rhs, 2.0);
    EXPECT_EQ(rows[2]->coefficients[1], 1.0);

    std::unique_ptr<double[]> null;
    EXPECT_EQ(program.AddConstraint(2, null, 1.0, kLPEqual), 1);
    EXPECT_EQ(program.AddConstraint(Row{1.0, 1.0}, 1.0, 0), 1);
    EXPECT_EQ(program.AddConstraint(Row{1.0, 1.0}, 1.0, 4), 1);
    EXPECT_EQ(program.AddConstraint(Row{1.0}, 1.0, kLPEqual), 1);
    EXPECT_EQ(program.AddConstraint(Row{std::nan(""), 1.0}, 1.0, kLPEqual), 1);
    EXPECT_EQ(program.AddConstraint(Row{1.0, 1.0}, std::numeric_limits<double>::infinity(), kLPEqual), 1);
    EXPECT_EQ(program.GetConstraintCount(), 3);

    EXPECT_EQ(program.SetCost(Row{1.0}), 1);
    EXPECT_EQ(program.SetCost(Row{1.0, std::numeric_limits<double>::infinity()}), 1);
    EXPECT_EQ(program.SetCost(Row{1.0, 2.0}), 0);
    EXPECT_EQ(program.SetCost(Row{1.0, 2.0}), 1);
    ASSERT_EQ(program.GetRows().size(), 4u);
    EXPECT_EQ(program.GetRows()[3]->type, kLPCostRow);
    EXPECT_EQ(program.GetConstraintCount(), 3);
}

TEST(LpSolverTest, FailuresGiveTheirCodesTextsAndZeros)
{
    TracedProgram noRows;
    noRows.lp.SetCost(Row{1.0, 2.0});
    std::vector<double> x{9.0};
    EXPECT_EQ(noRows.lp.Solve(x, true), 1);
    EXPECT_EQ(noRows.lp.GetStatus(), kLPNoConstraints);
    EXPECT_EQ(noRows.lp.GetStatusMessage(), "No constraints specified");
    EXPECT_EQ(x, (Row{0.0, 0.0}));
    EXPECT_EQ(noRows.lines, (std::vector<std::string>{"Constraints:", "Cost function:",
                                                      "  1.000000(X1)   2.000000(X2) ",
                                                      "Linear program solver: No constraints specified"}));

    CLinearProgram noCost;
    noCost.AddConstraint(Row{1.0}, 1.0, kLPEqual);
    EXPECT_EQ(noCost.Solve(x, false), 1);
    EXPECT_EQ(noCost.GetStatus(), kLPNoCost);
    EXPECT_EQ(noCost.GetStatusMessage(), "No cost equation specified");

    CLinearProgram infeasible;
    infeasible.AddConstraint(Row{1.0}, 2.0, kLPGreaterOrEqual);
    infeasible.AddConstraint(Row{1.0}, 1.0, kLPLessOrEqual);
    infeasible.SetCost(Row{1.0});
    EXPECT_EQ(infeasible.Solve(x, false), 1);
    EXPECT_EQ(infeasible.GetStatus(), kLPInfeasible);
    EXPECT_EQ(infeasible.GetStatusMessage(), "No feasible solutions");
    EXPECT_EQ(x, Row{0.0});

    CLinearProgram unbounded;
    unbounded.AddConstraint(Row{1.0, -1.0}, 1.0, kLPLessOrEqual);
    unbounded.SetCost(Row{0.0, -1.0});
    EXPECT_EQ(unbounded.Solve(x, false), 1);
    EXPECT_EQ(unbounded.GetStatus(), kLPUnbounded);
    EXPECT_EQ(unbounded.GetStatusMessage(), "Solution is unbounded");
    EXPECT_EQ(x, (Row{0.0, 0.0}));

    CLinearProgram limited;
    limited.AddConstraint(Row{1.0, 1.0}, 1.0, kLPEqual);
    limited.SetCost(Row{1.0, 2.0});
    limited.m_iterationLimit = 0;
    EXPECT_EQ(limited.Solve(x, false), 1);
    EXPECT_EQ(limited.GetStatus(), kLPIterationLimit);
    EXPECT_EQ(limited.GetStatusMessage(), "Iteration limit reached");
    limited.m_iterationLimit = 1; // the one pivot of phase 1 already reaches it
    EXPECT_EQ(limited.Solve(x, false), 1);
    EXPECT_EQ(limited.GetStatus(), kLPIterationLimit);
    limited.m_iterationLimit = 2;
    EXPECT_EQ(limited.Solve(x, false), 0);
    EXPECT_EQ(limited.GetStatus(), kLPStatusNone);
    EXPECT_EQ(limited.GetStatusMessage(), "");

    // A coarse tolerance of 0.1 passes over X2's entry of 0.05 in the first row, which leaves X1
    // at -0.1: within the tolerance, so the solution stands; -0.2 is beyond it.
    for (const auto& [rhs, status] : {std::pair{0.4, kLPStatusNone}, std::pair{0.3, kLPStatusUnknown}}) {
        CLinearProgram coarse;
        coarse.m_tolerance = 0.1;
        coarse.AddConstraint(Row{1.0, 0.05}, rhs, kLPEqual);
        coarse.AddConstraint(Row{0.0, 1.0}, 10.0, kLPLessOrEqual);
        coarse.SetCost(Row{0.0, -1.0});
        coarse.Solve(x, false);
        EXPECT_EQ(coarse.GetStatus(), status) << rhs;
    }
}

TEST(LpSolverTest, TraceShowsTheProblemEveryPivotAndTableauAndTheSolution)
{
    TracedProgram program;
    program.lp.AddConstraint(Row{1.0, 1.0}, 1.0, kLPEqual);
    program.lp.SetCost(Row{1.0, 2.0});
    std::vector<double> x;
    ASSERT_EQ(program.lp.Solve(x, true), 0);
    EXPECT_EQ(x, (Row{1.0, 0.0}));
    const std::vector<std::string> expected = {
        "Constraints:",
        "    1.0000(X1)     1.0000(X2) =     1.0000",
        "Cost function:",
        "  1.000000(X1)   2.000000(X2) ",
        "Phase 1 # 0",
        "X3       1.0000(X1)     1.0000(X2)     1.0000(X3)  =     1.0000",
        "-z       1.0000(X1)     2.0000(X2)     0.0000(X3)  =     0.0000",
        "-w      -1.0000(X1)    -1.0000(X2)     0.0000(X3)  =    -1.0000",
        "Pivoting on variable X1 in constraint equation 1",
        "Phase 1 # 1",
        "X1       1.0000(X1)     1.0000(X2)     1.0000(X3)  =     1.0000",
        "-z       0.0000(X1)     1.0000(X2)    -1.0000(X3)  =    -1.0000",
        "-w       0.0000(X1)     0.0000(X2)     1.0000(X3)  =     0.0000",
        "Dropping X3, coefficient was 1",
        "Phase 2 # 0",
        "X1       1.0000(X1)     1.0000(X2)  =     1.0000",
        "-z       0.0000(X1)     1.0000(X2)  =    -1.0000",
        "Solution:",
        "X1 =     1.0000",
        "X2 =     0.0000",
    };
    EXPECT_EQ(program.lines, expected);
}

TEST(LpSolverTest, TextbookProblemsReachTheirOptima)
{
    std::vector<double> x;
    // Maximise 3x + 5y: x <= 4, 2y <= 12, 3x + 2y <= 18; the optimum is (2, 6).
    CLinearProgram product;
    product.AddConstraint(Row{1.0, 0.0}, 4.0, kLPLessOrEqual);
    product.AddConstraint(Row{0.0, 2.0}, 12.0, kLPLessOrEqual);
    product.AddConstraint(Row{3.0, 2.0}, 18.0, kLPLessOrEqual);
    product.SetCost(Row{-3.0, -5.0});
    ASSERT_EQ(product.Solve(x, false), 0);
    EXPECT_NEAR(x[0], 2.0, 1e-9);
    EXPECT_NEAR(x[1], 6.0, 1e-9);

    // A diet: minimise 0.12x + 0.15y with three ">=" rows; the optimum is (3, 2).
    CLinearProgram diet;
    diet.AddConstraint(Row{60.0, 60.0}, 300.0, kLPGreaterOrEqual);
    diet.AddConstraint(Row{12.0, 6.0}, 36.0, kLPGreaterOrEqual);
    diet.AddConstraint(Row{10.0, 30.0}, 90.0, kLPGreaterOrEqual);
    diet.SetCost(Row{0.12, 0.15});
    ASSERT_EQ(diet.Solve(x, false), 0);
    EXPECT_NEAR(x[0], 3.0, 1e-9);
    EXPECT_NEAR(x[1], 2.0, 1e-9);

    // A redundant equality leaves an artificial basic at level zero.
    CLinearProgram redundant;
    redundant.AddConstraint(Row{1.0, 1.0}, 2.0, kLPEqual);
    redundant.AddConstraint(Row{2.0, 2.0}, 4.0, kLPEqual);
    redundant.SetCost(Row{-1.0, 0.0});
    ASSERT_EQ(redundant.Solve(x, false), 0);
    EXPECT_NEAR(x[0], 2.0, 1e-9);
    EXPECT_NEAR(x[1], 0.0, 1e-9);

    // Rows that differ in the seventh digit are one row within the tolerance: whatever the coin,
    // the solver finds a point that meets them all, neither "Solution is unbounded" along a ray
    // that breaks them ever more nor an artificial brought back above zero ("Unknown error").
    struct NearlyOneRow {
        Row rows[3];
        double rhs[3];
        Row cost;
    };
    const NearlyOneRow nearly[] = {
        {{{0.9999998, -2.0000002, 3.0}, {1.0000002, -1.9999998, 3.0}, {1.0, -2.0, 3.0}}, {2.0000003, 1.9999997, 2.0},
         {-3.0, 3.0, 1.0}},
        {{{-3.0000006, 1.9999994, 3.0}, {-3.0, 2.0, 3.0}, {-2.9999994, 2.0000006, 3.0}}, {3.0, 3.0, 3.0}, {0.0, -3.0, 1.0}},
    };
    for (const NearlyOneRow& problem : nearly) {
        for (std::uint32_t seed = 1; seed <= 50; ++seed) {
            CLinearProgram lp;
            lp.m_randomSeed = seed;
            for (int i = 0; i < 3; ++i)
                lp.AddConstraint(problem.rows[i], problem.rhs[i], kLPEqual);
            lp.SetCost(problem.cost);
            ASSERT_EQ(lp.Solve(x, false), 0) << lp.GetStatusMessage() << ", seed " << seed;
            for (int i = 0; i < 3; ++i) {
                const Row& row = problem.rows[i];
                EXPECT_NEAR(row[0] * x[0] + row[1] * x[1] + row[2] * x[2], problem.rhs[i], 1e-5) << seed;
            }
        }
    }

    // Beale's problem cycles under the most-negative rule with a fixed tie-break; the coin breaks
    // the cycle whatever its seed. Optimum -5/4 at X1 = 1, X3 = 1.
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        CLinearProgram beale;
        beale.m_randomSeed = seed;
        beale.AddConstraint(Row{0.25, -8.0, -1.0, 9.0}, 0.0, kLPLessOrEqual);
        beale.AddConstraint(Row{0.5, -12.0, -0.5, 3.0}, 0.0, kLPLessOrEqual);
        beale.AddConstraint(Row{0.0, 0.0, 1.0, 0.0}, 1.0, kLPLessOrEqual);
        beale.SetCost(Row{-0.75, 20.0, -0.5, 6.0});
        ASSERT_EQ(beale.Solve(x, false), 0) << seed;
        EXPECT_NEAR(-0.75 * x[0] + 20.0 * x[1] - 0.5 * x[2] + 6.0 * x[3], -1.25, 1e-9) << seed;
    }
}

// Random two-variable problems in a box against the best vertex found by brute force: every
// intersection of two boundary lines that satisfies all rows.
TEST(LpSolverTest, RandomProblemsMatchVertexEnumeration)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coefficient(-6, 6);
    std::uniform_int_distribution<int> type(1, 3);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Row> a{{1.0, 0.0}, {0.0, 1.0}, {1.0, 0.0}, {0.0, 1.0}};
        std::vector<double> b{0.0, 0.0, 10.0, 10.0};
        std::vector<int> types{kLPGreaterOrEqual, kLPGreaterOrEqual, kLPLessOrEqual, kLPLessOrEqual};
        CLinearProgram lp;
        lp.m_randomSeed = static_cast<std::uint32_t>(trial + 1);
        lp.AddConstraint(a[2], b[2], types[2]);
        lp.AddConstraint(a[3], b[3], types[3]);
        for (int k = 0; k < 3; ++k) {
            a.push_back(Row{double(coefficient(random)), double(coefficient(random))});
            b.push_back(coefficient(random) * 2.0);
            const int t = type(random); // only the first random row may be an equality
            types.push_back(k == 0 || t != kLPEqual ? t : kLPGreaterOrEqual);
            lp.AddConstraint(a.back(), b.back(), types.back());
        }
        const Row cost{double(coefficient(random)), double(coefficient(random))};
        lp.SetCost(cost);

        const auto holds = [&](double x0, double x1) {
            for (std::size_t i = 0; i < a.size(); ++i) {
                const double d = a[i][0] * x0 + a[i][1] * x1 - b[i];
                if ((types[i] == kLPEqual && std::fabs(d) > 1e-9) || (types[i] == kLPGreaterOrEqual && d < -1e-9) ||
                    (types[i] == kLPLessOrEqual && d > 1e-9))
                    return false;
            }
            return true;
        };
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < a.size(); ++i) {
            for (std::size_t j = i + 1; j < a.size(); ++j) {
                const double det = a[i][0] * a[j][1] - a[i][1] * a[j][0];
                if (det == 0.0)
                    continue;
                const double x0 = (b[i] * a[j][1] - a[i][1] * b[j]) / det;
                const double x1 = (a[i][0] * b[j] - b[i] * a[j][0]) / det;
                if (holds(x0, x1))
                    best = std::min(best, cost[0] * x0 + cost[1] * x1);
            }
        }
        std::vector<double> x;
        const int result = lp.Solve(x, false);
        SCOPED_TRACE(trial);
        if (std::isinf(best)) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(lp.GetStatus(), kLPInfeasible);
            continue;
        }
        ASSERT_EQ(result, 0) << lp.GetStatusMessage();
        ASSERT_EQ(x.size(), 2u);
        EXPECT_TRUE(holds(x[0], x[1]));
        EXPECT_NEAR(cost[0] * x[0] + cost[1] * x[1], best, 1e-7);
    }
}

// Rows 1 and 2 are one another negated, so after phase 1 row 2's artificial (X4) stays basic at
// level zero and row 1's spent artificial (X3) has a phase-1 cost of exactly 0. It is dropped all
// the same: phase 2 starts at the optimum (1, 1) and makes no pivot, and the trace says so. (It
// could only ever have entered at level zero: X4's row holds X3 with +1, blocking at once.)
TEST(LpSolverTest, ASpentArtificialIsDroppedEvenWhenItsPhaseOneCostIsZero)
{
    TracedProgram program;
    program.lp.AddConstraint(Row{1.0, -1.0}, 0.0, kLPEqual);
    program.lp.AddConstraint(Row{-1.0, 1.0}, 0.0, kLPEqual);
    program.lp.AddConstraint(Row{1.0, 1.0}, 2.0, kLPEqual);
    program.lp.SetCost(Row{1.0, 0.0});
    std::vector<double> x;
    ASSERT_EQ(program.lp.Solve(x, true), 0);
    EXPECT_EQ(x, (Row{1.0, 1.0}));
    EXPECT_EQ(program.lp.GetIterationCount(), 0);
    const auto phaseTwo = std::find(program.lines.begin(), program.lines.end(), "Phase 2 # 0");
    ASSERT_NE(phaseTwo, program.lines.end());
    EXPECT_EQ(std::vector<std::string>(phaseTwo - 2, phaseTwo),
              (std::vector<std::string>{"Dropping X3, coefficient was 0", "Dropping X5, coefficient was 1"}));
    EXPECT_EQ(std::vector<std::string>(phaseTwo, phaseTwo + 5),
              (std::vector<std::string>{
                  "Phase 2 # 0",
                  "X1       1.0000(X1)     0.0000(X2)     0.0000(X4)  =     1.0000",
                  "X4       0.0000(X1)     0.0000(X2)     1.0000(X4)  =     0.0000",
                  "X2       0.0000(X1)     1.0000(X2)     0.0000(X4)  =     1.0000",
                  "-z       0.0000(X1)     0.0000(X2)     0.0000(X4)  =    -1.0000",
              }));
}
