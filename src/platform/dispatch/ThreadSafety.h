#pragma once

// Attributes for clang's thread-safety analysis (-Wthread-safety): a lock type is declared a
// capability, the fields it guards name it, and functions say which capabilities they need.
// The clang build of scripts/thread-safety.sh checks them as errors; other compilers ignore
// them.

#if defined(__clang__)
#define CORVANE_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define CORVANE_THREAD_ANNOTATION(x)
#endif

/// A type whose instances are held and released, such as a lock.
#define CORVANE_CAPABILITY(name) CORVANE_THREAD_ANNOTATION(capability(name))
/// A type whose instances hold a capability for their lifetime (a scoped guard).
#define CORVANE_SCOPED_CAPABILITY CORVANE_THREAD_ANNOTATION(scoped_lockable)
/// A field read and written only while the capability is held.
#define CORVANE_GUARDED_BY(x) CORVANE_THREAD_ANNOTATION(guarded_by(x))
/// The caller must hold the capability.
#define CORVANE_REQUIRES(...) CORVANE_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
/// The caller must not hold the capability (the function takes it).
#define CORVANE_EXCLUDES(...) CORVANE_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
/// The function takes the capability and returns holding it.
#define CORVANE_ACQUIRE(...) CORVANE_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
/// The function releases the capability.
#define CORVANE_RELEASE(...) CORVANE_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
