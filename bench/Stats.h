// Order statistics of a sample.
#pragma once

#include <vector>

double Median(std::vector<double> values);
// The nearest-rank percentile (0-100); 0 for an empty sample.
double Percentile(std::vector<double> values, double percent);
double Maximum(const std::vector<double>& values);
