/* savefault.c -- preloaded into the save driver to break one system call of
   the high-score save. TG_FAULT names the call and what happens to it:
     CALL:fail        the call fails (ENOSPC, EIO or EACCES as fits)
     CALL:short       write only: puts half the bytes and says so
     CALL:shortfail   write only: half the bytes, then every later write fails
     CALL:killhalfway write only: half the bytes, then the process is killed
     CALL:killbefore  the process is killed just before the call
     CALL:killafter   the process is killed just after the call
   CALL is open, mkstemps, write, fsync, close or rename; TG_FAULT_NTH picks
   which call of that kind (default 1). Only calls that touch the score file
   count: open and mkstemps of names holding "highscores", and write, fsync
   and close on descriptors above standard error. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int counts[6];
static int failing;

/* The fault this call should suffer, or NULL for none. */
static const char *faultFor(const char *call, int slot)
{
    const char *wanted = getenv("TG_FAULT");
    size_t n = strlen(call);
    if (!wanted || strncmp(wanted, call, n) != 0 || wanted[n] != ':')
        return NULL;
    const char *nth = getenv("TG_FAULT_NTH");
    if (++counts[slot] != (nth ? atoi(nth) : 1))
        return NULL;
    return wanted + n + 1;
}

/* Dies the way a power cut or kill -9 would: no handlers, no flushing. */
static void die(void)
{
    kill(getpid(), SIGKILL);
}

/* Applies the kill-before part of a fault; true when the call must fail. */
static int before(const char *fault)
{
    if (!fault)
        return 0;
    if (!strcmp(fault, "killbefore"))
        die();
    return !strcmp(fault, "fail");
}

/* Every open of the score file: the reads, and the save's check that the
   file may be written (or its rewrite in place). */
int open(const char *path, int flags, ...)
{
    static int (*real)(const char *, int, ...);
    if (!real)
        real = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
    va_list args;
    va_start(args, flags);
    int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, int) : 0;
    va_end(args);
    const char *fault = strstr(path, "highscores") ? faultFor("open", 0) : NULL;
    if (before(fault)) {
        errno = EACCES;
        return -1;
    }
    int fd = real(path, flags, mode);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return fd;
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, int) : 0;
    va_end(args);
    return open(path, flags, mode);
}

/* mkstemps makes the temporary file; glibc's own open inside it can't be reached. */
int mkstemps(char *path, int suffixLength)
{
    static int (*real)(char *, int);
    if (!real)
        real = (int (*)(char *, int))dlsym(RTLD_NEXT, "mkstemps");
    const char *fault = strstr(path, "highscores") ? faultFor("mkstemps", 1) : NULL;
    if (before(fault)) {
        errno = EACCES;
        return -1;
    }
    int fd = real(path, suffixLength);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return fd;
}

int mkstemps64(char *path, int suffixLength)
{
    return mkstemps(path, suffixLength);
}

ssize_t write(int fd, const void *bytes, size_t size)
{
    static ssize_t (*real)(int, const void *, size_t);
    if (!real)
        real = (ssize_t (*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    if (fd <= 2)
        return real(fd, bytes, size);
    if (failing) {
        errno = ENOSPC;
        return -1;
    }
    const char *fault = faultFor("write", 2);
    if (before(fault)) {
        errno = ENOSPC;
        return -1;
    }
    if (fault && (!strcmp(fault, "short") || !strcmp(fault, "shortfail")) && size > 1) {
        failing = !strcmp(fault, "shortfail");
        return real(fd, bytes, size / 2);
    }
    if (fault && !strcmp(fault, "killhalfway") && size > 1) {
        real(fd, bytes, size / 2);
        die();
    }
    ssize_t done = real(fd, bytes, size);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return done;
}

int fsync(int fd)
{
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    const char *fault = fd > 2 ? faultFor("fsync", 3) : NULL;
    if (before(fault)) {
        errno = EIO;
        return -1;
    }
    int result = real(fd);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return result;
}

int close(int fd)
{
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "close");
    const char *fault = fd > 2 ? faultFor("close", 4) : NULL;
    if (before(fault)) {
        real(fd);
        errno = EIO;
        return -1;
    }
    int result = real(fd);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return result;
}

int rename(const char *from, const char *to)
{
    static int (*real)(const char *, const char *);
    if (!real)
        real = (int (*)(const char *, const char *))dlsym(RTLD_NEXT, "rename");
    const char *fault = faultFor("rename", 5);
    if (before(fault)) {
        errno = EACCES;
        return -1;
    }
    int result = real(from, to);
    if (fault && !strcmp(fault, "killafter"))
        die();
    return result;
}
