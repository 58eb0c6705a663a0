/* A weston module for the Wayland end-to-end run: on SIGUSR2 the compositor asks every
 * top-level window to close, as a window's close button does (xdg_toplevel.close).
 * The headless backend has no input device, so nothing else can. Loaded with
 * weston --modules=/path/to/weston_close.so. */
#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>
#include <signal.h>
#include <wayland-server-core.h>

static int close_windows(int signal_number, void *data)
{
    struct weston_compositor *compositor = data;
    struct weston_layer *layer;
    struct weston_view *view;
    (void)signal_number;
    wl_list_for_each(layer, &compositor->layer_list, link) {
        wl_list_for_each(view, &layer->view_list.link, layer_link.link) {
            if (weston_surface_is_desktop_surface(view->surface))
                weston_desktop_surface_close(weston_surface_get_desktop_surface(view->surface));
        }
    }
    return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
    (void)argc;
    (void)argv;
    struct wl_event_loop *loop = wl_display_get_event_loop(compositor->wl_display);
    return wl_event_loop_add_signal(loop, SIGUSR2, close_windows, compositor) ? 0 : -1;
}
