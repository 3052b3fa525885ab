#pragma once
// How steadily a difficulty climbs along the level numbers.
#include <vector>

// Spearman's rank correlation, ties given their mean rank; 0 when either list is constant.
double SpearmanRho(const std::vector<double>& x, const std::vector<double>& y);
