/* Shared state of one null-modem pair: a small file that the relay, the preload library
 * and the tests map or read. Plain 32-bit fields only, so that a Windows test under Wine
 * can read and write it at the same offsets with ordinary file I/O. */
#ifndef NULLMODEM_NMSTATE_H
#define NULLMODEM_NMSTATE_H

#include <stdint.h>

#define NM_MAGIC 0x4d444f4eu /* "NODM" */
#define NM_VERSION 1u

/* Same order as the first fields of the kernel's serial_icounter_struct. */
struct nm_counters {
    int32_t cts, dsr, rng, dcd;
    int32_t rx, tx;
    int32_t frame, overrun, parity, brk;
    int32_t buf_overrun;
};

/* Modem-control bits, the kernel's TIOCM_* values. */
#define NM_RTS 0x004
#define NM_DTR 0x002

struct nm_end {
    /* Written by the relay. */
    int32_t pts;     /* number of the pty slave, -1 while unplugged */
    int32_t present; /* 1 while the device exists */
    int32_t plugs;   /* how many times this end has been plugged in */
    /* Written by the preload library of whoever holds this end. */
    int32_t mctrl;    /* NM_RTS | NM_DTR as this end drives them */
    int32_t brk_held; /* 1 while this end holds its transmit line spacing */
    /* The line events this end has received, as TIOCGICOUNT reports them. */
    struct nm_counters icount;
    /* Requests, written by tests or by hand; the relay acts on every change. */
    int32_t req_frame, req_overrun, req_parity, req_rxover;
    int32_t req_vanish, req_replug;
    /* Character size and parity last set on this end (a pty itself keeps only 8N1). */
    int32_t line_set;
    int32_t line_cflag;
    /* The highest rate this end accepts, written by tests; 0 for the cable's own limit. */
    int32_t max_baud;
    int32_t reserved[5];
};

struct nm_state {
    uint32_t magic;
    uint32_t version;
    int32_t relay_pid;
    int32_t req_quit;
    struct nm_end end[2];
};

/* Folder where each live pty slave of a null-modem is registered: entry "<pts>" is a
 * symbolic link to the state file. The preload library finds a pair through it. */
#define NM_REGISTRY_FORMAT "/tmp/nullmodem-%u"

#endif
