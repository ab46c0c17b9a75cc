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

    // A slot for any signal that runs handler, with the signal's arguments, through guard():
    // how every reaction of the program to the operator or the session server is connected.
    template<typename Handler>
    static auto guarded(Handler handler)
    {
        return [handler](auto &&...arguments) { guard([&] { handler(arguments...); }); };
    }
    // Takes exactly the member's arguments, so a signal may carry more than it uses.
    template<typename Object, typename... Arguments>
    static auto guarded(Object *object, void (Object::*member)(Arguments...))
    {
        return [object, member](Arguments... arguments) { guard([&] { (object->*member)(arguments...); }); };
    }

    // An empty sink brings the message box back.
    static void setSink(Sink sink);
};
