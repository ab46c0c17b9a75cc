#include "session/StartupSequence.h"

#include <algorithm>

void StartupSequence::addStep(Repeat repeat, std::function<void()> step)
{
    m_steps.push_back({repeat, std::move(step)});
}

void StartupSequence::run()
{
    // By index: a step may report the link lost while it runs, which marks earlier steps due.
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        if (m_steps[i].done)
            continue;
        m_steps[i].run();
        m_steps[i].done = true;
    }
}

void StartupSequence::linkLost()
{
    for (Step &step : m_steps) {
        if (step.repeat == Repeat::EachAttach)
            step.done = false;
    }
}

bool StartupSequence::isComplete() const
{
    return std::all_of(m_steps.cbegin(), m_steps.cend(), [](const Step &step) { return step.done; });
}
