#pragma once
// One crossover study as read from a long table: its subjects, each in one
// sequence, and their responses by period and formulation. Only what the
// analysis needs is kept: the log of every response present, the count of
// missing ones, and the names of subjects whose sequence has periods they
// lack.

#include <string>
#include <vector>

namespace tarnwick::crossover {

struct Observation {
    std::size_t subject = 0;  // into CrossoverStudy::subjects
    int period = 0;           // as numbered in the table, from 1
    bool test = false;        // the test formulation (else the reference)
    double logResponse = 0;   // the natural log of the response, which is above 0
};

struct Subject {
    std::string name;
    std::size_t sequence = 0;  // into CrossoverStudy::sequences
    long line = 0;             // the subject's first row
};

struct CrossoverStudy {
    std::string name;  // the `study` cell; empty without that column
    long firstLine = 0;
    std::string testName, referenceName;    // the two treatments' names
    std::vector<std::string> sequences;     // their labels, in order of first appearance
    std::vector<Subject> subjects;          // in order of first appearance
    std::vector<Observation> observations;  // responses present, in the table's order
    long missing = 0;                       // responses given as missing
    // Subjects with fewer responses than their sequence has periods, by name.
    std::vector<std::string> incomplete;
    // Why the study cannot be analysed as it stands (empty when it can): the
    // reference's name is none of its treatments, or it has one treatment.
    std::string problem;
};

}  // namespace tarnwick::crossover
