#include "bench/xwatcher.h"

#include "core/errorvalue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdlib>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace bench {
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> owned(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

using Event = ReplyPtr<xcb_generic_event_t>;

// The next event of the connection, or null once timer has run timeoutMs.
Event nextEvent(xcb_connection_t* connection, const QElapsedTimer& timer, int timeoutMs)
{
    while (timer.elapsed() < timeoutMs) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            return Event(event, &std::free);
        }
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&fd, 1, int(timeoutMs - timer.elapsed()));
    }
    return Event(nullptr, &std::free);
}

} // namespace

XWatcher::XWatcher()
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("No X display (is DISPLAY set?)"));
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const quint32 mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

XWatcher::~XWatcher()
{
    xcb_disconnect(m_connection);
}

quint32 XWatcher::atom(const char* name)
{
    const auto reply = owned(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, quint16(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : quint32(XCB_ATOM_NONE);
}

std::optional<qint64> XWatcher::windowPid(quint32 window)
{
    const auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4) {
        return std::nullopt;
    }
    return *static_cast<const quint32*>(xcb_get_property_value(reply.get()));
}

std::optional<quint32> XWatcher::waitForMap(qint64 pid, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (const Event event = nextEvent(m_connection, timer, timeoutMs)) {
        if ((event->response_type & 0x7F) != XCB_MAP_NOTIFY) {
            continue;
        }
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (!map->override_redirect && windowPid(map->window) == pid) {
            return map->window;
        }
    }
    return std::nullopt;
}

bool XWatcher::closeAndWaitForUnmap(quint32 window, int timeoutMs)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
    QElapsedTimer timer;
    timer.start();
    while (const Event event = nextEvent(m_connection, timer, timeoutMs)) {
        if ((event->response_type & 0x7F) == XCB_UNMAP_NOTIFY &&
            reinterpret_cast<const xcb_unmap_notify_event_t*>(event.get())->window == window) {
            return true;
        }
    }
    return false;
}

namespace {

// A figure in kB of /proc/<pid>/status, in MiB; -1 when unknown.
double statusMiB(qint64 pid, const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(field.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

} // namespace

double residentMiB(qint64 pid)
{
    return statusMiB(pid, "VmRSS:");
}

double mappedDatabaseMiB(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly)) {
        return -1;
    }
    double kib = 0;
    bool database = false;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        // A mapping's first line is its address range ("start-end perms offset device inode path").
        const qsizetype dash = line.indexOf('-');
        if (dash > 0 && dash < line.indexOf(' ')) {
            database = line.trimmed().endsWith(".db");
        } else if (database && line.startsWith("Rss:")) {
            kib += line.mid(4).trimmed().split(' ').value(0).toDouble();
        }
    }
    return kib / 1024;
}

double peakResidentMiB(qint64 pid)
{
    return statusMiB(pid, "VmHWM:");
}

QHash<QString, double> threadCpuMilliseconds(qint64 pid)
{
    QHash<QString, double> threads;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly)) {
            threads.insert(task, stat.readAll().split(' ').value(0).toDouble() / 1e6);
        }
    }
    return threads;
}

double cpuMillisecondsSince(const QHash<QString, double>& before, qint64 pid)
{
    double total = 0;
    const QHash<QString, double> after = threadCpuMilliseconds(pid);
    for (auto thread = after.cbegin(); thread != after.cend(); ++thread) {
        total += thread.value() - before.value(thread.key(), 0.0);
    }
    return total;
}

} // namespace bench
