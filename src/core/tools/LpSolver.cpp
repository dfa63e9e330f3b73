#include "tools/LpSolver.h"

#include "support/NumberText.h"
#include "textfile/Information.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <new>

namespace {

bool AllFinite(const double* values, int n)
{
    for (int j = 0; j < n; ++j) {
        if (!std::isfinite(values[j]))
            return false;
    }
    return true;
}

// "%g": six significant digits, whatever the locale.
std::string GeneralNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

// "%10.4f(X%d) " and its six-decimal sibling of the cost line.
void AppendTerm(std::string& line, double value, int decimals, int column)
{
    line += FormatDoubleFixedWidth(value, 10, decimals);
    line += "(X";
    line += std::to_string(column + 1);
    line += ") ";
}

const char* RelationText(int type)
{
    switch (type) {
    case kLPEqual: return "= ";
    case kLPGreaterOrEqual: return ">= ";
    default: return "<= ";
    }
}

} // namespace

const char* LPStatusMessage(int status)
{
    switch (status) {
    case kLPStatusNone: return "";
    case kLPNoConstraints: return "No constraints specified";
    case kLPNoCost: return "No cost equation specified";
    case kLPInfeasible: return "No feasible solutions";
    case kLPUnbounded: return "Solution is unbounded";
    case kLPIterationLimit: return "Iteration limit reached";
    default: return "Unknown error";
    }
}

CLinearProgram::CLinearProgram()
{
    Reset();
}

CLinearProgram::~CLinearProgram() = default;

void CLinearProgram::Reset()
{
    m_rows.clear();
    FreeTableau();
    m_constraintCount = 0;
    m_structuralColumns = m_slackColumns = m_artificialColumns = m_totalColumns = 0;
    m_variableCount = -1;
    m_costRow = -1;
    m_tolerance = 1e-6;
    m_iterationLimit = 10000;
    m_iterations = 0;
    m_enteringColumn = m_leavingRow = -1;
    m_status = kLPStatusNone;
    m_statusMessage.clear();
}

void CLinearProgram::FreeTableau()
{
    m_tableau = {};
    m_rhs = {};
    m_basis = {};
    m_dropped = {};
    m_tableauRows = 0;
}

bool CLinearProgram::AcceptsRow(int n, const double* coefficients)
{
    if (m_variableCount == -1)
        m_variableCount = n;
    return n > 0 && n == m_variableCount && coefficients != nullptr && AllFinite(coefficients, n);
}

int CLinearProgram::AddConstraint(int n, std::unique_ptr<double[]>& coefficients, double rhs, int type)
{
    if (!AcceptsRow(n, coefficients.get()) || type < kLPEqual || type > kLPLessOrEqual || !std::isfinite(rhs))
        return 1;
    if (rhs < 0.0) {
        rhs = -rhs;
        for (int j = 0; j < n; ++j)
            coefficients[static_cast<std::size_t>(j)] = -coefficients[static_cast<std::size_t>(j)];
        if (type == kLPGreaterOrEqual)
            type = kLPLessOrEqual;
        else if (type == kLPLessOrEqual)
            type = kLPGreaterOrEqual;
    }
    auto row = std::make_unique<CLPRow>();
    row->n = n;
    row->coefficients = std::move(coefficients);
    row->rhs = rhs;
    row->type = type;
    m_rows.push_back(std::move(row));
    ++m_constraintCount;
    return 0;
}

int CLinearProgram::AddConstraint(std::span<const double> coefficients, double rhs, int type)
{
    const int n = static_cast<int>(coefficients.size());
    std::unique_ptr<double[]> copy;
    if (n > 0) {
        copy = std::make_unique<double[]>(coefficients.size());
        std::copy(coefficients.begin(), coefficients.end(), copy.get());
    }
    return AddConstraint(n, copy, rhs, type);
}

int CLinearProgram::SetCost(int n, std::unique_ptr<double[]>& coefficients)
{
    if (!AcceptsRow(n, coefficients.get()) || m_costRow >= 0)
        return 1;
    m_costRow = static_cast<int>(m_rows.size());
    auto row = std::make_unique<CLPRow>();
    row->n = n;
    row->coefficients = std::move(coefficients);
    row->rhs = 0.0;
    row->type = kLPCostRow;
    m_rows.push_back(std::move(row));
    return 0;
}

int CLinearProgram::SetCost(std::span<const double> coefficients)
{
    const int n = static_cast<int>(coefficients.size());
    std::unique_ptr<double[]> copy;
    if (n > 0) {
        copy = std::make_unique<double[]>(coefficients.size());
        std::copy(coefficients.begin(), coefficients.end(), copy.get());
    }
    return SetCost(n, copy);
}

