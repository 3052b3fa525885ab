#include "tools/levels/Spearman.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

std::vector<double> Ranks(const std::vector<double>& v)
{
    std::vector<size_t> order(v.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
    std::vector<double> rank(v.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]])
            ++j;
        const double mean = (static_cast<double>(i) + static_cast<double>(j)) / 2 + 1;
        for (size_t k = i; k <= j; ++k)
            rank[order[k]] = mean;
        i = j + 1;
    }
    return rank;
}

} // namespace

double SpearmanRho(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.size() != y.size() || x.size() < 2)
        return 0;
    const std::vector<double> rx = Ranks(x), ry = Ranks(y);
    const double n = static_cast<double>(x.size());
    const double mean = (n + 1) / 2;
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < rx.size(); ++i) {
        sxy += (rx[i] - mean) * (ry[i] - mean);
        sxx += (rx[i] - mean) * (rx[i] - mean);
        syy += (ry[i] - mean) * (ry[i] - mean);
    }
    if (sxx == 0 || syy == 0)
        return 0;
    return sxy / std::sqrt(sxx * syy);
}
