// The solver against an independent one: seeded random small linear programs are solved here and
// by GLPK's glpsol, and both must agree on the outcome (optimal, infeasible, unbounded) and on
// the optimum. Skips when glpsol is not installed.

#include "tools/LpSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct RandomLp {
    int variables = 0;
    std::vector<std::vector<double>> rows;
    std::vector<double> rhs;
    std::vector<int> types;
    std::vector<double> cost;
};

RandomLp MakeRandomLp(std::mt19937& random)
{
    std::uniform_int_distribution<int> size(2, 5);
    std::uniform_int_distribution<int> coefficient(-6, 9);
    std::uniform_int_distribution<int> type(1, 6); // equalities now and then, mostly inequalities
    RandomLp lp;
    lp.variables = size(random);
    const int count = size(random) + 1;
    for (int i = 0; i < count; ++i) {
        std::vector<double> row;
        for (int j = 0; j < lp.variables; ++j)
            row.push_back(coefficient(random));
        lp.rows.push_back(row);
        lp.rhs.push_back(coefficient(random) * 3.0);
        const int t = type(random);
        lp.types.push_back(t == 1 ? kLPEqual : t <= 3 ? kLPGreaterOrEqual : kLPLessOrEqual);
    }
    for (int j = 0; j < lp.variables; ++j)
        lp.cost.push_back(coefficient(random) - 2);
    return lp;
}

std::string Term(double value, int variable, bool first)
{
    std::ostringstream text;
    text << (value < 0 ? " - " : first ? " " : " + ") << std::fabs(value) << " x" << variable + 1;
    return text.str();
}

// The problem in CPLEX LP form; glpsol's variables are non-negative by default, as ours are.
std::string LpFile(const RandomLp& lp)
{
    std::string text = "Minimize\n obj:";
    for (int j = 0; j < lp.variables; ++j)
        text += Term(lp.cost[static_cast<std::size_t>(j)], j, j == 0);
    text += "\nSubject To\n";
    for (std::size_t i = 0; i < lp.rows.size(); ++i) {
        text += " c" + std::to_string(i + 1) + ":";
        for (int j = 0; j < lp.variables; ++j)
            text += Term(lp.rows[i][static_cast<std::size_t>(j)], j, j == 0);
        const char* op = lp.types[i] == kLPEqual ? " = " : lp.types[i] == kLPGreaterOrEqual ? " >= " : " <= ";
        std::ostringstream rhs;
        rhs << lp.rhs[i];
        text += op + rhs.str() + "\n";
    }
    return text + "End\n";
}

struct GlpkResult {
    int status = -1; // as LPStatus: 0 optimal, 4 infeasible, 5 unbounded; -1 not understood
    double objective = 0.0;
};

GlpkResult RunGlpsol(const fs::path& dir, const RandomLp& lp)
{
    const fs::path model = dir / "problem.lp";
    const fs::path report = dir / "report.txt";
    std::ofstream(model) << LpFile(lp);
    // Without the presolver glpsol's simplex itself decides every outcome, as ours does.
    const std::string command =
        "glpsol --nopresol --lp '" + model.string() + "' -o '" + report.string() + "' > /dev/null 2>&1";
    GlpkResult result;
    if (std::system(command.c_str()) != 0)
        return result;
    std::ifstream reportIn(report);
    std::string line;
    while (std::getline(reportIn, line)) {
        if (line.rfind("Status:", 0) == 0) {
            if (line.find("OPTIMAL") != std::string::npos)
                result.status = kLPStatusNone;
            else if (line.find("INFEASIBLE (FINAL)") != std::string::npos)
                result.status = kLPInfeasible;
            else if (line.find("UNBOUNDED") != std::string::npos)
                result.status = kLPUnbounded;
        }
        const std::size_t at = line.find("obj = ");
        if (line.rfind("Objective:", 0) == 0 && at != std::string::npos)
            result.objective = std::strtod(line.c_str() + at + 6, nullptr);
    }
    return result;
}

bool Holds(const RandomLp& lp, const std::vector<double>& x)
{
    for (std::size_t i = 0; i < lp.rows.size(); ++i) {
        double sum = 0.0;
        for (int j = 0; j < lp.variables; ++j)
            sum += lp.rows[i][static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
        const double slack = sum - lp.rhs[i];
        const double tolerance = 1e-7 * (1.0 + std::fabs(lp.rhs[i]));
        if ((lp.types[i] == kLPEqual && std::fabs(slack) > tolerance) ||
            (lp.types[i] == kLPGreaterOrEqual && slack < -tolerance) ||
            (lp.types[i] == kLPLessOrEqual && slack > tolerance))
            return false;
    }
    for (double value : x) {
        if (value < -1e-9)
            return false;
    }
    return true;
}

} // namespace

TEST(LpSolverGlpkTest, RandomProblemsAgreeWithGlpsol)
{
    if (std::system("glpsol --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "glpsol (glpk-utils) is not installed";
    const fs::path dir = fs::temp_directory_path() / ("oxi-glpk-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::mt19937 random(20240611);
    int counts[6] = {};
    for (int trial = 0; trial < 300; ++trial) {
        const RandomLp problem = MakeRandomLp(random);
        SCOPED_TRACE("trial " + std::to_string(trial) + "\n" + LpFile(problem));
        CLinearProgram lp;
        lp.m_randomSeed = static_cast<std::uint32_t>(trial + 1);
        for (std::size_t i = 0; i < problem.rows.size(); ++i)
            ASSERT_EQ(lp.AddConstraint(problem.rows[i], problem.rhs[i], problem.types[i]), 0);
        ASSERT_EQ(lp.SetCost(problem.cost), 0);
        std::vector<double> x;
        const int result = lp.Solve(x, false);

        const GlpkResult glpk = RunGlpsol(dir, problem);
        ASSERT_NE(glpk.status, -1) << "glpsol's answer was not understood";
        ++counts[glpk.status];
        ASSERT_EQ(result == 0 ? 0 : lp.GetStatus(), glpk.status) << lp.GetStatusMessage();
        if (result != 0)
            continue;
        ASSERT_EQ(x.size(), static_cast<std::size_t>(problem.variables));
        EXPECT_TRUE(Holds(problem, x));
        double objective = 0.0;
        for (int j = 0; j < problem.variables; ++j)
            objective += problem.cost[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
        EXPECT_NEAR(objective, glpk.objective, 1e-6 * (1.0 + std::fabs(glpk.objective)));
    }
    fs::remove_all(dir);
    // The mix covers every outcome.
    EXPECT_GT(counts[kLPStatusNone], 50);
    EXPECT_GT(counts[kLPInfeasible], 20);
    EXPECT_GT(counts[kLPUnbounded], 20);
}
