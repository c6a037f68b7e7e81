#pragma once
// Long expectations kept as data files: one row a line, fields split at '|' (or at
// blanks when the separator is ' '), lines starting with '#' and blank lines skipped.

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pestrolik::testing {

using DataRow = std::vector<std::string>;

// Every line of a text file as it stands.
inline std::vector<std::string> readDataLines(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::vector<DataRow> readDataTable(const std::string& path, char separator = '|') {
    std::vector<DataRow> rows;
    for (const std::string& line : readDataLines(path)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        DataRow& row = rows.emplace_back();
        for (std::string field; separator == ' ' ? fields >> field : std::getline(fields, field, separator);)
            row.push_back(field);
    }
    return rows;
}

}  // namespace pestrolik::testing