// --- trace ----------------------------------------------------------------------------------------

void CLinearProgram::TraceLine(const std::string& line) const
{
    if (m_traceSink)
        m_traceSink(line);
    else
        ShowInformation(line);
}

void CLinearProgram::TraceProblem() const
{
    TraceLine("Constraints:");
    for (const auto& row : m_rows) {
        if (row->type == kLPCostRow)
            continue;
        std::string line;
        for (int j = 0; j < row->n; ++j)
            AppendTerm(line, row->coefficients[static_cast<std::size_t>(j)], 4, j);
        line += RelationText(row->type);
        line += FormatDoubleFixedWidth(row->rhs, 10, 4);
        TraceLine(line);
    }
    if (m_costRow < 0)
        return;
    TraceLine("Cost function:");
    const CLPRow& cost = *m_rows[static_cast<std::size_t>(m_costRow)];
    std::string line;
    for (int j = 0; j < cost.n; ++j)
        AppendTerm(line, cost.coefficients[static_cast<std::size_t>(j)], 6, j);
    TraceLine(line);
}

void CLinearProgram::TraceTableau(int phase) const
{
    TraceLine("Phase " + std::to_string(phase) + " # " + std::to_string(m_iterations));
    const int m = m_constraintCount;
    const int lastRow = phase == 1 ? m + 1 : m;
    for (int i = 0; i <= lastRow; ++i) {
        std::string label;
        if (i < m)
            label = "X" + std::to_string(m_basis[static_cast<std::size_t>(i)] + 1);
        else
            label = i == m ? "-z" : "-w";
        label.resize(std::max<std::size_t>(label.size(), 5), ' ');
        std::string line = label;
        for (int k = 0; k < m_totalColumns; ++k) {
            if (!m_dropped[static_cast<std::size_t>(k)])
                AppendTerm(line, At(i, k), 4, k);
        }
        line += " = ";
        line += FormatDoubleFixedWidth(m_rhs[static_cast<std::size_t>(i)], 10, 4);
        TraceLine(line);
    }
}

int CLinearProgram::Fail(int status, bool trace)
{
    m_status = status;
    m_statusMessage = LPStatusMessage(status);
    if (trace)
        TraceLine(std::string("Linear program solver: ") + m_statusMessage);
    return 1;
}

// --- solving --------------------------------------------------------------------------------------

int CLinearProgram::Solve(std::vector<double>& x, bool trace)
{
    m_status = kLPStatusNone;
    m_statusMessage.clear();
    const int n = std::max(m_variableCount, 0);
    x.assign(static_cast<std::size_t>(n), 0.0);
    if (trace)
        TraceProblem();
    if (m_constraintCount == 0)
        return Fail(kLPNoConstraints, trace);
    if (m_costRow < 0)
        return Fail(kLPNoCost, trace);
    if (!BuildTableau())
        return Fail(kLPStatusUnknown, trace);

    for (int phase = 1; phase <= 2; ++phase) {
        if (const int status = RunPhase(phase, trace); status != kLPStatusNone)
            return Fail(status, trace);
    }

    std::vector<double> solution(static_cast<std::size_t>(n), 0.0);
    for (int t = 0; t < m_constraintCount; ++t) {
        const int basic = m_basis[static_cast<std::size_t>(t)];
        if (basic >= 0 && basic < n)
            solution[static_cast<std::size_t>(basic)] = m_rhs[static_cast<std::size_t>(t)];
    }
    // Pivots on entries barely above the tolerance can leave a vertex that misses its rows.
    if (!SolutionHolds(solution))
        return Fail(kLPStatusUnknown, trace);
    x = std::move(solution);
    if (trace) {
        TraceLine("Solution:");
        for (int j = 0; j < n; ++j)
            TraceLine("X" + std::to_string(j + 1) + " = " + FormatDoubleFixedWidth(x[static_cast<std::size_t>(j)], 10, 4));
    }
    FreeTableau();
    return 0;
}

