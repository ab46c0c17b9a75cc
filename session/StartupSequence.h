#pragma once

#include <functional>
#include <vector>

// Start-up steps that survive a session server that is not there yet or goes away: a step that
// throws ends the run there, and the next run carries on from it. Steps that attach to the
// server run again after the link was lost; the others run once in the program's life.
class StartupSequence
{
public:
    enum class Repeat {
        Once,
        EachAttach,
    };

    void addStep(Repeat repeat, std::function<void()> step);

    // Runs, in order, every step that has not run since it was last due; rethrows what a step
    // throws, and that step is due again.
    void run();
    // The server went away: the attaching steps are due again.
    void linkLost();
    // Every step has run, and none is due again.
    bool isComplete() const;

private:
    struct Step
    {
        Repeat repeat;
        std::function<void()> run;
        bool done = false;
    };

    std::vector<Step> m_steps;
};
