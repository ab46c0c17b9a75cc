#include "BenchSimulator.h"

#include <cstdio>

bool startBenchSimulator(SimulatorProcess &simulator)
{
    if (qEnvironmentVariableIsEmpty("TARNWAVE_SIM"))
        qputenv("TARNWAVE_SIM", TARNWAVE_BENCH_SIM);
#ifndef Q_OS_WIN
    // On the desktop's own bus the simulator would stand in for a real session server. Windows
    // has no bus: there the benchmark runs in a Wine prefix of its own.
    if (!qEnvironmentVariableIsSet("TARNWAVE_BENCH_PRIVATE_BUS")) {
        std::fprintf(stderr, "run under scripts/run-benchmarks, or: TARNWAVE_BENCH_PRIVATE_BUS=1 "
                             "dbus-run-session --config-file=<build>/dbus/session.conf -- <benchmark>\n");
        return false;
    }
#endif
    if (!simulator.start()) {
        std::fprintf(stderr, "the session simulator did not start\n");
        return false;
    }
    return true;
}
