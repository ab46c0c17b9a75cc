#include "ComSessionSimulator.h"
#include "ConsoleInputReader.h"
#include "PipeCommandServer.h"
#include "ServerRegistration.h"
#include "SimLineBuffer.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// COM on this thread, a single-threaded apartment, for as long as main() runs.
class ComApartment
{
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

enum class Mode { Serve, Embedded, Register, Unregister, Help, Bad };

// Switches as COM and installers write them: "/RegServer" or "-regserver", any case.
bool isSwitch(const QString &argument, const char *name)
{
    return (argument.startsWith(u'/') || argument.startsWith(u'-'))
        && argument.mid(1).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

Mode modeOf(const QStringList &arguments, QString *script)
{
    if (arguments.size() > 2)
        return Mode::Bad;
    if (arguments.size() < 2)
        return Mode::Serve;
    const QString &argument = arguments[1];
    if (isSwitch(argument, "RegServer"))
        return Mode::Register;
    if (isSwitch(argument, "UnregServer"))
        return Mode::Unregister;
    if (isSwitch(argument, "Embedding"))
        return Mode::Embedded;
    if (argument == u"-h" || argument == u"--help" || argument == u"/?")
        return Mode::Help;
    // A leading slash may be a Unix path given through Wine; only a dash marks an option.
    if (argument.startsWith(u'-'))
        return Mode::Bad;
    *script = argument;
    return Mode::Serve;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "tarnwave-session-sim: %s\n", message.toUtf8().constData());
    return 1;
}

BOOL WINAPI onConsoleSignal(DWORD)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarnwave-session-sim"));
    // The same bytes as on Linux: one LF per line, UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    QString scriptName;
    const Mode mode = modeOf(QCoreApplication::arguments(), &scriptName);
    if (mode == Mode::Help || mode == Mode::Bad) {
        std::fputs("usage: tarnwave-session-sim [SCRIPT | /RegServer | /UnregServer]\n"
                   "Serves TarnWave.TarnwaveSession and TarnWave.SetupConfig over COM and runs commands\n"
                   "from SCRIPT, or from standard input when no SCRIPT is given, and always from the\n"
                   "named pipe in TARNWAVE_SIM_PIPE (default \\\\.\\pipe\\TarnWave.SessionSim).\n",
                   stderr);
        return mode == Mode::Bad ? 2 : 0;
    }

    // Read the script before offering anything, so a typo in its name costs nothing.
    QStringList scriptLines;
    if (QString error; !scriptName.isEmpty() && !SimLineBuffer::readScript(scriptName, &scriptLines, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(scriptName, error));

    const ComApartment apartment;
    if (FAILED(apartment.result()))
        return fail(QStringLiteral("cannot start COM: ") + ComSessionSimulator::errorText(apartment.result()));
    ComPtr<ITypeLib> library;
    if (const HRESULT hr = ServerRegistration::loadTypeLibrary(&library); FAILED(hr))
        return fail(QStringLiteral("cannot load the type library: ") + ComSessionSimulator::errorText(hr));

    if (mode == Mode::Register || mode == Mode::Unregister) {
        const std::wstring executable = ServerRegistration::executablePath();
        const HRESULT hr = mode == Mode::Register ? ServerRegistration::registerServer(*library.get(), executable)
                                                  : ServerRegistration::unregisterServer(*library.get());
        if (FAILED(hr))
            return fail((mode == Mode::Register ? QStringLiteral("registration failed: ")
                                                : QStringLiteral("unregistration failed: "))
                        + ComSessionSimulator::errorText(hr));
        std::printf("%s %s\n", mode == Mode::Register ? "registered" : "unregistered",
                    QString::fromStdWString(executable).toUtf8().constData());
        return 0;
    }

    ComSessionSimulator simulator(library);
    PipeCommandServer pipe;
    QObject::connect(&simulator, &ComSessionSimulator::printed, &pipe, &PipeCommandServer::send);
    QObject::connect(&pipe, &PipeCommandServer::lineReceived, &simulator, &ComSessionSimulator::addLine);
    QObject::connect(&simulator, &ComSessionSimulator::quitRequested, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);

    QString message;
    const QString pipeName = qEnvironmentVariable("TARNWAVE_SIM_PIPE", PipeCommandServer::DefaultName);
    // Without the pipe the simulator still serves COM, so this is only a warning.
    if (!pipe.listen(pipeName, &message))
        std::fprintf(stderr, "tarnwave-session-sim: %s\n", message.toUtf8().constData());
    if (!simulator.start(&message))
        return fail(message);

    ConsoleInputReader input;
    if (!scriptName.isEmpty()) {
        for (const QString &line : std::as_const(scriptLines))
            simulator.addLine(line);
    } else if (mode != Mode::Embedded) {
        // A server that COM started shares its client's console; its input is not ours.
        QObject::connect(&input, &ConsoleInputReader::lineRead, &simulator, &ComSessionSimulator::addLine);
        input.start();
    }
    SetConsoleCtrlHandler(onConsoleSignal, TRUE);

    const int status = app.exec();
    simulator.stop();
    pipe.flush();
    return status;
}
