#pragma once

#include <QString>

#include <functional>

// The one place where errors become something the operator sees: a message box with an error
// icon and OK, titled with the application title. Tests replace the box with a sink.
class GeneralErrorHandler
{
public:
    using Sink = std::function<void(const QString &text)>;

    static void show(const QString &message);
    // Runs a handler; any exception it throws is shown. Returns whether it ran through.
    static bool guard(const std::function<void()> &handler);

    // An empty sink brings the message box back.
    static void setSink(Sink sink);
};