bool CLinearProgram::BuildTableau()
{
    FreeTableau();
    const int m = m_constraintCount;
    const int n = m_variableCount;
    m_structuralColumns = n;
    m_slackColumns = 0;
    for (const auto& row : m_rows) {
        if (row->type == kLPGreaterOrEqual || row->type == kLPLessOrEqual)
            ++m_slackColumns;
    }
    m_artificialColumns = m;
    m_totalColumns = n + m_slackColumns + m;
    m_tableauRows = m + 2;
    try {
        m_tableau.assign(static_cast<std::size_t>(m_tableauRows) * static_cast<std::size_t>(m_totalColumns), 0.0);
        m_rhs.assign(static_cast<std::size_t>(m_tableauRows), 0.0);
        m_basis.assign(static_cast<std::size_t>(m_tableauRows), -1);
        m_dropped.assign(static_cast<std::size_t>(m_totalColumns), 0);
    } catch (const std::bad_alloc&) {
        FreeTableau();
        return false;
    }

    int t = 0;
    int slack = n;
    for (const auto& row : m_rows) {
        if (row->type == kLPCostRow) {
            for (int j = 0; j < n; ++j)
                At(m, j) = row->coefficients[static_cast<std::size_t>(j)];
            continue;
        }
        for (int j = 0; j < n; ++j)
            At(t, j) = row->coefficients[static_cast<std::size_t>(j)];
        m_rhs[static_cast<std::size_t>(t)] = row->rhs;
        if (row->type == kLPGreaterOrEqual)
            At(t, slack++) = -1.0;
        else if (row->type == kLPLessOrEqual)
            At(t, slack++) = 1.0;
        const int artificial = n + m_slackColumns + t;
        At(t, artificial) = 1.0;
        m_basis[static_cast<std::size_t>(t)] = artificial;
        ++t;
    }
    FillPhaseOneRow();
    return true;
}

// The phase-1 objective: the sum of the artificials, written in the non-basic columns.
void CLinearProgram::FillPhaseOneRow()
{
    const int m = m_constraintCount;
    double rhsSum = 0.0;
    for (int i = 0; i < m; ++i)
        rhsSum += m_rhs[static_cast<std::size_t>(i)];
    m_rhs[static_cast<std::size_t>(m + 1)] = -rhsSum;
    for (int k = 0; k < FirstArtificialColumn(); ++k) {
        double sum = 0.0;
        for (int i = 0; i < m; ++i)
            sum += At(i, k);
        At(m + 1, k) = -sum;
    }
}

int CLinearProgram::RunPhase(int phase, bool trace)
{
    const int m = m_constraintCount;
    const int objectiveRow = phase == 1 ? m + 1 : m;
    m_iterations = 0;
    m_random.seed(m_randomSeed != 0 ? m_randomSeed : static_cast<std::uint32_t>(std::time(nullptr)));
    if (trace)
        TraceTableau(phase);
    if (m_iterations >= m_iterationLimit)
        return kLPIterationLimit;
    for (;;) {
        m_enteringColumn = ChooseEnteringColumn(objectiveRow);
        if (m_enteringColumn < 0)
            break;
        m_leavingRow = phase == 2 ? ChooseArtificialRow(m_enteringColumn) : -1;
        if (m_leavingRow < 0)
            m_leavingRow = ChooseLeavingRow(m_enteringColumn);
        if (m_leavingRow < 0)
            return kLPUnbounded;
        if (trace)
            TraceLine("Pivoting on variable X" + std::to_string(m_enteringColumn + 1) + " in constraint equation " +
                      std::to_string(m_leavingRow + 1));
        const int leaving = m_basis[static_cast<std::size_t>(m_leavingRow)];
        Pivot(m_leavingRow, m_enteringColumn, objectiveRow);
        // In phase 2 an artificial that left the basis may never come back (phase 1 drops the
        // others when it ends).
        if (phase == 2 && leaving >= FirstArtificialColumn())
            m_dropped[static_cast<std::size_t>(leaving)] = 1;
        ++m_iterations;
        if (trace)
            TraceTableau(phase);
        if (m_iterations >= m_iterationLimit)
            return kLPIterationLimit;
        if (!std::isfinite(m_rhs[static_cast<std::size_t>(objectiveRow)]))
            return kLPStatusUnknown;
    }
    if (phase == 1) {
        if (!(std::fabs(m_rhs[static_cast<std::size_t>(m + 1)]) <= m_tolerance))
            return kLPInfeasible;
        DropPhaseOneColumns(trace);
    }
    return kLPStatusNone;
}

int CLinearProgram::ChooseEnteringColumn(int objectiveRow) const
{
    int chosen = -1;
    double most = -m_tolerance;
    for (int k = 0; k < m_totalColumns; ++k) {
        if (m_dropped[static_cast<std::size_t>(k)])
            continue;
        const double entry = At(objectiveRow, k);
        if (entry < most) {
            most = entry;
            chosen = k;
        }
    }
    return chosen;
}

