/* The null-modem: two pty pairs whose masters are joined, so that what one slave writes the
 * other reads. The modem lines, breaks and line errors live in a shared state file that the
 * preload library answers from. Prints the two device paths and serves until told to quit.
 *
 *   nullmodem [--dir DIR] [--link-a PATH] [--link-b PATH] [--daemon] [--lifetime S]
 *
 * DIR (made when missing) gets "state" and the links "a" and "b" to the two devices; the
 * --link options make further links, e.g. a Wine prefix's dosdevices/comN. With --lifetime
 * it quits by itself after S seconds. Without --dir it makes a folder of its own in /tmp and
 * removes it when it stops. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "nmstate.h"

#define MAX_LINKS 4

struct side {
    int master;    /* -1 while unplugged */
    int slave;     /* held open so that the tty and its settings outlive the users */
    char path[64]; /* the slave's device path */
    char* links[MAX_LINKS];
    int nlinks;
    char buffer[4096]; /* bytes read from this master, waiting for the other one */
    size_t pending, sent;
    int32_t seen_frame, seen_overrun, seen_parity, seen_rxover, seen_vanish, seen_replug;
};

static struct nm_state* state;
static struct side sides[2];
static char registry[64];
static volatile sig_atomic_t stopping;
/* The folder made for us (no --dir) and its state file, removed when we stop. */
static const char* own_dir;
static char own_state[PATH_MAX + 8];

static void remove_own_dir(void) {
    if (!own_dir) return;
    unlink(own_state);
    rmdir(own_dir);
    own_dir = NULL;
}

static void on_signal(int sig) {
    (void)sig;
    stopping = 1;
}

static void fail(const char* what) {
    fprintf(stderr, "nullmodem: %s: %s\n", what, strerror(errno));
    remove_own_dir();
    exit(1);
}

/* Points link at target, replacing whatever was there. */
static void make_link(const char* target, const char* link) {
    char tmp[4096];
    snprintf(tmp, sizeof tmp, "%s.%d.tmp", link, (int)getpid());
    unlink(tmp);
    if (symlink(target, tmp) != 0 || rename(tmp, link) != 0) {
        fprintf(stderr, "nullmodem: cannot link %s: %s\n", link, strerror(errno));
        unlink(tmp);
    }
}

static void registry_entry(int pts, char* out, size_t size) {
    snprintf(out, size, "%s/%d", registry, pts);
}

/* The registry folder is shared by every pair of this user and removed by the last one to
 * stop, so it may vanish between our mkdir and our link: then make it again. */
static void register_end(const char* state_path, const char* entry) {
    for (int attempt = 0; attempt < 5; attempt++) {
        mkdir(registry, 0700);
        if (symlink(state_path, entry) == 0) return;
        if (errno == EEXIST) {
            make_link(state_path, entry);
            return;
        }
        if (errno != ENOENT) break;
    }
    fprintf(stderr, "nullmodem: cannot register %s: %s\n", entry, strerror(errno));
}

static void raw_mode(int fd) {
    struct termios t;
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);
}

static void plug(int i, const char* state_path) {
    struct side* s = &sides[i];
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) fail("pty");
    int pts = -1;
    if (ioctl(master, TIOCGPTN, &pts) != 0) fail("TIOCGPTN");
    snprintf(s->path, sizeof s->path, "/dev/pts/%d", pts);
    s->slave = open(s->path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (s->slave < 0) fail(s->path);
    raw_mode(s->slave);
    s->master = master;
    s->pending = s->sent = 0;

    char entry[96];
    registry_entry(pts, entry, sizeof entry);
    register_end(state_path, entry);
    struct nm_end* end = &state->end[i];
    __atomic_store_n(&end->mctrl, NM_RTS | NM_DTR, __ATOMIC_SEQ_CST);
    __atomic_store_n(&end->brk_held, 0, __ATOMIC_SEQ_CST);
    __atomic_store_n(&end->pts, pts, __ATOMIC_SEQ_CST);
    /* The links first: whoever sees the end present opens it by one of them at once. */
    for (int k = 0; k < s->nlinks; k++)
        make_link(s->path, s->links[k]);
    __atomic_store_n(&end->present, 1, __ATOMIC_SEQ_CST);
    __atomic_add_fetch(&end->plugs, 1, __ATOMIC_SEQ_CST);
}

