// A seeded random walk of price bars the financial benchmarks share: each bar opens at
// the last close, closes a normal step away, and reaches a normal distance beyond its
// open and close at both ends. V is the container (std::vector or Qt's QVector).
#pragma once
#include <algorithm>
#include <cmath>
#include <random>

template <class V>
struct TPriceWalk {
  V Open, High, Low, Close;
  TPriceWalk(int N, double Start) {
    std::mt19937 random(5);
    std::normal_distribution<double> step(0, 1);
    double price = Start;
    for (int i = 0; i < N; ++i) {
      const double open = price;
      price += step(random);
      Open.push_back(open);
      Close.push_back(price);
      High.push_back(std::max(open, price) + std::abs(step(random)));
      Low.push_back(std::min(open, price) - std::abs(step(random)));
    }
  }
};
