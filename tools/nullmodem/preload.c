/* LD_PRELOAD library that makes a pty pair of the null-modem behave like the two ends of a
 * null-modem cable: it answers the modem-line, break and line-counter ioctls on a
 * registered pty slave from the pair's shared state file. Every other ioctl, and every
 * ioctl on any other file, goes to the C library unchanged. */
#define _GNU_SOURCE
#include <asm/termbits.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include "nmstate.h"

typedef int (*ioctl_fn)(int, unsigned long, ...);

static ioctl_fn real_ioctl(void) {
    static ioctl_fn fn;
    if (!fn) fn = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    return fn;
}

/* Mapped state files, found again by the file's identity. */
struct mapping {
    dev_t dev;
    ino_t ino;
    struct nm_state* state;
};
#define NM_CACHE 16
static struct mapping cache[NM_CACHE];
static unsigned next_slot;
static pthread_mutex_t cache_lock = PTHREAD_MUTEX_INITIALIZER;

static struct nm_state* map_state(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0 || st.st_size < (off_t)sizeof(struct nm_state)) return NULL;
    struct nm_state* found = NULL;
    pthread_mutex_lock(&cache_lock);
    for (unsigned i = 0; i < NM_CACHE && !found; i++)
        if (cache[i].state && cache[i].dev == st.st_dev && cache[i].ino == st.st_ino)
            found = cache[i].state;
    if (!found) {
        int fd = open(path, O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            void* p =
                mmap(NULL, sizeof(struct nm_state), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            close(fd);
            if (p != MAP_FAILED) {
                struct mapping* slot = &cache[next_slot++ % NM_CACHE];
                if (slot->state) munmap(slot->state, sizeof(struct nm_state));
                slot->dev = st.st_dev;
                slot->ino = st.st_ino;
                slot->state = found = p;
            }
        }
    }
    pthread_mutex_unlock(&cache_lock);
    if (found && found->magic != NM_MAGIC) found = NULL;
    return found;
}

/* Asked once: a call per ioctl would show in every benchmark of the program. */
static unsigned cached_uid;
static void read_uid(void) {
    cached_uid = (unsigned)getuid();
}
static unsigned own_uid(void) {
    static pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_once(&once, read_uid);
    return cached_uid;
}

/* The pair and end a file descriptor belongs to, or -1 when it is no null-modem end. */
static int find_end(int fd, struct nm_state** state) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return -1;
    unsigned major_no = major(st.st_rdev);
    if (major_no < 136 || major_no > 143) return -1;
    unsigned pts = (major_no - 136) * 256 + minor(st.st_rdev);
    char path[64];
    snprintf(path, sizeof path, NM_REGISTRY_FORMAT "/%u", own_uid(), pts);
    *state = map_state(path);
    if (!*state) return -1;
    for (int i = 0; i < 2; i++)
        if (__atomic_load_n(&(*state)->end[i].pts, __ATOMIC_SEQ_CST) == (int32_t)pts) return i;
    return -1;
}

static int32_t load(int32_t* p) {
    return __atomic_load_n(p, __ATOMIC_SEQ_CST);
}
static void bump(int32_t* p) {
    __atomic_add_fetch(p, 1, __ATOMIC_SEQ_CST);
}

/* The input lines this end sees: the other end's RTS as CTS, its DTR as DSR and DCD. */
static int input_lines(struct nm_state* s, int me) {
    struct nm_end* other = &s->end[1 - me];
    if (!load(&other->present)) return 0;
    int out = load(&other->mctrl), lines = 0;
    if (out & TIOCM_RTS) lines |= TIOCM_CTS;
    if (out & TIOCM_DTR) lines |= TIOCM_DSR | TIOCM_CAR;
    return lines;
}

/* Changes this end's outputs and counts the resulting input-line changes at the other end. */
static void set_outputs(struct nm_state* s, int me, int set, int clear) {
    struct nm_end* end = &s->end[me];
    struct nm_end* other = &s->end[1 - me];
    int32_t old = load(&end->mctrl), now;
    do {
        now = (old | set) & ~clear & (NM_RTS | NM_DTR);
    } while (!__atomic_compare_exchange_n(&end->mctrl, &old, now, 0, __ATOMIC_SEQ_CST,
                                          __ATOMIC_SEQ_CST));
    if ((old ^ now) & NM_RTS) bump(&other->icount.cts);
    if ((old ^ now) & NM_DTR) {
        bump(&other->icount.dsr);
        bump(&other->icount.dcd);
    }
}

/* A break reaches the other end as a counted break and the NUL character a UART reads. */
static void send_break(int fd, struct nm_state* s, int me) {
    bump(&s->end[1 - me].icount.brk);
    ssize_t ignored = write(fd, "", 1);
    (void)ignored;
}

static int wait_lines(struct nm_state* s, int me, int mask) {
    int before = input_lines(s, me) & mask;
    struct timespec tick = {0, 10 * 1000 * 1000};
    while ((input_lines(s, me) & mask) == before) {
        if (!load(&s->end[me].present)) {
            errno = EIO;
            return -1;
        }
        nanosleep(&tick, NULL);
    }
    return 0;
}

/* Like a UART at its clock limit, the cable refuses rates above 4 Mbit/s; a test may set a
 * lower limit for one end, as an adapter with a slower clock would have. */
#define NM_MAX_BAUD 4000000u

