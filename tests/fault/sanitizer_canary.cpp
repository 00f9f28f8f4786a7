// sanitizer_canary.cpp -- one deliberate fault of each kind the sanitizer
// build must catch: a heap overflow, a signed overflow and a leak. The
// check around it expects each run to fail with a report, which proves the
// sanitizer options of the test command really turn a report into a failure.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Keeps the compiler from seeing through the faults.
static volatile int opaque = 1;

int main(int argc, char **argv)
{
    const char *mode = argc == 2 ? argv[1] : "";
    if (!strcmp(mode, "overflow")) {
        char *bytes = (char *)malloc(8);
        bytes[8 * opaque] = 1;
        printf("%d\n", bytes[0]);
        free(bytes);
    } else if (!strcmp(mode, "undefined")) {
        int big = INT_MAX - 1 + opaque;
        printf("%d\n", big + opaque);
    } else if (!strcmp(mode, "leak")) {
        char *lost = (char *)malloc(64 * opaque);
        lost[0] = 1;
        printf("%p\n", (void *)lost);
        lost = nullptr;
    } else {
        fprintf(stderr, "usage: sanitizer_canary overflow|undefined|leak\n");
        return 2;
    }
    return 0;
}
