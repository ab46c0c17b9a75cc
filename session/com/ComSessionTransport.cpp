#include "session/com/ComSessionTransport.h"

#include "base/TarnWaveError.h"
#include "session/EventBursts.h"
#include "session/ServerMessages.h"
#include "session/TarnWave_TLB.h"
#include "session/com/BusyRetry.h"
#include "session/com/ComError.h"
#include "session/com/ComFailureText.h"
#include "session/com/ComWorker.h"
#include "session/com/DispatchObject.h"
#include "session/com/EventArguments.h"
#include "session/com/EventConnection.h"
#include "session/com/EventSink.h"
#include "session/com/ServerWatch.h"
#include "session/com/VariantConversion.h"


using VariantConversion::fromWide;
using VariantConversion::toWide;

// The objects live in the multithreaded apartment: every COM call on them goes through the
// worker, and the last reference to each is dropped there too. The window's thread never holds
// one beyond the map, so a job that finishes after its caller gave up still releases there.
struct ComSessionTransport::Attached
{
    std::shared_ptr<DispatchObject> object;
    std::shared_ptr<EventConnection> events;
    ComPtr<EventSink> sink;
};

namespace {

std::unique_ptr<ComWorker> makeWorker()
{
    try {
        return std::make_unique<ComWorker>();
    } catch (const ComError &error) {
        throw TarnWaveError(fromWide(L"COM could not be started: " + ComError::systemText(error.code())));
    }
}

// Where an attach job leaves what it found; shared, since it may finish after an overrun.
using FoundObject = std::shared_ptr<ComPtr<IDispatch>>;

} // namespace

ComSessionTransport::ComSessionTransport(QObject *parent)
    : SessionTransport(parent)
    , m_worker(makeWorker())
    , m_watch(std::make_unique<ServerWatch>(*m_worker, toWide(QString::fromLatin1(TarnWave_TLB::SessionProgId))))
    , m_bursts(new EventBursts(*this))
{
    m_worker->setCloseBound(CloseTimeoutMs);
    connect(m_watch.get(), &ServerWatch::appeared, this, &SessionTransport::serverAppeared);
}

ComSessionTransport::~ComSessionTransport()
{
    m_watch.reset();
    // Queued without waiting; the worker's own end waits for it only while the server
    // answers, so a hung server cannot hold the program's exit.
    dropAll();
    m_worker.reset();
}

bool ComSessionTransport::isWatching() const
{
    return m_watch->isWatching();
}

void ComSessionTransport::runBounded(const QString &what, int boundMs, std::function<void()> call)
{
    try {
        m_worker->run([call = std::move(call)](ComWorker::Clock::time_point deadline) { BusyRetry::run(call, deadline); },
                      boundMs);
    } catch (const ComWorker::StillWaiting &) {
        throw TarnWaveError(ServerMessages::notAnswering(what));
    } catch (const ComError &error) {
        if (ComError::isServerGone(error.code()))
            loseServer();
        throw TarnWaveError(comFailureText(error, what, boundMs));
    }
}

void ComSessionTransport::dropAll()
{
    std::vector<std::shared_ptr<DispatchObject>> objects;
    std::vector<std::shared_ptr<EventConnection>> connections;
    for (auto &entry : m_objects) {
        Attached &target = *entry.second;
        if (target.sink)
            target.sink->detach();
        objects.push_back(std::move(target.object));
        if (target.events)
            connections.push_back(std::move(target.events));
    }
    m_objects.clear();
    if (objects.empty() && connections.empty())
        return;
    m_worker->post([objects = std::move(objects), connections = std::move(connections)]() mutable {
        // A server that is gone answers these with errors; there is nothing to do about them.
        for (const auto &connection : connections)
            connection->unadvise();
        connections.clear();
        objects.clear();
    });
}

void ComSessionTransport::loseServer()
{
    const bool hadObjects = !m_objects.empty();
    dropAll();
    m_lost = true;
    m_watch->start();
    if (hadObjects)
        Q_EMIT serverLost();
}

void ComSessionTransport::attachOrStart(const QString &progId)
{
    if (m_objects.count(progId))
        return;
    const std::wstring id = toWide(progId);
    FoundObject found = std::make_shared<ComPtr<IDispatch>>();
    try {
        runBounded(progId, CallTimeoutMs, [id, found] { *found = DispatchObject::attachRunning(id); });
        if (!*found)
            runBounded(progId, ActivationTimeoutMs, [id, found] { *found = DispatchObject::start(id); });
    } catch (const TarnWaveError &) {
        // Whatever an overrunning job still finds is released where it was made.
        m_worker->post([found = std::move(found)] {});
        m_watch->start();
        throw;
    }
    auto object = std::make_unique<Attached>();
    object->object = std::make_shared<DispatchObject>(std::move(*found));
    m_objects.emplace(progId, std::move(object));
    m_watch->stop();
}

