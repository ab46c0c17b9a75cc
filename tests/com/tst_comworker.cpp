// The COM worker and the busy retry on their own, with jobs standing in for a server.
#include "session/com/BusyRetry.h"
#include "session/com/ComError.h"
#include "session/com/ComWorker.h"

#include <QElapsedTimer>
#include <QTest>

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// A server call that blocks until the test lets it go.
class Gate
{
public:
    Gate() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Gate() { CloseHandle(m_event); }
    Gate(const Gate &) = delete;
    Gate &operator=(const Gate &) = delete;

    void wait() const { WaitForSingleObject(m_event, 20000); }
    void open() const { SetEvent(m_event); }

private:
    HANDLE m_event;
};

// Notes the thread it dies on.
struct Tracer
{
    explicit Tracer(std::shared_ptr<std::atomic<DWORD>> diedOn) : diedOn(std::move(diedOn)) {}
    ~Tracer() { *diedOn = GetCurrentThreadId(); }
    std::shared_ptr<std::atomic<DWORD>> diedOn;
};

const auto NoDeadline = [](ComWorker::Clock::time_point) {};

HRESULT errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ComError &error) {
        return error.code();
    } catch (const ComWorker::StillWaiting &) {
        return E_PENDING;
    }
    return S_OK;
}

DWORD workerThreadOf(ComWorker &worker)
{
    DWORD thread = 0;
    worker.run([&thread](ComWorker::Clock::time_point) { thread = GetCurrentThreadId(); }, 3000);
    return thread;
}

} // namespace

