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

inline std::ifstream openData(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    return in;
}

inline std::vector<DataRow> readDataTable(const std::string& path, char separator = '|') {
    std::ifstream in = openData(path);
    std::vector<DataRow> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        DataRow row;
        std::istringstream fields(line);
        for (std::string field; separator == ' ' ? fields >> field : std::getline(fields, field, separator);)
            row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

// Every line of a text file as it stands.
inline std::vector<std::string> readDataLines(const std::string& path) {
    std::ifstream in = openData(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace pestrolik::testing
