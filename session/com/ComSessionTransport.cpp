#include "session/com/ComSessionTransport.h"

#include "base/TarnWaveError.h"
#include "session/EventBursts.h"
#include "session/TarnWave_TLB.h"
#include "session/com/ComError.h"
#include "session/com/DispatchObject.h"
#include "session/com/EventArguments.h"
#include "session/com/EventConnection.h"
#include "session/com/EventSink.h"
#include "session/com/MtaWorker.h"
#include "session/com/VariantConversion.h"


using VariantConversion::fromWide;
using VariantConversion::toWide;

// The objects live in the multithreaded apartment: every COM call on them goes through the
// worker, and the last reference to each is dropped there too.
struct ComSessionTransport::Attached
{
    std::shared_ptr<DispatchObject> object;
    std::shared_ptr<EventConnection> events;
    ComPtr<EventSink> sink;
};

namespace {

std::unique_ptr<MtaWorker> makeWorker()
{
    try {
        return std::make_unique<MtaWorker>();
    } catch (const ComError &error) {
        throw TarnWaveError(fromWide(L"COM could not be started: " + ComError::systemText(error.code())));
    }
}

} // namespace

ComSessionTransport::ComSessionTransport(QObject *parent)
    : SessionTransport(parent)
    , m_worker(makeWorker())
    , m_bursts(new EventBursts(*this))
{
}

ComSessionTransport::~ComSessionTransport()
{
    // One job for all of them, so a server that hangs holds the program's exit up only once.
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
    try {
        m_worker->run([objects = std::move(objects), connections = std::move(connections)]() mutable {
            for (const auto &connection : connections)
                connection->unadvise();
            connections.clear();
            objects.clear();
        }, CallTimeoutMs);
    } catch (...) {
        // The program is closing; a server that does not answer cannot keep it open.
    }
}

void ComSessionTransport::runBounded(const QString &what, int boundMs, std::function<void()> job) const
{
    try {
        m_worker->run(std::move(job), boundMs);
    } catch (const ComError &error) {
        throw TarnWaveError(fromWide(error.message(toWide(what), boundMs)));
    }
}

void ComSessionTransport::attachOrStart(const QString &progId)
{
    if (m_objects.count(progId))
        return;
    const std::wstring id = toWide(progId);
    // Shared with the job, which may finish after an overrun and must not write into a frame
    // that is gone.
    const auto found = std::make_shared<ComPtr<IDispatch>>();
    runBounded(progId, CallTimeoutMs, [id, found] { *found = DispatchObject::attachRunning(id); });
    if (!*found)
        runBounded(progId, ActivationTimeoutMs, [id, found] { *found = DispatchObject::start(id); });
    auto object = std::make_unique<Attached>();
    object->object = std::make_shared<DispatchObject>(std::move(*found));
    m_objects.emplace(progId, std::move(object));
}

ComSessionTransport::Attached &ComSessionTransport::attached(const QString &progId)
{
    // As on the bus, a call to an object not reached yet reaches it (or starts it) first.
    attachOrStart(progId);
    return *m_objects.at(progId);
}

QVariant ComSessionTransport::readProperty(const QString &progId, const QString &name)
{
    const std::shared_ptr<DispatchObject> object = attached(progId).object;
    const auto value = std::make_shared<ComVariant>();
    runBounded(name, CallTimeoutMs, [object, name = toWide(name), value] { *value = object->getProperty(name); });
    return VariantConversion::toQVariant(*value);
}

void ComSessionTransport::invoke(const QString &progId, const QString &method, const QVariantList &args)
{
    const std::shared_ptr<DispatchObject> object = attached(progId).object;
    std::vector<ComVariant> wire;
    wire.reserve(static_cast<std::size_t>(args.size()));
    for (const QVariant &arg : args)
        wire.push_back(VariantConversion::fromQVariant(arg));
    runBounded(method, CallTimeoutMs, [object, method = toWide(method), wire] { object->callMethod(method, wire); });
}

void ComSessionTransport::subscribe(const QString &progId)
{
    Attached &target = attached(progId);
    if (target.sink)
        return;
    target.sink = EventSink::create([this, progId](DISPID id, std::vector<ComVariant> args) {
        receive(progId, id, std::move(args));
    });
    target.events = std::make_shared<EventConnection>();
    try {
        runBounded(progId, CallTimeoutMs, [object = target.object, events = target.events, sink = target.sink] {
            IDispatch *dispatch = object->object().get();
            const IID source = EventConnection::findSourceInterface(dispatch);
            sink->setSourceInterface(source);
            events->advise(dispatch, source, sink.get());
        });
    } catch (...) {
        // An Advise that overran may still be made; the events object stays so that close
        // drops it, but nothing it brings is passed on.
        target.sink->detach();
        target.sink.reset();
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
