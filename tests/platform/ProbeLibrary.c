/* A library for the loader tests: a constant to check resolution and a counter
   whose state shows whether two loads share one instance. */

#define PROBE_EXPORT __attribute__((visibility("default")))

static int g_calls;

PROBE_EXPORT int orv_probe_answer(void) {
    return 42;
}

PROBE_EXPORT int orv_probe_next(void) {
    return ++g_calls;
}
