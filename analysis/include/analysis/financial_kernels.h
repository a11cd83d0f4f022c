// The arithmetic of the price-bar indicators over plain arrays. The function
// classes (analysis/func_financial.h) only read their sources into arrays, call
// one of these and add the results; the benchmark calls them directly.
//
// Each kernel writes its results into arrays of the source's length n and answers
// the first index that holds one (n when none does). P is the period as set, p the
// number of points it stands for (PeriodPoints).
#pragma once
#include <cstddef>

namespace FinancialKernels {

// round(P) as the moving-window framework counts a period's points.
int PeriodPoints(double P);

// The largest of H - L, |H - C[i-1]| and |L - C[i-1]|; TR[0] = H[0] - L[0].
void TrueRange(const double* H, const double* L, const double* C, int n, double* TR);

// Wilder's average true range: from index p - 1, the first value the mean of the
// first p true ranges, then (ATR·(P - 1) + TR) / P. Nothing when P < 1 or P > n.
int ATR(const double* H, const double* L, const double* C, int n, double P, double* Out);

// The directional lines (Up +DI, Down -DI, from index p) and the directional index
// (ADX, from round(2P - 2)). Nothing unless P >= 2 and n >= 2P. A zero smoothed true
// range gives lines of 0; a zero line sum gives a DX of 0. Answers ADX's first index
// and sets LinesFirst to the lines'.
int ADX(const double* H, const double* L, const double* C, int n, double P, double* Up, double* Down,
        double* Out, int& LinesFirst);

// R.S.I. of one window First..Last. CloseToClose: gains and losses are the rises and
// falls of consecutive closes; otherwise each close counts as a gain, or as a loss
// when its bar opened higher. No losses give 100.
double RSIWindow(const double* O, const double* C, int First, int Last, bool CloseToClose);
// The same for every window of w points, at the window's last index, in O(1) each.
int RSI(const double* O, const double* C, int n, int w, bool CloseToClose, double* Out);

// 100·(V[Last] - lowest Low) / (highest High - lowest Low) over First..Last; 0 when
// the window is flat.
double StochasticWindow(const double* H, const double* L, const double* V, int First, int Last);
// The same for each window of w points, at its last index, in O(1) amortised.
int Stochastic(const double* H, const double* L, const double* V, int n, int w, double* Out);

// Close location value of one bar: ((C - L) - (H - C)) / (H - L), 1 when H = L.
double CLVValue(double H, double L, double C);
// CLV of every bar, times Volume[i] while i < VolumeCount (Volume may be null),
// summed up from the first bar when Accumulate.
int CLV(const double* H, const double* L, const double* C, int n, const double* Volume, int VolumeCount,
        bool Accumulate, double* Out);

// Money flow at every bar over the bars max(0, i - p)..i: Σ CLV·V / Σ V, with V
// counted only below VolumeCount; 0 where the window's volume sums to zero.
int MoneyFlow(const double* H, const double* L, const double* C, int n, const double* Volume, int VolumeCount,
              int p, double* Out);

// Relative vigor: the p-point mean of (C - O) / (H - L) (0 when H = L) from index
// p - 1, and its 4-point mean (the signal) from p + 2. Nothing unless P >= 2 and
// P <= n. Answers the line's first index and sets SignalFirst.
int RVI(const double* O, const double* H, const double* L, const double* C, int n, double P, double* Out,
        double* Signal, int& SignalFirst);

}  // namespace FinancialKernels