class TestComWorker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callsRunInOrderOnOneThread()
    {
        ComWorker worker;
        std::vector<int> order;
        std::vector<DWORD> threads;
        for (int i = 0; i < 20; ++i) {
            auto note = [i, &order, &threads] {
                order.push_back(i);
                threads.push_back(GetCurrentThreadId());
            };
            if (i % 2)
                worker.run([note](ComWorker::Clock::time_point) { note(); }, 3000);
            else
                worker.post(note);
        }
        worker.run(NoDeadline, 3000);
        QCOMPARE(order.size(), size_t(20));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(order[size_t(i)], i);
        for (const DWORD thread : threads) {
            QCOMPARE(thread, threads.front());
            QVERIFY(thread != GetCurrentThreadId());
        }
    }

    void overrunIsBoundedThenRefusedThenServedAgain()
    {
        ComWorker worker;
        const auto gate = std::make_shared<Gate>();
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(errorOf([&] { worker.run([gate](ComWorker::Clock::time_point) { gate->wait(); }, 300); }),
                 RPC_E_TIMEOUT);
        QVERIFY2(timer.elapsed() >= 280 && timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(worker.isStuck());

        // Refused at once, and never run later either.
        std::atomic<bool> refusedRan = false;
        timer.restart();
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(errorOf([&] { worker.run([&refusedRan](ComWorker::Clock::time_point) { refusedRan = true; }, 3000); }),
                     E_PENDING);
        }
        QVERIFY2(timer.elapsed() < 200, qPrintable(QString::number(timer.elapsed())));

        gate->open();
        QTRY_VERIFY(!worker.isStuck());
        QCOMPARE(errorOf([&] { worker.run(NoDeadline, 3000); }), S_OK);
        QVERIFY(!refusedRan);
    }

    void aCallThatWaitedPastItsBoundNeverRuns()
    {
        ComWorker worker;
        const auto gate = std::make_shared<Gate>();
        worker.post([gate] { gate->wait(); });
        std::atomic<bool> lateRan = false;
        QCOMPARE(errorOf([&] { worker.run([&lateRan](ComWorker::Clock::time_point) { lateRan = true; }, 200); }),
                 RPC_E_TIMEOUT);
        // What held it up counts as overrunning too.
        QVERIFY(worker.isStuck());
        gate->open();
        QTRY_VERIFY(worker.isIdle());
        QCOMPARE(errorOf([&] { worker.run(NoDeadline, 3000); }), S_OK);
        QVERIFY(!lateRan);
    }

    void errorsComeBackToTheCaller()
    {
        ComWorker worker;
        QCOMPARE(errorOf([&] { worker.run([](ComWorker::Clock::time_point) { throw ComError(DISP_E_TYPEMISMATCH); }, 3000); }),
                 DISP_E_TYPEMISMATCH);
        worker.post([] { throw ComError(E_FAIL); });
        QCOMPARE(errorOf([&] { worker.run(NoDeadline, 3000); }), S_OK);
    }

    void jobsAreReleasedOnTheWorker_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("run") << false;
        QTest::newRow("refused while stuck") << true;
    }
    void jobsAreReleasedOnTheWorker()
    {
        QFETCH(bool, refused);
        ComWorker worker;
        const DWORD workerThread = workerThreadOf(worker);
        const auto gate = std::make_shared<Gate>();
        if (refused)
            QCOMPARE(errorOf([&] { worker.run([gate](ComWorker::Clock::time_point) { gate->wait(); }, 100); }), RPC_E_TIMEOUT);
        const auto diedOn = std::make_shared<std::atomic<DWORD>>(0);
        // The job holds the only reference.
        const HRESULT result = errorOf([&] {
            worker.run([tracer = std::make_shared<Tracer>(diedOn)](ComWorker::Clock::time_point) {}, 3000);
        });
        QCOMPARE(result, refused ? E_PENDING : S_OK);
        gate->open();
        QTRY_VERIFY(worker.isIdle());
        QCOMPARE(diedOn->load(), workerThread);
    }

    void destroyingWaitsOnlyForAnIdleWorker_data()
    {
        QTest::addColumn<bool>("stuck");
        QTest::addColumn<int>("atMostMs");
        QTest::newRow("idle: the queue is finished first") << false << 1000;
        QTest::newRow("stuck: left behind at once") << true << 150;
    }
    void destroyingWaitsOnlyForAnIdleWorker()
    {
        QFETCH(bool, stuck);
        QFETCH(int, atMostMs);
        const auto gate = std::make_shared<Gate>();
        const auto released = std::make_shared<std::atomic<bool>>(false);
        QElapsedTimer timer;
        {
            ComWorker worker;
            if (stuck)
                QCOMPARE(errorOf([&] { worker.run([gate](ComWorker::Clock::time_point) { gate->wait(); }, 100); }), RPC_E_TIMEOUT);
            worker.post([released] {
                Sleep(50);
                *released = true;
            });
            timer.start();
        }
        QVERIFY2(timer.elapsed() < atMostMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(released->load(), !stuck);
        // The thread left behind goes on once its server answers.
        gate->open();
        QTRY_VERIFY(released->load());
    }

    void busyIsAskedAgainWithinTheBound_data()
    {
        QTest::addColumn<int>("busyAnswers"); // -1: busy for ever
        QTest::addColumn<int>("code");        // an HRESULT
        QTest::addColumn<bool>("asException"); // in EXCEPINFO.scode under DISP_E_EXCEPTION
        QTest::addColumn<int>("boundMs");
        QTest::addColumn<int>("expected");    // the HRESULT thrown at last, or S_OK
        QTest::addColumn<int>("atMostCalls");
        QTest::newRow("retry later, then taken") << 3 << int(RPC_E_SERVERCALL_RETRYLATER) << false << 3000 << int(S_OK) << 4;
        QTest::newRow("rejected, then taken") << 2 << int(RPC_E_CALL_REJECTED) << false << 3000 << int(S_OK) << 3;
        QTest::newRow("busy in EXCEPINFO") << 2 << int(RPC_E_SERVERCALL_RETRYLATER) << true << 3000 << int(S_OK) << 3;
        // Pauses grow to 400 ms: about ten calls in three seconds, not a busy loop.
        QTest::newRow("busy for ever") << -1 << int(RPC_E_SERVERCALL_RETRYLATER) << false << 3000
                                       << int(RPC_E_SERVERCALL_RETRYLATER) << 14;
        QTest::newRow("a type mismatch ran: not again") << 5 << int(DISP_E_TYPEMISMATCH) << false << 3000
                                                        << int(DISP_E_TYPEMISMATCH) << 1;
        QTest::newRow("a server gone: not again") << 5 << int(RPC_E_DISCONNECTED) << false << 3000
                                                  << int(RPC_E_DISCONNECTED) << 1;
    }
    void busyIsAskedAgainWithinTheBound()
    {
        QFETCH(int, busyAnswers);
        QFETCH(int, code);
        QFETCH(bool, asException);
        QFETCH(int, boundMs);
        QFETCH(int, expected);
        QFETCH(int, atMostCalls);
        int calls = 0;
        const auto call = [&] {
            if (busyAnswers >= 0 && calls++ >= busyAnswers)
                return;
            if (busyAnswers < 0)
                ++calls;
            if (!asException)
                throw ComError(code);
            EXCEPINFO info{};
            info.scode = code;
            throw ComError::fromException(DISP_E_EXCEPTION, info);
        };
        QElapsedTimer timer;
        timer.start();
        const auto deadline = BusyRetry::Clock::now() + std::chrono::milliseconds(boundMs);
        QCOMPARE(errorOf([&] { BusyRetry::run(call, deadline); }), HRESULT(expected));
        QVERIFY2(calls <= atMostCalls, qPrintable(QString::number(calls)));
        // Never past the bound, whatever the answers.
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        if (busyAnswers < 0)
            QVERIFY2(timer.elapsed() > boundMs - 600, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestComWorker)
#include "tst_comworker.moc"
