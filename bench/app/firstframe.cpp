// The DAMAGE watch behind FirstFrameWatch. A damage object is made for every window created
// on the root as the server announces it, before the program can have drawn into it (it has yet
// to map it and wait for the exposure); an unmapped window takes no drawing, so the first report
// is the first frame on the screen.
#include "firstframe.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>

FirstFrameWatch::FirstFrameWatch(const QString &display)
{
    m_connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (!m_connection || xcb_connection_has_error(m_connection))
        return;
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(m_connection, &xcb_damage_id);
    if (!ext || !ext->present)
        return;
    m_damageEvent = ext->first_event;
    xcb_damage_query_version_reply_t *version = xcb_damage_query_version_reply(
        m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr);
    if (!version)
        return;
    std::free(version);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    m_ok = true;
}

FirstFrameWatch::~FirstFrameWatch()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

double FirstFrameWatch::waitForFirstFrame(const QElapsedTimer &since, int timeoutMs)
{
    if (!m_ok)
        return -1;
    QElapsedTimer waited;
    waited.start();
    pollfd fd = {xcb_get_file_descriptor(m_connection), POLLIN, 0};
    while (waited.elapsed() < timeoutMs) {
        xcb_generic_event_t *event = xcb_poll_for_event(m_connection);
        if (!event) {
            if (xcb_connection_has_error(m_connection))
                return -1;
            poll(&fd, 1, int(timeoutMs - waited.elapsed()) + 1);
            continue;
        }
        const int type = event->response_type & 0x7f;
        double at = -1;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
            if (created->parent == m_root) {
                xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(m_connection);
            }
        } else if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
            const auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
            if (damage->geometry.width >= kMinSide && damage->geometry.height >= kMinSide &&
                damage->area.width > 0 && damage->area.height > 0)
                at = double(since.nsecsElapsed()) / 1e6;
        }
        // Errors (a window gone before its damage object was made) are of no interest.
        std::free(event);
        if (at >= 0)
            return at;
    }
    return -1;
}
