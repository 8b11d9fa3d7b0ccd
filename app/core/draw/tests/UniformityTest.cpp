#include "DrawTest.h"

#include <map>

namespace {

const QString kBill = QStringLiteral("PRJ00000001");

// Critical value of the chi-square distribution with 2 degrees of freedom
// at p = 0.001: a fair draw over three candidates exceeds it once in a
// thousand seeds, a draw that can never yield the last candidate always does.
constexpr double kCritical = 13.816;

double chiSquare(const std::map<QString, int>& counts, const QStringList& buckets, int total) {
    const double expected = double(total) / buckets.size();
    double sum = 0;
    for (const QString& b : buckets) {
        const auto it = counts.find(b);
        const double observed = it == counts.end() ? 0 : it->second;
        sum += (observed - expected) * (observed - expected) / expected;
    }
    return sum;
}

// The faulty range 0 .. n-2 of the old generator, kept to show the check catches it.
class ShortRangeSource : public RandomSource {
public:
    explicit ShortRangeSource(RandomSource& inner) : inner_(inner) {}
    std::uint32_t below(std::uint32_t n) override { return n <= 1 ? 0 : inner_.below(n - 1); }

private:
    RandomSource& inner_;
};

} // namespace

class Uniformity : public DrawTest {
protected:
    static constexpr int kDraws = 120;
    const QStringList candidates{"0001", "0002", "0003"};

    double chiSquareOfDraws(RandomSource& random) {
        Services::setRandom(&random);
        s->project(kBill, QDateTime(QDate(2026, 5, 10), QTime(10, 0)));
        for (const QString& id : candidates)
            s->expert({.id = id, .cls = "经济类"});
        s->demand(kBill, "经济类", {}, "经济类", "", 1);
        std::map<QString, int> counts;
        for (int i = 0; i < kDraws; ++i) {
            EXPECT_TRUE(dm().RunDraw(kBill));
            const QStringList drawn = s->resultIDs(kBill);
            EXPECT_EQ(drawn.size(), 1);
            if (!drawn.isEmpty())
                ++counts[drawn.first()];
            EXPECT_TRUE(s->db().exec("delete from ProjectList"));
        }
        Services::setRandom(&services.random);
        return chiSquare(counts, candidates, kDraws);
    }
};

TEST_P(Uniformity, InitialDrawIsUniformOverTheWholePool) {
    SeededRandomSource seeded(12345);
    EXPECT_LT(chiSquareOfDraws(seeded), kCritical);
}

TEST_P(Uniformity, DrawThatNeverYieldsTheLastCandidateFailsTheSameCheck) {
    SeededRandomSource seeded(12345);
    ShortRangeSource shortRange(seeded);
    EXPECT_GT(chiSquareOfDraws(shortRange), kCritical);
}

PANELPICK_ON_EVERY_ENGINE(Uniformity);
