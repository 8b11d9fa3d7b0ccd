#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <cstdint>

// Fills a new database with a made-up but realistic register: specialty tree,
// industries, cities, employers, experts with their specialty links, past
// projects with draw results, and upcoming projects with demand and avoidance
// rows ready to be drawn. The same data always comes out of the same shape.
class RegisterGenerator {
public:
    struct Shape {
        int experts = 300;
        int industries = 6;
        int specialtyRoots = 4;
        int specialties = 16; // second-level nodes, spread over the roots
        int employers = 40;
        int cities = 6;
        int disabledPercent = 10;
        int designatedPercent = 1;
        int pastProjects = 8;
        int resultsPerPastProject = 6;
        int upcomingProjects = 3;
        // Evaluation dates of the past projects lie in the year before it.
        QDate today = QDate(2026, 1, 5);
        std::uint32_t seed = 20260105;
    };

    // About 300 experts for a newcomer's first start.
    static Shape demo(const QDate& today);
    // The benchmark's register: 3 classes, 200 industries, 500 specialties,
    // 5 000 employers, 50 cities, 20 % disabled, 2 000 past projects.
    static Shape benchmark(int experts, const QDate& today);

    static bool fill(QSqlDatabase db, const Shape& shape, QString* error);
    // The demo register dated from the clock service's today, for trying the
    // program out.
    static bool fillDemo(QSqlDatabase db, QString* error);

    // The number of the n-th (from 0) upcoming project and of the n-th expert.
    static QString upcomingBillID(int n);
    static QString expertID(int n);
    // pr_id of the n-th second-level specialty node.
    static int specialtyID(int n);
    static QString industryName(int n);
    static QString employerName(int n);
};
