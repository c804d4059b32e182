// A clipboard manager of the smallest kind, as a pupil's desktop runs one: it owns the
// CLIPBOARD_MANAGER selection, and when a program that ends asks it to SAVE_TARGETS, it takes
// the clipboard's text from that program and from then on hands it out itself. It prints
// "ready" once it owns the selection and runs until it is killed.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* connection = nullptr;
xcb_window_t window = 0;

xcb_atom_t atom(const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

// Asks the clipboard's owner for its text and waits for the answer.
bool fetchClipboardText(xcb_atom_t clipboard, xcb_atom_t utf8, xcb_atom_t into, std::string& text)
{
    xcb_convert_selection(connection, window, clipboard, utf8, into, XCB_CURRENT_TIME);
    xcb_flush(connection);
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        if ((event->response_type & ~0x80) != XCB_SELECTION_NOTIFY) {
            continue;
        }
        const auto* answer = reinterpret_cast<xcb_selection_notify_event_t*>(raw);
        if (answer->property == XCB_ATOM_NONE) {
            return false;
        }
        const Reply<xcb_get_property_reply_t> property(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 1, window, into,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
                                   nullptr),
            &std::free);
        if (!property) {
            return false;
        }
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(property.get()));
        text.assign(bytes, bytes + xcb_get_property_value_length(property.get()));
        return true;
    }
    return false;
}

} // namespace

int main()
{
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = atom("SAVE_TARGETS");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t targets = atom("TARGETS");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    const xcb_atom_t saved = atom("CLIPBOARD_MANAGER_SAVED");
    xcb_set_selection_owner(connection, window, manager, XCB_CURRENT_TIME);
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, manager),
                                      nullptr),
        &std::free);
    if (!owner || owner->owner != window) {
        std::fprintf(stderr, "another clipboard manager runs\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    // The server sends a request for the clipboard only while this manager owns it.
    std::string kept;
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        if ((event->response_type & ~0x80) != XCB_SELECTION_REQUEST) {
            continue;
        }
        const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(raw);
        const xcb_atom_t property =
            request.property == XCB_ATOM_NONE ? request.target : request.property;
        if (request.selection == manager && request.target == saveTargets) {
            if (!fetchClipboardText(clipboard, utf8, saved, kept)) {
                notify(request, XCB_ATOM_NONE);
                continue;
            }
            xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                XCB_ATOM_NONE, 32, 0, nullptr);
            notify(request, property);
        } else if (request.selection == clipboard && request.target == targets) {
            const std::array<xcb_atom_t, 2> offered{targets, utf8};
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                XCB_ATOM_ATOM, 32, offered.size(), offered.data());
            notify(request, property);
        } else if (request.selection == clipboard && request.target == utf8) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                utf8, 8, static_cast<std::uint32_t>(kept.size()), kept.data());
            notify(request, property);
        } else {
            notify(request, XCB_ATOM_NONE);
        }
    }
    return 0;
}
