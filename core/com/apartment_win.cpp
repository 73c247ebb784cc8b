#include "core/com/apartment_win.h"

#include "core/errorvalue.h"

#include <QCoreApplication>
#include <QThread>

#include <windows.h>

namespace core::com {
namespace {

bool onMainThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return !application || QThread::currentThread() == application->thread();
}

// One per thread that uses COM: balances its own successful initialisation when the thread ends.
class ThreadApartment
{
public:
    ThreadApartment()
        : m_result(CoInitializeEx(nullptr, onMainThread() ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED))
    {}
    ThreadApartment(const ThreadApartment&) = delete;
    ThreadApartment& operator=(const ThreadApartment&) = delete;
    ~ThreadApartment()
    {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }
    // RPC_E_CHANGED_MODE: COM is there, in the other model, which serves as well.
    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

} // namespace

void enterApartment()
{
    thread_local const ThreadApartment apartment;
    if (!apartment.usable()) {
        throw Error(errc::CannotCreateObject, QStringLiteral("COM could not be initialised (0x%1)")
                                                  .arg(quint32(apartment.result()), 8, 16, QLatin1Char('0')));
    }
}

} // namespace core::com
