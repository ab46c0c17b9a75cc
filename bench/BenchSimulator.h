#pragma once

#include "SimulatorProcess.h"

// Starts the simulator this build made, on the private bus the benchmark runs under; false,
// with the reason on standard error, when there is no private bus or it does not come up.
bool startBenchSimulator(SimulatorProcess &simulator);
