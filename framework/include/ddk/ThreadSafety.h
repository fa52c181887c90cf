#pragma once
// Clang's thread-safety annotations: which lock guards a field, which locks a
// function needs, takes or gives back. Other compilers see nothing.

#if defined(__clang__)
#define DDK_CAPABILITY(x) __attribute__((capability(x)))
#define DDK_SCOPED_CAPABILITY __attribute__((scoped_lockable))
#define DDK_GUARDED_BY(x) __attribute__((guarded_by(x)))
#define DDK_PT_GUARDED_BY(x) __attribute__((pt_guarded_by(x)))
#define DDK_REQUIRES(...) __attribute__((requires_capability(__VA_ARGS__)))
#define DDK_ACQUIRE(...) __attribute__((acquire_capability(__VA_ARGS__)))
#define DDK_RELEASE(...) __attribute__((release_capability(__VA_ARGS__)))
#define DDK_TRY_ACQUIRE(...) __attribute__((try_acquire_capability(__VA_ARGS__)))
#define DDK_EXCLUDES(...) __attribute__((locks_excluded(__VA_ARGS__)))
#define DDK_NO_THREAD_SAFETY_ANALYSIS __attribute__((no_thread_safety_analysis))
#else
#define DDK_CAPABILITY(x)
#define DDK_SCOPED_CAPABILITY
#define DDK_GUARDED_BY(x)
#define DDK_PT_GUARDED_BY(x)
#define DDK_REQUIRES(...)
#define DDK_ACQUIRE(...)
#define DDK_RELEASE(...)
#define DDK_TRY_ACQUIRE(...)
#define DDK_EXCLUDES(...)
#define DDK_NO_THREAD_SAFETY_ANALYSIS
#endif
