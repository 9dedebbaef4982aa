#pragma once

#include "platform/runtime/DispatchQueue.h"

namespace corvane::platform {

/// Whether the thread checks below are compiled in: in builds without NDEBUG (Debug and the
/// sanitizer builds); release builds carry none.
#ifdef NDEBUG
inline constexpr bool kThreadChecksEnabled = false;
#else
inline constexpr bool kThreadChecksEnabled = true;
#endif

/// Ends the process, after a message on standard error that names `function` (written at
/// `file`:`line`), where it ran and where it must run, unless the caller runs on `queue`.
void dispatchPreconditionOnQueue(const DispatchQueue& queue, const char* function, const char* file,
                                 int line);
/// The same for the main thread.
void dispatchPreconditionOnMainThread(const char* function, const char* file, int line);

}  // namespace corvane::platform

// CORVANE_ASSERT_ON_QUEUE(queue): in debug builds, the calling function must run on the
// serial queue `queue`. CORVANE_ASSERT_MAIN_THREAD(): the same for the main thread.
#ifdef NDEBUG
#define CORVANE_ASSERT_ON_QUEUE(queue) static_cast<void>(0)
#define CORVANE_ASSERT_MAIN_THREAD() static_cast<void>(0)
#else
#define CORVANE_ASSERT_ON_QUEUE(queue)                                                       \
    ::corvane::platform::dispatchPreconditionOnQueue((queue), __PRETTY_FUNCTION__, __FILE__, \
                                                     __LINE__)
#define CORVANE_ASSERT_MAIN_THREAD() \
    ::corvane::platform::dispatchPreconditionOnMainThread(__PRETTY_FUNCTION__, __FILE__, __LINE__)
#endif
