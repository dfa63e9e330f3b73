#include "GeneratedGlazes.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool StartsWithKey(const std::string& line, const char* key)
{
    const std::size_t length = std::char_traits<char>::length(key);
    return line.compare(0, length, key) == 0 && line.size() > length &&
           (line[length] == ' ' || line[length] == '=');
}

} // namespace

bool WriteMonkeyGlazes(const std::string& source, const std::string& target, int count)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    std::string header;
    std::vector<std::vector<std::string>> glazes;
    for (std::string line; std::getline(in, line);) {
        if (StartsWithKey(line, "name"))
            glazes.emplace_back();
        if (glazes.empty())
            header += line + "\n";
        else
            glazes.back().push_back(line);
    }
    if (glazes.empty())
        return false;
    std::ostringstream out;
    out << header;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::string>& glaze = glazes[static_cast<std::size_t>(i) % glazes.size()];
        for (const std::string& line : glaze) {
            if (StartsWithKey(line, "name"))
                out << line << " " << i + 1 << "\n";
            else if (StartsWithKey(line, "amount"))
                out << "amount    = " << 1 + (i * 7 + static_cast<int>(line.size()) * 13) % 40 << "\n";
            else
                out << line << "\n";
        }
    }
    std::ofstream file(target, std::ios::binary);
    file << out.str();
    return static_cast<bool>(file);
}
