#pragma once

// Whole outputs compared with expected files under tests/data/: a report, pane or printout as a
// potter reads it, where any changed line fails the test. The failure lists the differing lines
// (a line diff: "-" expected, "+" written now, with the expected file's line numbers). When the
// environment variable OXI_ACTUAL_OUTPUTS names a folder, a differing output is also written
// there under the expected file's name, to be compared whole and, once read over and checked,
// copied over the expected file: the program writing it is no proof of its figures.

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace expected_file {

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines of a shortest edit from expected to actual, at most limit of them.
inline std::string LineDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                            std::size_t limit = 60)
{
    const std::size_t n = expected.size(), m = actual.size();
    // Longest common subsequence table from the ends; outputs are a few thousand lines at most.
    std::vector<std::vector<unsigned>> common(n + 1, std::vector<unsigned>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                                    : std::max(common[i + 1][j], common[i][j + 1]);
    std::ostringstream diff;
    std::size_t shown = 0, i = 0, j = 0;
    while ((i < n || j < m) && shown < limit) {
        if (i < n && j < m && expected[i] == actual[j]) {
            ++i, ++j;
            continue;
        }
        if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            diff << "-" << i + 1 << ": " << expected[i] << "\n";
            ++i;
        } else {
            diff << "+" << i + 1 << ": " << actual[j] << "\n";
            ++j;
        }
        ++shown;
    }
    if (shown == limit)
        diff << "...\n";
    return diff.str();
}

} // namespace expected_file

// Compares text (lines ending in "\n") with the file at relativePath under tests/data.
inline void ExpectSameAsFile(const std::string& text, const std::string& relativePath)
{
    const std::filesystem::path path = std::filesystem::path(OXI_TEST_DATA_DIR) / relativePath;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream stored;
    stored << in.rdbuf();
    if (stored.str() == text)
        return;
    if (const char* folder = std::getenv("OXI_ACTUAL_OUTPUTS"); folder && *folder)
        std::ofstream(std::filesystem::path(folder) / path.filename(), std::ios::binary) << text;
    ADD_FAILURE() << relativePath << (in ? " differs" : " cannot be read") << ":\n"
                  << expected_file::LineDiff(expected_file::SplitLines(stored.str()),
                                             expected_file::SplitLines(text));
}