/* The rate a request asks for: given by number (termios2 only) or by its B constant. */
static uint32_t requested_rate(const void* arg, int numbered) {
    static const struct {
        tcflag_t code;
        uint32_t rate;
    } rates[] = {{B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
                 {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
                 {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
                 {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
                 {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
                 {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
                 {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
                 {B3500000, 3500000}, {B4000000, 4000000}};
    const struct termios2* t = arg;
    const tcflag_t code = t->c_cflag & CBAUD;
    if (code == BOTHER) return numbered ? t->c_ospeed : 0;
    for (size_t i = 0; i < sizeof rates / sizeof rates[0]; i++)
        if (rates[i].code == code) return rates[i].rate;
    return 0;
}

static int rate_refused(const void* arg, int numbered, struct nm_end* end) {
    const int32_t limit = load(&end->max_baud);
    return requested_rate(arg, numbered) > (limit > 0 ? (uint32_t)limit : NM_MAX_BAUD);
}

#define NM_LINE_BITS (CSIZE | CSTOPB | PARENB | PARODD | CMSPAR)

/* The kernel's termios and termios2 both start with the four flag words. */
static void remember_line(struct nm_end* end, const void* arg) {
    const struct termios2* t = arg;
    __atomic_store_n(&end->line_cflag, (int32_t)(t->c_cflag & NM_LINE_BITS), __ATOMIC_SEQ_CST);
    __atomic_store_n(&end->line_set, 1, __ATOMIC_SEQ_CST);
}

static void recall_line(struct nm_end* end, void* arg) {
    struct termios2* t = arg;
    if (!load(&end->line_set)) return;
    t->c_cflag = (t->c_cflag & ~NM_LINE_BITS) | ((tcflag_t)load(&end->line_cflag) & NM_LINE_BITS);
}

static int handled(unsigned long request) {
    switch (request) {
    case TCGETS:
    case TCGETS2:
    case TCSETS:
    case TCSETSW:
    case TCSETSF:
    case TCSETS2:
    case TCSETSW2:
    case TCSETSF2:
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCSBRK:
    case TIOCCBRK:
    case TCSBRK:
    case TCSBRKP:
    case TIOCGICOUNT:
    case TIOCMIWAIT:
    case TIOCSERGETLSR: return 1;
    }
    return 0;
}

static int answer(int fd, unsigned long request, void* arg, struct nm_state* s, int me) {
    struct nm_end* end = &s->end[me];
    char scratch[64];
    /* A hung-up device fails every request, as the hardware behind it would. */
    if (real_ioctl()(fd, TCGETS, scratch) != 0) return -1;
    switch (request) {
    case TCGETS:
    case TCGETS2:
        if (real_ioctl()(fd, request, arg) != 0) return -1;
        recall_line(end, arg);
        return 0;
    case TCSETS2:
    case TCSETSW2:
    case TCSETSF2:
    case TCSETS:
    case TCSETSW:
    case TCSETSF:
        if (rate_refused(arg, request == TCSETS2 || request == TCSETSW2 || request == TCSETSF2,
                         end)) {
            errno = EINVAL;
            return -1;
        }
        if (real_ioctl()(fd, request, arg) != 0) return -1;
        remember_line(end, arg);
        return 0;
    case TIOCMGET:
        *(int*)arg = (load(&end->mctrl) & (NM_RTS | NM_DTR)) | input_lines(s, me);
        return 0;
    case TIOCMSET: set_outputs(s, me, *(int*)arg, ~*(int*)arg); return 0;
    case TIOCMBIS: set_outputs(s, me, *(int*)arg, 0); return 0;
    case TIOCMBIC: set_outputs(s, me, 0, *(int*)arg); return 0;
    case TIOCSBRK:
        if (__atomic_exchange_n(&end->brk_held, 1, __ATOMIC_SEQ_CST) == 0) send_break(fd, s, me);
        return 0;
    case TIOCCBRK: __atomic_store_n(&end->brk_held, 0, __ATOMIC_SEQ_CST); return 0;
    case TCSBRK:
        if ((long)arg != 0) return real_ioctl()(fd, request, arg); /* tcdrain */
        send_break(fd, s, me);
        return 0;
    case TCSBRKP: send_break(fd, s, me); return 0;
    case TIOCGICOUNT: {
        struct serial_icounter_struct* out = arg;
        memset(out, 0, sizeof *out);
        int32_t* from = &end->icount.cts;
        int* to = &out->cts;
        for (unsigned i = 0; i < sizeof(struct nm_counters) / sizeof(int32_t); i++)
            to[i] = load(from + i);
        return 0;
    }
    case TIOCMIWAIT: return wait_lines(s, me, (int)(long)arg);
    case TIOCSERGETLSR: *(int*)arg = TIOCSER_TEMT; return 0;
    }
    errno = EINVAL;
    return -1;
}

static int dispatch(int fd, unsigned long request, void* arg) {
    struct nm_state* state;
    int me;
    if (handled(request) && (me = find_end(fd, &state)) >= 0)
        return answer(fd, request, arg, state, me);
    return real_ioctl()(fd, request, arg);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return dispatch(fd, request, arg);
}

/* The C library sets line parameters through its own internal ioctl, which no preload
 * sees; Wine sets the rate this way, so the limit is applied here as well. The glibc
 * termios keeps c_cflag where the kernel's does. */
typedef int (*tcsetattr_fn)(int, int, const void*);

int tcsetattr(int fd, int actions, const void* termios) {
    static tcsetattr_fn real;
    if (!real) real = (tcsetattr_fn)dlsym(RTLD_NEXT, "tcsetattr");
    struct nm_state* state;
    const int me = find_end(fd, &state);
    if (me >= 0 && termios && rate_refused(termios, 0, &state->end[me])) {
        errno = EINVAL;
        return -1;
    }
    return real(fd, actions, termios);
}

#if defined(__i386__)
/* 32-bit glibc with 64-bit time calls this name for ioctl. */
int __ioctl_time64(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return dispatch(fd, request, arg);
}
#endif