int CLinearProgram::ChooseLeavingRow(int column)
{
    int chosen = -1;
    double best = 0.0;
    for (int i = 0; i < m_constraintCount; ++i) {
        const double entry = At(i, column);
        if (!(entry > m_tolerance))
            continue;
        const double ratio = m_rhs[static_cast<std::size_t>(i)] / entry;
        if (chosen < 0 || ratio < best) {
            chosen = i;
            best = ratio;
        } else if (ratio == best && m_random() % 2 == 0) {
            chosen = i;
        }
    }
    return chosen;
}

// Phase 2 keeps artificials at level zero that phase 1 left basic (redundant or nearly
// dependent rows). Entering a column with a negative entry in such a row would raise the
// artificial, and so the row's violation, without any limit from the ratio test. Such a row
// blocks at once: it leaves with its value (at most the tolerance) taken as 0.
int CLinearProgram::ChooseArtificialRow(int column)
{
    int chosen = -1;
    double largest = m_tolerance;
    for (int i = 0; i < m_constraintCount; ++i) {
        const double entry = At(i, column);
        if (m_basis[static_cast<std::size_t>(i)] >= FirstArtificialColumn() && entry < -largest) {
            largest = -entry;
            chosen = i;
        }
    }
    if (chosen >= 0)
        m_rhs[static_cast<std::size_t>(chosen)] = 0.0;
    return chosen;
}

void CLinearProgram::Pivot(int row, int column, int lastUpdatedRow)
{
    const double pivot = At(row, column);
    for (int k = 0; k < m_totalColumns; ++k) {
        if (k != column && !m_dropped[static_cast<std::size_t>(k)])
            At(row, k) /= pivot;
    }
    m_rhs[static_cast<std::size_t>(row)] /= pivot;
    const double pivotRhs = m_rhs[static_cast<std::size_t>(row)];
    for (int i = 0; i <= lastUpdatedRow; ++i) {
        if (i == row)
            continue;
        const double factor = At(i, column);
        if (factor == 0.0)
            continue;
        for (int k = 0; k < m_totalColumns; ++k) {
            if (k != column && !m_dropped[static_cast<std::size_t>(k)])
                At(i, k) -= At(row, k) * factor;
        }
        m_rhs[static_cast<std::size_t>(i)] -= factor * pivotRhs;
    }
    for (int i = 0; i <= lastUpdatedRow; ++i)
        At(i, column) = i == row ? 1.0 : 0.0;
    m_basis[static_cast<std::size_t>(row)] = column;
}

void CLinearProgram::DropPhaseOneColumns(bool trace)
{
    const int phaseOneRow = m_constraintCount + 1;
    std::vector<char> basic(static_cast<std::size_t>(m_totalColumns), 0);
    for (int i = 0; i < m_constraintCount; ++i) {
        if (const int column = m_basis[static_cast<std::size_t>(i)]; column >= 0)
            basic[static_cast<std::size_t>(column)] = 1;
    }
    for (int k = 0; k < m_totalColumns; ++k) {
        const double entry = At(phaseOneRow, k);
        // A non-basic artificial is dropped whatever its entry: entering it in phase 2 would
        // make its row's violation part of the solution.
        const bool spentArtificial = k >= FirstArtificialColumn() && !basic[static_cast<std::size_t>(k)];
        if (m_dropped[static_cast<std::size_t>(k)] || !(entry > m_tolerance || spentArtificial))
            continue;
        m_dropped[static_cast<std::size_t>(k)] = 1;
        if (trace)
            TraceLine("Dropping X" + std::to_string(k + 1) + ", coefficient was " + GeneralNumber(entry));
    }
}

bool CLinearProgram::SolutionHolds(const std::vector<double>& x) const
{
    const double tolerance = std::max(m_tolerance, 1e-9);
    for (double value : x) {
        if (!std::isfinite(value) || value < -tolerance * (1.0 + std::fabs(value)))
            return false;
    }
    for (const auto& row : m_rows) {
        if (row->type == kLPCostRow)
            continue;
        double sum = 0.0;
        double magnitude = 1.0 + row->rhs;
        for (int j = 0; j < row->n; ++j) {
            const double term = row->coefficients[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
            sum += term;
            magnitude += std::fabs(term);
        }
        const double allowed = 10.0 * tolerance * magnitude;
        const double excess = sum - row->rhs;
        if (!std::isfinite(sum) || (row->type != kLPLessOrEqual && excess < -allowed) ||
            (row->type != kLPGreaterOrEqual && excess > allowed))
            return false;
    }
    return true;
}
