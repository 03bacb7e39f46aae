#pragma once
// Tables for the crossover tests: read from text or from the data folder,
// cut to their first periods, and turned into the oracle's rows.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "crossover_table.h"
#include "dummy_variable_oracle.h"

namespace tarnwick::crossover::testing {

inline std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(CROSSOVER_DATA) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline CrossoverTable tableOf(const std::string& text, const CrossoverReadOptions& options = {}) {
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};
    return readCrossoverTable(file, "table.csv", options);
}

inline CrossoverStudy studyOf(const std::string& text, const std::string& reference = "R",
                              const std::string& response = "PK") {
    CrossoverReadOptions options;
    options.reference = reference;
    options.response = response;
    return tableOf(text, options).studies.at(0);
}

// A table of subject,period,sequence,treatment,PK cut to its first `periods`
// periods, each sequence's label cut alike ("RTRT" to "RT").
inline std::string firstPeriods(const std::string& text, int periods) {
    std::istringstream lines(text);
    std::string line, out;
    std::getline(lines, line);
    out = line + "\n";
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            f.push_back(cell);
        if (std::stoi(f[1]) > periods) continue;
        out += f[0] + "," + f[1] + "," + f[2].substr(0, periods) + "," + f[3] + "," + f[4] + "\n";
    }
    return out;
}

// The study's responses as the oracle's rows: those of subjects with both
// formulations, or the reference's alone.
inline std::vector<OracleRow> oracleRows(const CrossoverStudy& study, bool referenceOnly = false) {
    std::vector<int> took(study.subjects.size(), 0);
    for (const Observation& o : study.observations)
        took[o.subject] |= o.test ? 1 : 2;
    std::vector<OracleRow> rows;
    for (const Observation& o : study.observations) {
        if (referenceOnly ? o.test : took[o.subject] != 3) continue;
        rows.push_back({study.subjects[o.subject].name, o.period, o.test, o.logResponse});
    }
    return rows;
}

}  // namespace tarnwick::crossover::testing
