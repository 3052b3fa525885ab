/* A weston module for the window tests: a seat whose pointer and keyboard the
 * test drives through a Unix socket, and the list of windows with their place
 * on the screen.
 *
 * Weston's headless backend has no input devices, and a Wayland client can
 * neither place its window nor learn where it is. Weston's own test suite
 * drives its clients through a module in the compositor; this is the same idea,
 * small enough for our test. The game gets ordinary wl_pointer and wl_keyboard
 * events from the compositor, as from a mouse and a keyboard: nothing in the
 * game knows about it, and only the tests load it:
 *
 *   VZ_WESTON_INPUT=/path/socket weston --modules=/path/vz-weston-input.so ...
 *
 * One command a line, one answer a line ("ok", or "error ..."):
 *   move X Y        the pointer to the global point (X, Y)
 *   press BUTTON    a pointer button down (the evdev code, 272 for the left one)
 *   release BUTTON  and up
 *   key CODE        a key down and up (the evdev code, 28 for Return)
 *   windows         one line per mapped window, topmost first:
 *                   "window X Y W H TITLE", its window geometry (without the
 *                   shadow a client draws) in global coordinates; then "ok"
 */
#define _GNU_SOURCE /* accept4 */
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <libweston/libweston.h>
#include <libweston-desktop/libweston-desktop.h>

/* Weston 10 exports these to its backends without installing their header
 * (libweston/backend.h); the signatures are those of libweston-10. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *ec, const char *seat_name);
int weston_seat_init_pointer(struct weston_seat *seat);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
void weston_seat_release(struct weston_seat *seat);
void notify_motion_absolute(struct weston_seat *seat, const struct timespec *time, double x, double y);
void notify_button(struct weston_seat *seat, const struct timespec *time, int32_t button,
                   enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat *seat);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key,
                enum wl_keyboard_key_state state, enum weston_key_state_update update_state);

struct test_input {
	struct weston_compositor *compositor;
	struct weston_seat seat;
	int listen_fd;
	int client_fd;
	struct wl_event_source *listen_source;
	struct wl_event_source *client_source;
	char line[256];
	size_t length;
	struct wl_listener destroy;
};

static void
answer(struct test_input *input, const char *text)
{
	size_t left = strlen(text);
	while (left > 0) {
		ssize_t n = write(input->client_fd, text, left);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return;
		text += n;
		left -= (size_t)n;
	}
}

static void
list_windows(struct test_input *input)
{
	struct weston_view *view;
	char text[512];

	wl_list_for_each(view, &input->compositor->view_list, link) {
		struct weston_desktop_surface *desktop;
		struct weston_geometry geometry;
		const char *title;

		if (!weston_view_is_mapped(view) || !weston_surface_is_desktop_surface(view->surface))
			continue;
		desktop = weston_surface_get_desktop_surface(view->surface);
		geometry = weston_desktop_surface_get_geometry(desktop);
		title = weston_desktop_surface_get_title(desktop);
		snprintf(text, sizeof text, "window %d %d %d %d %s\n",
			 (int)view->geometry.x + geometry.x, (int)view->geometry.y + geometry.y,
			 geometry.width, geometry.height, title ? title : "");
		answer(input, text);
	}
}

static void
run_command(struct test_input *input, const char *line)
{
	struct timespec now;
	double x, y;
	unsigned code;

	weston_compositor_get_time(&now);
	if (sscanf(line, "move %lf %lf", &x, &y) == 2) {
		notify_motion_absolute(&input->seat, &now, x, y);
		notify_pointer_frame(&input->seat);
	} else if (sscanf(line, "press %u", &code) == 1) {
		notify_button(&input->seat, &now, (int32_t)code, WL_POINTER_BUTTON_STATE_PRESSED);
		notify_pointer_frame(&input->seat);
	} else if (sscanf(line, "release %u", &code) == 1) {
		notify_button(&input->seat, &now, (int32_t)code, WL_POINTER_BUTTON_STATE_RELEASED);
		notify_pointer_frame(&input->seat);
	} else if (sscanf(line, "key %u", &code) == 1) {
		notify_key(&input->seat, &now, code, WL_KEYBOARD_KEY_STATE_PRESSED, STATE_UPDATE_AUTOMATIC);
		notify_key(&input->seat, &now, code, WL_KEYBOARD_KEY_STATE_RELEASED, STATE_UPDATE_AUTOMATIC);
	} else if (strcmp(line, "windows") == 0) {
		list_windows(input);
	} else {
		answer(input, "error unknown command\n");
		return;
	}
	answer(input, "ok\n");
}

static void
close_client(struct test_input *input)
{
	if (input->client_source)
		wl_event_source_remove(input->client_source);
	input->client_source = NULL;
	if (input->client_fd >= 0)
		close(input->client_fd);
	input->client_fd = -1;
	input->length = 0;
}

static int
client_readable(int fd, uint32_t mask, void *data)
{
	struct test_input *input = data;
	ssize_t n = read(fd, input->line + input->length, sizeof input->line - 1 - input->length);
	char *end;

	(void)mask;
	if (n < 0 && errno == EINTR)
		return 0;
	if (n <= 0) {
		close_client(input);
		return 0;
	}
	input->length += (size_t)n;
	input->line[input->length] = '\0';
	while ((end = strchr(input->line, '\n')) != NULL) {
		*end = '\0';
		run_command(input, input->line);
		if (input->client_fd < 0)
			return 0;
		input->length -= (size_t)(end + 1 - input->line);
		memmove(input->line, end + 1, input->length + 1);
	}
	if (input->length == sizeof input->line - 1) {
		answer(input, "error line too long\n");
		close_client(input);
	}
	return 0;
}

static int
client_arrives(int fd, uint32_t mask, void *data)
{
	struct test_input *input = data;
	int client = accept4(fd, NULL, NULL, SOCK_CLOEXEC);

	(void)mask;
	if (client < 0)
		return 0;
	/* One test at a time: a new connection replaces the old one. */
	close_client(input);
	input->client_fd = client;
	input->client_source = wl_event_loop_add_fd(wl_display_get_event_loop(input->compositor->wl_display),
						    client, WL_EVENT_READABLE, client_readable, input);
	return 0;
}