void ComSessionTransport::attachRunning(const QString &progId)
{
    attachRunningAs(progId, progId);
}

void ComSessionTransport::attachRunningAs(const QString &progId, const QString &what)
{
    if (m_objects.count(progId))
        return;
    const std::wstring id = toWide(progId);
    FoundObject found = std::make_shared<ComPtr<IDispatch>>();
    try {
        runBounded(what, CallTimeoutMs, [id, found] { *found = DispatchObject::attachRunning(id); });
    } catch (const TarnWaveError &) {
        m_worker->post([found = std::move(found)] {});
        m_watch->start();
        throw;
    }
    if (!*found) {
        m_watch->start();
        throw TarnWaveError(ServerMessages::notRunning(what));
    }
    auto object = std::make_unique<Attached>();
    object->object = std::make_shared<DispatchObject>(std::move(*found));
    m_objects.emplace(progId, std::move(object));
    m_watch->stop();
}

ComSessionTransport::Attached &ComSessionTransport::attached(const QString &progId, const QString &what)
{
    // As on the bus, a call to an object not reached yet reaches it (or starts it) first; once
    // the server was lost or not found, only a running one is reached.
    if (m_lost || m_watch->isWatching())
        attachRunningAs(progId, what);
    else
        attachOrStart(progId);
    return *m_objects.at(progId);
}

QVariant ComSessionTransport::readProperty(const QString &progId, const QString &name)
{
    const auto value = std::make_shared<ComVariant>();
    runBounded(name, CallTimeoutMs,
               [object = attached(progId, name).object, name = toWide(name), value] { *value = object->getProperty(name); });
    return VariantConversion::toQVariant(*value);
}

void ComSessionTransport::invoke(const QString &progId, const QString &method, const QVariantList &args)
{
    std::vector<ComVariant> wire;
    wire.reserve(static_cast<std::size_t>(args.size()));
    for (const QVariant &arg : args)
        wire.push_back(VariantConversion::fromQVariant(arg));
    runBounded(method, CallTimeoutMs, [object = attached(progId, method).object, method = toWide(method), wire] {
        object->callMethod(method, wire);
    });
}

void ComSessionTransport::subscribe(const QString &progId)
{
    Attached &target = attached(progId, progId);
    if (target.sink)
        return;
    // An earlier Advise that overran may have been made after all.
    if (target.events)
        m_worker->post([stale = std::move(target.events)] { stale->unadvise(); });
    target.sink = EventSink::create([this, progId](DISPID id, std::vector<ComVariant> args) {
        receive(progId, id, std::move(args));
    });
    target.events = std::make_shared<EventConnection>();
    const ComPtr<EventSink> sink = target.sink;
    try {
        runBounded(progId, CallTimeoutMs, [object = target.object, events = target.events, sink] {
            IDispatch *dispatch = object->object().get();
            const IID source = EventConnection::findSourceInterface(dispatch);
            sink->setSourceInterface(source);
            events->advise(dispatch, source, sink.get());
        });
    } catch (...) {
        // An Advise that overran may still be made; the events object stays so that close
        // drops it, but nothing it brings is passed on. A lost server took the entry with it.
        sink->detach();
        const auto found = m_objects.find(progId);
        if (found != m_objects.end())
            found->second->sink.reset();
        throw;
    }
}

void ComSessionTransport::unsubscribe(const QString &progId)
{
    const auto found = m_objects.find(progId);
    if (found == m_objects.end() || !found->second->events)
        return;
    Attached &target = *found->second;
    if (target.sink) {
        target.sink->detach();
        target.sink.reset();
    }
    try {
        runBounded(progId, CallTimeoutMs, [events = std::move(target.events)] { events->unadvise(); });
    } catch (const TarnWaveError &) {
        // A server that has gone or hangs keeps no connection worth dropping; closing goes on.
    }
}

void ComSessionTransport::receive(const QString &progId, long dispId, std::vector<ComVariant> args)
{
    const TarnWave_TLB::EventEntry *entry = TarnWave_TLB::findEvent(static_cast<int>(dispId));
    if (!entry || !EventArguments::coerce(args, entry->signature))
        return;
    QVariantList values;
    for (const ComVariant &arg : args)
        values.append(VariantConversion::toQVariant(arg));
    // Called on one of COM's threads: the bursts live on the window's.
    QMetaObject::invokeMethod(
        m_bursts, [bursts = m_bursts, progId, name = QString::fromLatin1(entry->name), values] {
            bursts->push(progId, name, values);
        }, Qt::QueuedConnection);
}
