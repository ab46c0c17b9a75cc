// Which interface the transport listens on when the server does not give its class information:
// the only connection point it lists, and a plain error for every other shape of server.
#include "session/com/ComError.h"
#include "session/com/ComPtr.h"
#include "session/com/EventConnection.h"

#include <QTest>

#include <olectl.h>

#include <vector>

namespace {

// {0F9C4E7B-6C1D-4E43-8E0B-7A1B2C3D4E51} and {0F9C4E7B-6C1D-4E43-8E0B-7A1B2C3D4E52}
const IID FirstSource = {0x0f9c4e7b, 0x6c1d, 0x4e43, {0x8e, 0x0b, 0x7a, 0x1b, 0x2c, 0x3d, 0x4e, 0x51}};
const IID SecondSource = {0x0f9c4e7b, 0x6c1d, 0x4e43, {0x8e, 0x0b, 0x7a, 0x1b, 0x2c, 0x3d, 0x4e, 0x52}};

// The fakes live on the test's stack: their reference counts only need to balance, not free.
class FakeConnectionPoint : public IConnectionPoint
{
public:
    explicit FakeConnectionPoint(const IID &iid)
        : m_iid(iid)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        *out = (iid == IID_IUnknown || iid == IID_IConnectionPoint) ? this : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *iid) override
    {
        *iid = m_iid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown *, DWORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **) override { return E_NOTIMPL; }

private:
    IID m_iid;
};

class FakePointList : public IEnumConnectionPoints
{
public:
    explicit FakePointList(std::vector<FakeConnectionPoint> &points)
        : m_points(points)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        *out = (iid == IID_IUnknown || iid == IID_IEnumConnectionPoints) ? this : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, IConnectionPoint **out, ULONG *fetched) override
    {
        ULONG given = 0;
        for (; given < wanted && m_next < m_points.size(); ++given, ++m_next) {
            out[given] = &m_points[m_next];
            out[given]->AddRef();
        }
        if (fetched)
            *fetched = given;
        return given == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints **) override { return E_NOTIMPL; }

private:
    std::vector<FakeConnectionPoint> &m_points;
    size_t m_next = 0;
};

// A server object that lists its connection points; it may answer IProvideClassInfo without
// being able to give the class (as a server without a type library does), may name its default
// source through IProvideClassInfo2, or may not be a connection point container at all.
class FakeServer : public IDispatch, public IConnectionPointContainer, public IProvideClassInfo2
{
public:
    FakeServer(std::vector<IID> sources, bool container, bool claimsClassInfo, IID defaultSource = IID_NULL)
        : m_list(m_points)
        , m_container(container)
        , m_claimsClassInfo(claimsClassInfo)
        , m_defaultSource(defaultSource)
    {
        for (const IID &iid : sources)
            m_points.emplace_back(iid);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<IDispatch *>(this);
        else if (iid == IID_IConnectionPointContainer && m_container)
            *out = static_cast<IConnectionPointContainer *>(this);
        else if (iid == IID_IProvideClassInfo && m_claimsClassInfo)
            *out = static_cast<IProvideClassInfo *>(this);
        else if (iid == IID_IProvideClassInfo2 && m_claimsClassInfo)
            *out = static_cast<IProvideClassInfo2 *>(this);
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                     UINT *) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **out) override
    {
        m_list.Reset();
        *out = &m_list;
        m_list.AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID, IConnectionPoint **) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **out) override
    {
        *out = nullptr;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *guid) override
    {
        *guid = kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID ? m_defaultSource : GUID_NULL;
        return kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID && !IsEqualGUID(m_defaultSource, GUID_NULL) ? S_OK
                                                                                                  : E_INVALIDARG;
    }

private:
    std::vector<FakeConnectionPoint> m_points;
    FakePointList m_list;
    bool m_container;
    bool m_claimsClassInfo;
    IID m_defaultSource;
};

} // namespace

Q_DECLARE_METATYPE(IID)

class TestEventInterface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromTheConnectionPoints_data()
    {
        QTest::addColumn<QList<IID>>("sources");
        QTest::addColumn<bool>("container");
        QTest::addColumn<bool>("claimsClassInfo");
        QTest::addColumn<IID>("defaultSource"); // named through IProvideClassInfo2
        QTest::addColumn<IID>("expected");
        QTest::addColumn<int>("error"); // an HRESULT when no interface is found
        const IID none = IID_NULL;
        QTest::newRow("one point") << QList<IID>{FirstSource} << true << false << none << FirstSource << 0;
        QTest::newRow("class info without a class")
            << QList<IID>{SecondSource} << true << true << none << SecondSource << 0;
        // The server's own word wins over guessing from its connection points.
        QTest::newRow("default source named") << QList<IID>{FirstSource, SecondSource} << true << true
                                              << SecondSource << SecondSource << 0;
        QTest::newRow("no point") << QList<IID>{} << true << false << none << none << int(CONNECT_E_NOCONNECTION);
        // Guessing would listen to the wrong events, or none.
        QTest::newRow("two points") << QList<IID>{FirstSource, SecondSource} << true << false << none << none
                                    << int(CONNECT_E_NOCONNECTION);
        QTest::newRow("no container") << QList<IID>{} << false << false << none << none << int(E_NOINTERFACE);
    }

    void fromTheConnectionPoints()
    {
        QFETCH(QList<IID>, sources);
        QFETCH(bool, container);
        QFETCH(bool, claimsClassInfo);
        QFETCH(IID, defaultSource);
        QFETCH(IID, expected);
        QFETCH(int, error);
        FakeServer server({sources.begin(), sources.end()}, container, claimsClassInfo, defaultSource);
        try {
            const IID found = EventConnection::findSourceInterface(&server);
            QCOMPARE(error, 0);
            QVERIFY(IsEqualIID(found, expected));
        } catch (const ComError &failure) {
            QCOMPARE(failure.code(), HRESULT(error));
        }
    }

    void noEventInterfaceIsSaidPlainly()
    {
        FakeServer server({}, true, false);
        try {
            EventConnection::findSourceInterface(&server);
            QFAIL("found an interface on a server with none");
        } catch (const ComError &failure) {
            QCOMPARE(QString::fromStdWString(failure.message(L"Events")),
                     QStringLiteral("Events failed: the session server offers no event interface"));
        }
    }
};

QTEST_GUILESS_MAIN(TestEventInterface)
#include "tst_eventinterface.moc"
