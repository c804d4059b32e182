// A clipboard manager of the smallest kind, as a pupil's desktop runs one: it owns the
// CLIPBOARD_MANAGER selection, and when a program that ends asks it to SAVE_TARGETS, it takes
// the clipboard's text from that program and from then on hands it out itself. It prints
// "ready" once it owns the selection and runs until it is killed; the display is its own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace {

template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T* reply)
{
    return {reply, &std::free};
}

xcb_connection_t* connection = nullptr;
xcb_window_t window = 0;

xcb_atom_t atom(const char* name)
{
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    const auto reply =
        owned(xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, length, name), {}));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The next event of the given type.
template <typename Event> std::unique_ptr<Event, decltype(&std::free)> next(std::uint8_t type)
{
    while (auto event = owned(xcb_wait_for_event(connection))) {
        if ((event->response_type & ~0x80) == type) {
            return owned(reinterpret_cast<Event*>(event.release()));
        }
    }
    return owned<Event>(nullptr);
}

// Asks the clipboard's owner for its text and waits for the answer.
bool fetchClipboardText(xcb_atom_t clipboard, xcb_atom_t utf8, xcb_atom_t into, std::string& text)
{
    xcb_convert_selection(connection, window, clipboard, utf8, into, XCB_CURRENT_TIME);
    xcb_flush(connection);
    const auto answer = next<xcb_selection_notify_event_t>(XCB_SELECTION_NOTIFY);
    if (!answer || answer->property == XCB_ATOM_NONE) {
        return false;
    }
    const auto property = owned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 1, window, into, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), {}));
    if (property) {
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(property.get()));
        text.assign(bytes, bytes + xcb_get_property_value_length(property.get()));
    }
    return property != nullptr;
}

} // namespace

int main()
{
    if (xcb_connection_has_error(connection = xcb_connect(nullptr, nullptr))) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    xcb_set_selection_owner(connection, window, manager, XCB_CURRENT_TIME);
    // Ready once the server has made this manager the owner: after a round trip.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::printf("ready\n");
    std::fflush(stdout);

    // The server sends a request for the clipboard only while this manager owns it; the text is
    // handed out as UTF8_STRING, which is what a paste asks for.
    std::string kept;
    while (const auto request = next<xcb_selection_request_event_t>(XCB_SELECTION_REQUEST)) {
        xcb_atom_t property =
            request->property == XCB_ATOM_NONE ? request->target : request->property;
        if (request->selection == manager && request->target == atom("SAVE_TARGETS") &&
            fetchClipboardText(clipboard, utf8, atom("CLIPBOARD_MANAGER_SAVED"), kept)) {
            xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                XCB_ATOM_NONE, 32, 0, nullptr);
        } else if (request->selection == clipboard && request->target == utf8) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                utf8, 8, static_cast<std::uint32_t>(kept.size()), kept.data());
        } else {
            property = XCB_ATOM_NONE;
        }
        const xcb_selection_notify_event_t event{
            XCB_SELECTION_NOTIFY, 0,       0, request->time, request->requestor, request->selection,
            request->target,      property};
        xcb_send_event(connection, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
    }
    return 0;
}