static void
compositor_destroyed(struct wl_listener *listener, void *data)
{
	struct test_input *input = wl_container_of(listener, input, destroy);

	(void)data;
	close_client(input);
	wl_event_source_remove(input->listen_source);
	close(input->listen_fd);
	weston_seat_release(&input->seat);
	free(input);
}

WL_EXPORT int
wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	const char *path = getenv("VZ_WESTON_INPUT");
	struct sockaddr_un address = { .sun_family = AF_UNIX };
	struct test_input *input;

	(void)argc;
	(void)argv;
	if (!path || strlen(path) >= sizeof address.sun_path) {
		weston_log("vz-weston-input: set VZ_WESTON_INPUT to the socket's path\n");
		return -1;
	}
	input = calloc(1, sizeof *input);
	if (!input)
		return -1;
	input->compositor = compositor;
	input->client_fd = -1;
	strcpy(address.sun_path, path);
	input->listen_fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	unlink(path);
	if (input->listen_fd < 0 || bind(input->listen_fd, (struct sockaddr *)&address, sizeof address) < 0 ||
	    listen(input->listen_fd, 1) < 0) {
		weston_log("vz-weston-input: cannot listen on %s: %s\n", path, strerror(errno));
		if (input->listen_fd >= 0)
			close(input->listen_fd);
		free(input);
		return -1;
	}

	weston_seat_init(&input->seat, compositor, "vz-test-seat");
	weston_seat_init_pointer(&input->seat);
	weston_seat_init_keyboard(&input->seat, NULL);
	input->listen_source = wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display),
						    input->listen_fd, WL_EVENT_READABLE, client_arrives, input);
	input->destroy.notify = compositor_destroyed;
	wl_signal_add(&compositor->destroy_signal, &input->destroy);
	weston_log("vz-weston-input: listening on %s\n", path);
	return 0;
}