/* Pulling the plug: the slave hangs up for whoever holds it, and its path goes away. */
static void unplug(int i) {
    struct side* s = &sides[i];
    if (s->master < 0) return;
    struct nm_end* end = &state->end[i];
    char entry[96];
    registry_entry(end->pts, entry, sizeof entry);
    __atomic_store_n(&end->pts, -1, __ATOMIC_SEQ_CST);
    unlink(entry);
    for (int k = 0; k < s->nlinks; k++)
        unlink(s->links[k]);
    close(s->slave);
    close(s->master);
    s->master = s->slave = -1;
    /* Last, so that whoever waits for it may reuse the link names. */
    __atomic_store_n(&end->present, 0, __ATOMIC_SEQ_CST);
}

/* Line errors arrive with a damaged character, as on a real line. */
static void inject(int i, int32_t* counter, int32_t* request, int32_t* seen) {
    int32_t now = __atomic_load_n(request, __ATOMIC_SEQ_CST);
    for (; *seen != now; (*seen)++) {
        if (sides[i].master < 0) continue;
        __atomic_add_fetch(counter, 1, __ATOMIC_SEQ_CST);
        ssize_t ignored = write(sides[i].master, "\xff", 1);
        (void)ignored;
    }
}

static void serve_requests(const char* state_path) {
    for (int i = 0; i < 2; i++) {
        struct nm_end* end = &state->end[i];
        struct side* s = &sides[i];
        inject(i, &end->icount.frame, &end->req_frame, &s->seen_frame);
        inject(i, &end->icount.overrun, &end->req_overrun, &s->seen_overrun);
        inject(i, &end->icount.parity, &end->req_parity, &s->seen_parity);
        inject(i, &end->icount.buf_overrun, &end->req_rxover, &s->seen_rxover);
        int32_t vanish = __atomic_load_n(&end->req_vanish, __ATOMIC_SEQ_CST);
        if (vanish != s->seen_vanish) {
            s->seen_vanish = vanish;
            unplug(i);
        }
        int32_t replug = __atomic_load_n(&end->req_replug, __ATOMIC_SEQ_CST);
        if (replug != s->seen_replug) {
            s->seen_replug = replug;
            if (s->master < 0) plug(i, state_path);
        }
    }
}

/* Moves bytes from side i's master to the other side's; a full receiver holds the sender. */
static void forward(int i, short revents) {
    struct side* from = &sides[i];
    struct side* to = &sides[1 - i];
    if (from->pending == 0 && (revents & POLLIN)) {
        ssize_t n = read(from->master, from->buffer, sizeof from->buffer);
        if (n > 0) {
            from->pending = (size_t)n;
            from->sent = 0;
        }
    }
    if (from->pending == 0) return;
    if (to->master < 0) { /* nobody at the other end: the bytes fall off the wire */
        from->pending = 0;
        return;
    }
    ssize_t n = write(to->master, from->buffer + from->sent, from->pending - from->sent);
    if (n > 0) from->sent += (size_t)n;
    if (from->sent == from->pending) from->pending = 0;
}

static void serve(const char* state_path, int lifetime) {
    const time_t end = lifetime > 0 ? time(NULL) + lifetime : 0;
    while (!stopping && !__atomic_load_n(&state->req_quit, __ATOMIC_SEQ_CST) &&
           (!end || time(NULL) < end)) {
        struct pollfd fds[4];
        int map[4], n = 0;
        for (int i = 0; i < 2; i++) {
            if (sides[i].master < 0) continue;
            fds[n] = (struct pollfd){sides[i].master, sides[i].pending ? 0 : POLLIN, 0};
            map[n++] = i;
            if (sides[1 - i].pending && sides[1 - i].master >= 0) {
                fds[n] = (struct pollfd){sides[i].master, POLLOUT, 0};
                map[n++] = -1 - (1 - i);
            }
        }
        /* The short tick picks up requests written into the state file. */
        int ready = poll(fds, (nfds_t)n, 20);
        if (ready < 0 && errno != EINTR) fail("poll");
        short events[2] = {0, 0};
        for (int k = 0; k < n && ready > 0; k++) {
            if (map[k] >= 0)
                events[map[k]] |= fds[k].revents;
            else if (fds[k].revents & POLLOUT)
                events[-1 - map[k]] |= POLLOUT;
        }
        for (int i = 0; i < 2; i++)
            if (sides[i].master >= 0 || sides[i].pending) forward(i, events[i]);
        serve_requests(state_path);
    }
}

