#pragma once

// The linear-program solver behind the optimizer: minimise a linear cost over n non-negative
// variables subject to "=", ">=" and "<=" rows, by a dense two-phase simplex on a full tableau.
//
// Usage: add the constraint rows, set the cost row, optionally set the tolerance, call Solve,
// then read the solution or the status. The stored rows never change while solving, so Solve
// may be called again.
//
// Tableau layout, with m constraints, n variables and s inequality rows: rows 0..m-1 are the
// constraints in the order added, row m the cost ("-z"), row m+1 the phase-1 objective ("-w");
// columns 0..n-1 are the variables, then one slack column per inequality row, then one
// artificial column per constraint. Every constraint row starts with its artificial basic.
//
// Termination and soundness: the entering column is the most negative reduced cost, ties in the
// ratio test are broken by a coin flip (which breaks cycling on degenerate vertices), and each
// phase stops after m_iterationLimit pivots with status 6. Artificials never re-enter once out of
// the basis, and those phase 1 leaves basic at level zero are kept there in phase 2, so phase 2
// cannot undo the feasibility phase 1 found. No division by an entry at or below
// the tolerance ever happens. Rows with non-finite numbers are refused, and a solution is only
// reported when every value is finite and every stored row holds within the tolerance (scaled
// by the row's magnitude); otherwise Solve fails with status 1.

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

// Solve's status codes (GetStatus); the texts are LPStatusMessage's.
enum LPStatus : int {
    kLPStatusNone = 0,         // no failure
    kLPStatusUnknown = 1,      // "Unknown error": numerical breakdown, out of memory
    kLPNoConstraints = 2,      // "No constraints specified"
    kLPNoCost = 3,             // "No cost equation specified"
    kLPInfeasible = 4,         // "No feasible solutions"
    kLPUnbounded = 5,          // "Solution is unbounded"
    kLPIterationLimit = 6,     // "Iteration limit reached"
};

// Row types.
enum LPRowType : int {
    kLPCostRow = 0,
    kLPEqual = 1,          // "="
    kLPGreaterOrEqual = 2, // ">="
    kLPLessOrEqual = 3,    // "<="
};

// The message of a status code: empty for 0, "Unknown error" for codes outside the table.
const char* LPStatusMessage(int status);

// One row as the caller gave it (after a negative right-hand side was turned round).
class CLPRow {
public:
    int n = 0;
    std::unique_ptr<double[]> coefficients; // n values of X1..Xn, owned
    double rhs = 0.0;                        // never negative in a constraint row; 0 in the cost row
    int type = kLPCostRow;
};

// The rows in the order added; the cost row stands where it was added.
using CLPRowArray = std::vector<std::unique_ptr<CLPRow>>;

class CLinearProgram {
public:
    // An empty problem: no rows, variable count -1, tolerance 1e-6, iteration limit 10000.
    CLinearProgram();
    ~CLinearProgram();
    CLinearProgram(const CLinearProgram&) = delete;
    CLinearProgram& operator=(const CLinearProgram&) = delete;

    // Adds one constraint row. The first call of AddConstraint or SetCost fixes the variable
    // count to n (even when the call is then refused). Refused (1, the array stays the caller's)
    // when n is 0 or differs from the variable count, the array is null, the type is not 1..3,
    // or a coefficient or the right-hand side is not finite. A negative right-hand side is
    // turned round: rhs and every coefficient negated, ">=" and "<=" exchanged. Accepted (0):
    // the solver takes the array (coefficients becomes null).
    int AddConstraint(int n, std::unique_ptr<double[]>& coefficients, double rhs, int type);
    // The same with a copy of the values (n = their count).
    int AddConstraint(std::span<const double> coefficients, double rhs, int type);

    // Sets the cost row to minimise. Refused (1) as AddConstraint, and when a cost row exists.
    int SetCost(int n, std::unique_ptr<double[]>& coefficients);
    int SetCost(std::span<const double> coefficients);

    // Solves. x becomes one value per variable: the basic variables' values on success (0), all
    // zeros on a failure (1; GetStatus and GetStatusMessage tell which). With trace the problem,
    // every pivot, every tableau, the solution and any failure are written line by line.
    int Solve(std::vector<double>& x, bool trace);

    int GetStatus() const { return m_status; }
    const std::string& GetStatusMessage() const { return m_statusMessage; }
    int GetVariableCount() const { return m_variableCount; }
    int GetConstraintCount() const { return m_constraintCount; }
    // Pivots made in the last phase that ran.
    int GetIterationCount() const { return m_iterations; }
    const CLPRowArray& GetRows() const { return m_rows; }

    // An entry counts as positive or negative only beyond this; the caller may change it
    // before Solve (the optimizer sets 10^-optimizetol).
    double m_tolerance = 1e-6;
    // Pivots allowed per phase.
    int m_iterationLimit = 10000;
    // Seed of the tie-breaking coin; 0 seeds each phase from the clock.
    std::uint32_t m_randomSeed = 0;
    // Where trace lines go; empty: the Information window.
    std::function<void(const std::string&)> m_traceSink;

private:
    void Reset();
    // Common checks of AddConstraint and SetCost; fixes the variable count on the first call.
    bool AcceptsRow(int n, const double* coefficients);
    void TraceLine(const std::string& line) const;
    void TraceProblem() const;
    void TraceTableau(int phase) const;
    int Fail(int status, bool trace);

    bool BuildTableau();
    void FillPhaseOneRow();
    // One simplex phase on objective row m+1 (phase 1) or m (phase 2); 0 or a status code.
    int RunPhase(int phase, bool trace);
    int ChooseEnteringColumn(int objectiveRow) const;
    int ChooseLeavingRow(int column);
    // Phase 2: the row of a basic artificial that the column would raise, or -1.
    int ChooseArtificialRow(int column);
    int FirstArtificialColumn() const { return m_structuralColumns + m_slackColumns; }
    void Pivot(int row, int column, int lastUpdatedRow);
    void DropPhaseOneColumns(bool trace);
    // True when every value is finite and every stored row holds within the tolerance.
    bool SolutionHolds(const std::vector<double>& x) const;
    void FreeTableau();

    double& At(int row, int column)
    {
        return m_tableau[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_totalColumns) +
                         static_cast<std::size_t>(column)];
    }
    double At(int row, int column) const
    {
        return m_tableau[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_totalColumns) +
                         static_cast<std::size_t>(column)];
    }

    CLPRowArray m_rows;
    int m_constraintCount = 0;
    int m_variableCount = -1;
    int m_costRow = -1;
    int m_structuralColumns = 0;
    int m_slackColumns = 0;
    int m_artificialColumns = 0;
    int m_totalColumns = 0;
    std::vector<double> m_tableau; // (m + 2) x total columns, row by row
    std::vector<double> m_rhs;     // one per tableau row
    std::vector<int> m_basis;      // basic column of each tableau row, -1 for none
    std::vector<char> m_dropped;   // per column: left out of phase 2, pivots and traces
    int m_tableauRows = 0;
    int m_iterations = 0;
    int m_enteringColumn = -1;
    int m_leavingRow = -1;
    int m_status = kLPStatusNone;
    std::string m_statusMessage;
    std::minstd_rand m_random;
};
