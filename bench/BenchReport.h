#pragma once

#include <QString>

#include <functional>
#include <vector>

// One line of the summary table that scripts/run-benchmarks prints: a figure, what it is
// compared with, and whether its target is met, on the Qt platform the figure was measured on
// (by default this process's). Printed as a tab-separated RESULT line.
void reportResult(const QString &benchmark, const QString &figure, const QString &value,
                  const QString &target, bool met);
void reportResultOn(const QString &platform, const QString &benchmark, const QString &figure,
                    const QString &value, const QString &target, bool met);

// A figure that is only shown, with no target of its own.
void reportFigure(const QString &benchmark, const QString &figure, const QString &value);
void reportFigureOn(const QString &platform, const QString &benchmark, const QString &figure,
                    const QString &value);

// Runs step(0) ... step(count - 1) through the event loop, one queued event each, and returns
// the wall time per step in microseconds, including the events the steps leave behind.
double microsecondsPerStep(int count, const std::function<void(int)> &step);

// The fastest and the median of a set of samples.
double fastest(std::vector<double> samples);
double median(std::vector<double> samples);

// Peak and current resident memory of this process in KiB, from /proc/self/status.
qint64 peakResidentKiB();
qint64 residentKiB();