static struct nm_state* create_state(const char* path) {
    int fd = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ftruncate(fd, sizeof(struct nm_state)) != 0) fail(path);
    void* p = mmap(NULL, sizeof(struct nm_state), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (p == MAP_FAILED) fail("mmap");
    struct nm_state* s = p;
    memset(s, 0, sizeof *s);
    s->version = NM_VERSION;
    s->relay_pid = (int32_t)getpid();
    for (int i = 0; i < 2; i++)
        s->end[i].pts = -1;
    __atomic_store_n(&s->magic, NM_MAGIC, __ATOMIC_SEQ_CST);
    return s;
}

static void usage(void) {
    fprintf(stderr, "usage: nullmodem [--dir DIR] [--link-a PATH] [--link-b PATH] [--daemon]"
                    " [--lifetime S]\n");
    exit(2);
}

int main(int argc, char** argv) {
    const char* dir = NULL;
    int daemonize = 0, lifetime = 0;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--dir") && i + 1 < argc)
            dir = argv[++i];
        else if (!strcmp(argv[i], "--daemon"))
            daemonize = 1;
        else if (!strcmp(argv[i], "--lifetime") && i + 1 < argc)
            lifetime = atoi(argv[++i]);
        else if ((!strcmp(argv[i], "--link-a") || !strcmp(argv[i], "--link-b")) && i + 1 < argc) {
            struct side* s = &sides[argv[i][7] - 'a'];
            if (s->nlinks == MAX_LINKS - 1) usage();
            s->links[s->nlinks++] = argv[++i];
        } else
            usage();
    }
    char dir_buf[] = "/tmp/nullmodem.XXXXXX";
    if (!dir) {
        if (!(dir = mkdtemp(dir_buf))) fail("mkdtemp");
        own_dir = dir;
    }
    mkdir(dir, 0700);
    char dir_abs[PATH_MAX];
    if (!realpath(dir, dir_abs)) fail(dir);
    dir = dir_abs;
    if (own_dir) own_dir = dir;
    snprintf(registry, sizeof registry, NM_REGISTRY_FORMAT, (unsigned)getuid());

    char state_path[PATH_MAX + 8], link_a[PATH_MAX + 8], link_b[PATH_MAX + 8];
    snprintf(state_path, sizeof state_path, "%s/state", dir);
    snprintf(own_state, sizeof own_state, "%s", state_path);
    snprintf(link_a, sizeof link_a, "%s/a", dir);
    snprintf(link_b, sizeof link_b, "%s/b", dir);
    sides[0].links[sides[0].nlinks++] = link_a;
    sides[1].links[sides[1].nlinks++] = link_b;

    signal(SIGPIPE, SIG_IGN);
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);
    signal(SIGHUP, on_signal);
    state = create_state(state_path);
    plug(0, state_path);
    plug(1, state_path);

    if (daemonize) {
        pid_t child = fork();
        if (child < 0) fail("fork");
        if (child > 0) {
            printf("%s %s\n", sides[0].path, sides[1].path);
            return 0; /* the folder is the child's now */
        }
        setsid();
        state->relay_pid = (int32_t)getpid();
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (null > 2) close(null);
    } else {
        printf("%s %s\n", sides[0].path, sides[1].path);
        fflush(stdout);
    }
    serve(state_path, lifetime);
    unplug(0);
    unplug(1);
    rmdir(registry); /* only when no other pair still has an entry there */
    remove_own_dir();
    return 0;
}
